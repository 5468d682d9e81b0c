#include "forms/options_dialog.h"

namespace lumoff {

namespace {

constexpr ui::Colour kDialogColour = ui::SystemColour(22);  // COLOR_3DLIGHT
// Text boxes and lists keep the system's colour for fields the user fills in.
constexpr ui::Colour kFieldColour = ui::SystemColour(5);  // COLOR_WINDOW

constexpr int kFrameLeft = 120;
constexpr int kFrameWidth = 2655;

constexpr const char* kHoursTip = "Hours";
constexpr const char* kMinutesTip = "Minutes";
constexpr const char* kSecondsTip = "Seconds";
constexpr const char* kOtherActionTip = "Pick something else Lumoff should do instead";
constexpr const char* kIdleTip = "The timer will tick only if the user is idle";

ui::FormStyle OptionsStyle() {
    ui::FormStyle style;
    style.border = ui::Border::FixedToolWindow;
    style.taskbar_button = false;
    style.centred = true;
    style.back_colour = kDialogColour;
    style.client_width = 2895;
    style.client_height = 8535;
    // At a large scale, or on a small screen, its frames go into two columns (or its client area scrolls) so that
    // every control stays within reach.
    style.fits_work_area = true;
    return style;
}

template <typename T>
T& Place(ui::Form& form, ui::Control* frame, const char* name, const char* caption, ui::TwipRect rect, int tab,
         const std::string& tip = "") {
    auto& c = form.Add<T>(frame, name);
    c.set_rect(rect);
    c.set_text(caption);
    c.tab_index = tab;
    c.tooltip = tip;
    bool field = c.kind() == ui::Kind::TextBox || c.kind() == ui::Kind::ComboBox;
    c.set_back_colour(field ? kFieldColour : kDialogColour);
    return c;
}

// Frames stand one below the other directly on the dialog, all equally wide.
ui::Frame& AddFrame(ui::Form& form, const char* name, const char* caption, const char* tip, int top, int height,
                    int tab) {
    return Place<ui::Frame>(form, nullptr, name, caption, {kFrameLeft, top, kFrameWidth, height}, tab, tip);
}

ui::Label& AddCentredLabel(ui::Form& form, ui::Control* frame, const char* name, const char* caption,
                           ui::TwipRect rect, int tab, const std::string& tip = "") {
    auto& label = Place<ui::Label>(form, frame, name, caption, rect, tab, tip);
    label.align = ui::Align::Centre;
    return label;
}

}  // namespace

OptionsDialog::OptionsDialog(const std::string& web_host)
    : ui::Form("frmOptions", OptionsStyle()),
      frameStartup(AddFrame(*this, "frameStartup", "Start on Windows Startup",
                            "Select if you want Lumoff to launch itself with Windows", 120, 615, 0)),
      radStartOn(Place<ui::OptionButton>(*this, &frameStartup, "radStartOn", "Enabled", {120, 240, 1095, 255}, 1)),
      radStartOff(Place<ui::OptionButton>(*this, &frameStartup, "radStartOff", "Disabled", {1440, 240, 975, 255}, 2)),

      frameTimer(AddFrame(*this, "frameTimer", "Timed Turn Off", "Make a timed action", 840, 1695, 27)),
      timHrs1(Place<ui::TextBox>(*this, &frameTimer, "timHrs1", "00", {120, 360, 375, 285}, 3, kHoursTip)),
      timMin1(Place<ui::TextBox>(*this, &frameTimer, "timMin1", "00", {600, 360, 375, 285}, 4, kMinutesTip)),
      timSec1(Place<ui::TextBox>(*this, &frameTimer, "timSec1", "30", {1080, 360, 375, 285}, 5, kSecondsTip)),
      cmdTimed(Place<ui::CommandButton>(*this, &frameTimer, "cmdTimed", "Go", {1560, 360, 975, 285}, 6,
                                        "Click to start counting down!")),
      chkIdle(Place<ui::CheckBox>(*this, &frameTimer, "chkIdle", "Only if Idle", {120, 720, 2415, 255}, 7, kIdleTip)),
      chkScr(Place<ui::CheckBox>(*this, &frameTimer, "chkScr", "Like a Screensaver", {840, 960, 1695, 255}, 39,
                                 kIdleTip)),
      chkOther1(Place<ui::CheckBox>(*this, &frameTimer, "chkOther1", "Other Action:", {120, 1200, 1335, 375}, 8,
                                    kOtherActionTip)),
      Combo1(Place<ui::ComboBox>(*this, &frameTimer, "Combo1", "", {1440, 1200, 1095, 315}, 9, kOtherActionTip)),

      frameSchedule(AddFrame(*this, "frameSchedule", "Schedule", "Schedule Lumoff", 2640, 1335, 34)),
      chkSchedule(Place<ui::CheckBox>(*this, &frameSchedule, "chkSchedule", "Enable Schedule", {120, 240, 2415, 255},
                                      10, "Click to enable a Schedule")),
      timHrs2(Place<ui::TextBox>(*this, &frameSchedule, "timHrs2", "23", {120, 560, 375, 285}, 11, kHoursTip)),
      timMin2(Place<ui::TextBox>(*this, &frameSchedule, "timMin2", "59", {600, 560, 375, 285}, 12, kMinutesTip)),
      timSec2(Place<ui::TextBox>(*this, &frameSchedule, "timSec2", "59", {1080, 560, 375, 285}, 13, kSecondsTip)),
      lblSetTime(AddCentredLabel(*this, &frameSchedule, "lblSetTime", "Set Time", {1440, 580, 855, 255}, 37,
                                 "Set the Schedule Time in the boxes (24h format)")),
      chkOther2(Place<ui::CheckBox>(*this, &frameSchedule, "chkOther2", "Other Action:", {120, 840, 1335, 375}, 14,
                                    kOtherActionTip)),
      Combo2(Place<ui::ComboBox>(*this, &frameSchedule, "Combo2", "", {1440, 870, 1095, 315}, 15, kOtherActionTip)),

