// The daily schedule, checked by the housekeeping tick.
#include <gtest/gtest.h>

#include <tuple>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using V = std::vector<std::uint32_t>;
constexpr platform::LocalTime kNoon{2026, 12, 6, 12, 0, 0, 0};

// Each row is a copy started at its local time with the schedule set; the housekeeping tick comes at every whole
// second.
TEST(Schedule, FiresOnceWhenItsSecondHasComeAndOnlyEverTurnsTheMonitorOff) {
    using S = RunningCopy;
    // What it is, the time set, the start, what happens meanwhile, how long it runs, the power-offs, kept off then.
    using Row = std::tuple<const char*, const char*, const char*, const char*, platform::LocalTime, void (*)(S&),
                           std::uint64_t, V, bool>;
    for (const auto& [named, h, m, sec, start, events, until, off, kept_off] : std::initializer_list<Row>{
             {"once a day", "12", "0", "5", kNoon, [](S& s) { s.world.At(6000, [&s] { s.Toggle(); }); }, 86406000,
              {5000, 86405000}, true},
             {"a late tick", "12", "00", "05", kNoon, [](S& s) { s.world.At(4500, [&s] { s.world.Sleep(3000); }); },
              20000, {7500}, true},
             {"across midnight", "00", "00", "00", {2026, 12, 6, 23, 59, 58, 500}, nullptr, 3000, {2000}, true},
             {"kept off before", "12", "00", "05", kNoon, [](S& s) { s.world.At(2500, [&s] { s.Toggle(); }); }, 6000,
              {2500}, true},
             {"clock set back", "12", "00", "05", kNoon, [](S& s) {
                  s.world.At(8200, [&s] { s.world.SetLocalTime({2026, 12, 6, 12, 0, 1, 0}); });
                  s.world.At(9000, [&s] { s.Toggle(); });
              }, 20000, {5000}, false},
             {"clock set forward past it", "13", "00", "00", kNoon,
              [](S& s) { s.world.At(2200, [&s] { s.world.SetLocalTime({2026, 12, 6, 14, 0, 0, 0}); }); }, 20000,
              {3000}, true},
             {"disabled", "12", "00", "05", kNoon, [](S& s) { s.o().chkSchedule.set_value(0); }, 90000, {}, false},
             {"Other Action", "12", "00", "05", kNoon, [](S& s) { s.o().chkOther2.set_value(1); }, 90000, {}, false},
             {"hour out of range", "36", "00", "05", kNoon, nullptr, 90000, {}, false},
             {"minute out of range", "11", "60", "05", kNoon, nullptr, 90000, {}, false},
             {"second out of range", "11", "59", "65", kNoon, nullptr, 90000, {}, false}}) {
        RunningCopy s({}, [at = start](SimWorld& w) { w.SetLocalTime(at); });
        s.SetTime(h, m, sec, true);
        s.o().chkSchedule.set_value(1);
        if (events) events(s);
        s.RunUntil(until);
        SCOPED_TRACE(named);
        EXPECT_EQ(s.PowerOffTimes(), off);
        EXPECT_EQ(s.KeepingOff(), kept_off);
        // The time boxes are locked while the schedule is on; "Other Action:" enables its list.
        const OptionsDialog& o = s.o();
        EXPECT_EQ(o.timHrs2.locked() + o.timMin2.locked() + o.timSec2.locked(), 3 * o.chkSchedule.value());
        EXPECT_EQ(o.Combo2.enabled(), o.chkOther2.value() == 1);
    }
}

}  // namespace
}  // namespace lumoff
