// The countdown of "Timed Turn Off": Go and Stop (cmdTimed_Click), the 200 ms tick that counts down in the caption
// label and turns the monitor off at zero (tmrTimer_Timer), the idle rule of "Only if Idle", and the handlers of
// "Only if Idle" and "Other Action:". Not here: the screensaver-mode tick (timed/screensaver.*), which the start
// chooses instead of the ordinary tick, and the "Other Action:" list (timed/action_lists.*).
#pragma once

#include <cstdint>
#include <string>

#include "forms/context.h"

namespace lumoff {

class MonitorControl;

inline constexpr const char* kGoCaption = "Go";
inline constexpr const char* kStopCaption = "Stop";
inline constexpr const char* kIdleCaption = "Lumoff";
// Below this many seconds the start asks first.
inline constexpr double kConfirmBelowSeconds = 15;
inline constexpr const char* kShortCountdownTitle = "Lumoff :|";
inline constexpr const char* kShortCountdownText =
    "Premission required to proceed - Time is less than 15 seconds!\r\n"
    "Press OK to continue, Cancel to cancel the action";
// Input younger than this restarts an idle-only countdown.
inline constexpr std::uint32_t kUserActiveBelowMs = 900;
inline constexpr double kSecondsPerDay = 86400;

// H:M:S of a whole number of seconds without leading zeros: 90 -> "0:1:30", -5 -> "-1:-1:-5" (hours rounded
// down, minutes and seconds keeping the sign of the number).
std::string FormatRemaining(long seconds);
// The local time of day in seconds since midnight, with its fraction, at the precision the countdown keeps it.
float TimeOfDay(platform::Clock& clock);
// Whole seconds left of a countdown of `length` seconds started at `start`, at time of day `now`; a half goes to
// the even neighbour (29.5 s of 30 gone leaves 0).
long RemainingSeconds(double length, double start, float now);
// Writes the remaining time into the caption label, and repaints it at once, only when the text changes.
void ShowRemaining(ui::Label& caption, long seconds);

class Countdown {
public:
    Countdown(Context& ctx, MonitorControl& monitor) : ctx_(ctx), monitor_(monitor) {}
    void Wire();

    // Starts the countdown while the button reads "Go", stops it otherwise.
    void cmdTimed_Click();
    void tmrTimer_Timer();
    void chkOther1_Click();
    void chkIdle_Click();

    // The time of day at which the countdown started or last restarted; negative after the midnight correction.
    double CountdownStart = 0;

private:
    void Start();
    void Stop();
    Context& ctx_;
    MonitorControl& monitor_;
};

}  // namespace lumoff
