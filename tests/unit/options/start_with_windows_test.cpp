// "Start on Windows Startup": the Run value the option buttons write, read and delete.
#include <gtest/gtest.h>

#include "options/start_with_windows.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPath = "C:\\Program Files\\Lumoff\\Lumoff.exe";
constexpr const char* kCommand = "\"C:\\Program Files\\Lumoff\\Lumoff.exe\"";

const platform::sim::RegValue* RunValue(SimWorld& w) { return w.registry.Get(kRunKey, "Lumoff"); }

// The full path in quotes: unquoted, logon would run "C:\Program.exe" if there were one.
TEST(StartWithWindows, TheCommandIsTheFolderTheNameAndExeInQuotes) {
    SimWorld world;
    SimProcess p(world, "x");
    for (auto [path, command] : std::initializer_list<std::pair<const char*, const char*>>{
             {kPath, kCommand},
             {"C:\\Lumoff.exe", "\"C:\\\\Lumoff.exe\""},
             {"D:\\Tools\\LUMOFF.EXE", "\"D:\\Tools\\LUMOFF.exe\""},
             {"D:\\v1.2\\lumoff", "\"D:\\v1.2\\lumoff.exe\""}}) {
        p.exe_path = path;
        EXPECT_EQ(StartupCommand(p), command) << path;
    }
}

// The value names this program quoted or, as earlier versions wrote it, unquoted, in any letter case (as the system
// compares file names). Enabled then rewrites it quoted; another program's value is left as it was.
TEST(StartWithWindows, TheStartSelectsEnabledWhenTheValueNamesThisProgramInAnyCase) {
    for (auto [stored, on] : std::initializer_list<std::pair<const char*, bool>>{
             {kCommand, true},
             {kPath, true},
             {"\"c:\\PROGRAM FILES\\lumoff\\LUMOFF.EXE\"", true},
             {"c:\\PROGRAM FILES\\lumoff\\LUMOFF.EXE", true},
             {"\"C:\\Program Files\\Lumoff\\Lumoff.exe", false},
             {"\"C:\\Program Files\\Lumoff\\Lumoff.exe\" /tray", false},
             {"C:\\Program Files\\Lumoff\\Lumoff.exe /tray", false}}) {
        RunningCopy r({}, [&](SimWorld& w) { w.registry.Put(kRunKey, "Lumoff", stored); });
        EXPECT_EQ(r.o().radStartOn.value(), on) << stored;
        ASSERT_TRUE(RunValue(r.world)) << "selecting at start-up removes nothing: " << stored;
        EXPECT_EQ(RunValue(r.world)->data, on ? kCommand : stored);
    }
}

// Enabled makes the Run key on a profile without one and writes the quoted path through the Unicode call; Disabled
// deletes it. A failed write says so and falls back to Disabled, which finds no value to delete and says nothing.
TEST(StartWithWindows, EnabledWritesTheValueDisabledDeletesItAndAFailedWriteFallsBackToDisabled) {
    RunningCopy r({.answers = {kIdOk}});
    r.o().radStartOn.set_value(true);
    ASSERT_TRUE(RunValue(r.world));
    EXPECT_EQ(RunValue(r.world)->data, kCommand) << "in quotes, no arguments, no NUL";
    EXPECT_TRUE(RunValue(r.world)->unicode);
    r.o().radStartOff.set_value(true);
    EXPECT_EQ(RunValue(r.world), nullptr);
    r.world.registry.deny_writes = true;
    r.o().radStartOn.set_value(true);
    EXPECT_EQ(r.Boxes(), std::vector<std::string>{"Error adding Lumoff to system startup!"});
    EXPECT_TRUE(r.o().radStartOff.value());
    EXPECT_EQ(RunValue(r.world), nullptr);
    EXPECT_EQ(r.world.registry.OpenHandles(), 0u);
}

}  // namespace
}  // namespace lumoff
