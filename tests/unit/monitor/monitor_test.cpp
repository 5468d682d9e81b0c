// The toggle, the watchdog that keeps the monitor off, the status screen and the wake inputs.
#include <gtest/gtest.h>

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
        if (!c.kept_off) continue;
        EXPECT_FALSE(r.copy.ctx().turned_off.visible()) << c.named;
        EXPECT_GE(r.world.power_requests.size(), 9u) << c.named;
    }
}

// The toggle's own power-off, one about a second after the click, none while the user types, one about a second after
// typing stops. Idleness is the tick counts' unsigned difference, so the 32-bit wrap changes nothing, and a last-input
// tick ahead of the tick count is input just now: the user counts as active until the tick count catches up.
TEST(Watchdog, VistaModeSendsOnePowerOffPerBurstOfInput) {
    struct Case {
        const char* named;
        bool wrap;
        std::uint32_t ahead;
    } cases[] = {{"plain", false, 0}, {"across the wrap", true, 0}, {"last input ahead", false, 3000}};
    for (const Case& c : cases) {
        RunningCopy r;
        if (c.wrap) r.world.SetTickBase(0xFFFFFF00u);  // 256 ms before the wrap
        r.world.UserInput();                            // the click on the button
        r.world.At(0, [&] { r.Toggle(); });
        for (int t = 3000; t <= 6000; t += 200) r.world.At(t, [&] { r.world.UserInput(); });
        if (c.ahead) r.world.At(6100, [&] { r.world.SetLastInputTick(r.world.TickCount() + c.ahead); });
        r.RunUntil(12000);
        const V at = r.PowerOffTimes();
        ASSERT_EQ(at.size(), 3u) << c.named;
        EXPECT_TRUE(at[1] > 1000 && at[1] < 2100) << c.named << " " << at[1];
        EXPECT_TRUE(at[2] > 7000 + c.ahead && at[2] < 8100 + c.ahead) << c.named << " " << at[2];
        EXPECT_EQ(r.copy.ctx().turned_off.cover_count(), 1) << "raised again without being moved";
    }
}

// Monitors in pixels, the primary first. The screen covers them all from the virtual desktop's corner; the message's
// box lies on the primary monitor and keeps its margins inside it at any scale.
TEST(StatusScreen, TheMessagesBoxLiesInsideThePrimaryMonitorWhateverLiesAroundItAndAtAnyScale) {
    struct Case {
        const char* named;
        std::vector<SimWorld::Monitor> monitors;
        ui::TwipRect box;  // in twips from the screen window's corner
    } cases[] = {
        {"above, left", {{0, 0, 1920, 1080}, {-800, -600, 800, 600}}, {240 + 800 * 15, 120 + 600 * 15, 12015, 13395}},
        {"1024 x 768 at 200 %", {{0, 0, 1024, 768, 192}}, {240, 120, 7200, 5520}},
    };
    for (const Case& c : cases) {
        RunningCopy r({}, [&](SimWorld& w) { w.monitors = c.monitors; });
        r.Toggle();
        const ui::TwipRect& b = r.copy.ctx().turned_off.lblOffMessage.rect();
        EXPECT_EQ(std::tuple(b.left, b.top, b.width, b.height),
                  std::tuple(c.box.left, c.box.top, c.box.width, c.box.height)) << c.named;
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
