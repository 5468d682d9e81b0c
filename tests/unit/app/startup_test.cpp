// The start-up in its order: the system probe, the command-line switches, a second copy, and the caption's mouse.
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdNo;
using platform::kIdYes;
using platform::sim::SimWorld;
using testing::SimCopy;

// A world with the Settings key present and a copy of the program already running in it.
struct SecondCopy {
    SecondCopy() {
        testing::SeedSettings(world);
        world.horizon_ms = 10;
        first.Start();
    }
    SimWorld world;
    SimCopy first{world};
};

TEST(EndsWithSwitch, TestsOnlyTheVeryEndInAnyCase) {
    struct Case {
        const char *line, *lower_case_switch;
        bool ends;
    } cases[] = {{"lumoff.exe /off", "/off", true},      {"lumoff.exe /OFF", "/off", true},
                 {"lumoff.exe /Off", "/off", true},      {"lumoff.exe /x /tray", "/tray", true},
                 {"lumoff.exe/off", "/off", true},       {"/off", "/off", true},
                 {"lumoff.exe /off ", "/off", false},    {"lumoff.exe /off /x", "/off", false},
                 {"off", "/off", false},                 {"", "/tray", false}};
    for (const Case& c : cases) EXPECT_EQ(EndsWithSwitch(c.line, c.lower_case_switch), c.ends) << c.line;
}

// An unknown platform or a version before 4 asks whether to go on; Yes goes on with the design selection.
TEST(Startup, TheProbeChoosesTheKeepOffMode) {
    struct Case {
        std::uint32_t platform_id, major;
        int generation;
        bool vista;
    } cases[] = {{1, 4, 1, false}, {2, 3, -1, true}, {2, 4, 1, false}, {2, 5, 1, false}, {2, 6, 2, true},
                 {2, 10, 0, true}, {2, 7, 0, true},  {2, 0, 0, true},   {0, 3, -1, true}, {3, 6, -1, true}};
    for (const Case& c : cases) {
        SimWorld world;
        testing::SeedSettings(world);
        world.horizon_ms = 10;
        world.box_answers = {kIdYes};
        SimCopy copy(world);
        copy.process.os_version = {c.platform_id, c.major};
        EXPECT_EQ(ProbeOsGeneration(copy.process), c.generation) << c.platform_id << "/" << c.major;
        EXPECT_EQ(copy.Start(), std::nullopt);
        EXPECT_EQ(copy.options().radVista.value(), c.vista) << c.platform_id << "/" << c.major;
        EXPECT_EQ(world.boxes.size(), c.generation < 0 ? 1u : 0u) << c.platform_id << "/" << c.major;
    }
}

TEST(Startup, UnsupportedSystemAnsweredNoEndsTheProgram) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy copy(world);
    copy.process.os_version = {2, 3};
    world.box_answers = {kIdNo};
    EXPECT_EQ(copy.Start(), 0u);
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.boxes[0].text,
              "Unsupported Windows version! Proceed anyway?\r\nWe'd really appreciate it if you let us know\r\n"
              "how it works on this if you do :)\r\nsupport@brevald.example");
    EXPECT_FALSE(copy.main().visible());
}

TEST(Startup, NormalStartShowsTheCaptionWindowAndEntersTheMainLoop) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy copy(world);
    world.horizon_ms = 3000;
    int depth = -1;
    world.At(2500, [&] { depth = copy.program->monitor.pump_depth(); });
    EXPECT_EQ(copy.Start(), std::nullopt);
    EXPECT_EQ(depth, 1) << "the start-up ends in the main loop";
    EXPECT_TRUE(copy.process.hidden_from_task_list);
    EXPECT_TRUE(copy.main().visible() && !copy.options().visible());
    EXPECT_EQ(copy.process.timer_ticks["tmrSticky"].size(), 3u) << "housekeeping ticks once a second";
    EXPECT_TRUE(world.boxes.empty() && world.power_requests.empty());
}

TEST(Startup, OffSwitchWaitsSendsOnePowerOffToItsOwnWindowAndEnds) {
    SecondCopy w;  // the switch is tested before the copy test
    SimCopy copy(w.world, "lumoff.exe /OFF");
    EXPECT_EQ(copy.Start(), 200u);
    ASSERT_EQ(w.world.power_requests.size(), 1u);
    EXPECT_EQ(w.world.power_requests[0].window, copy.handle());
    EXPECT_EQ(w.world.power_requests[0].state, 2);
    EXPECT_FALSE(copy.main().visible());
    EXPECT_TRUE(w.world.boxes.empty());
}

