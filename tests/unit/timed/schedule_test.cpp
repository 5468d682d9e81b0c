// The daily schedule, checked by the housekeeping tick.
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using V = std::vector<std::uint32_t>;

// A copy started at 12:00:00.000 with the schedule set; the housekeeping tick comes at every whole second.
struct Scheduled : RunningCopy {
    Scheduled(const char* h, const char* m, const char* s, platform::LocalTime at = {2026, 12, 6, 12, 0, 0, 0})
        : RunningCopy({}, [&](SimWorld& w) { w.SetLocalTime(at); }) {
        SetTime(h, m, s, true);
        o().chkSchedule.set_value(1);
    }
};

TEST(Schedule, FiresAtItsSecondOnceADay) {
    Scheduled s("12", "0", "5");
    bool off_before = true;
    s.world.At(4500, [&] { off_before = s.KeepingOff(); });
    s.world.At(6000, [&] { s.Toggle(); });
    s.RunUntil(86400000 + 6000);
    EXPECT_FALSE(off_before);
    EXPECT_EQ(s.PowerOffTimes(), (V{5000, 86405000})) << "numbers compared, once a day";
}

TEST(Schedule, ALateTickStillFiresOnce) {
    Scheduled s("12", "00", "05");
    s.world.At(4500, [&] { s.world.Sleep(3000); });  // the thread is busy through the whole scheduled second
    s.RunUntil(20000);
    EXPECT_EQ(s.PowerOffTimes(), V{7500});
}

TEST(Schedule, AcrossMidnight) {
    Scheduled s("00", "00", "00", {2026, 12, 6, 23, 59, 58, 500});
    s.RunUntil(3000);
    EXPECT_EQ(s.PowerOffTimes(), V{2000}) << "the tick at 00:00:00.5";
}

TEST(Schedule, AMonitorAlreadyKeptOffStaysOff) {
    Scheduled s("12", "00", "05");
    s.world.At(2500, [&] { s.Toggle(); });  // the user turns it off first
    s.RunUntil(6000);
    EXPECT_TRUE(s.KeepingOff()) << "the schedule never turns the monitor on";
    EXPECT_EQ(s.PowerOffTimes().front(), 2500u);
}

TEST(Schedule, DisabledHeldBackOrOutOfRangeNeverFires) {
    struct Case {
        const char *h, *m, *s;
        int enabled, other;
    } cases[] = {{"12", "00", "05", 0, 0}, {"12", "00", "05", 1, 1}, {"36", "00", "05", 1, 0},
                 {"12", "75", "05", 1, 0}, {"12", "00", "99", 1, 0}};
    for (const Case& c : cases) {
        Scheduled s(c.h, c.m, c.s);
        s.o().chkSchedule.set_value(c.enabled);
        s.o().chkOther2.set_value(c.other);
        s.RunUntil(90000);
        EXPECT_TRUE(s.world.power_requests.empty()) << c.h << ":" << c.m << ":" << c.s << " other " << c.other;
    }
}

TEST(Schedule, TheClockSetBackOrForwardFiresItOnlyOnce) {
    Scheduled back("12", "00", "05");
    back.world.At(8200, [&] { back.world.SetLocalTime({2026, 12, 6, 12, 0, 1, 0}); });
    back.world.At(9000, [&] { back.Toggle(); });
    back.RunUntil(20000);
    EXPECT_EQ(back.PowerOffTimes(), V{5000}) << "12:00:05 passes twice, fires once";
    Scheduled forward("13", "00", "00");
    forward.world.At(2200, [&] { forward.world.SetLocalTime({2026, 12, 6, 14, 0, 0, 0}); });
    forward.RunUntil(20000);
    EXPECT_EQ(forward.PowerOffTimes(), V{3000}) << "jumping past 13:00 fires once";
}

TEST(Schedule, EnablingLocksTheBoxesAndStoresTheTimeDisablingStoresItToo) {
    Scheduled t("7", "30", "005");
    EXPECT_EQ(t.Values({"Schedule", "ScheduleMn", "ScheduleSc"}), "13000") << "the first two characters";
    EXPECT_EQ(t.Stored("ScheduleHr"), std::string("7\0", 2)) << "one character and its NUL";
    for (ui::TextBox* box : {&t.o().timHrs2, &t.o().timMin2, &t.o().timSec2})
        EXPECT_TRUE(box->locked() && box->back_colour() == ui::SystemColour(15)) << box->name();
    t.o().chkSchedule.set_value(0);
    EXPECT_EQ(t.Stored("Schedule"), "0");
    EXPECT_FALSE(t.o().timHrs2.locked());
    EXPECT_EQ(t.o().timHrs2.back_colour(), ui::SystemColour(5));
    t.o().chkOther2.set_value(1);
    EXPECT_TRUE(t.o().Combo2.enabled());
    EXPECT_EQ(t.Stored("ScheduleOther"), "1");
}

}  // namespace
}  // namespace lumoff
