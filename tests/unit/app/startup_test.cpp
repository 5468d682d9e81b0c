// The start-up in its order: the system probe, the command-line switches, a second copy, and the caption's mouse.
#include <gtest/gtest.h>

#include <tuple>

#include "support/sim_program.h"

namespace lumoff {
namespace {

TEST(EndsWithSwitch, TestsOnlyTheVeryEndInAnyCase) {
    for (auto [line, lower_case_switch, ends] : std::initializer_list<std::tuple<const char*, const char*, bool>>{
             {"lumoff.exe /off", "/off", true}, {"lumoff.exe /OFF", "/off", true},
             {"lumoff.exe /x /tray", "/tray", true}, {"lumoff.exe/off", "/off", true}, {"/off", "/off", true},
             {"lumoff.exe /off ", "/off", false}, {"lumoff.exe /off /x", "/off", false}, {"off", "/off", false},
             {"", "/tray", false}})
        EXPECT_EQ(EndsWithSwitch(line, lower_case_switch), ends) << line;
}

// An unknown platform or a version before 4 asks whether to go on: Yes goes on with the design selection, No ends.
TEST(Startup, TheProbeChoosesTheKeepOffMode) {
    using Row = std::tuple<std::uint32_t, std::uint32_t, bool, bool>;  // platform, major version, asks, Vista mode
    for (auto [platform_id, major, asks, vista] : std::initializer_list<Row>{
             {1, 4, false, false}, {2, 3, true, true}, {2, 4, false, false}, {2, 5, false, false},
             {2, 6, false, true}, {2, 10, false, true}, {0, 3, true, true}, {3, 6, true, true}}) {
        RunningCopy r({.answers = {kIdYes}, .os = {platform_id, major}});
        SCOPED_TRACE(std::to_string(platform_id) + "/" + std::to_string(major));
        EXPECT_EQ(r.ended, std::nullopt);
        EXPECT_EQ(r.o().radVista.value(), vista);
        EXPECT_EQ(r.world.boxes.size(), asks ? 1u : 0u);
    }
    RunningCopy no({.answers = {kIdNo}, .os = {2, 3}});
    EXPECT_EQ(no.ended, 0u);
    EXPECT_EQ(no.Boxes(), std::vector<std::string>{"Unsupported Windows version! Proceed anyway?\r\nWe'd really "
                                                   "appreciate it if you let us know\r\nhow it works on this if you "
                                                   "do :)\r\nsupport@brevald.example"});
    EXPECT_FALSE(no.main().visible());
}

// A start without a switch shows the caption window; one with "/tray" alone turns the monitor off and goes to the tray
// (sent there twice, the shell keeps one icon). Both finish the start-up in the main loop.
TEST(Startup, ANormalStartShowsTheCaptionWindowAndTheTraySwitchAloneGoesOffToTheTray) {
    for (const std::string line : {testing::kCommandLine, "lumoff.exe /tray"}) {
        const bool tray = line.ends_with("/tray");
        int depth = -1;
        RunningCopy r({.until = 3500, .line = line},
                      [&](SimWorld& w) { w.At(2500, [&] { depth = r.monitor().pump_depth(); }); });
        SCOPED_TRACE(line);
        EXPECT_EQ(r.ended, std::nullopt);
        EXPECT_EQ(depth, 1) << "the start-up ends in the main loop";
        EXPECT_TRUE(r.copy.process.hidden_from_task_list);
        EXPECT_TRUE(r.main().visible() != tray && !r.o().visible());
        EXPECT_EQ(r.copy.process.timer_ticks["tmrSticky"].size(), 3u) << "housekeeping ticks once a second";
        EXPECT_EQ(r.KeepingOff(), tray);
        EXPECT_EQ(r.PowerOffTimes().empty() ? 0u : r.PowerOffTimes()[0], tray ? 200u : 0u);
        EXPECT_EQ(r.world.tray_icons.size(), tray ? 1u : 0u);
        EXPECT_EQ(r.Values({"Tray"}), tray ? "1" : "");
        EXPECT_TRUE(r.world.boxes.empty());
    }
}

// The stored tray state puts the program in the tray unless it is "0" or nothing, the stored hotkey state restores
// the hotkey only when it is "1"; the window is placed and shown first. A copy waiting for messages then holds no
// registry key, also while the restored hotkey's registration runs the message loop (as long as the hotkey stays set).
TEST(Startup, RestoresTheTrayUnlessStoredZeroOrNothingAndTheHotKeyOnlyFromOne) {
    for (const std::string state : {"1", "x", "0", "", "11", "true"}) {
        std::optional<size_t> open;  // looked at while the copy waits for messages, not after it stopped
        RunningCopy r({.stored = {{"Tray", state}, {"HotKeySet", state}}, .until = 5000},
                      [&](SimWorld& w) { w.At(4000, [&] { open = w.registry.OpenHandles(); }); });
        SCOPED_TRACE('"' + state + '"');
        const bool tray = !state.empty() && state != "0";
        EXPECT_EQ(r.main().visible(), !tray);
        EXPECT_EQ(r.world.tray_icons.size(), tray ? 1u : 0u);
        EXPECT_TRUE(r.main().topmost() && r.main().tmrSticky.enabled()) << "placed and shown first";
        EXPECT_EQ(r.world.hotkeys.size(), state == "1" ? 1u : 0u);
        EXPECT_EQ(open, 0u);
    }
}

// The switches are tested before the copy test: each acts with another copy running too. "/off" waits, sends one
// power-off to its own window and ends. "/tray" sends its request and ends five seconds later without waiting for an
// answer; the running copy answers on its next tick: it goes to the tray and turns the monitor off.
TEST(Startup, TheSwitchesActWithAnotherCopyRunning) {
    RunningCopy first;
    first.world.horizon_ms = 60000;
    SimCopy off(first.world, "lumoff.exe /OFF");
    EXPECT_EQ(off.Start(), 200u);
    ASSERT_EQ(first.world.power_requests.size(), 1u);
    EXPECT_EQ(first.world.power_requests[0].window, off.handle());
    EXPECT_EQ(first.world.power_requests[0].state, 2);
    SimCopy tray(first.world, "lumoff.exe /x /TRAY");
    EXPECT_EQ(tray.Start(), 5200u);
    EXPECT_EQ(tray.main().title(), "Lumoff.exe +CLOSE");
    EXPECT_FALSE(off.main().visible() || tray.main().visible());
    EXPECT_TRUE(first.KeepingOff() && !first.main().visible()) << "in the tray";
    EXPECT_TRUE(first.world.boxes.empty());
}

// No ends the second copy at once. Yes hands over: the running copy answers on its next tick while the monitor is on,
// moves to the corner and stores that place; the second copy answers no request itself and stores nothing, and ends
// on its first tick after the answer, or after the running copy has ended unanswering.
TEST(Startup, SecondCopyEndsOnNoAndAfterYesOnItsFirstTickOnceAnsweredOrAlone) {
    enum Then { kStaysOn, kOffUntil4500, kOffAndClosedAt2500 };
    using Row = std::tuple<int, Then, std::uint64_t, const char*>;  // the answer, then, ended at, stored Left and Top
    for (auto [answer, then, ended, stored_left_top] : std::initializer_list<Row>{
             {kIdNo, kStaysOn, 300, "45003000"}, {kIdYes, kStaysOn, 1300, "00"}, {kIdYes, kOffUntil4500, 5300, "00"},
             {kIdYes, kOffAndClosedAt2500, 3300, "45003000"}}) {
        RunningCopy first({.stored = {{"Left", "4500"}, {"Top", "3000"}}});
        SimWorld& w = first.world;
        if (then != kStaysOn) first.Toggle();
        if (then == kOffUntil4500) w.At(4500, [&] { first.Toggle(); });
        if (then == kOffAndClosedAt2500) w.At(2500, [&] { first.main().set_title("Lumoff.exe +CLOSE"); });
        w.box_answers = {answer};
        w.box_think_ms = {300};
        w.horizon_ms = 60000;
        SimCopy second(w);
        SCOPED_TRACE(then);
        EXPECT_EQ(second.Start(), ended);
        if (!first.copy.ended()) first.RunUntil(8000);
        EXPECT_EQ(first.Values({"Left", "Top"}), stored_left_top) << "the running copy's place, and only its";
        EXPECT_EQ(w.boxes.size(), 1u);
        EXPECT_FALSE(second.main().visible() || second.main().topmost()) << "steps after the hand-over did not run";
    }
}

// A copy of another executable name is no previous instance, and takes only its own name's requests.
TEST(Startup, CopiesOfOtherExecutableNamesAreNotAPreviousInstanceAndTakeOnlyTheirOwnRequests) {
    RunningCopy other({.line = "Other.exe", .exe = "Other"});
    const platform::WindowRef lumoff = other.world.AddForeignWindow("Lumoff.exe +TRAY");
    const platform::WindowRef own = other.world.AddForeignWindow("Other.exe +TRAY");
    other.RunUntil(1000);
    EXPECT_EQ(other.world.TitleOf(lumoff) + other.world.TitleOf(own), "Lumoff.exe +TRAYOther.exe +CLOSE");
    SimCopy second(other.world);
    EXPECT_EQ(second.Start(), std::nullopt);
    EXPECT_TRUE(other.world.boxes.empty());
}

TEST(MainWindow, LeftButtonDragsTheCaptionAndEveryOtherButtonOpensItsMenu) {
    RunningCopy r;
    for (auto button : {ui::MouseButton::Left, ui::MouseButton::Right, ui::MouseButton::Middle})
        r.main().lblCaption.OnMouseDown(button, 5, 5);
    EXPECT_EQ(r.copy.process.drags.size(), 1u);
    EXPECT_EQ(r.copy.process.menus_shown, (std::vector<std::vector<std::string>>(2, {"About", "Close"})));
}

}  // namespace
}  // namespace lumoff
