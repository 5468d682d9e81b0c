#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdNo;
using platform::kIdYes;
using platform::sim::SimProcess;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

TEST(ProbeOsGeneration, MapsEveryPlatformAndMajorVersion) {
    SimWorld world;
    testing::SeedSettings(world);
    SimProcess p(world, "x");
    struct Case {
        std::uint32_t platform_id, major;
        int generation;
    } cases[] = {{1, 4, 1}, {2, 3, -1}, {2, 4, 1}, {2, 5, 1}, {2, 6, 2},
                 {2, 10, 0}, {2, 7, 0}, {2, 0, 0}, {0, 3, -1}, {3, 6, -1}};
    for (const Case& c : cases) {
        p.os_version = {c.platform_id, c.major};
        EXPECT_EQ(ProbeOsGeneration(p), c.generation) << c.platform_id << "/" << c.major;
    }
}

TEST(EndsWithSwitch, TestsOnlyTheVeryEndInAnyCase) {
    EXPECT_TRUE(EndsWithSwitch("lumoff.exe /off", "/off"));
    EXPECT_TRUE(EndsWithSwitch("lumoff.exe /OFF", "/off"));
    EXPECT_TRUE(EndsWithSwitch("lumoff.exe /Off", "/off"));
    EXPECT_TRUE(EndsWithSwitch("lumoff.exe /x /tray", "/tray"));
    EXPECT_TRUE(EndsWithSwitch("lumoff.exe/off", "/off"));
    EXPECT_TRUE(EndsWithSwitch("/off", "/off"));
    EXPECT_FALSE(EndsWithSwitch("lumoff.exe /off ", "/off"));
    EXPECT_FALSE(EndsWithSwitch("lumoff.exe /off /x", "/off"));
    EXPECT_FALSE(EndsWithSwitch("off", "/off"));
    EXPECT_FALSE(EndsWithSwitch("", "/tray"));
}

TEST(Startup, NormalStartShowsTheTopmostCaptionWindowAndEntersTheMainLoop) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy copy(world);
    world.horizon_ms = 3000;
    int depth = -1;
    world.At(2500, [&] { depth = copy.program->monitor.pump_depth(); });
    EXPECT_EQ(copy.Start(), std::nullopt);
    EXPECT_EQ(depth, 1) << "the start-up ends in the main loop";
    EXPECT_TRUE(copy.process.hidden_from_task_list);
    EXPECT_TRUE(copy.main().visible());
    EXPECT_TRUE(copy.main().topmost());
    EXPECT_EQ(copy.main().title(), "Lumoff");
    EXPECT_EQ(copy.main().left(), 0) << "nothing stored: the top-left corner";
    EXPECT_EQ(copy.main().top(), 0);
    EXPECT_FALSE(copy.options().visible());
    EXPECT_EQ(copy.process.timer_ticks["tmrSticky"].size(), 3u) << "housekeeping ticks once a second";
    EXPECT_TRUE(world.boxes.empty());
    EXPECT_TRUE(world.power_requests.empty());
}

TEST(Startup, PlacesTheWindowAtTheStoredPositionAndSkipsWhatIsNoNumber) {
    SimWorld world;
    testing::SeedSettings(world);
    world.registry.Put(settings::kSettingsKey, "Left", "4320");
    world.registry.Put(settings::kSettingsKey, "Top", "abc");
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    EXPECT_EQ(copy.main().left(), 4320);
    EXPECT_EQ(copy.main().top(), 0);
}

TEST(Startup, UnsupportedSystemAsksAndNoEndsTheProgram) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy copy(world);
    copy.process.os_version = {2, 3};
    world.box_answers = {kIdNo};
    EXPECT_EQ(copy.Start(), 0u);
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.boxes[0].title, "Lumoff :(");
    EXPECT_EQ(world.boxes[0].style, 0x34u);
    EXPECT_EQ(world.boxes[0].text,
              "Unsupported Windows version! Proceed anyway?\r\nWe'd really appreciate it if you let us know\r\n"
              "how it works on this if you do :)\r\nsupport@brevald.example");
    EXPECT_FALSE(copy.main().visible());
}

TEST(Startup, UnsupportedSystemAnsweredYesGoesOnInVistaMode) {
    SimWorld world;
    testing::SeedSettings(world);
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.process.os_version = {0, 4};
    world.box_answers = {kIdYes};
    EXPECT_EQ(copy.Start(), std::nullopt);
    EXPECT_TRUE(copy.options().radVista.value());
    EXPECT_TRUE(copy.main().visible());
}

