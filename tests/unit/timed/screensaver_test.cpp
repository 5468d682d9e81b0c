// "Like a Screensaver": the power-off sent once per idle period while the countdown's Go is on.
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using V = std::vector<std::uint32_t>;

// A copy whose countdown (30 s unless set) starts like a screensaver at virtual time 0; Go itself is input.
struct Saver : RunningCopy {
    explicit Saver(const std::function<void(Saver&)>& before_go = {}) : RunningCopy({.answers = {kIdOk}}) {
        o().chkIdle.set_value(1);
        o().chkScr.set_value(1);
        if (before_go) before_go(*this);
        world.UserInput();
        o().cmdTimed.Click();
    }
};

TEST(Screensaver, SwitchesOffOncePerIdlePeriodReArmsOnInputAndOtherActionChangesNothing) {
    Saver s;
    std::vector<std::string> captions;
    for (std::uint64_t at : {10050u, 35050u}) s.world.At(at, [&] { captions.push_back(s.caption()); });
    s.world.At(70000, [&] { s.world.UserInput(); });
    s.RunUntil(120000);
    EXPECT_EQ(s.PowerOffTimes(), (V{30000, 100000}));
    EXPECT_EQ(captions, (std::vector<std::string>{"0:0:20", "-1:-1:-5"}));
    EXPECT_EQ(s.world.power_requests[0].window, s.copy.process.Handle(s.o())) << "sent to the Options dialog's window";
    EXPECT_FALSE(s.KeepingOff()) << "the toggle is not involved";
    EXPECT_EQ(s.o().cmdTimed.text(), "Stop") << "screensaver mode never stops by itself";
    s.o().cmdTimed.Click();
    s.world.UserInput();
    s.RunUntil(160000);
    EXPECT_EQ(s.PowerOffTimes().size(), 2u) << "stopped";
    s.o().chkOther1.set_value(1);
    s.world.UserInput();  // the click on Go
    s.o().cmdTimed.Click();
    s.RunUntil(200000);
    EXPECT_EQ(s.PowerOffTimes().back(), 190000u);
}

TEST(Screensaver, ZeroSecondsSwitchesOffEveryOtherTickWhileInputKeepsComing) {
    Saver s([](Saver& s) { s.SetTime("00", "00", "00"); });
    for (std::uint64_t at = 0; at < 2000; at += 500) s.world.At(at, [&] { s.world.UserInput(); });
    s.RunUntil(1950);
    EXPECT_EQ(s.PowerOffTimes(), (V{200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800}));
}

}  // namespace
}  // namespace lumoff
