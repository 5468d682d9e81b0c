#include <gtest/gtest.h>

#include "timed/countdown.h"
#include "timed_copy.h"

namespace lumoff {
namespace {

using platform::kIdCancel;
using platform::kIdOk;
using testing::Stored;
using testing::TimedCopy;

constexpr const char* kAsk =
    "Premission required to proceed - Time is less than 15 seconds!\r\nPress OK to continue, Cancel to cancel the action";

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
        double length, start;
        float now;
        long left;
    } cases[] = {{30, 100, 100.5f, 30},  // 29.5 left
                 {30, 100, 129.5f, 0},   // 0.5 left
                 {30, 100, 129.4f, 1},  {30, 100, 128.5f, 2}, {30, 100, 135, -5}, {0, 100, 100.25f, 0}};
    for (const Case& c : cases) EXPECT_EQ(RemainingSeconds(c.length, c.start, c.now), c.left) << c.now;
}

TEST(Countdown, GoLocksTheBoxesStoresTheFieldsAndCountsDownInTheCaption) {
    TimedCopy t;
    t.SetTime("00", "00", "30");
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.o().cmdTimed.text(), "Stop");
    EXPECT_TRUE(t.world.boxes.empty()) << "30 s asks nothing";
    EXPECT_EQ(Stored(t.world, "TimerHr"), "00");
    EXPECT_EQ(Stored(t.world, "TimerMn"), "00");
    EXPECT_EQ(Stored(t.world, "TimerSc"), "30");
    for (ui::TextBox* box : {&t.o().timHrs1, &t.o().timMin1, &t.o().timSec1}) {
        EXPECT_TRUE(box->locked());
        EXPECT_EQ(box->back_colour(), ui::SystemColour(15));
    }
    for (ui::Control* c : std::initializer_list<ui::Control*>{&t.o().chkIdle, &t.o().chkScr, &t.o().chkOther1,
                                                                &t.o().Combo1})
        EXPECT_FALSE(c->enabled()) << c->name();
    EXPECT_TRUE(t.o().tmrTimer.enabled());
    EXPECT_FALSE(t.o().tmrScreen.enabled());
    EXPECT_EQ(t.o().tmrTimer.tag, "30");

    std::vector<std::string> seen;
    for (std::uint64_t at : {300u, 1000u, 10000u, 29400u}) t.world.At(at, [&] { seen.push_back(t.caption()); });
    t.RunUntil(29400);
    EXPECT_EQ(seen, (std::vector<std::string>{"0:0:30", "0:0:29", "0:0:20", "0:0:1"}));
    EXPECT_FALSE(t.kept_off());
}

TEST(Countdown, ThirtySecondsTurnOffOnTheFirstTickAfterTwentyNineAndAHalf) {
    TimedCopy t;
    t.o().cmdTimed.Click();
    // The thread is busy for a tenth of a second: the later ticks fall on odd tenths, one of them on 29.5 s.
    t.world.At(1000, [&] { t.world.Sleep(100); });
    std::string before;
    t.world.At(29400, [&] { before = t.caption(); });
    t.RunUntil(40000);
    EXPECT_EQ(before, "0:0:1") << "0.7 s left at the tick of 29.3 s";
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{29500})) << "0.5 s left rounds to 0";
    EXPECT_TRUE(t.kept_off());
    EXPECT_EQ(t.o().cmdTimed.text(), "Go");
    EXPECT_EQ(t.caption(), "Lumoff");
    EXPECT_FALSE(t.o().tmrTimer.enabled());
}

TEST(Countdown, BelowFifteenSecondsAsksFirst) {
    struct Case {
        const char *h, *m, *s;
        bool asks;
    } cases[] = {{"00", "00", "14", true}, {"00", "00", "15", false}, {"00", "00", "00", true},
                 {"", "", "5", true},      {"00", "01", "00", false}, {"ab", "", "14x", true}};
    for (const Case& c : cases) {
        TimedCopy t;
        t.SetTime(c.h, c.m, c.s);
        t.world.box_answers = {kIdOk};
        t.o().cmdTimed.Click();
        EXPECT_EQ(t.world.boxes.size(), c.asks ? 1u : 0u) << c.h << ":" << c.m << ":" << c.s;
        EXPECT_EQ(t.o().cmdTimed.text(), "Stop");
        if (!c.asks) continue;
        const auto& box = t.world.boxes[0];
        EXPECT_EQ(box.text, kAsk);
        EXPECT_EQ(box.title, "Lumoff :|");
        EXPECT_EQ(box.style, 0x41u) << "OK/Cancel, information";
        EXPECT_EQ(box.owner, t.copy.process.Handle(t.o()));
    }
}

