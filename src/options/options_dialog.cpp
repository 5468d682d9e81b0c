#include "options/options_dialog.h"

namespace lumoff {

namespace {

constexpr ui::Colour kDialogColour = ui::SystemColour(22);  // COLOR_3DLIGHT

ui::FormStyle OptionsStyle() {
    ui::FormStyle style;
    style.border = ui::Border::FixedToolWindow;
    style.taskbar_button = false;
    style.centred = true;
    style.back_colour = kDialogColour;
    style.client_width = 2895;
    style.client_height = 8535;
    return style;
}

template <typename T>
T& Place(ui::Form& form, ui::Control* frame, const char* name, const char* caption, ui::TwipRect rect, int tab,
         const char* tip = "") {
    auto& c = form.Add<T>(frame, name);
    c.set_rect(rect);
    c.set_text(caption);
    c.tab_index = tab;
    c.tooltip = tip;
    c.set_back_colour(kDialogColour);
    return c;
}

}  // namespace

OptionsDialog::OptionsDialog()
    : ui::Form("frmOptions", OptionsStyle()),
      frameHotKey(Place<ui::Frame>(*this, nullptr, "frameHotKey", "HotKey", {120, 4080, 2655, 2175}, 30,
                                   "Set a HotKey for Lumoff!")),
      frameBehavior(Place<ui::Frame>(*this, nullptr, "frameBehavior", "Behavior", {120, 6360, 2655, 855}, 38,
                                     "Check Readme before changing value")),
      cmdHotKey(Place<ui::CommandButton>(*this, &frameHotKey, "cmdHotKey", "Set Global Hotkey",
                                         {120, 720, 2415, 255}, 18, "Click to set the HotKey")),
      radVista(Place<ui::OptionButton>(*this, &frameBehavior, "radVista", "Vista / Newer", {120, 240, 1335, 255},
                                       22, "Displays a status screen when turned off")),
      radXP(Place<ui::OptionButton>(*this, &frameBehavior, "radXP", "XP / Older", {1440, 240, 1095, 255}, 23,
                                    "No status screens")) {
    set_title("Lumoff Options");
    // The design-time selection; start-up replaces it from the system probe.
    SelectOption(radVista);
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
