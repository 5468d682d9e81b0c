#include <gtest/gtest.h>

#include "options/start_with_windows.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdOk;
using platform::sim::SimWorld;
using testing::SimCopy;

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPath = "C:\\Program Files\\Lumoff\\Lumoff.exe";

struct Running {
    explicit Running(std::string exe_path = "") {
        testing::SeedSettings(world);
        world.registry.CreateKey(kRunKey);
        copy.process.exe_path = std::move(exe_path);
        world.horizon_ms = 10;
    }
    void Start() { copy.Start(); }
    const platform::sim::RegValue* RunValue() { return world.registry.Get(kRunKey, "Lumoff"); }
    OptionsDialog& o() { return copy.options(); }
    SimWorld world;
    SimCopy copy{world};
};

TEST(StartWithWindows, TheCommandIsTheFolderTheNameAndExe) {
    SimWorld world;
    platform::sim::SimProcess p(world, "x");
    struct Case {
        const char* path;
        const char* command;
    } cases[] = {{"C:\\Program Files\\Lumoff\\Lumoff.exe", "C:\\Program Files\\Lumoff\\Lumoff.exe"},
                 {"C:\\Lumoff.exe", "C:\\\\Lumoff.exe"},
                 {"D:\\Tools\\LUMOFF.EXE", "D:\\Tools\\LUMOFF.exe"},
                 {"D:\\v1.2\\lumoff", "D:\\v1.2\\lumoff.exe"}};
    for (const Case& c : cases) {
        p.exe_path = c.path;
        EXPECT_EQ(StartupCommand(p), c.command) << c.path;
    }
}

TEST(StartWithWindows, EnabledWritesThePathInUnicodeAndDisabledDeletesIt) {
    Running r;
    r.Start();
    EXPECT_TRUE(r.o().radStartOff.value());
    r.o().radStartOn.set_value(true);
    r.o().radStartOn.set_value(true);  // selecting it again changes nothing
    ASSERT_TRUE(r.RunValue());
    EXPECT_EQ(r.RunValue()->data, kPath) << "no quotes, no arguments, no NUL";
    EXPECT_EQ(r.RunValue()->type, platform::kRegSz);
    EXPECT_TRUE(r.RunValue()->unicode);
    r.o().radStartOff.set_value(true);
    EXPECT_EQ(r.RunValue(), nullptr);
    r.o().radStartOff.set_value(true);
    EXPECT_TRUE(r.world.boxes.empty()) << "deleting a missing value says nothing";
}

TEST(StartWithWindows, TheStartSelectsEnabledWhenTheValueNamesThisProgramInAnyCase) {
    struct Case {
        const char* stored;
        bool on;
    } cases[] = {{kPath, true},
                 {"c:\\PROGRAM FILES\\lumoff\\LUMOFF.EXE", true},
                 {"\"C:\\Program Files\\Lumoff\\Lumoff.exe\"", false},
                 {"C:\\Program Files\\Lumoff\\Lumoff.exe /tray", false},
                 {"D:\\Old\\Lumoff.exe", false}};
    for (const Case& c : cases) {
        Running r;
        r.world.registry.Put(kRunKey, "Lumoff", c.stored);
        r.Start();
        EXPECT_EQ(r.o().radStartOn.value(), c.on) << c.stored;
        EXPECT_EQ(r.o().radStartOff.value(), !c.on) << c.stored;
        ASSERT_TRUE(r.RunValue()) << "selecting at start-up removes nothing: " << c.stored;
        // Enabled rewrites the value with this program's own path; another program's value is left as it was.
        EXPECT_EQ(r.RunValue()->data, c.on ? std::string(kPath) : std::string(c.stored));
    }
}

TEST(StartWithWindows, AFailedWriteSaysSoAndFallsBackToDisabled) {
    Running r;
    r.Start();
    r.world.registry.deny_writes = true;
    r.world.box_answers = {kIdOk};
    r.o().radStartOn.set_value(true);
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text, "Error adding Lumoff to system startup!");
    EXPECT_EQ(r.world.boxes[0].title, "Lumoff");
    EXPECT_EQ(r.world.boxes[0].style, 0x10u);
    EXPECT_TRUE(r.o().radStartOff.value());
    EXPECT_FALSE(r.o().radStartOn.value());
    EXPECT_EQ(r.RunValue(), nullptr);
    EXPECT_EQ(r.world.registry.OpenHandles(), 0u);
}

TEST(StartWithWindows, AProfileWithoutARunKeyGetsOne) {
    SimWorld world;
    testing::SeedSettings(world);
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    copy.options().radStartOn.set_value(true);
    EXPECT_TRUE(world.boxes.empty());
    ASSERT_TRUE(world.registry.Get(kRunKey, "Lumoff"));
}

TEST(StartWithWindows, AFolderOutsideTheAnsiCodePageIsWrittenAndRecognised) {
    const std::string path = "C:\\Users\\Zo\xC3\xAB\\\xE6\x97\xA5\xE6\x9C\xAC\\Lumoff.exe";  // Zoë, 日本
    Running first(path);
    first.Start();
    first.o().radStartOn.set_value(true);
    ASSERT_TRUE(first.RunValue());
    EXPECT_EQ(first.RunValue()->data, path);
    EXPECT_TRUE(first.RunValue()->unicode);

    Running second(path);
    second.world.registry.Put(kRunKey, "Lumoff", path);
    second.Start();
    EXPECT_TRUE(second.o().radStartOn.value());
}

}  // namespace
}  // namespace lumoff
