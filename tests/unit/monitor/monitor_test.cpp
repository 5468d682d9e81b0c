#include <gtest/gtest.h>

#include "monitor/toggle.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

// A running copy at virtual time 0, with the Settings key present.
struct Running {
    explicit Running(platform::OsVersion os = {2, 6}) {
        testing::SeedSettings(world);
        world.horizon_ms = 0;
        copy.process.os_version = os;
        copy.Start();
    }
    MonitorControl& monitor() { return copy.program->monitor; }
    OptionsDialog& options() { return copy.options(); }
    // Runs the copy's events up to the given virtual time.
    void RunUntil(std::uint64_t ms) {
        world.horizon_ms = ms;
        copy.Resume();
    }
    std::vector<int> HotKeyIds() {
        std::vector<int> ids;
        for (const auto& h : world.hotkeys) ids.push_back(h.id);
        return ids;
    }
    size_t PowerOffs() { return world.power_requests.size(); }
    SimWorld world;
    SimCopy copy{world};
};

TEST(Toggle, ThreeCallsInARowTurnOffOnOff) {
    Running r;
    r.monitor().imgTurnOff_Click();
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn On");
    EXPECT_EQ(r.HotKeyIds(), (std::vector<int>{49150, 49149}));
    EXPECT_TRUE(r.copy.main().tmr.enabled());
    EXPECT_EQ(r.PowerOffs(), 1u);
    EXPECT_EQ(r.world.power_requests[0].window, r.copy.handle());
    EXPECT_TRUE(r.copy.ctx().turned_off.visible());
    EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1);

    r.monitor().imgTurnOff_Click();
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn Off");
    EXPECT_TRUE(r.HotKeyIds().empty());
    EXPECT_FALSE(r.copy.main().tmr.enabled());
    EXPECT_FALSE(r.copy.ctx().turned_off.visible());
    EXPECT_EQ(r.PowerOffs(), 1u) << "turning on sends no power request";

    r.monitor().imgTurnOff_Click();
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn On");
    EXPECT_EQ(r.HotKeyIds().size(), 2u);
    EXPECT_EQ(r.PowerOffs(), 2u);
}

TEST(Toggle, RegistersOnlyTheWakeKeysThatAreChecked) {
    Running r;
    r.options().chkEnter.set_value(0);
    r.monitor().imgTurnOff_Click();
    ASSERT_EQ(r.world.hotkeys.size(), 1u);
    EXPECT_EQ(r.world.hotkeys[0].id, 49149);
    EXPECT_EQ(r.world.hotkeys[0].vk, 0x20u);
    EXPECT_EQ(r.world.hotkeys[0].modifiers, platform::kModNoRepeat);
}

TEST(Toggle, AHeldKeyTogglesOnceNotWithEveryAutoRepeat) {
    struct Case {
        const char* named;
        unsigned modifiers, vk;
        bool user;  // the user's hotkey (restored at start-up) rather than a wake key
    } cases[] = {{"Enter", 0, 0x0D, false}, {"Space", 0, 0x20, false}, {"the user's F10", 0, 0x79, true}};
    for (const Case& c : cases) {
        SimWorld world;
        testing::SeedSettings(world);
        if (c.user) world.registry.Put(settings::kSettingsKey, "HotKeySet", "1");
        world.horizon_ms = 0;
        SimCopy copy(world);
        copy.Start();
        if (!c.user) copy.program->monitor.imgTurnOff_Click();
        const bool off_before = copy.program->monitor.KeepingOff();
        world.HoldHotKey(c.modifiers, c.vk, 5);
        world.horizon_ms = 100;
        copy.Resume();
        EXPECT_NE(copy.program->monitor.KeepingOff(), off_before) << c.named;
    }
}

TEST(Toggle, AnyTagButTurnOffCountsAsKeptOff) {
    Running r;
    r.copy.main().imgTurnOff.tag = "";
    r.monitor().imgTurnOff_Click();
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn Off");
    EXPECT_EQ(r.PowerOffs(), 0u);
}

TEST(Toggle, XpModeLoadsTheStatusScreenButNeverShowsIt) {
    Running r({2, 5});
    r.monitor().imgTurnOff_Click();
    EXPECT_NE(r.copy.process.Handle(r.copy.ctx().turned_off), 0u);
    EXPECT_FALSE(r.copy.ctx().turned_off.visible());
    r.monitor().imgTurnOff_Click();
    EXPECT_FALSE(r.copy.ctx().turned_off.visible());
}

