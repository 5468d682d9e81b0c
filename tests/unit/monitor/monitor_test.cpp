// The toggle, the watchdog that keeps the monitor off, the status screen and the wake inputs.
#include <gtest/gtest.h>

#include <tuple>

#include "monitor/toggle.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using V = std::vector<std::uint32_t>;
constexpr platform::OsVersion kXp{2, 5};

// In XP mode no screen shows and every tick sends the power-off again. The mouse wakes only when a tick sees the
// button down and a later tick sees it up, and only while it is a wake input; a wake by another input forgets a press
// seen before it.
TEST(Watchdog, XpModeResendsThePowerOffAndTheMouseWakesOnAPressAndALaterRelease) {
    // The mouse button pressed and released at, the mouse a wake input, Enter pressed between, kept off.
    for (auto [named, press, release, mouse, enter_between, kept_off] :
         std::initializer_list<std::tuple<const char*, std::uint64_t, std::uint64_t, int, bool, bool>>{
             {"held over ticks", 100, 305, 1, false, false}, {"between two ticks", 101, 101, 1, false, true},
             {"not a wake input", 100, 200, 0, false, true},
             {"Enter woke meanwhile, then off again", 100, 200, 1, true, true}}) {
        RunningCopy r({.os = kXp});
        r.o().chkMouse.set_value(mouse);
        r.Toggle();
        r.world.At(press, [&r] { r.world.PressKey(1); });
        if (enter_between) {
            r.world.At(150, [&r] { r.world.PressHotKey(0, 0x0D); });
            r.world.At(300, [&r] { r.Toggle(); });
        }
        r.world.At(release, [&r] { r.world.ReleaseKey(1); });
        r.RunUntil(500);
        SCOPED_TRACE(named);
        EXPECT_EQ(r.KeepingOff(), kept_off);
        if (!kept_off) continue;
        EXPECT_FALSE(r.copy.ctx().turned_off.visible());
        EXPECT_GE(r.world.power_requests.size(), 9u);
    }
}

// The toggle's own power-off, one about a second after the click, none while the user types, one about a second after
// typing stops. Idleness is the tick counts' unsigned difference, so the 32-bit wrap changes nothing, and a last-input
// tick ahead of the tick count is input just now: the user counts as active until the tick count catches up.
TEST(Watchdog, VistaModeSendsOnePowerOffPerBurstOfInput) {
    // Across the tick count's wrap, and the last input's tick ahead by.
    for (auto [named, wrap, ahead] : std::initializer_list<std::tuple<const char*, bool, std::uint32_t>>{
             {"plain", false, 0}, {"across the wrap", true, 0}, {"last input ahead", false, 3000}}) {
        RunningCopy r;
        if (wrap) r.world.SetTickBase(0xFFFFFF00u);  // 256 ms before the wrap
        r.world.UserInput();                          // the click on the button
        r.world.At(0, [&r] { r.Toggle(); });
        for (int t = 3000; t <= 6000; t += 200) r.world.At(t, [&r] { r.world.UserInput(); });
        if (ahead) r.world.At(6100, [&r, a = ahead] { r.world.SetLastInputTick(r.world.TickCount() + a); });
        r.RunUntil(12000);
        const V at = r.PowerOffTimes();
        SCOPED_TRACE(named);
        ASSERT_EQ(at.size(), 3u);
        EXPECT_TRUE(at[1] > 1000 && at[1] < 2100) << at[1];
        EXPECT_TRUE(at[2] > 7000 + ahead && at[2] < 8100 + ahead) << at[2];
        EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1) << "raised again without being moved";
    }
}

// Monitors in pixels, the primary first. The screen covers them all from the virtual desktop's corner; the message's
// box lies on the primary monitor and keeps its margins inside it at any scale.
TEST(StatusScreen, TheMessagesBoxLiesInsideThePrimaryMonitorWhateverLiesAroundItAndAtAnyScale) {
    // The box in twips from the screen window's corner: left, top, width, height.
    using Box = std::tuple<int, int, int, int>;
    for (const auto& [monitors, box] : std::initializer_list<std::pair<std::vector<SimWorld::Monitor>, Box>>{
             {{{0, 0, 1920, 1080}, {-800, -600, 800, 600}}, {240 + 800 * 15, 120 + 600 * 15, 12015, 13395}},
             {{{0, 0, 1024, 768, 192}}, {240, 120, 7200, 5520}}}) {  // 1024 x 768 at 200 %
        RunningCopy r({}, [&m = monitors](SimWorld& w) { w.monitors = m; });
        r.Toggle();
        const ui::TwipRect& b = r.copy.ctx().turned_off.lblOffMessage.rect();
        EXPECT_EQ(Box(b.left, b.top, b.width, b.height), box) << monitors.size() << " monitors";
    }
}

// The screen gets its window at the first turn-off, showing the message as its check box (loaded, then clicked) says,
// and the checked wake keys are registered, without auto-repeats, while the monitor is kept off. A click on the message
// wakes only while the mouse is a wake input; then no key stays registered and no power-off follows. Unchecking the
// last wake input checks it again.
TEST(StatusScreen, TheMessageTheWakeKeysAndTheClickFollowTheirBoxesAndTheLastWakeInputStaysChecked) {
    RunningCopy r({.stored = {{"OffMsg", "0"}}});
    TurnedOffScreen& screen = r.copy.ctx().turned_off;
    EXPECT_FALSE(screen.lblOffMessage.visible());
    EXPECT_EQ(r.copy.process.WindowOf(screen), nullptr) << "no window before the first turn-off";
    r.o().chkMsg.set_value(1);
    r.o().chkMouse.set_value(0);
    r.o().chkSpace.set_value(0);
    r.Toggle();
    EXPECT_TRUE(screen.visible() && screen.lblOffMessage.visible());
    ASSERT_EQ(r.world.hotkeys.size(), 1u) << "Enter only";
    EXPECT_EQ(r.world.hotkeys[0].vk, 0x0Du);
    EXPECT_EQ(r.world.hotkeys[0].modifiers, platform::kModNoRepeat) << "a held key toggles once, not on every repeat";
    EXPECT_EQ(r.world.power_requests.at(0).window, r.copy.handle());
    screen.lblOffMessage.OnClick();
    EXPECT_TRUE(r.KeepingOff());
    r.o().chkMouse.set_value(1);
    screen.lblOffMessage.OnClick();
    EXPECT_FALSE(r.KeepingOff() || screen.visible() || !r.world.hotkeys.empty());
    r.RunUntil(5000);
    EXPECT_EQ(r.PowerOffTimes(), V{0}) << "none at the turn-on, and the watchdog stopped";
    for (ui::CheckBox* box : {&r.o().chkEnter, &r.o().chkSpace, &r.o().chkMouse}) box->set_value(0);
    EXPECT_EQ(r.Values({"HotKeyEnter", "HotKeySpace", "HotKeyMouse"}), "001") << "the mouse stays a wake input";
}

}  // namespace
}  // namespace lumoff
