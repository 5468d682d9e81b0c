// The countdown: Go and Stop, the question below fifteen seconds, the tick with its idle rule, its measure on the
// tick count whatever the clock does, and what the caption shows.
#include <gtest/gtest.h>

#include "support/sim_program.h"
#include "timed/countdown.h"

namespace lumoff {
namespace {

using V = std::vector<std::uint32_t>;

TEST(FormatRemaining, HoursMinutesSecondsWithoutLeadingZeros) {
    struct Case {
        long seconds;
        const char* text;
    } cases[] = {{30, "0:0:30"},       {90, "0:1:30"},  {3725, "1:2:5"},   {86399, "23:59:59"}, {0, "0:0:0"},
                 {-5, "-1:-1:-5"},     {-60, "-1:-1:0"}, {-3600, "-1:0:0"}, {-3661, "-2:-2:-1"}};
    for (const Case& c : cases) EXPECT_EQ(FormatRemaining(c.seconds), c.text) << c.seconds;
}

TEST(RemainingSeconds, RoundsAHalfToTheEvenNeighbour) {
    struct Case {
        std::int64_t length;
        std::uint64_t elapsed_ms;
        std::int64_t left;
    } cases[] = {{30, 500, 30},  {30, 29500, 0}, {30, 29600, 0},         {30, 29400, 1},
                 {30, 28500, 2}, {30, 35000, -5}, {0, 250, 0},           {0, 500, 0},
                 {0, 1500, -2},  {86399, 200, 86399}, {1000000000000000, 200, 1000000000000000}};
    for (const Case& c : cases) EXPECT_EQ(RemainingSeconds(c.length, c.elapsed_ms), c.left) << c.elapsed_ms;
}

TEST(Countdown, GoLocksTheBoxesStoresTheFieldsCountsDownAndTurnsOffAfterTwentyNineAndAHalf) {
    RunningCopy t;
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.o().cmdTimed.text(), "Stop");
    EXPECT_EQ(t.Values({"TimerHr", "TimerMn", "TimerSc"}), "000030");
    EXPECT_TRUE(t.o().timHrs1.locked() && t.o().timMin1.locked() && t.o().timSec1.locked());
    EXPECT_EQ(t.o().timSec1.back_colour(), ui::SystemColour(15));
    EXPECT_FALSE(t.o().chkIdle.enabled() || t.o().chkScr.enabled() || t.o().chkOther1.enabled());
    // The thread is busy for a tenth of a second: the later ticks fall on odd tenths, one of them on 29.5 s.
    t.world.At(1000, [&] { t.world.Sleep(100); });
    std::vector<std::string> seen;
    for (std::uint64_t at : {300u, 10000u, 29400u}) t.world.At(at, [&] { seen.push_back(t.caption()); });
    t.RunUntil(40000);
    EXPECT_EQ(seen, (std::vector<std::string>{"0:0:30", "0:0:20", "0:0:1"})) << "0.7 s left at 29.3 s";
    EXPECT_EQ(t.PowerOffTimes(), V{29500}) << "0.5 s left rounds to 0";
    EXPECT_TRUE(t.KeepingOff());
    EXPECT_EQ(t.o().cmdTimed.text() + " " + t.caption(), "Go Lumoff");
}

TEST(Countdown, BelowFifteenSecondsAsksFirstAndCancelChangesNothing) {
    struct Case {
        const char *h, *m, *s;
        bool asks;
        int answer;
    } cases[] = {{"00", "00", "14", true, kIdOk},  {"00", "00", "15", false, kIdOk}, {"00", "00", "00", true, kIdOk},
                 {"", "", "5", true, kIdOk},       {"00", "01", "00", false, kIdOk}, {"ab", "", "14x", true, kIdOk},
                 {"00", "00", "05", true, kIdCancel}};
    for (const Case& c : cases) {
        RunningCopy t({.answers = {c.answer}});
        t.SetTime(c.h, c.m, c.s);
        t.o().cmdTimed.Click();
        SCOPED_TRACE(std::string(c.h) + ":" + c.m + ":" + c.s);
        ASSERT_EQ(t.world.boxes.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(t.world.boxes[0].text, "Premission required to proceed - Time is less than 15 seconds!\r\n"
                                             "Press OK to continue, Cancel to cancel the action");
            EXPECT_EQ(t.world.boxes[0].title + " " + std::to_string(t.world.boxes[0].style), "Lumoff :| 65")
                << "OK/Cancel, information";
        }
        const bool counts = c.answer != kIdCancel;
        EXPECT_EQ(t.o().cmdTimed.text(), counts ? "Stop" : "Go");
        EXPECT_TRUE(t.Stored("TimerSc").has_value() == counts && t.o().timSec1.locked() == counts &&
                    t.o().tmrTimer.enabled() == counts);
    }
}

// The count starts when the question is answered; zero turns off on the first tick and stops.
TEST(Countdown, ACountStartsAfterTheQuestionIsAnswered) {
    struct Case {
        const char* seconds;
        std::uint32_t think_ms, off_at;
    } cases[] = {{"05", 3000, 7600}, {"00", 0, 200}};  // 4.6 s after the answer, 0.4 s are left
    for (const Case& c : cases) {
        RunningCopy t({.answers = {kIdOk}}, [&](SimWorld& w) { w.box_think_ms = {c.think_ms}; });
        t.SetTime("00", "00", c.seconds);
        std::string meanwhile;
        t.world.At(2500, [&] { meanwhile = t.caption() + " " + t.o().cmdTimed.text(); });
        t.o().cmdTimed.Click();
        t.RunUntil(10000);
        EXPECT_EQ(t.PowerOffTimes().front(), c.off_at);
        EXPECT_EQ(meanwhile, "Lumoff Go") << "nothing counts while the question is open, nor after zero";
    }
}

// Elapsed time is the tick count's: a clock set back or forward, midnight or the tick count's wrap, each 10 s into a
// countdown of 30 s, changes nothing.
TEST(Countdown, EndsAtItsLengthInTicksWhateverTheClockDoes) {
    constexpr std::int64_t kHour = 3600, kDay = 86400;
    struct Case {
        const char* what;
        std::int64_t clock_step_s;
        platform::LocalTime start{2026, 12, 6, 12, 0, 0, 0};
        std::uint32_t tick_at_go = 1000000;
    } cases[] = {{"back an hour", -kHour},
                 {"forward an hour", kHour},
                 {"back a day", -kDay},
                 {"forward a day", kDay},
                 {"across midnight", 0, {2026, 12, 6, 23, 59, 50, 0}},
                 {"across the tick count's wrap", 0, {}, 0xFFFFFFFFu - 10000}};
    for (const Case& c : cases) {
        RunningCopy t({}, [&](SimWorld& w) {
            w.SetLocalTime(c.start);
            w.SetTickBase(c.tick_at_go);
        });
        t.o().cmdTimed.Click();
        t.world.At(10000, [&] { t.world.StepLocalTime(c.clock_step_s); });
        std::string at_15s;
        t.world.At(15000, [&] { at_15s = t.caption(); });
        t.RunUntil(40000);
        EXPECT_EQ(at_15s, "0:0:15") << c.what;
        EXPECT_EQ(t.PowerOffTimes(), V{29600}) << c.what << ": the first tick with 0.5 s or less left";
    }
}

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
    // The last input at 20 s restarts the count until the tick at 20.8 s; 29.5 s later it runs out.
    EXPECT_EQ(t.PowerOffTimes(), V{50400});
}