TEST(Startup, TraySwitchWithAnotherCopyRunningSendsTheRequestAndEndsAfterFiveSeconds) {
    SecondCopy w;
    w.world.horizon_ms = 60000;
    SimCopy copy(w.world, "lumoff.exe /x /TRAY");
    EXPECT_EQ(copy.Start(), 5000u);
    EXPECT_EQ(copy.main().title(), "Lumoff.exe +TRAY");
    EXPECT_FALSE(copy.main().visible());
    EXPECT_TRUE(w.world.power_requests.empty());
    EXPECT_TRUE(w.world.boxes.empty());
}

TEST(Startup, TraySwitchAloneTurnsOffGoesToTheTrayAndFinishesTheStartUp) {
    SimWorld world;
    testing::SeedSettings(world);
    world.horizon_ms = 300;
    SimCopy copy(world, "lumoff.exe /tray");
    int depth = -1;
    world.At(250, [&] { depth = copy.program->monitor.pump_depth(); });
    EXPECT_EQ(copy.Start(), std::nullopt);
    EXPECT_TRUE(copy.program->monitor.KeepingOff());
    ASSERT_FALSE(world.power_requests.empty());
    EXPECT_EQ(world.power_requests[0].at_ms, 200u);
    EXPECT_FALSE(copy.main().visible());
    EXPECT_EQ(world.tray_icons.size(), 1u) << "sent to the tray twice, the shell keeps one icon";
    EXPECT_EQ(testing::Stored(world, "Tray"), "1");
    EXPECT_EQ(depth, 1) << "the main loop runs";
}

TEST(Startup, SecondCopyAnsweredNoEndsAtOnceAndLeavesTheFirstAlone) {
    SecondCopy w;
    SimCopy second(w.world);
    w.world.box_answers = {kIdNo};
    EXPECT_EQ(second.Start(), 0u);
    EXPECT_EQ(w.world.boxes.size(), 1u);
    EXPECT_EQ(w.first.main().title(), "Lumoff");
    EXPECT_FALSE(second.main().visible());
}

TEST(Startup, SecondCopyAnsweredYesHandsOverAndEndsOnItsCloseTick) {
    for (bool first_answers : {true, false}) {
        SecondCopy w;
        w.world.horizon_ms = 60000;
        SimCopy second(w.world);
        w.world.box_answers = {kIdYes};
        // The running copy answers before the second copy's first tick; else the second answers its own request.
        if (first_answers)
            w.world.At(500, [&] {
                w.world.SetWindowTitle(w.world.FindWindowByTitle("Lumoff.exe +SHOW"), "Lumoff.exe +CLOSE");
            });
        EXPECT_EQ(second.Start(), 1000u) << "ends on the first tick after its title was changed";
        EXPECT_EQ(second.main().title(), "Lumoff.exe +CLOSE");
        EXPECT_FALSE(second.main().visible());
        EXPECT_FALSE(second.main().topmost()) << "steps after the hand-over did not run";
        EXPECT_EQ(w.first.main().title(), "Lumoff");
    }
}

TEST(Startup, CopiesOfOtherExecutableNamesAreNotAPreviousInstance) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy first(world, "x", "Other");
    world.horizon_ms = 10;
    first.Start();
    SimCopy second(world);
    EXPECT_EQ(second.Start(), std::nullopt);
    EXPECT_TRUE(world.boxes.empty());
}

TEST(MainWindow, LeftButtonDragsTheCaptionAndEveryOtherButtonOpensItsMenu) {
    testing::RunningCopy r;
    auto& caption = r.copy.main().lblCaption;
    caption.OnMouseDown(ui::MouseButton::Left, 5, 5);
    EXPECT_EQ(r.copy.process.drags.size(), 1u);
    EXPECT_TRUE(r.copy.process.menus_shown.empty());
    caption.OnMouseDown(ui::MouseButton::Right, 5, 5);
    caption.OnMouseDown(ui::MouseButton::Middle, 5, 5);
    ASSERT_EQ(r.copy.process.menus_shown.size(), 2u);
    EXPECT_EQ(r.copy.process.menus_shown[0], (std::vector<std::string>{"About", "Close"}));
    EXPECT_EQ(r.copy.process.drags.size(), 1u);
}

}  // namespace
}  // namespace lumoff
