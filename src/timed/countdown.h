// The countdown of "Timed Turn Off": Go and Stop (cmdTimed_Click), the 200 ms tick that counts down in the caption
// label and turns the monitor off at zero (tmrTimer_Timer), the idle rule of "Only if Idle", and the handlers of
// "Only if Idle" and "Other Action:". Not here: the screensaver-mode tick (timed/screensaver.*), which the start
// chooses instead of the ordinary tick, and the "Other Action:" list (timed/action_lists.*).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/context.h"

namespace lumoff {

class MonitorControl;

inline constexpr const char* kGoCaption = "Go";
inline constexpr const char* kStopCaption = "Stop";
inline constexpr const char* kIdleCaption = "Lumoff";
// Below this many seconds the start asks first.
inline constexpr std::int64_t kConfirmBelowSeconds = 15;
inline constexpr const char* kShortCountdownTitle = "Lumoff :|";
inline constexpr const char* kShortCountdownText =
    "Premission required to proceed - Time is less than 15 seconds!\r\n"
    "Press OK to continue, Cancel to cancel the action";
// Input younger than this restarts an idle-only countdown.
inline constexpr std::uint32_t kUserActiveBelowMs = 900;

// H:M:S of a whole number of seconds without leading zeros: 90 -> "0:1:30", -5 -> "-1:-1:-5" (hours rounded
// down, minutes and seconds keeping the sign of the number).
std::string FormatRemaining(std::int64_t seconds);
// The countdown's length in whole seconds as a timer's tag keeps it (its decimal text), at most a bound far beyond
// any real use, so that no text in a box can overflow the arithmetic of the tick.
std::int64_t CountdownLength(std::string_view tag);
// Whole seconds left of a countdown of `length` seconds after `elapsed_ms`, in exact integer arithmetic; a half goes
// to the even neighbour (29.5 s of 30 gone leaves 0).
std::int64_t RemainingSeconds(std::int64_t length, std::uint64_t elapsed_ms);
// Writes the remaining time into the caption label, and repaints it at once, only when the text changes.
void ShowRemaining(ui::Label& caption, std::int64_t seconds);

class Countdown {
public:
    Countdown(Context& ctx, MonitorControl& monitor) : ctx_(ctx), monitor_(monitor) {}
    void Wire();

    // Starts the countdown while the button reads "Go", stops it otherwise.
    void cmdTimed_Click();
    void tmrTimer_Timer();
    void chkOther1_Click();
    void chkIdle_Click();

    // The tick count (of Ticks) at which the countdown started or last restarted. Elapsed time is measured from it
    // on the tick count alone: setting the clock, a time sync or midnight changes nothing.
    std::uint64_t CountdownStart = 0;

private:
    void Start();
    void Stop();
    // The system's tick count extended to 64 bits: each reading adds the unsigned 32-bit difference from the one
    // before, so a countdown left running past zero ("Other Action:") counts on across the 49.7-day wrap. While a
    // countdown runs, readings come with every tick, far closer together than a wrap; only differences from its
    // start count, so the time between two countdowns does not matter.
    std::uint64_t Ticks();
    std::uint32_t last_tick_ = 0;
    std::uint64_t ticks_ = 0;
    Context& ctx_;
    MonitorControl& monitor_;
};

}  // namespace lumoff
