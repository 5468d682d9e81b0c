// "Start on Windows Startup": the Run value the option buttons write, read and delete.
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
    explicit Running(bool run_key = true) {
        testing::SeedSettings(world);
        if (run_key) world.registry.CreateKey(kRunKey);
        world.horizon_ms = 10;
    }
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
    } cases[] = {{kPath, kPath},
                 {"C:\\Lumoff.exe", "C:\\\\Lumoff.exe"},
                 {"D:\\Tools\\LUMOFF.EXE", "D:\\Tools\\LUMOFF.exe"},
                 {"D:\\v1.2\\lumoff", "D:\\v1.2\\lumoff.exe"}};
    for (const Case& c : cases) {
        p.exe_path = c.path;
        EXPECT_EQ(StartupCommand(p), c.command) << c.path;
    }
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
        r.copy.Start();
        EXPECT_EQ(r.o().radStartOn.value(), c.on) << c.stored;
        ASSERT_TRUE(r.RunValue()) << "selecting at start-up removes nothing: " << c.stored;
        // Enabled rewrites the value with this program's own path; another program's value is left as it was.
        EXPECT_EQ(r.RunValue()->data, c.on ? std::string(kPath) : std::string(c.stored));
    }
}

TEST(StartWithWindows, AProfileWithoutARunKeyGetsOneAndDeletingAMissingValueSaysNothing) {
    Running r(false);
    r.copy.Start();
    r.o().radStartOn.set_value(true);
    ASSERT_TRUE(r.RunValue());
    EXPECT_EQ(r.RunValue()->data, kPath) << "no quotes, no arguments, no NUL";
    EXPECT_TRUE(r.RunValue()->unicode);
    platform::RegKey key = r.world.registry.Open(kRunKey);
    r.world.registry.DeleteValue(key, "Lumoff");  // removed by hand meanwhile
    r.world.registry.Close(key);
    r.o().radStartOff.set_value(true);
    EXPECT_TRUE(r.world.boxes.empty());
}

TEST(StartWithWindows, AFailedWriteSaysSoAndFallsBackToDisabled) {
    Running r;
    r.copy.Start();
    r.world.registry.deny_writes = true;
    r.world.box_answers = {kIdOk};
    r.o().radStartOn.set_value(true);
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text, "Error adding Lumoff to system startup!");
    EXPECT_TRUE(r.o().radStartOff.value());
    EXPECT_EQ(r.RunValue(), nullptr);
    EXPECT_EQ(r.world.registry.OpenHandles(), 0u);
}

}  // namespace
}  // namespace lumoff
