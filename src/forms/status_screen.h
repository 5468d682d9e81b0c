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
    // Shows the screen topmost over the whole virtual desktop, given in twips from the primary monitor's corner,
    // with the message on the primary monitor and inside it.
    void CoverScreen(const ui::TwipRect& virtual_screen, const ui::TwipRect& primary_monitor);
    ui::Label& lblOffMessage;
};

}  // namespace lumoff