TEST(Countdown, CancelChangesNothingAndStoresNothing) {
    TimedCopy t;
    t.SetTime("00", "00", "05");
    t.world.box_answers = {kIdCancel};
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.world.boxes.size(), 1u);
    EXPECT_EQ(t.o().cmdTimed.text(), "Go");
    for (const char* name : {"TimerHr", "TimerMn", "TimerSc"}) EXPECT_EQ(Stored(t.world, name), std::nullopt) << name;
    EXPECT_FALSE(t.o().timSec1.locked());
    EXPECT_TRUE(t.o().chkIdle.enabled());
    EXPECT_FALSE(t.o().tmrTimer.enabled());
    EXPECT_FALSE(t.o().tmrScreen.enabled());
    t.RunUntil(10000);
    EXPECT_TRUE(t.world.power_requests.empty());
    EXPECT_EQ(t.caption(), "Lumoff");
}

TEST(Countdown, WhileTheQuestionIsOpenNothingCountsAndHousekeepingGoesOn) {
    TimedCopy t;
    t.SetTime("00", "00", "05");
    t.world.box_answers = {kIdOk};
    t.world.box_think_ms = {3000};
    std::string caption_meanwhile, button_meanwhile;
    t.world.At(2500, [&] {
        caption_meanwhile = t.caption();
        button_meanwhile = t.o().cmdTimed.text();
    });
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.world.now_ms(), 3000u) << "answered after three seconds";
    EXPECT_EQ(caption_meanwhile, "Lumoff");
    EXPECT_EQ(button_meanwhile, "Go");
    EXPECT_EQ(t.copy.process.timer_ticks["tmrSticky"].size(), 2u);
    EXPECT_EQ(t.copy.process.timer_ticks["tmrTimer"].size(), 0u);
    t.RunUntil(10000);
    // The five seconds count from the answer: 4.6 s after it, 0.4 s are left.
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{7600}));
}

TEST(Countdown, AScheduleThatFiresWhileTheQuestionIsOpenIsNotUndoneByTheCountdown) {
    TimedCopy t;
    t.SetSchedule("12", "00", "02");
    t.o().chkSchedule.set_value(1);
    t.SetTime("00", "00", "05");
    t.world.box_answers = {kIdOk};
    t.world.box_think_ms = {3000};
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{2000})) << "the schedule, under the question";
    EXPECT_TRUE(t.kept_off());
    t.RunUntil(10000);
    EXPECT_TRUE(t.kept_off()) << "the countdown's zero leaves the monitor off";
    EXPECT_EQ(t.o().cmdTimed.text(), "Go");
}

TEST(Countdown, ZeroConfirmedTurnsOffOnTheFirstTickAndStops) {
    TimedCopy t;
    t.SetTime("00", "00", "00");
    t.world.box_answers = {kIdOk};
    t.o().cmdTimed.Click();
    t.RunUntil(1000);
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{200}));
    EXPECT_EQ(t.o().cmdTimed.text(), "Go");
}

TEST(Countdown, ACountdownAcrossMidnightEndsOnTheNextDay) {
    TimedCopy t({2026, 12, 6, 23, 59, 50, 0});
    t.o().cmdTimed.Click();
    std::string after_midnight;
    t.world.At(15000, [&] { after_midnight = t.caption(); });
    t.RunUntil(40000);
    EXPECT_EQ(after_midnight, "0:0:15");
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{29600})) << "at 00:00:19.6";
}

TEST(Countdown, OnlyIfIdleStartsAgainOnEveryInput) {
    TimedCopy t;
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
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{50400}));
}

TEST(Countdown, OtherActionHoldsTheTurnOffBackAndTheCaptionGoesNegative) {
    TimedCopy t;
    t.SetTime("00", "00", "15");
    t.o().chkOther1.set_value(1);
    t.o().cmdTimed.Click();
    t.RunUntil(20000);
    EXPECT_TRUE(t.world.power_requests.empty());
    EXPECT_FALSE(t.kept_off());
    EXPECT_EQ(t.caption(), "-1:-1:-5");
    EXPECT_EQ(t.o().cmdTimed.text(), "Stop");
    t.o().cmdTimed.Click();
    EXPECT_EQ(t.caption(), "Lumoff");
    EXPECT_FALSE(t.o().tmrTimer.enabled());
}