TEST(Watchdog, XpModeResendsThePowerOffOnEveryTick) {
    Running r({2, 5});
    r.monitor().imgTurnOff_Click();
    r.RunUntil(100);
    size_t ticks = r.copy.process.timer_ticks["tmr"].size();
    EXPECT_GE(ticks, 9u);
    EXPECT_EQ(r.PowerOffs(), 1 + ticks);
    EXPECT_EQ(r.copy.main().tmr.interval(), 2u) << "the interval is left alone";
}

TEST(Watchdog, MouseWakeNeedsAPressOnOneTickAndTheReleaseOnALaterOne) {
    Running r({2, 5});
    r.monitor().imgTurnOff_Click();
    r.world.At(100, [&] { r.world.PressKey(1); });
    r.world.At(305, [&] { r.world.ReleaseKey(1); });
    size_t offs_before_release = 0;
    r.world.At(306, [&] { offs_before_release = r.PowerOffs(); });
    r.RunUntil(400);
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn Off") << "held over many ticks, then released: on";
    EXPECT_EQ(r.PowerOffs(), offs_before_release) << "the waking tick sends no power-off";
    EXPECT_FALSE(r.copy.main().tmr.enabled());
    EXPECT_EQ(r.monitor().MouseDownSeen, 0);
}

TEST(Watchdog, AClickBetweenTwoTicksIsNotSeen) {
    Running r({2, 5});
    r.monitor().imgTurnOff_Click();
    r.world.At(101, [&] {
        r.world.PressKey(1);
        r.world.ReleaseKey(1);
    });
    r.RunUntil(400);
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn On");
}

TEST(Watchdog, MouseWakeOnlyWhileMouseClickIsChecked) {
    Running r({2, 5});
    r.options().chkMouse.set_value(0);
    r.monitor().imgTurnOff_Click();
    r.world.At(100, [&] { r.world.PressKey(1); });
    r.world.At(200, [&] { r.world.ReleaseKey(1); });
    r.RunUntil(400);
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn On");
}

TEST(Watchdog, APressSeenBeforeAnotherWakeDoesNotEndTheNextOffPeriod) {
    Running r({2, 5});
    r.monitor().imgTurnOff_Click();
    r.world.At(100, [&] { r.world.PressKey(1); });
    // Enter wakes the monitor while the button is still down.
    r.world.At(150, [&] { r.world.PressHotKey(0, 0x0D); });
    r.world.At(200, [&] { r.world.ReleaseKey(1); });
    r.world.At(300, [&] { r.monitor().imgTurnOff_Click(); });
    r.RunUntil(500);
    EXPECT_EQ(r.copy.main().imgTurnOff.tag, "Turn On") << "the new off period lasts";
}

TEST(Watchdog, VistaModeSendsOnePowerOffPerBurstOfInput) {
    Running r;
    r.world.At(0, [&] { r.monitor().imgTurnOff_Click(); });  // the click on the button is input too
    // The user types from 3 s to 6 s, then leaves the computer alone.
    for (int t = 3000; t <= 6000; t += 200) r.world.At(t, [&] { r.world.UserInput(); });
    std::vector<std::uint64_t> offs_during_typing;
    r.world.At(5990, [&] {
        for (const auto& p : r.world.power_requests) offs_during_typing.push_back(p.at_ms);
    });
    r.RunUntil(12000);
    // The toggle's own power-off, one about a second after the click, none while typing, one after typing stops.
    std::vector<std::uint32_t> at;
    for (const auto& p : r.world.power_requests) at.push_back(p.at_ms);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[0], 0u);
    EXPECT_GT(at[1], 1000u);
    EXPECT_LT(at[1], 2100u);
    EXPECT_GT(at[2], 7000u);
    EXPECT_LT(at[2], 8100u);
    EXPECT_EQ(offs_during_typing.size(), 2u);
    EXPECT_EQ(r.copy.main().tmr.interval(), 5u);
    EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1) << "raised again without being moved";
    EXPECT_TRUE(r.copy.ctx().turned_off.visible());
}

TEST(Watchdog, VistaModeIntervalsFollowTheUser) {
    Running r;
    r.world.At(0, [&] { r.monitor().imgTurnOff_Click(); });
    std::vector<unsigned> intervals;
    r.world.At(1600, [&] { r.world.UserInput(); });
    for (int t : {5, 500, 1500, 1700, 3700}) r.world.At(t, [&] { intervals.push_back(r.copy.main().tmr.interval()); });
    r.RunUntil(3800);
    // Fast until the first input (the click itself), waiting for idleness, fast again after the re-sent power-off;
    // an input exactly on a tick is followed by a waiting tick of exactly 1000 ms idle, which is not yet enough.
    EXPECT_EQ(intervals, (std::vector<unsigned>{2, 1000, 5, 1000, 5}));
}

