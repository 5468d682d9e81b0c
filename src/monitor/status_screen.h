// frmTurnedOff: the black, borderless, topmost screen shown while the monitor is kept off in "Vista / Newer" mode,
// with its large red message. Layout and the message's click; the toggle and the watchdog show and hide it.
#pragma once

#include "ui/form.h"

namespace lumoff {

inline constexpr const char* kOffMessage =
    "THIS MONITOR HAS BEEN TURNED OFF. PLEASE CLICK/PRESS THE ENTER KEY/SPACE BAR OR HOTKEY TO TURN IT BACK ON AGAIN.";

class TurnedOffScreen : public ui::Form {
public:
    TurnedOffScreen();
    ui::Label& lblOffMessage;
};

}  // namespace lumoff
