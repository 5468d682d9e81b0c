// Turning the monitor off and keeping it off, for real: the status screen, the wake inputs and the global hotkey, in
// one start.
#include <gtest/gtest.h>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Turns the monitor off with the caption window's button and waits until the status screen covers the screen.
void TurnOffByButton(Lumoff& lumoff) {
    Click(lumoff.TurnOffPoint());
    ASSERT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
}

TEST(Monitor, TurnOffShowsABlackTopmostScreenEachWakeInputEndsItAndAHotKeyPickedInTheListsToggles) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    TurnOffByButton(lumoff);
    HWND screen = lumoff.StatusScreen();
    EXPECT_TRUE(IsTopmost(screen));
    EXPECT_FALSE(HasTaskbarButton(screen));
    Pause(Duration(300));
    Screenshot shot = CaptureScreen();
    shot.SaveBmp(ArtifactPath(L"status-screen.bmp"));
    // Red text in the message's box at the top left; black everywhere else, over the taskbar too.
    EXPECT_GT(shot.FractionOf({16, 8, 817, 300}, {255, 0, 0}, 60), 0.05);
    EXPECT_TRUE(shot.AllPixels({850, 0, 1024, 768}, kBlack));
    EXPECT_TRUE(shot.AllPixels({0, 700, 1024, 768}, kBlack)) << "covers the taskbar too";
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        if (round > 0) TurnOffByButton(lumoff);  // also right after waking: two quick clicks are two clicks
        if (round == 0) PressKey(VK_RETURN);
        if (round == 1) Click({100, 30});  // on the message
        if (round == 2) {
            // On the black, held long enough for the watchdog's slowest tick to see it.
            const POINT black{500, 600};
            MoveCursor(black);
            MouseButton(black, true);
            Pause(Duration(1200));
            MouseButton(black, false);
        }
        EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
    }

    // Ctrl+A picked in the lists with the keyboard, set, confirmed, and then toggling the monitor.
    PickFromList(lumoff, "hkeyButton1", 1);  // "-" to "Ctrl"
    PickFromList(lumoff, "hkeyButton2", 3);  // "F10" to "A"
    HWND options = OpenOptions(lumoff);
    EXPECT_TRUE(WaitUntil([&] { return ComboSelectedText(ControlAt(options, "hkeyButton2")) == L"A"; }));
    ClickOption(lumoff, "cmdHotKey");
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");  // the confirmation
    ASSERT_TRUE(box);
    PressDialogButton(box, L"OK");
    ASSERT_TRUE(WaitForWindowGone(box));
    CloseOptions(lumoff);
    for (bool off : {true, false}) {
        PressKey('A', kControl);
        EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown() == off; })) << off;
    }
}

}  // namespace
