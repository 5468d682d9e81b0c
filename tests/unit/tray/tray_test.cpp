#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::ProcessExited;
using platform::sim::SimStopped;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

const std::vector<std::string> kTrayMenu{"Exit Lumoff", "-", "Show Lumoff", "Options", "Turn Off"};

// A copy in its main loop at virtual time 0, with the Settings key present and the given values stored.
struct Running {
    explicit Running(std::initializer_list<std::pair<const char*, const char*>> stored = {},
                     std::string command_line = "\"C:\\Program Files\\Lumoff\\Lumoff.exe\"",
                     std::string exe_name = "Lumoff")
        : copy(world, std::move(command_line), std::move(exe_name)) {
        testing::SeedSettings(world);
        for (const auto& [name, value] : stored) world.registry.Put(settings::kSettingsKey, name, value);
        world.horizon_ms = 0;
        copy.Start();
    }
    // Runs the copy's events up to the given virtual time; the time it ended at, if it did.
    std::optional<std::uint64_t> RunUntil(std::uint64_t ms) {
        world.horizon_ms = ms;
        return copy.Resume();
    }
    // The user's mouse action on the program's icon, as the shell reports it.
    bool Notify(int mouse_message) { return world.NotifyTrayIcon(copy.handle(), 1, mouse_message); }
    bool KeepingOff() { return copy.program->monitor.KeepingOff(); }
    // In the tray: window hidden and exactly the program's icon shown.
    bool InTray() {
        return !copy.main().visible() && world.tray_icons.size() == 1 && world.tray_icons[0].window == copy.handle();
    }
    bool Shown() { return copy.main().visible() && world.tray_icons.empty(); }

    SimWorld world;
    SimCopy copy;
};

// ---- Going to the tray and coming back ---------------------------------------------------------------------------

TEST(Tray, MinimizeHidesTheWindowAddsTheIconAndRemembersIt) {
    Running r;
    EXPECT_TRUE(r.Shown());
    r.copy.main().imgMinToTray.Click();
    EXPECT_TRUE(r.InTray());
    const platform::TrayIcon& icon = r.world.tray_icons[0];
    EXPECT_EQ(icon.id, 1u);
    EXPECT_EQ(icon.flags, 7u);
    EXPECT_EQ(icon.callback_message, 0x200u);
    EXPECT_EQ(Stored(r.world, "Tray"), "1");
}

TEST(Tray, TipIsTheVersionLineItsNulAndSpacesToSixtyFourCharacters) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    std::string expected("Lumoff v1.1.2\0", 14);
    expected.append(50, ' ');
    EXPECT_EQ(r.world.tray_icons[0].tip, expected);
}

TEST(Tray, LeftButtonReleaseBringsTheWindowBackOnceAndRemembersIt) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    const platform::TrayIcon added = r.world.tray_icons[0];
    EXPECT_TRUE(r.Notify(514));
    EXPECT_TRUE(r.Shown());
    EXPECT_TRUE(r.copy.main().topmost());
    EXPECT_EQ(Stored(r.world, "Tray"), "0");
    ASSERT_EQ(r.world.tray_calls.size(), 2u);
    EXPECT_FALSE(r.world.tray_calls[1].add);
    EXPECT_EQ(r.world.tray_calls[1].icon.tip, added.tip) << "deleted with the record it was added with";
    EXPECT_FALSE(r.Notify(514)) << "the second release of a double click finds no icon";
}

TEST(Tray, ShowLumoffActsAsTheLeftButtonRelease) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    r.copy.process.menu_choices = {"Show Lumoff"};
    r.Notify(517);
    EXPECT_TRUE(r.Shown());
    EXPECT_EQ(Stored(r.world, "Tray"), "0");
}

TEST(Tray, ExitLumoffRemovesTheIconEndsAndTheNextStartBeginsInTheTray) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    r.copy.process.menu_choices = {"Exit Lumoff"};
    EXPECT_THROW(r.Notify(517), ProcessExited);
    EXPECT_TRUE(r.world.tray_icons.empty());
    EXPECT_EQ(Stored(r.world, "Tray"), "1");

    SimCopy next(r.world);
    r.world.horizon_ms = 10;
    next.Start();
    EXPECT_FALSE(next.main().visible());
    ASSERT_EQ(r.world.tray_icons.size(), 1u);
    EXPECT_EQ(r.world.tray_icons[0].window, next.handle());
}

TEST(Tray, StartsInTheTrayUnlessTheStoredStateIsZeroOrEmpty) {
    for (const char* state : {"1", "x"}) {
        Running r({{"Tray", state}});
        EXPECT_TRUE(r.InTray()) << state;
        EXPECT_TRUE(r.copy.main().topmost()) << "placed and shown before it went to the tray";
        EXPECT_TRUE(r.copy.main().tmrSticky.enabled());
        EXPECT_EQ(Stored(r.world, "Tray"), "1");
    }
    for (const char* state : {"0", ""}) {
        Running r({{"Tray", state}});
        EXPECT_TRUE(r.Shown()) << '"' << state << '"';
        EXPECT_TRUE(r.world.tray_calls.empty());
    }
}