TEST(Watchdog, TheTickCounterWrapNeitherWakesNorStalls) {
    Running r;
    r.world.SetTickBase(0xFFFFFF00u);  // 256 ms before the 32-bit tick count wraps
    r.world.UserInput();
    r.world.At(0, [&] { r.monitor().imgTurnOff_Click(); });
    r.RunUntil(3000);
    ASSERT_EQ(r.PowerOffs(), 2u) << "one power-off after a second of idleness across the wrap";
    EXPECT_GT(r.world.power_requests[1].at_ms, 1000u);
    EXPECT_LT(r.world.power_requests[1].at_ms, 2100u);
}

TEST(Watchdog, ALastInputTickAheadOfTheTickCountIsInputJustNow) {
    Running r;
    r.world.At(0, [&] { r.monitor().imgTurnOff_Click(); });
    r.world.At(1500, [&] { r.world.UserInput(); });
    // The next reading of the last input lies 3 s ahead of the tick count.
    r.world.At(1800, [&] { r.world.SetLastInputTick(r.world.TickCount() + 3000); });
    r.RunUntil(7000);
    // The toggle's own power-off, the one after the click's second of idleness, and one after the new input.
    ASSERT_EQ(r.PowerOffs(), 3u);
    EXPECT_GT(r.world.power_requests[2].at_ms, 5800u) << "the user counts as active until the tick count catches up";
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
        Running r;
        r.world.monitors = c.monitors;
        r.monitor().imgTurnOff_Click();
        const ui::TwipRect& box = r.copy.ctx().turned_off.lblOffMessage.rect();
        EXPECT_EQ(box.left, c.message_left) << c.named;
        EXPECT_EQ(box.top, c.message_top) << c.named;
        EXPECT_EQ(box.width, 12015) << c.named;
        EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1) << c.named;
    }
}

TEST(StatusScreen, MessageFollowsShowMessageAndIsStored) {
    Running r;
    TurnedOffScreen& screen = r.copy.ctx().turned_off;
    EXPECT_EQ(screen.title(), "Lumoff");
    EXPECT_EQ(screen.lblOffMessage.text(),
              "THIS MONITOR HAS BEEN TURNED OFF. PLEASE CLICK/PRESS THE ENTER KEY/SPACE BAR OR HOTKEY TO TURN IT BACK "
              "ON AGAIN.");
    EXPECT_EQ(screen.lblOffMessage.font().face, "Impact");
    EXPECT_EQ(screen.lblOffMessage.font().points, 48);
    r.options().chkMsg.set_value(0);
    EXPECT_FALSE(screen.lblOffMessage.visible());
    EXPECT_EQ(Stored(r.world, "OffMsg"), "0");
    r.options().chkMsg.set_value(1);
    EXPECT_TRUE(screen.lblOffMessage.visible());
    EXPECT_EQ(Stored(r.world, "OffMsg"), "1");
}

TEST(StatusScreen, ClickOnTheMessageWakesOnlyWithMouseClickChecked) {
    Running r;
    r.monitor().imgTurnOff_Click();
    r.options().chkMouse.set_value(0);
    r.copy.ctx().turned_off.lblOffMessage.OnClick();
    EXPECT_TRUE(r.monitor().KeepingOff());
    r.options().chkMouse.set_value(1);
    r.copy.ctx().turned_off.lblOffMessage.OnClick();
    EXPECT_FALSE(r.monitor().KeepingOff());
}

TEST(WakeOptions, TheLastCheckedBoxChecksItselfAgainAndEveryClickStores) {
    Running r;
    OptionsDialog& o = r.options();
    o.chkEnter.set_value(0);
    EXPECT_EQ(Stored(r.world, "HotKeyEnter"), "0");
    o.chkSpace.set_value(0);
    EXPECT_EQ(Stored(r.world, "HotKeySpace"), "0");
    o.chkMouse.set_value(0);
    EXPECT_EQ(o.chkMouse.value(), 1) << "the last wake input stays checked";
    EXPECT_EQ(Stored(r.world, "HotKeyMouse"), "1");
    o.chkEnter.set_value(1);
    EXPECT_EQ(Stored(r.world, "HotKeyEnter"), "1");
    o.chkMouse.set_value(0);
    EXPECT_EQ(o.chkMouse.value(), 0);
    EXPECT_EQ(Stored(r.world, "HotKeyMouse"), "0");
}

TEST(Pump, AHotKeyMessageTogglesFromTheMainLoop) {
    Running r;
    r.world.At(100, [&] { r.monitor().imgTurnOff_Click(); });
    r.world.At(200, [&] { r.world.PressHotKey(0, 0x20); });
    r.RunUntil(300);
    EXPECT_FALSE(r.monitor().KeepingOff()) << "Space woke the monitor";
    EXPECT_TRUE(r.world.hotkeys.empty());
}

}  // namespace
}  // namespace lumoff
