// The daily schedule: "Enable Schedule" (chkSchedule_Click) locks the schedule's time boxes and stores the time,
// "Other Action:" (chkOther2_Click) holds the firing back, and the check that the housekeeping tick runs once a
// second turns the monitor off when the set time of day comes. Not here: the tick itself (app/housekeeping.*).
#pragma once

#include <cstdint>
#include <optional>

#include "forms/context.h"

namespace lumoff {

class MonitorControl;

class Schedule {
public:
    Schedule(Context& ctx, MonitorControl& monitor) : ctx_(ctx), monitor_(monitor) {}
    void Wire();

    void chkSchedule_Click();
    void chkOther2_Click();

    // Fires once when the local time reaches or passes the set second since the previous check, so a late or
    // skipped tick does not miss the day; the same scheduled moment never fires twice, not even when the user
    // sets the clock back past it. Reads the boxes, not the stored values.
    void Check();

private:
    Context& ctx_;
    MonitorControl& monitor_;
    // Local time, in milliseconds since 1970-01-01 local midnight, at the previous check.
    std::optional<std::int64_t> previous_ms_;
    // The scheduled moment that fired last, on the same scale.
    std::optional<std::int64_t> fired_ms_;
};

}  // namespace lumoff