TEST(Tray, TraySwitchAloneTurnsOffGoesToTheTrayAndFinishesTheStartUp) {
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
    EXPECT_EQ(world.tray_icons.size(), 1u);
    EXPECT_EQ(Stored(world, "Tray"), "1");
    // The stored state read later in the start-up sends it to the tray a second time; the shell keeps one icon.
    EXPECT_EQ(world.tray_calls.size(), 2u);
    EXPECT_TRUE(copy.main().tmrSticky.enabled());
    EXPECT_EQ(depth, 1) << "the main loop runs";
}

// ---- The icon's notifications and the tray menu ------------------------------------------------------------------

TEST(Tray, OtherMouseMessagesAndRealMovesDoNothing) {
    Running r;
    r.copy.main().OnMouseMove(40, 30);
    r.copy.main().OnMouseMove(80, 64);
    EXPECT_TRUE(r.Shown());
    r.copy.main().imgMinToTray.Click();
    for (int message : {512, 513, 515, 516, 518, 519, 521, 522}) EXPECT_TRUE(r.Notify(message)) << message;
    EXPECT_TRUE(r.InTray());
    EXPECT_FALSE(r.KeepingOff());
    EXPECT_TRUE(r.copy.process.menus_shown.empty());
    EXPECT_EQ(r.world.tray_calls.size(), 1u);
    EXPECT_EQ(Stored(r.world, "Tray"), "1");
}

TEST(Tray, RightButtonReleaseOpensTheTrayMenuWithTheWindowInTheForeground) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    r.world.foreground = 0;
    r.Notify(517);
    ASSERT_EQ(r.copy.process.menus_shown.size(), 1u);
    EXPECT_EQ(r.copy.process.menus_shown[0], kTrayMenu);
    EXPECT_EQ(r.copy.process.menu_foreground[0], r.copy.handle());
    EXPECT_TRUE(r.InTray()) << "dismissing the menu changes nothing";
}

TEST(Tray, MiddleClickAndTurnOffToggleWhileStayingInTheTray) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    r.Notify(520);
    EXPECT_TRUE(r.KeepingOff());
    EXPECT_EQ(r.world.power_requests.size(), 1u);
    EXPECT_TRUE(r.InTray());
    r.copy.process.menu_choices = {"Turn Off"};
    r.Notify(517);
    EXPECT_FALSE(r.KeepingOff());
    r.Notify(520);
    EXPECT_TRUE(r.KeepingOff());
    EXPECT_TRUE(r.InTray());
    EXPECT_EQ(r.world.tray_calls.size(), 1u);
    EXPECT_EQ(Stored(r.world, "Tray"), "1");
}

TEST(Tray, OptionsShowsTheDialogAndLeavesTheProgramInTheTray) {
    Running r;
    r.copy.main().imgMinToTray.Click();
    r.copy.process.menu_choices = {"Options"};
    r.Notify(517);
    EXPECT_TRUE(r.copy.options().visible());
    EXPECT_TRUE(r.InTray());
}

TEST(Tray, ShellRestartAddsTheIconAgainOnlyWhileInTheTray) {
    Running r;
    r.world.RestartShell();
    EXPECT_TRUE(r.world.tray_calls.empty()) << "never in the tray";
    r.copy.main().imgMinToTray.Click();
    const std::string tip = r.world.tray_icons[0].tip;
    r.world.RestartShell();
    EXPECT_TRUE(r.InTray());
    EXPECT_EQ(r.world.tray_icons[0].tip, tip);
    EXPECT_TRUE(r.Notify(514)) << "the new icon answers";
    r.world.RestartShell();
    EXPECT_TRUE(r.Shown());
    EXPECT_EQ(Stored(r.world, "Tray"), "0");
}

// ---- Housekeeping tick --------------------------------------------------------------------------------------------

TEST(Housekeeping, AnswersRequestsOnlyWhileTheMonitorIsOn) {
    Running r({{"Left", "4320"}, {"Top", "1500"}});
    platform::WindowRef request = r.world.AddForeignWindow("Lumoff.exe +SHOW");
    r.copy.program->monitor.imgTurnOff_Click();
    r.copy.main().set_position(600, 900);  // moved while off: not saved either
    r.RunUntil(2000);
    EXPECT_EQ(r.world.TitleOf(request), "Lumoff.exe +SHOW");
    EXPECT_EQ(Stored(r.world, "Left"), "4320");
    r.copy.program->monitor.imgTurnOff_Click();
    r.RunUntil(3000);
    EXPECT_EQ(r.world.TitleOf(request), "Lumoff.exe +CLOSE");
    EXPECT_EQ(r.copy.main().left(), 0);
    EXPECT_EQ(r.copy.main().top(), 0);
    EXPECT_EQ(Stored(r.world, "Left"), "0");
    EXPECT_EQ(Stored(r.world, "Top"), "0");
}

