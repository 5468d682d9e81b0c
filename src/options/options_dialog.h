// frmOptions: the one Options dialog. Its controls are the live copy of every option; closing it only hides it.
// Layout only; the subsystems wire the handlers of their controls.
#pragma once

#include "ui/form.h"

namespace lumoff {

class OptionsDialog : public ui::Form {
public:
    OptionsDialog();

    ui::Frame& frameHotKey;
    ui::Frame& frameBehavior;
    ui::CommandButton& cmdHotKey;
    ui::OptionButton& radVista;
    ui::OptionButton& radXP;

    ui::Menu mnuMP;
    ui::Menu mnuMPTray;
};

}  // namespace lumoff
