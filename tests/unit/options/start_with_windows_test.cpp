// "Start on Windows Startup": the Run value the option buttons write, read and delete.
#include <gtest/gtest.h>

#include "options/start_with_windows.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPath = "C:\\Program Files\\Lumoff\\Lumoff.exe";

const platform::sim::RegValue* RunValue(SimWorld& w) { return w.registry.Get(kRunKey, "Lumoff"); }

TEST(StartWithWindows, TheCommandIsTheFolderTheNameAndExe) {
    SimWorld world;
    SimProcess p(world, "x");
    struct Case {
        const char *path, *command;
    } cases[] = {{kPath, kPath}, {"C:\\Lumoff.exe", "C:\\\\Lumoff.exe"},
                 {"D:\\Tools\\LUMOFF.EXE", "D:\\Tools\\LUMOFF.exe"}, {"D:\\v1.2\\lumoff", "D:\\v1.2\\lumoff.exe"}};
    for (const Case& c : cases) {
        p.exe_path = c.path;
        EXPECT_EQ(StartupCommand(p), c.command) << c.path;
    }
}

// Enabled rewrites the value with this program's own path; another program's value is left as it was.
TEST(StartWithWindows, TheStartSelectsEnabledWhenTheValueNamesThisProgramInAnyCase) {
    struct Case {
        const char* stored;
        bool on;
    } cases[] = {{kPath, true}, {"c:\\PROGRAM FILES\\lumoff\\LUMOFF.EXE", true},
                 {"\"C:\\Program Files\\Lumoff\\Lumoff.exe\"", false},
                 {"C:\\Program Files\\Lumoff\\Lumoff.exe /tray", false}, {"D:\\Old\\Lumoff.exe", false}};
    for (const Case& c : cases) {
        RunningCopy r({}, [&](SimWorld& w) { w.registry.Put(kRunKey, "Lumoff", c.stored); });
        EXPECT_EQ(r.o().radStartOn.value(), c.on) << c.stored;
        ASSERT_TRUE(RunValue(r.world)) << "selecting at start-up removes nothing: " << c.stored;
        EXPECT_EQ(RunValue(r.world)->data, c.on ? kPath : c.stored);
    }
}

TEST(StartWithWindows, AProfileWithoutARunKeyGetsOneAndDeletingAMissingValueSaysNothing) {
    RunningCopy r;
    r.o().radStartOn.set_value(true);
    ASSERT_TRUE(RunValue(r.world));
    EXPECT_EQ(RunValue(r.world)->data, kPath) << "no quotes, no arguments, no NUL";
    EXPECT_TRUE(RunValue(r.world)->unicode);
    platform::RegKey key = r.world.registry.Open(kRunKey);
    r.world.registry.DeleteValue(key, "Lumoff");  // removed by hand meanwhile
    r.world.registry.Close(key);
    r.o().radStartOff.set_value(true);
    EXPECT_TRUE(r.world.boxes.empty());
}

TEST(StartWithWindows, AFailedWriteSaysSoAndFallsBackToDisabled) {
    RunningCopy r({.answers = {kIdOk}}, [](SimWorld& w) { w.registry.CreateKey(kRunKey); });
    r.world.registry.deny_writes = true;
    r.o().radStartOn.set_value(true);
    EXPECT_EQ(r.Boxes(), std::vector<std::string>{"Error adding Lumoff to system startup!"});
    EXPECT_TRUE(r.o().radStartOff.value());
    EXPECT_EQ(RunValue(r.world), nullptr);
    EXPECT_EQ(r.world.registry.OpenHandles(), 0u);
}

}  // namespace
}  // namespace lumoff
