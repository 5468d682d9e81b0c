// The notification-area icon and its menu, and the housekeeping tick: a second copy's requests, the close title and
// the window position.
#include <gtest/gtest.h>

#include "support/sim_program.h"
#include "lumoff_version.h"

namespace lumoff {
namespace {

// A copy in its main loop, with the tray's view of it.
struct Running : RunningCopy {
    using RunningCopy::RunningCopy;
    // The user's mouse action on the program's icon, as the shell reports it.
    bool Notify(int mouse_message) { return world.NotifyTrayIcon(copy.handle(), 1, mouse_message); }
    // In the tray: window hidden and exactly the program's icon shown.
    bool InTray() {
        return !main().visible() && world.tray_icons.size() == 1 && world.tray_icons[0].window == copy.handle();
    }
    bool Shown() { return main().visible() && world.tray_icons.empty(); }
    void Minimize() { main().imgMinToTray.Click(); }
};

TEST(Tray, MinimizeAddsTheIconWithItsTipAndALeftButtonReleaseBringsTheWindowBackOnce) {
    Running r;
    r.Minimize();
    EXPECT_TRUE(r.InTray());
    EXPECT_EQ(r.world.tray_icons[0].tip, "Lumoff v" LUMOFF_VERSION_TEXT);
    EXPECT_EQ(r.Stored("Tray"), "1");
    EXPECT_TRUE(r.Notify(514));
    EXPECT_TRUE(r.Shown() && r.main().topmost());
    EXPECT_EQ(r.Stored("Tray"), "0");
    EXPECT_FALSE(r.Notify(514)) << "the second release of a double click finds no icon";
}

// The right button's menu, opened with the window in the foreground, and the middle button.
TEST(Tray, TheMenuAndTheMiddleButtonActWhileTheOtherNotificationsDoNothing) {
    struct Case {
        int message;
        const char* choice;  // empty: the menu is dismissed
        bool in_tray, off, options;
    } cases[] = {{517, "", true, false, false},        {517, "Show Lumoff", false, false, false},
                 {517, "Turn Off", true, true, false}, {520, "", true, true, false},
                 {517, "Options", true, false, true}};
    for (const Case& c : cases) {
        Running r;
        r.Minimize();
        r.world.foreground = 0;
        if (*c.choice) r.copy.process.menu_choices = {c.choice};
        r.Notify(c.message);
        SCOPED_TRACE(std::to_string(c.message) + c.choice);
        EXPECT_EQ(r.InTray(), c.in_tray);
        EXPECT_EQ(r.KeepingOff(), c.off);
        EXPECT_EQ(r.o().visible(), c.options);
        EXPECT_EQ(r.Stored("Tray"), c.in_tray ? "1" : "0");
        if (c.message != 517) continue;
        EXPECT_EQ(r.copy.process.menus_shown,
                  (std::vector<std::vector<std::string>>{{"Exit Lumoff", "-", "Show Lumoff", "Options", "Turn Off"}}));
        EXPECT_EQ(r.copy.process.menu_foreground[0], r.copy.handle());
    }
    Running r;
    r.main().OnMouseMove(80, 64);  // a real move over the window
    r.Minimize();
    for (int message : {512, 513, 515, 516, 518, 519, 521, 522}) EXPECT_TRUE(r.Notify(message)) << message;
    EXPECT_TRUE(r.InTray());
    EXPECT_FALSE(r.KeepingOff());
    EXPECT_TRUE(r.copy.process.menus_shown.empty());
    EXPECT_EQ(r.world.tray_calls.size(), 1u);
}

// The next start then begins in the tray.
TEST(Tray, ExitLumoffRemovesTheIconAndEndsKeepingTheTray) {
    Running r;
    r.Minimize();
    r.copy.process.menu_choices = {"Exit Lumoff"};
    EXPECT_THROW(r.Notify(517), platform::sim::ProcessExited);
    EXPECT_TRUE(r.world.tray_icons.empty());
    EXPECT_EQ(r.Stored("Tray"), "1");
}

TEST(Tray, StartsInTheTrayUnlessTheStoredStateIsZeroOrEmpty) {
    for (const char* state : {"1", "x", "0", ""}) {
        Running r({.stored = {{"Tray", state}}});
        const bool tray = *state && *state != '0';
        EXPECT_EQ(r.InTray(), tray) << '"' << state << '"';
        EXPECT_EQ(r.Shown(), !tray) << '"' << state << '"';
        EXPECT_TRUE(r.main().topmost()) << "placed and shown first";
        EXPECT_TRUE(r.main().tmrSticky.enabled());
    }
}

TEST(Tray, ShellRestartAddsTheIconAgainOnlyWhileInTheTray) {
    Running r;
    r.world.RestartShell();
    EXPECT_TRUE(r.world.tray_calls.empty()) << "never in the tray";
    r.Minimize();
    r.world.RestartShell();
    EXPECT_TRUE(r.Notify(514)) << "the new icon answers";
    r.world.RestartShell();
    EXPECT_TRUE(r.Shown());
}

// At a slow logon the shell takes no icon yet. The program in the tray tries again when the shell announces its
// taskbar and on its timer; a minute without an icon brings the caption window back, and `Tray` keeps the choice.
TEST(Tray, AnIconTheShellRefusesIsTriedAgainUntilTakenOrTheWindowComesBackAfterAMinute) {
    enum Shell { kAnnounced, kUpQuietly, kNeverUp };
    for (Shell shell : {kAnnounced, kUpQuietly, kNeverUp}) {
        Running r({.stored = {{"Tray", "1"}}, .until = 5600}, [&](SimWorld& w) {
            w.shell_up = false;
            if (shell == kAnnounced) w.At(5500, [&w] { w.RestartShell(); });
            if (shell == kUpQuietly) w.At(5500, [&w] { w.shell_up = true; });
        });
        SCOPED_TRACE(shell);
        EXPECT_EQ(r.InTray(), shell == kAnnounced) << "at once on the announcement only";
        r.RunUntil(70000);
        const size_t calls = r.world.tray_calls.size();
        r.RunUntil(80000);
        EXPECT_EQ(r.InTray(), shell != kNeverUp);
        EXPECT_EQ(r.Shown(), shell == kNeverUp);
        EXPECT_EQ(r.world.tray_calls.size(), calls) << "no try after the icon or the window";
        EXPECT_EQ(r.Stored("Tray"), "1");
    }
}

// Show then tray in one tick, only while the monitor is on; the monitor state is tested once, at the tick's start,
// so the position show gave the window is saved in the same tick. A show request leaves a program in the tray hidden.
TEST(Housekeeping, AnswersShowThenTrayInOneTickOnlyWhileTheMonitorIsOn) {
    Running r({.stored = {{"Left", "4320"}, {"Top", "1500"}}});
    platform::WindowRef tray = r.world.AddForeignWindow("Lumoff.exe +TRAY");
    platform::WindowRef show = r.world.AddForeignWindow("Lumoff.exe +SHOW");
    r.Toggle();
    r.main().set_position(600, 900);  // moved while off: not saved either
    r.RunUntil(2000);
    EXPECT_EQ(r.world.TitleOf(show), "Lumoff.exe +SHOW");
    EXPECT_EQ(r.Stored("Left"), "4320");
    r.Toggle();
    r.RunUntil(3000);
    EXPECT_EQ(r.world.TitleOf(show) + r.world.TitleOf(tray), "Lumoff.exe +CLOSELumoff.exe +CLOSE");
    EXPECT_TRUE(r.InTray() && r.KeepingOff());
    EXPECT_EQ(r.Values({"Left", "Top"}), "00");
    platform::WindowRef again = r.world.AddForeignWindow("Lumoff.exe +SHOW");
    r.Toggle();
    r.RunUntil(4000);
    EXPECT_EQ(r.world.TitleOf(again), "Lumoff.exe +CLOSE");
    EXPECT_TRUE(r.InTray());
}

TEST(Housekeeping, SavesAMovedPositionOnceInWholeTwipsRoundingHalfToEven) {
    // Positions as a move reports them at 100 % and at 175 % (a pixel is 8.571 twips there), and halves.
    struct Case {
        float left, top;
        const char *stored_left, *stored_top;
    } cases[] = {{4320, 1500, "4320", "1500"},
                 {578 * 1440.0f / 168, 300 * 1440.0f / 168, "4954", "2571"},
                 {2.5f, -7.5f, "2", "-8"},
                 {3.5f, 0.5f, "4", "0"}};
    Running r;
    std::uint64_t at = 0;
    for (const Case& c : cases) {
        r.main().set_position(c.left, c.top);
        r.RunUntil(at += 1000);
        EXPECT_EQ(r.Values({"Left", "Top"}), std::string(c.stored_left) + c.stored_top);
        r.world.registry.Put(settings::kSettingsKey, "Left", "unchanged");
        r.RunUntil(at += 3000);
        EXPECT_EQ(r.Stored("Left"), "unchanged") << "a window left in place writes nothing: " << c.stored_left;
    }
}

TEST(Housekeeping, EndsOnlyOnItsOwnTitleEndingInUpperCaseClose) {
    Running r;
    r.main().set_title("Lumoff.exe +close");
    EXPECT_EQ(r.RunUntil(2000), std::nullopt);
    r.Toggle();  // the close check runs also while the monitor is off
    r.main().set_title("anything+CLOSE");
    EXPECT_EQ(r.RunUntil(5000), 3000u);
}

TEST(Housekeeping, CopiesOfOtherExecutableNamesDoNotSeeEachOthersRequests) {
    Running r({.line = "Other.exe", .exe = "Other"});
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