      frameHotKey(AddFrame(*this, "frameHotKey", "HotKey", "Set a HotKey for Lumoff!", 4080, 2175, 30)),
      hkeyButton1(Place<ui::ComboBox>(*this, &frameHotKey, "hkeyButton1", "", {120, 240, 1095, 315}, 16,
                                      "Select a state modifier")),
      hkeyButton2(Place<ui::ComboBox>(*this, &frameHotKey, "hkeyButton2", "", {1440, 240, 1095, 315}, 17,
                                      "Selet a key")),
      cmdHotKey(Place<ui::CommandButton>(*this, &frameHotKey, "cmdHotKey", "Set Global Hotkey", {120, 720, 2415, 255},
                                         18, "Click to set the HotKey")),
      lblAlso(Place<ui::Label>(*this, &frameHotKey, "lblAlso", "Also use these to turn back on:",
                               {120, 1080, 2295, 255}, 31, "Check which other actions should turn on the monitor")),
      chkMouse(Place<ui::CheckBox>(*this, &frameHotKey, "chkMouse", "Mouse Click", {120, 1320, 2415, 255}, 19,
                                   "Clicking the mouse")),
      chkEnter(Place<ui::CheckBox>(*this, &frameHotKey, "chkEnter", "Enter Key", {120, 1560, 2415, 255}, 20,
                                   "Pressing the Enter Key")),
      chkSpace(Place<ui::CheckBox>(*this, &frameHotKey, "chkSpace", "Space Bar", {120, 1800, 2415, 255}, 21,
                                   "Pressing the Space Bar")),

      frameBehavior(AddFrame(*this, "frameBehavior", "Behavior", "Check Readme before changing value", 6360, 855, 38)),
      radVista(Place<ui::OptionButton>(*this, &frameBehavior, "radVista", "Vista / Newer", {120, 240, 1335, 255}, 22,
                                       "Displays a status screen when turned off")),
      radXP(Place<ui::OptionButton>(*this, &frameBehavior, "radXP", "XP / Older", {1440, 240, 1095, 255}, 23,
                                    "No status screens")),
      chkMsg(Place<ui::CheckBox>(*this, &frameBehavior, "chkMsg", "Show monitor-off message", {120, 480, 2415, 255},
                                 40)),

      frameMisc(AddFrame(*this, "frameMisc", "Other Options", "Help and other stuff", 7320, 1095, 33)),
      cmdUpdate(Place<ui::CommandButton>(*this, &frameMisc, "cmdUpdate", "Check for Updates", {120, 240, 2415, 255},
                                         24, "Click to see if there's a better Lumoff out there!")),
      cmdReadme(Place<ui::CommandButton>(*this, &frameMisc, "cmdReadme", "Open the Readme file",
                                         {120, 480, 2415, 255}, 25,
                                         "Click to go to " + web_host + " to read the lastest!")),
      cmdReg(Place<ui::CommandButton>(*this, &frameMisc, "cmdReg", "Uninstall Lumoff", {120, 720, 2415, 255}, 26,
                                      "Click to remove Lumoff's settings - delete the application safely")),

      tmrTimer(AddTimer("tmrTimer", 200)),
      tmrScreen(AddTimer("tmrScreen", 100)) {
    set_title("Lumoff Options");

    lblColon[0] = &AddCentredLabel(*this, &frameTimer, "lblColon", ":", {480, 360, 135, 255}, 28);
    lblColon[1] = &AddCentredLabel(*this, &frameTimer, "lblColon", ":", {960, 360, 135, 255}, 29);
    lblColon[2] = &AddCentredLabel(*this, &frameHotKey, "lblColon", "+", {1200, 240, 255, 255}, 32);
    lblColon[2]->set_font({"MS Sans Serif", 12, false});
    lblColon[3] = &AddCentredLabel(*this, &frameSchedule, "lblColon", ":", {960, 560, 135, 255}, 35);
    lblColon[4] = &AddCentredLabel(*this, &frameSchedule, "lblColon", ":", {480, 560, 135, 255}, 36);

    // The state at creation. radVista is the design-time selection; start-up replaces it from the system probe.
    SelectOption(radStartOff);
    SelectOption(radVista);
    chkScr.set_enabled(false);
    Combo1.set_enabled(false);
    Combo2.set_enabled(false);
    for (ui::CheckBox* ticked : {&chkMouse, &chkEnter, &chkSpace, &chkMsg}) ticked->set_value(1);

    mnuMP = {"mnuMP", "Lumoff", {{"mnuAbout", "About", {}}, {"mnuClose", "Close", {}}}};
    mnuMPTray = {"mnuMPTray",
                 "Lumoff Tray",
                 {{"mnuExit", "Exit Lumoff", {}},
                  {"mnuHBar", "-", {}},
                  {"mnuShow", "Show Lumoff", {}},
                  {"mnuOptions", "Options", {}},
                  {"mnuTurnOff", "Turn Off", {}}}};
}

}  // namespace lumoff
