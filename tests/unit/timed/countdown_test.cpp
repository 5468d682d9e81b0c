// The countdown: Go and Stop, the question below fifteen seconds, the tick with its idle rule, its measure on the
// tick count whatever the clock does, and what the caption shows.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "support/sim_program.h"
#include "timed/countdown.h"

namespace lumoff {
namespace {

using V = std::vector<std::uint32_t>;

TEST(FormatRemaining, HoursMinutesSecondsWithoutLeadingZeros) {
    for (auto [seconds, text] : {std::pair<long, const char*>{90, "0:1:30"}, {3725, "1:2:5"}, {0, "0:0:0"},
                                 {-5, "-1:-1:-5"}, {-3600, "-1:0:0"}, {-3661, "-2:-2:-1"}})
        EXPECT_EQ(FormatRemaining(seconds), text) << seconds;
}

TEST(RemainingSeconds, RoundsAHalfToTheEvenNeighbour) {
    constexpr std::int64_t kLongest = 1000000000000000;
    for (auto [length, elapsed_ms, left] : std::initializer_list<std::tuple<std::int64_t, std::uint64_t, std::int64_t>>{
             {30, 500, 30}, {30, 29500, 0}, {30, 28500, 2}, {30, 29400, 1}, {30, 35000, -5}, {0, 1500, -2},
             {kLongest, 200, kLongest}})
        EXPECT_EQ(RemainingSeconds(length, elapsed_ms), left) << elapsed_ms;
}

// Elapsed time is the tick count's: midnight, the clock set a day forward and the tick count's wrap change nothing. The
// end gives back what Go locked, the check boxes' neighbours as the boxes are checked. A second Go while the monitor
// is kept off ends with the monitor still off: a countdown never turns it on.
TEST(Countdown, GoLocksTheBoxesStoresTheFieldsCountsDownTurnsOffAndUnlocks) {
    RunningCopy t({}, [](SimWorld& w) {
        w.SetLocalTime({2026, 12, 6, 23, 59, 50, 0});  // midnight 10 s after Go
        w.SetTickBase(0xFFFFFFFFu - 10000);            // and the tick count's wrap
    });
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.o().cmdTimed.text(), "Stop");
    EXPECT_EQ(t.Values({"TimerHr", "TimerMn", "TimerSc"}), "000030");
    EXPECT_TRUE(t.o().timHrs1.locked() && t.o().timMin1.locked() && t.o().timSec1.locked());
    EXPECT_EQ(t.o().timSec1.back_colour(), ui::SystemColour(15));
    EXPECT_FALSE(t.o().chkIdle.enabled() || t.o().chkScr.enabled() || t.o().chkOther1.enabled());
    t.world.At(15000, [&] { t.world.StepLocalTime(86400); });  // the clock set a day forward
    std::string at_20s;
    t.world.At(20000, [&] { at_20s = t.caption(); });
    t.RunUntil(40000);
    EXPECT_EQ(at_20s, "0:0:10");
    EXPECT_EQ(t.PowerOffTimes(), V{29600}) << "the first tick with 0.5 s or less left";
    EXPECT_TRUE(t.KeepingOff());
    EXPECT_EQ(t.o().cmdTimed.text() + " " + t.caption(), "Go Lumoff");
    EXPECT_FALSE(t.o().timHrs1.locked() || t.o().timMin1.locked() || t.o().timSec1.locked());
    EXPECT_EQ(t.o().timSec1.back_colour(), ui::SystemColour(5));
    EXPECT_TRUE(t.o().chkIdle.enabled() && t.o().chkOther1.enabled());
    EXPECT_FALSE(t.o().chkScr.enabled() || t.o().Combo1.enabled()) << "their boxes are not checked";
    t.o().cmdTimed.Click();
    t.RunUntil(80000);
    EXPECT_TRUE(t.KeepingOff());
    EXPECT_EQ(t.PowerOffTimes().size(), 1u);
    EXPECT_EQ(t.o().cmdTimed.text(), "Go") << "the countdown still stops";
}

// Below fifteen seconds the start asks first: Cancel changes nothing, and after OK the count starts from the answer
// (the user takes 3 s): nothing counts while the question is open. Zero turns off on the first tick.
TEST(Countdown, BelowFifteenSecondsAsksFirstAndCountsFromTheAnswer) {
    // The time typed, the answer (0: not asked), when the monitor is turned off (0: never).
    for (auto [h, m, s, answer, off_at] : std::initializer_list<std::tuple<const char*, const char*, const char*, int,
                                                                           std::uint32_t>>{
             {"00", "00", "15", 0, 14600}, {"ab", "", "14x", kIdOk, 3000 + 13600},
             {"00", "00", "00", kIdOk, 3000 + 200}, {"00", "00", "05", kIdCancel, 0}}) {
        RunningCopy t({.answers = {answer}}, [](SimWorld& w) { w.box_think_ms = {3000}; });
        t.SetTime(h, m, s);
        std::string meanwhile;
        t.world.At(2500, [&] { meanwhile = t.caption() + " " + t.o().cmdTimed.text(); });
        t.o().cmdTimed.Click();
        t.RunUntil(20000);
        SCOPED_TRACE(std::string(h) + ":" + m + ":" + s);
        EXPECT_EQ(t.PowerOffTimes(), off_at ? V{off_at} : V{});
        ASSERT_EQ(t.world.boxes.size(), answer ? 1u : 0u);
        if (!answer) continue;
        EXPECT_EQ(meanwhile, "Lumoff Go");
        EXPECT_EQ(t.world.boxes[0].title + " " + std::to_string(t.world.boxes[0].style) + " " + t.world.boxes[0].text,
                  "Lumoff :| 65 Premission required to proceed - Time is less than 15 seconds!\r\n"
                  "Press OK to continue, Cancel to cancel the action") << "OK/Cancel, information";
        if (answer == kIdCancel) {
            EXPECT_FALSE(t.Stored("TimerSc") || t.o().timSec1.locked() || t.o().tmrTimer.enabled());
        }
    }
}

// Every input restarts an idle-only count; its end gives back "Like a Screensaver", which unchecking idle disables
// again without changing it.
TEST(Countdown, OnlyIfIdleStartsAgainOnEveryInput) {
    RunningCopy t;
    t.o().chkIdle.set_value(1);
    t.o().cmdTimed.Click();
    std::vector<std::string> after_input;
    for (std::uint64_t at : {5000u, 10000u, 15000u, 20000u}) {
        t.world.At(at, [&] { t.world.UserInput(); });
        t.world.At(at + 300, [&] { after_input.push_back(t.caption()); });
    }
    t.RunUntil(60000);
    EXPECT_EQ(after_input, (std::vector<std::string>(4, "0:0:30")));
    // The last input at 20 s restarts the count until the tick at 20.8 s; 29.6 s later it runs out.
    EXPECT_EQ(t.PowerOffTimes(), V{50400});
    EXPECT_TRUE(t.o().chkScr.enabled()) << "given back with its neighbour checked";
    t.o().chkScr.set_value(1);
    t.o().chkIdle.set_value(0);
    EXPECT_FALSE(t.o().chkScr.enabled());
    EXPECT_EQ(t.o().chkScr.value(), 1) << "unchecking idle leaves the screensaver box as it was";
}

// It counts on for weeks: two stalls of 25 days each (past the tick count's 49.7-day wrap) are 1200 hours more.
TEST(Countdown, OtherActionHoldsTheTurnOffBackAndTheCaptionGoesNegative) {
    RunningCopy t;
    t.SetTime("00", "00", "15");
    t.o().chkOther1.set_value(1);
    t.o().cmdTimed.Click();
    t.RunUntil(20000);
    EXPECT_TRUE(t.world.power_requests.empty());
    EXPECT_EQ(t.caption(), "-1:-1:-5");
    constexpr std::uint64_t k25Days = 25ull * 86400 * 1000;
    t.world.At(20000, [&] { t.world.Sleep(k25Days); });
    t.world.At(20100 + k25Days, [&] { t.world.Sleep(k25Days); });
    t.RunUntil(20150 + 2 * k25Days);
    EXPECT_EQ(t.caption(), "-1201:-1:-5");
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.caption(), "Lumoff");
    EXPECT_TRUE(t.o().Combo1.enabled()) << "the user's Stop gives the list back with its box checked";
    t.o().chkOther1.set_value(0);
    EXPECT_FALSE(t.o().Combo1.enabled());
}

}  // namespace
}  // namespace lumoff