// The idle rule reads the tick counts' unsigned difference, and a last input ahead of the tick count is input now:
// active until the tick count has passed it by the rule's margin (the tick at 40.8 s), then 29.6 s more.
TEST(Countdown, TheIdleRuleSurvivesTheTickCountsWrap) {
    for (bool wrap : {true, false}) {
        RunningCopy t;
        if (wrap) t.world.SetTickBase(0xFFFFFFFFu - 10000);  // wraps 10 s from now
        if (wrap) t.world.UserInput();
        if (!wrap) t.world.SetLastInputTick(t.world.TickCount() + 40000);
        t.o().chkIdle.set_value(1);
        t.o().cmdTimed.Click();
        if (wrap) t.world.At(12000, [&] { t.world.UserInput(); });
        t.RunUntil(80000);
        EXPECT_EQ(t.PowerOffTimes(), V{wrap ? 12800u + 29600 : 70400u}) << wrap;
    }
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
}

TEST(Countdown, ZeroWhileTheMonitorIsAlreadyKeptOffLeavesItOff) {
    RunningCopy t;
    t.SetTime("00", "00", "15");
    t.o().cmdTimed.Click();
    t.world.At(5000, [&] { t.Toggle(); });
    t.RunUntil(20000);
    EXPECT_TRUE(t.KeepingOff()) << "a countdown never turns the monitor on";
    EXPECT_EQ(t.PowerOffTimes().front(), 5000u);
    EXPECT_EQ(t.o().cmdTimed.text(), "Go") << "the countdown still stops";
}

TEST(Countdown, StopRestoresTheEnabledStatesByTheCheckBoxes) {
    for (int idle : {0, 1}) {
        for (int other : {0, 1}) {
            RunningCopy t;
            t.o().chkIdle.set_value(idle);
            t.o().chkOther1.set_value(other);
            t.o().cmdTimed.Click();
            t.RunUntil(1000);
            t.o().cmdTimed.Click();
            SCOPED_TRACE(std::to_string(idle) + std::to_string(other));
            EXPECT_TRUE(t.o().chkIdle.enabled() && t.o().chkOther1.enabled());
            EXPECT_EQ(t.o().chkScr.enabled(), idle == 1);
            EXPECT_EQ(t.o().Combo1.enabled(), other == 1);
            EXPECT_FALSE(t.o().timHrs1.locked() || t.o().timMin1.locked() || t.o().timSec1.locked());
            EXPECT_EQ(t.o().timSec1.back_colour(), ui::SystemColour(5));
            EXPECT_FALSE(t.o().tmrTimer.enabled() || t.o().tmrScreen.enabled());
        }
    }
}

TEST(Countdown, CheckBoxesEnableTheirNeighboursAndStoreOneByte) {
    RunningCopy t;
    for (ui::CheckBox* box : {&t.o().chkOther1, &t.o().chkScr, &t.o().chkIdle}) box->set_value(1);
    EXPECT_TRUE(t.o().Combo1.enabled() && t.o().chkScr.enabled());
    t.o().chkIdle.set_value(0);
    EXPECT_FALSE(t.o().chkScr.enabled());
    EXPECT_EQ(t.o().chkScr.value(), 1) << "unchecking idle leaves the screensaver box as it was";
    EXPECT_EQ(t.Values({"TimerOther", "TimerSaver", "TimerIdle"}), "110");
}

}  // namespace
}  // namespace lumoff
