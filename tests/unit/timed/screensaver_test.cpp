#include <gtest/gtest.h>

#include "timed_copy.h"

namespace lumoff {
namespace {

using testing::TimedCopy;

// A countdown of 30 s started like a screensaver at virtual time 0; Go itself is input.
struct Saver : TimedCopy {
    Saver() {
        o().chkIdle.set_value(1);
        o().chkScr.set_value(1);
        world.UserInput();
        o().cmdTimed.Click();
    }
    std::vector<std::uint32_t> Offs() { return PowerOffTimes(); }
};

TEST(Screensaver, GoRunsTheScreensaverTickInsteadOfTheCountdown) {
    Saver s;
    EXPECT_TRUE(s.o().tmrScreen.enabled());
    EXPECT_FALSE(s.o().tmrTimer.enabled());
    EXPECT_EQ(s.o().tmrScreen.tag, "30");
    s.RunUntil(100);
    EXPECT_EQ(s.o().chkScr.tag, "1") << "the input of Go arms it on the first tick";
    s.o().cmdTimed.Click();
    EXPECT_FALSE(s.o().tmrScreen.enabled());
    EXPECT_EQ(s.caption(), "Lumoff");
}

TEST(Screensaver, SwitchesOffOncePerIdlePeriodAndReArmsOnInput) {
    Saver s;
    std::vector<std::string> captions;
    for (std::uint64_t at : {10050u, 35050u}) s.world.At(at, [&] { captions.push_back(s.caption()); });
    s.world.At(70000, [&] { s.world.UserInput(); });
    s.RunUntil(120000);
    EXPECT_EQ(s.Offs(), (std::vector<std::uint32_t>{30000, 100000}));
    EXPECT_EQ(captions, (std::vector<std::string>{"0:0:20", "-1:-1:-5"}));
    for (const auto& p : s.world.power_requests)
        EXPECT_EQ(p.window, s.copy.process.Handle(s.o())) << "sent to the Options dialog's window";
    EXPECT_FALSE(s.kept_off()) << "the toggle is not involved";
    EXPECT_FALSE(s.copy.main().tmr.enabled());
    EXPECT_EQ(s.o().chkScr.tag, "2");
    EXPECT_EQ(s.o().cmdTimed.text(), "Stop") << "screensaver mode never stops by itself";
}

TEST(Screensaver, OtherActionHasNoEffectAndAFiredFlagReArmsOnTheNextGo) {
    Saver s;
    s.RunUntil(40000);
    ASSERT_EQ(s.Offs().size(), 1u);
    s.o().cmdTimed.Click();  // Stop
    s.o().chkOther1.set_value(1);
    EXPECT_EQ(s.o().chkScr.tag, "2") << "stop keeps the flag";
    s.world.UserInput();  // the click on Go
    s.o().cmdTimed.Click();
    s.RunUntil(80000);
    EXPECT_EQ(s.Offs().size(), 2u);
}

TEST(Screensaver, ZeroSecondsSwitchesOffEveryOtherTickWhileInputKeepsComing) {
    TimedCopy t;
    t.o().chkIdle.set_value(1);
    t.o().chkScr.set_value(1);
    t.SetTime("00", "00", "00");
    t.world.box_answers = {platform::kIdOk};
    t.o().cmdTimed.Click();
    for (std::uint64_t at = 0; at < 2000; at += 500) t.world.At(at, [&] { t.world.UserInput(); });
    t.RunUntil(1950);
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800}));
}

TEST(Screensaver, TheIdleTimeSurvivesTheTickCountsWrap) {
    TimedCopy t;
    t.world.SetTickBase(0xFFFFFFFFu - 5000);
    t.o().chkIdle.set_value(1);
    t.o().chkScr.set_value(1);
    t.world.UserInput();
    t.o().cmdTimed.Click();
    t.RunUntil(60000);
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{30000}));
}

TEST(Screensaver, ALastInputTickAheadOfTheTickCountIsInputJustNow) {
    TimedCopy t;
    t.o().chkIdle.set_value(1);
    t.o().chkScr.set_value(1);
    t.world.UserInput();
    t.o().cmdTimed.Click();
    t.world.At(5000, [&] { t.world.SetLastInputTick(t.world.TickCount() + 10000); });
    t.RunUntil(60000);
    EXPECT_EQ(t.PowerOffTimes(), (std::vector<std::uint32_t>{45000}));
}

}  // namespace
}  // namespace lumoff
