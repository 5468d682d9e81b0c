// The toggle, the watchdog that keeps the monitor off, the status screen and the wake inputs.
#include <gtest/gtest.h>

#include "monitor/toggle.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

constexpr platform::OsVersion kXp{2, 5};

TEST(Toggle, TurnsOffRegistersTheCheckedWakeKeysAndTurnsOnAgain) {
    RunningCopy r;
    r.o().chkSpace.set_value(0);
    r.Toggle();
    EXPECT_EQ(r.main().imgTurnOff.tag, "Turn On");
    ASSERT_EQ(r.world.hotkeys.size(), 1u) << "Enter only";
    EXPECT_EQ(r.world.hotkeys[0].id, 49150);
    EXPECT_EQ(r.world.hotkeys[0].vk, 0x0Du);
    EXPECT_EQ(r.world.hotkeys[0].modifiers, platform::kModNoRepeat);
    EXPECT_TRUE(r.main().tmr.enabled());
    ASSERT_EQ(r.world.power_requests.size(), 1u);
    EXPECT_EQ(r.world.power_requests[0].window, r.copy.handle());
    EXPECT_TRUE(r.copy.ctx().turned_off.visible());
    r.Toggle();
    EXPECT_EQ(r.main().imgTurnOff.tag, "Turn Off");
    EXPECT_TRUE(r.world.hotkeys.empty());
    EXPECT_FALSE(r.main().tmr.enabled() || r.copy.ctx().turned_off.visible());
    EXPECT_EQ(r.world.power_requests.size(), 1u) << "turning on sends no power request";
}

TEST(Toggle, AHeldKeyTogglesOnceNotWithEveryAutoRepeat) {
    struct Case {
        const char* named;
        unsigned vk;
        bool user;  // the user's hotkey (restored at start-up) rather than a wake key
    } cases[] = {{"Enter", 0x0D, false}, {"Space", 0x20, false}, {"the user's F10", 0x79, true}};
    for (const Case& c : cases) {
        RunningCopy r({.stored = {{"HotKeySet", c.user ? "1" : "0"}}});
        if (!c.user) r.Toggle();
        const bool off_before = r.KeepingOff();
        r.world.HoldHotKey(0, c.vk, 5);
        r.RunUntil(100);
        EXPECT_NE(r.KeepingOff(), off_before) << c.named;
    }
}

TEST(Watchdog, XpModeNeverShowsTheScreenAndResendsThePowerOffOnEveryTick) {
    RunningCopy r({.os = kXp});
    r.Toggle();
    r.RunUntil(100);
    EXPECT_FALSE(r.copy.ctx().turned_off.visible());
    size_t ticks = r.copy.process.timer_ticks["tmr"].size();
    EXPECT_GE(ticks, 9u);
    EXPECT_EQ(r.world.power_requests.size(), 1 + ticks);
}

// The mouse wakes only when a tick sees the button down and a later tick sees it up, and only while it is a wake
// input; a wake by another input forgets a press seen before it.
TEST(Watchdog, MouseWakeNeedsAPressOnOneTickAndTheReleaseOnALaterOne) {
    struct Case {
        const char* named;
        std::uint64_t press, release;
        int mouse_checked;
        bool enter_between, kept_off;
    } cases[] = {{"held over ticks", 100, 305, 1, false, false},
                 {"between two ticks", 101, 101, 1, false, true},
                 {"not a wake input", 100, 200, 0, false, true},
                 {"Enter woke meanwhile, then off again", 100, 200, 1, true, true}};
    for (const Case& c : cases) {
        RunningCopy r({.os = kXp});
        r.o().chkMouse.set_value(c.mouse_checked);
        r.Toggle();
        r.world.At(c.press, [&] { r.world.PressKey(1); });
        if (c.enter_between) {
            r.world.At(150, [&] { r.world.PressHotKey(0, 0x0D); });
            r.world.At(300, [&] { r.Toggle(); });
        }
        r.world.At(c.release, [&] { r.world.ReleaseKey(1); });
        r.RunUntil(500);
        EXPECT_EQ(r.KeepingOff(), c.kept_off) << c.named;
        if (!c.kept_off) {
            EXPECT_EQ(r.monitor().MouseDownSeen, 0) << c.named;
        }
    }
}

TEST(Watchdog, VistaModeSendsOnePowerOffPerBurstOfInput) {
    RunningCopy r;
    r.world.At(0, [&] { r.Toggle(); });  // the click on the button is input too
    // The user types from 3 s to 6 s, then leaves the computer alone.
    for (int t = 3000; t <= 6000; t += 200) r.world.At(t, [&] { r.world.UserInput(); });
    r.RunUntil(12000);
    // The toggle's own power-off, one about a second after the click, none while typing, one after typing stops.
    std::vector<std::uint32_t> at = r.PowerOffTimes();
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[0], 0u);
    EXPECT_TRUE(at[1] > 1000 && at[1] < 2100) << at[1];
    EXPECT_TRUE(at[2] > 7000 && at[2] < 8100) << at[2];
    EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1) << "raised again without being moved";
}

