// frmOptions: the one Options dialog. Its controls are the live copy of every option; closing it only hides it.
// Layout only: every control as designed (kind, frame, caption, tooltip, place in twips relative to its frame, tab
// order, state at creation). The subsystems wire the handlers of their controls; the program runs the load.
#pragma once

#include <array>
#include <string>

#include "ui/form.h"

namespace lumoff {

class OptionsDialog : public ui::Form {
public:
    // The web host appears in the readme button's tooltip.
    explicit OptionsDialog(const std::string& web_host);

    // "Start on Windows Startup"
    ui::Frame& frameStartup;
    ui::OptionButton& radStartOn;
    ui::OptionButton& radStartOff;

    // "Timed Turn Off"
    ui::Frame& frameTimer;
    ui::TextBox& timHrs1;
    ui::TextBox& timMin1;
    ui::TextBox& timSec1;
    ui::CommandButton& cmdTimed;
    ui::CheckBox& chkIdle;
    ui::CheckBox& chkScr;
    ui::CheckBox& chkOther1;
    ui::ComboBox& Combo1;

    // "Schedule"
    ui::Frame& frameSchedule;
    ui::CheckBox& chkSchedule;
    ui::TextBox& timHrs2;
    ui::TextBox& timMin2;
    ui::TextBox& timSec2;
    ui::Label& lblSetTime;
    ui::CheckBox& chkOther2;
    ui::ComboBox& Combo2;

    // "HotKey"
    ui::Frame& frameHotKey;
    ui::ComboBox& hkeyButton1;
    ui::ComboBox& hkeyButton2;
    ui::CommandButton& cmdHotKey;
    ui::Label& lblAlso;
    ui::CheckBox& chkMouse;
    ui::CheckBox& chkEnter;
    ui::CheckBox& chkSpace;

    // "Behavior"
    ui::Frame& frameBehavior;
    ui::OptionButton& radVista;
    ui::OptionButton& radXP;
    ui::CheckBox& chkMsg;

    // "Other Options"
    ui::Frame& frameMisc;
    ui::CommandButton& cmdUpdate;
    ui::CommandButton& cmdReadme;
    ui::CommandButton& cmdReg;

    // One control array, as designed: 0 and 1 are the colons of the countdown row, 2 the "+" between the hotkey
    // lists, 4 and 3 the colons of the schedule row from left to right.
    std::array<ui::Label*, 5> lblColon{};

    ui::Timer& tmrTimer;
    ui::Timer& tmrScreen;

    // Popup menus only: the dialog has no menu bar.
    ui::Menu mnuMP;
    ui::Menu mnuMPTray;
};

}  // namespace lumoff
