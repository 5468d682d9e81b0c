// The one toggle between monitor on and monitor kept off (imgTurnOff_Click), and the hotkey message pump that is
// also the program's main loop (ProcessMessages).
#pragma once

#include "app/context.h"

namespace lumoff {

class MonitorControl {
public:
    explicit MonitorControl(Context& ctx) : ctx_(ctx) {}

    // Flips the toggle state kept in the tag of imgTurnOff: "Turn Off" while the monitor is on.
    void imgTurnOff_Click();
    bool KeepingOff() const { return ctx_.main.imgTurnOff.tag != kTurnOffTag; }

    // Waits for messages, takes the hotkey messages of the main window itself and dispatches everything else.
    // A stoppable run (the one started by setting the user's hotkey) ends once StopHotKeyPump is set.
    void ProcessMessages(bool stoppable);
    bool StopHotKeyPump = false;
    int pump_depth() const { return pump_depth_; }

private:
    Context& ctx_;
    int pump_depth_ = 0;
};

}  // namespace lumoff