TEST(Watchdog, TheTickCounterWrapNeitherWakesNorStalls) {
    RunningCopy r;
    r.world.SetTickBase(0xFFFFFF00u);  // 256 ms before the 32-bit tick count wraps
    r.world.UserInput();
    r.world.At(0, [&] { r.Toggle(); });
    r.RunUntil(3000);
    ASSERT_EQ(r.world.power_requests.size(), 2u) << "one power-off after a second of idleness across the wrap";
    EXPECT_TRUE(r.PowerOffTimes()[1] > 1000 && r.PowerOffTimes()[1] < 2100) << r.PowerOffTimes()[1];
}

TEST(Watchdog, ALastInputTickAheadOfTheTickCountIsInputJustNow) {
    RunningCopy r;
    r.world.At(0, [&] { r.Toggle(); });
    r.world.At(1500, [&] { r.world.UserInput(); });
    // The next reading of the last input lies 3 s ahead of the tick count.
    r.world.At(1800, [&] { r.world.SetLastInputTick(r.world.TickCount() + 3000); });
    r.RunUntil(7000);
    ASSERT_EQ(r.world.power_requests.size(), 3u);
    EXPECT_GT(r.PowerOffTimes()[2], 5800u) << "the user counts as active until the tick count catches up";
}

TEST(StatusScreen, TheMessageIsPlacedOnThePrimaryMonitorWhateverLiesAroundIt) {
    // Monitors in pixels, the primary first; the screen covers them all from the virtual desktop's corner.
    struct Case {
        const char* named;
        std::vector<SimWorld::Monitor> monitors;
        int message_left, message_top;  // in twips from the screen window's corner
    } cases[] = {{"one monitor", {{0, 0, 1024, 768}}, 240, 120},
                 {"one to the right", {{0, 0, 1024, 768}, {1024, 0, 1280, 1024}}, 240, 120},
                 {"one to the left", {{0, 0, 1024, 768}, {-1280, 0, 1280, 1024}}, 240 + 1280 * 15, 120},
                 {"one above and left", {{0, 0, 1024, 768}, {-800, -600, 800, 600}}, 240 + 800 * 15, 120 + 600 * 15}};
    for (const Case& c : cases) {
        RunningCopy r;
        r.world.monitors = c.monitors;
        r.Toggle();
        const ui::TwipRect& box = r.copy.ctx().turned_off.lblOffMessage.rect();
        EXPECT_EQ(std::pair(box.left, box.top), std::pair(c.message_left, c.message_top)) << c.named;
        EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1) << c.named;
    }
}

// The screen gets its window at the first turn-off; the message's state set before (by the stored value, then by
// the check box) is what that window shows.
TEST(StatusScreen, TheMessageFollowsItsBoxAndAClickOnItWakesOnlyWithMouseClickChecked) {
    RunningCopy r({.stored = {{"OffMsg", "0"}}});
    TurnedOffScreen& screen = r.copy.ctx().turned_off;
    EXPECT_FALSE(screen.lblOffMessage.visible());
    EXPECT_EQ(r.copy.process.WindowOf(screen), nullptr) << "no window before the first turn-off";
    r.o().chkMsg.set_value(1);
    EXPECT_TRUE(screen.lblOffMessage.visible());
    EXPECT_EQ(r.Stored("OffMsg"), "1");
    r.Toggle();
    EXPECT_NE(r.copy.process.WindowOf(screen), nullptr);
    EXPECT_TRUE(screen.lblOffMessage.visible());
    r.o().chkMouse.set_value(0);
    screen.lblOffMessage.OnClick();
    EXPECT_TRUE(r.KeepingOff());
    r.o().chkMouse.set_value(1);
    screen.lblOffMessage.OnClick();
    EXPECT_FALSE(r.KeepingOff());
}

TEST(WakeOptions, TheLastCheckedBoxChecksItselfAgainAndEveryClickStores) {
    RunningCopy r;
    for (ui::CheckBox* box : {&r.o().chkEnter, &r.o().chkSpace, &r.o().chkMouse}) box->set_value(0);
    EXPECT_EQ(r.o().chkMouse.value(), 1) << "the last wake input stays checked";
    EXPECT_EQ(r.Values({"HotKeyEnter", "HotKeySpace", "HotKeyMouse"}), "001");
    r.o().chkEnter.set_value(1);
    r.o().chkMouse.set_value(0);
    EXPECT_EQ(r.o().chkMouse.value(), 0);
    EXPECT_EQ(r.Stored("HotKeyMouse"), "0");
}

}  // namespace
}  // namespace lumoff