TEST(Countdown, StopRestoresTheEnabledStatesByTheCheckBoxes) {
    struct Case {
        int idle, other;
    } cases[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const Case& c : cases) {
        TimedCopy t;
        t.o().chkIdle.set_value(c.idle);
        t.o().chkOther1.set_value(c.other);
        t.o().cmdTimed.Click();
        t.RunUntil(1000);
        t.o().cmdTimed.Click();
        SCOPED_TRACE(std::to_string(c.idle) + std::to_string(c.other));
        EXPECT_EQ(t.o().cmdTimed.text(), "Go");
        EXPECT_TRUE(t.o().chkIdle.enabled());
        EXPECT_TRUE(t.o().chkOther1.enabled());
        EXPECT_EQ(t.o().chkScr.enabled(), c.idle == 1);
        EXPECT_EQ(t.o().Combo1.enabled(), c.other == 1);
        for (ui::TextBox* box : {&t.o().timHrs1, &t.o().timMin1, &t.o().timSec1}) {
            EXPECT_FALSE(box->locked());
            EXPECT_EQ(box->back_colour(), ui::SystemColour(5));
        }
        EXPECT_FALSE(t.o().tmrTimer.enabled());
        EXPECT_FALSE(t.o().tmrScreen.enabled());
        EXPECT_EQ(t.caption(), "Lumoff");
        EXPECT_EQ(Stored(t.world, "TimerSc"), "30") << "Stop keeps what Go stored";
    }
}

TEST(Countdown, ZeroWhileTheMonitorIsAlreadyKeptOffLeavesItOff) {
    TimedCopy t;
    t.SetTime("00", "00", "15");
    t.o().cmdTimed.Click();
    t.world.At(5000, [&] { t.copy.program->monitor.imgTurnOff_Click(); });
    t.RunUntil(20000);
    EXPECT_TRUE(t.kept_off()) << "a countdown never turns the monitor on";
    EXPECT_EQ(t.PowerOffTimes().front(), 5000u);
    EXPECT_EQ(t.o().cmdTimed.text(), "Go") << "the countdown still stops";
    EXPECT_FALSE(t.o().tmrTimer.enabled());
}

TEST(Countdown, CheckBoxesEnableTheirNeighboursAndStoreOneByte) {
    TimedCopy t;
    t.o().chkOther1.set_value(1);
    EXPECT_TRUE(t.o().Combo1.enabled());
    EXPECT_EQ(Stored(t.world, "TimerOther"), "1");
    t.o().chkOther1.set_value(0);
    EXPECT_FALSE(t.o().Combo1.enabled());
    EXPECT_EQ(Stored(t.world, "TimerOther"), "0");

    t.o().chkScr.set_value(1);
    EXPECT_EQ(Stored(t.world, "TimerSaver"), "1");
    t.o().chkIdle.set_value(1);
    EXPECT_TRUE(t.o().chkScr.enabled());
    EXPECT_EQ(Stored(t.world, "TimerIdle"), "1");
    t.o().chkIdle.set_value(0);
    EXPECT_FALSE(t.o().chkScr.enabled());
    EXPECT_EQ(t.o().chkScr.value(), 1) << "unchecking idle leaves the screensaver box as it was";
    EXPECT_EQ(Stored(t.world, "TimerIdle"), "0");
    EXPECT_EQ(Stored(t.world, "TimerSaver"), "1");
}

TEST(Countdown, TheIdleRuleSurvivesTheTickCountsWrap) {
    TimedCopy t;
    t.world.SetTickBase(0xFFFFFFFFu - 10000);  // wraps 10 s from now
    t.world.UserInput();
    t.o().chkIdle.set_value(1);
    t.o().cmdTimed.Click();
    t.world.At(12000, [&] { t.world.UserInput(); });
    t.RunUntil(60000);
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{12800 + 29600}));
}

TEST(Countdown, ALastInputTickAheadOfTheTickCountRestartsTheIdleCount) {
    TimedCopy t;
    t.world.SetLastInputTick(t.world.TickCount() + 40000);
    t.o().chkIdle.set_value(1);
    t.o().cmdTimed.Click();
    t.RunUntil(80000);
    // Active until the tick count has passed the input by the rule's margin (the tick at 40.8 s), then 29.6 s more.
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{70400}));
}

}  // namespace
}  // namespace lumoff