TEST(Housekeeping, ShowRequestLeavesAProgramInTheTrayHidden) {
    Running r({{"Tray", "1"}});
    platform::WindowRef request = r.world.AddForeignWindow("Lumoff.exe +SHOW");
    r.RunUntil(1000);
    EXPECT_EQ(r.world.TitleOf(request), "Lumoff.exe +CLOSE");
    EXPECT_TRUE(r.InTray());
}

TEST(Housekeeping, OneTickAnswersShowThenTrayThenSavesThePositionItLeft) {
    Running r({{"Left", "4320"}, {"Top", "1500"}});
    platform::WindowRef tray = r.world.AddForeignWindow("Lumoff.exe +TRAY");
    platform::WindowRef show = r.world.AddForeignWindow("Lumoff.exe +SHOW");
    r.RunUntil(1000);
    EXPECT_EQ(r.world.TitleOf(show), "Lumoff.exe +CLOSE");
    EXPECT_EQ(r.world.TitleOf(tray), "Lumoff.exe +CLOSE");
    EXPECT_TRUE(r.InTray());
    EXPECT_TRUE(r.KeepingOff());
    EXPECT_EQ(Stored(r.world, "Tray"), "1");
    // The monitor state is tested once, at the start of the tick: the moved position is saved in the same tick.
    EXPECT_EQ(Stored(r.world, "Left"), "0");
    EXPECT_EQ(Stored(r.world, "Top"), "0");
}

// Notes a window's title at the moment the program adds its icon.
class TitleAtAdd : public platform::Tray {
public:
    TitleAtAdd(SimWorld& world, platform::WindowRef watched) : world_(world), watched_(watched) {}
    void AddIcon(const platform::TrayIcon& icon) override {
        titles.push_back(world_.TitleOf(watched_));
        world_.AddIcon(icon);
    }
    void DeleteIcon(const platform::TrayIcon& icon) override { world_.DeleteIcon(icon); }
    std::vector<std::string> titles;

private:
    SimWorld& world_;
    platform::WindowRef watched_;
};

TEST(Housekeeping, RetitlesTheRequestWindowBeforeActingOnIt) {
    SimWorld world;
    testing::SeedSettings(world);
    platform::WindowRef request = world.AddForeignWindow("Lumoff.exe +TRAY");
    TitleAtAdd spy(world, request);
    platform::sim::SimProcess process(world, "Lumoff.exe");
    platform::Platform os = process.platform();
    Program program(platform::Platform{os.registry, os.clock, os.process, os.desktop, os.view, os.events, spy, os.downloads});
    world.horizon_ms = 1000;
    EXPECT_THROW(program.Run(), SimStopped);
    EXPECT_EQ(spy.titles, (std::vector<std::string>{"Lumoff.exe +CLOSE"}));
}

TEST(Housekeeping, SavesAMovedPositionOnceInWholeTwipsRoundingHalfToEven) {
    // Positions as a move reports them at 100 % and at 175 % (a pixel is 8.571 twips there), and halves.
    struct Case {
        float left, top;
        const char* stored_left;
        const char* stored_top;
    } cases[] = {{4320, 1500, "4320", "1500"},
                 {578 * 1440.0f / 168, 300 * 1440.0f / 168, "4954", "2571"},
                 {2.5f, -7.5f, "2", "-8"},
                 {3.5f, 0.5f, "4", "0"}};
    Running r;
    std::uint64_t at = 0;
    for (const Case& c : cases) {
        r.copy.main().set_position(c.left, c.top);
        r.RunUntil(at += 1000);
        EXPECT_EQ(Stored(r.world, "Left"), c.stored_left);
        EXPECT_EQ(Stored(r.world, "Top"), c.stored_top);
        r.world.registry.Put(settings::kSettingsKey, "Left", "unchanged");
        r.RunUntil(at += 3000);
        EXPECT_EQ(Stored(r.world, "Left"), "unchanged") << "a window left in place writes nothing: " << c.stored_left;
    }
}

TEST(Housekeeping, EndsOnlyOnItsOwnTitleEndingInUpperCaseClose) {
    Running r;
    r.copy.main().set_title("Lumoff.exe +close");
    EXPECT_EQ(r.RunUntil(2000), std::nullopt);
    r.copy.program->monitor.imgTurnOff_Click();  // the close check runs also while the monitor is off
    r.copy.main().set_title("anything+CLOSE");
    EXPECT_EQ(r.RunUntil(5000), 3000u);
}

TEST(Housekeeping, CopiesOfOtherExecutableNamesDoNotSeeEachOthersRequests) {
    Running r({}, "Other.exe", "Other");
    platform::WindowRef lumoff = r.world.AddForeignWindow("Lumoff.exe +TRAY");
    r.RunUntil(1000);
    EXPECT_EQ(r.world.TitleOf(lumoff), "Lumoff.exe +TRAY");
    EXPECT_TRUE(r.Shown());
    platform::WindowRef own = r.world.AddForeignWindow("Other.exe +TRAY");
    r.RunUntil(2000);
    EXPECT_EQ(r.world.TitleOf(own), "Other.exe +CLOSE");
    EXPECT_TRUE(r.InTray());
}

}  // namespace
}  // namespace lumoff