TEST(Startup, OffSwitchWaitsSendsOnePowerOffToItsOwnWindowAndEnds) {
    for (const char* line : {"lumoff.exe /off", "lumoff.exe /OFF"}) {
        SimWorld world;
        testing::SeedSettings(world);
        SimCopy running(world);  // the switch is tested before the copy test
        SimCopy copy(world, line);
        EXPECT_EQ(copy.Start(), 200u) << line;
        ASSERT_EQ(world.power_requests.size(), 1u);
        EXPECT_EQ(world.power_requests[0].window, copy.handle());
        EXPECT_EQ(world.power_requests[0].state, 2);
        EXPECT_EQ(world.power_requests[0].at_ms, 200u);
        EXPECT_FALSE(copy.main().visible());
        EXPECT_TRUE(world.boxes.empty());
    }
}

TEST(Startup, OffSwitchFollowedByABlankStartsNormally) {
    SimWorld world;
    testing::SeedSettings(world);
    world.horizon_ms = 10;
    SimCopy copy(world, "lumoff.exe /off ");
    EXPECT_EQ(copy.Start(), std::nullopt);
    EXPECT_TRUE(copy.main().visible());
    EXPECT_TRUE(world.power_requests.empty());
}

TEST(Startup, TraySwitchWithAnotherCopyRunningSendsTheRequestAndEndsAfterFiveSeconds) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy running(world);
    SimCopy copy(world, "lumoff.exe /x /TRAY");
    EXPECT_EQ(copy.Start(), 5000u);
    EXPECT_EQ(copy.main().title(), "Lumoff.exe +TRAY");
    EXPECT_FALSE(copy.main().visible());
    EXPECT_FALSE(copy.main().imgTurnOff.visible());
    EXPECT_TRUE(world.power_requests.empty());
    EXPECT_TRUE(world.boxes.empty());
}

TEST(Startup, TraySwitchAloneTurnsTheMonitorOffAndGoesOnWithTheStartUp) {
    SimWorld world;
    testing::SeedSettings(world);
    world.horizon_ms = 300;
    SimCopy copy(world, "lumoff.exe /tray");
    int depth = -1;
    world.At(250, [&] { depth = copy.program->monitor.pump_depth(); });
    EXPECT_EQ(copy.Start(), std::nullopt);
    ASSERT_GE(world.power_requests.size(), 1u);
    EXPECT_EQ(world.power_requests[0].at_ms, 200u);
    EXPECT_TRUE(copy.program->monitor.KeepingOff());
    EXPECT_EQ(depth, 1) << "the rest of the start-up ran";
}

TEST(Startup, SecondCopyAnsweredNoEndsAtOnceAndLeavesTheFirstAlone) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy first(world);
    world.horizon_ms = 10;
    first.Start();
    SimCopy second(world);
    world.box_answers = {kIdNo};
    EXPECT_EQ(second.Start(), 0u);
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.boxes[0].text, "Lumoff is already running!\r\nDo you want it shown? :)");
    EXPECT_EQ(world.boxes[0].title, "Lumoff");
    EXPECT_EQ(world.boxes[0].style, 0x44u);
    EXPECT_EQ(first.main().title(), "Lumoff");
    EXPECT_FALSE(second.main().visible());
}

TEST(Startup, SecondCopyAnsweredYesHandsOverAndEndsOnItsCloseTick) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy first(world);
    world.horizon_ms = 10;
    first.Start();
    world.horizon_ms = 60000;
    SimCopy second(world);
    world.box_answers = {kIdYes};
    // The running copy answers before the second copy's first tick.
    world.At(500, [&] { world.SetWindowTitle(world.FindWindowByTitle("Lumoff.exe +SHOW"), "Lumoff.exe +CLOSE"); });
    EXPECT_EQ(second.Start(), 1000u) << "ends on the first tick after its title was changed";
    EXPECT_EQ(second.main().left(), 450) << "its own window was not moved";
    EXPECT_FALSE(second.main().visible());
    EXPECT_FALSE(second.main().imgTurnOff.visible());
    EXPECT_FALSE(second.options().visible());
    EXPECT_FALSE(second.main().topmost()) << "steps after the hand-over did not run";
}

TEST(Startup, SecondCopyThatTicksFirstAnswersItsOwnRequestAndEnds) {
    SimWorld world;
    testing::SeedSettings(world);
    SimCopy first(world);
    world.horizon_ms = 10;
    first.Start();
    world.horizon_ms = 60000;
    SimCopy second(world);
    world.box_answers = {kIdYes};
    EXPECT_EQ(second.Start(), 1000u);
    EXPECT_EQ(second.main().title(), "Lumoff.exe +CLOSE");
    EXPECT_EQ(second.main().left(), 0);
    EXPECT_EQ(first.main().title(), "Lumoff");
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

}  // namespace
}  // namespace lumoff
