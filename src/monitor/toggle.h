// Monitor power control: the one toggle between monitor on and monitor kept off (imgTurnOff_Click), the
// keep-off watchdog with mouse wake (tmr_Timer), and the hotkey message pump that is also the program's main loop
// (ProcessMessages).
#pragma once

#include <cstdint>

#include "forms/context.h"

namespace lumoff {

inline constexpr int kHotKeyIdSpace = 49149;
inline constexpr int kHotKeyIdEnter = 49150;
inline constexpr int kHotKeyIdUser = 49151;
inline constexpr unsigned kVkReturn = 0x0D;
inline constexpr unsigned kVkSpace = 0x20;
inline constexpr int kVkLButton = 0x01;
inline constexpr int kMonitorPowerOff = 2;

// The watchdog's rhythm in "Vista / Newer" mode is carried by its interval.
inline constexpr unsigned kWaitForIdleMs = 1000;
inline constexpr unsigned kFastPollMs = 5;
inline constexpr std::uint32_t kActiveBelowMs = 900;
inline constexpr std::uint32_t kIdleAboveMs = 1000;

class MonitorControl {
public:
    explicit MonitorControl(Context& ctx);

    // Flips the toggle state kept in the tag of imgTurnOff: "Turn Off" while the monitor is on.
    void imgTurnOff_Click();
    bool KeepingOff() const { return ctx_.main.imgTurnOff.tag != kTurnOffTag; }

    // The watchdog tick while the monitor is kept off.
    void tmr_Timer();

    // Waits for messages, takes the hotkey messages of the main window itself and dispatches everything else.
    // A stoppable run (the one started by setting the user's hotkey) ends once StopHotKeyPump is set.
    void ProcessMessages(bool stoppable);
    bool StopHotKeyPump = false;
    int pump_depth() const { return pump_depth_; }

    // 1 while a press of the left button was seen and its release not yet acted on.
    int MouseDownSeen = 0;

private:
    Context& ctx_;
    int pump_depth_ = 0;
};

}  // namespace lumoff
