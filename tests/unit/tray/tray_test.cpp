// The notification-area icon and its menu, and the housekeeping tick: a second copy's requests, the close title and
// the window position.
#include <gtest/gtest.h>

#include <tuple>

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

// Minimized, the program shows its icon with its tip. The left button's release brings the window back (once: the
// second release of a double click finds no icon); the right button's opens the menu with the window in the
// foreground; the middle button turns the monitor off; Exit removes the icon and ends, keeping the tray for the next
// start.
TEST(Tray, TheIconsButtonsAndMenuActWhileTheOtherNotificationsDoNothing) {
    // The mouse message, the item chosen (empty: the menu is dismissed), then in the tray, kept off, Options shown.
    for (auto [message, choice, in_tray, off, options] :
         std::initializer_list<std::tuple<int, const char*, bool, bool, bool>>{
             {514, "", false, false, false}, {517, "", true, false, false}, {517, "Show Lumoff", false, false, false},
             {517, "Turn Off", true, true, false}, {520, "", true, true, false}, {517, "Options", true, false, true},
             {517, "Exit Lumoff", false, false, false}}) {
        Running r;
        r.Minimize();
        EXPECT_EQ(r.world.tray_icons.at(0).tip, "Lumoff v" LUMOFF_VERSION_TEXT);
        r.world.foreground = 0;
        if (*choice) r.copy.process.menu_choices = {choice};
        SCOPED_TRACE(std::to_string(message) + choice);
        const bool exits = std::string(choice) == "Exit Lumoff";
        if (exits) {
            EXPECT_THROW(r.Notify(message), platform::sim::ProcessExited);
        } else {
            EXPECT_TRUE(r.Notify(message));
        }
        EXPECT_EQ(r.InTray(), in_tray);
        EXPECT_EQ(r.Shown() && r.main().topmost(), !in_tray && !exits);
        EXPECT_EQ(r.KeepingOff(), off);
        EXPECT_EQ(r.o().visible(), options);
        EXPECT_EQ(r.Stored("Tray"), in_tray || exits ? "1" : "0");
        EXPECT_FALSE(message == 514 && r.Notify(514)) << "the second release of a double click finds no icon";
        if (message != 517) continue;
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

// At a slow logon the shell takes no icon yet. The program in the tray tries again when the shell announces its
// taskbar and on its timer; a minute without an icon brings the caption window back, and `Tray` keeps the choice.
// (The shell's announcement after a restart adds the icon again the same way.)
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
        r.world.RestartShell();
        EXPECT_EQ(r.world.tray_icons.size(), shell != kNeverUp ? 1u : 0u) << "after a restart only while in the tray";
    }
}

// Show then tray in one tick, only while the monitor is on; the monitor state is tested once, at the tick's start,
// so the position show gave the window is saved in the same tick. A show request leaves a program in the tray hidden.
// The program ends on its own title ending in "+CLOSE" (in upper case), also while the monitor is off.
TEST(Housekeeping, AnswersShowThenTrayInOneTickOnlyWhileTheMonitorIsOnAndEndsOnItsCloseTitle) {
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
    r.main().set_title("Lumoff.exe +close");
    EXPECT_EQ(r.RunUntil(5000), std::nullopt);
    r.Toggle();
    r.main().set_title("anything+CLOSE");
    EXPECT_EQ(r.RunUntil(8000), 6000u);
}

TEST(Housekeeping, SavesAMovedPositionOnceInWholeTwipsRoundingHalfToEven) {
    // Positions as a move reports them at 100 % and at 175 % (a pixel is 8.571 twips there), and halves; Left and Top.
    Running r;
    std::uint64_t at = 0;
    for (auto [left, top, stored] : std::initializer_list<std::tuple<float, float, const char*>>{
             {4320, 1500, "43201500"}, {578 * 1440.0f / 168, 300 * 1440.0f / 168, "49542571"}, {2.5f, -7.5f, "2-8"},
             {3.5f, 0.5f, "40"}}) {
        r.main().set_position(left, top);
        r.RunUntil(at += 1000);
        EXPECT_EQ(r.Values({"Left", "Top"}), stored);
        r.world.registry.Put(settings::kSettingsKey, "Left", "unchanged");
        r.RunUntil(at += 3000);
        EXPECT_EQ(r.Stored("Left"), "unchanged") << "a window left in place writes nothing: " << stored;
    }
}

}  // namespace
}  // namespace lumoff
