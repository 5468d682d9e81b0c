// Turning the monitor off and keeping it off, for real: the status screen, the wake inputs and the global hotkey.
#include <gtest/gtest.h>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Turns the monitor off with the caption window's button and waits until the status screen covers the screen.
void TurnOffByButton(Lumoff& lumoff) {
    ASSERT_TRUE(lumoff.WaitForMain());
    Click(lumoff.TurnOffPoint());
    ASSERT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
}

TEST(Monitor, TurnOffShowsABlackTopmostScreenWithTheRedMessageOverEverything) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    TurnOffByButton(lumoff);
    HWND screen = lumoff.StatusScreen();
    EXPECT_TRUE(IsTopmost(screen));
    EXPECT_FALSE(HasTaskbarButton(screen));
    RECT r = WindowRect(screen);
    RECT all = ScreenRect();
    EXPECT_TRUE(r.left <= all.left && r.top <= all.top && r.right >= all.right && r.bottom >= all.bottom);
    EXPECT_TRUE(WaitUntil([&] { return lumoff.PowerRequests() == std::vector<int>{2}; }))
        << "one power-off, to the program's own window";
    Pause(Duration(300));
    Screenshot shot = CaptureScreen();
    shot.SaveBmp(ArtifactPath(L"status-screen.bmp"));
    // The message's box: 16, 8 to 817, 901 px; red text on black, black everywhere else.
    EXPECT_GT(shot.FractionOf({16, 8, 817, 300}, {255, 0, 0}, 60), 0.05);
    EXPECT_GT(shot.FractionOf({16, 8, 817, 300}, kBlack, 30), 0.5);
    EXPECT_TRUE(shot.AllPixels({850, 0, 1024, 768}, kBlack));
    EXPECT_TRUE(shot.AllPixels({0, 700, 1024, 768}, kBlack)) << "covers the taskbar too";
}

TEST(Monitor, EnterSpaceAndClicksEachTurnTheMonitorBackOn) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        TurnOffByButton(lumoff);  // also right after waking: two quick clicks are two clicks
        if (round == 0) PressKey(VK_RETURN);
        if (round == 1) PressKey(VK_SPACE);
        if (round == 2) Click({100, 30});  // on the message
        if (round == 3) {
            // On the black, held long enough for the watchdog's slowest tick to see it.
            const POINT black{500, 600};
            MoveCursor(black);
            MouseButton(black, true);
            Pause(Duration(1200));
            MouseButton(black, false);
        }
        EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
    }
}

TEST(HotKey, CtrlAIsRegisteredConfirmedStoredAndToggles) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    PickFromList(lumoff, "hkeyButton1", 1);  // "-" to "Ctrl"
    PickFromList(lumoff, "hkeyButton2", 3);  // "F10" to "A"
    HWND options = OpenOptions(lumoff);
    EXPECT_TRUE(WaitUntil([&] { return ComboSelectedText(ControlAt(options, "hkeyButton2")) == L"A"; }));
    EXPECT_EQ(ComboSelectedText(ControlAt(options, "hkeyButton1")), L"Ctrl");
    ClickOption(lumoff, "cmdHotKey");
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Hotkey registered!\r\nYou can now use Ctrl+A to turn off the monitor!");
    PressDialogButton(box, L"OK");
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_EQ(ReadRaw("HotKeySet"), "1");
    EXPECT_EQ(ReadRaw("HotKeyA"), "1");
    EXPECT_EQ(ReadRaw("HotKeyB"), "12");
    EXPECT_EQ(WindowText(ControlAt(options, "cmdHotKey")), L"Unset Hotkey");
    CloseOptions(lumoff);
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
}

TEST(HotKey, ARestartWithTheHotKeySetRegistersItAgainSilently) {
    ASSERT_TRUE(SeedSettings());
    WriteRaw("HotKeySet", "1");
    WriteRaw("HotKeyA", "1");   // Ctrl
    WriteRaw("HotKeyB", "12");  // A
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    Pause(Duration(300));
    EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff"));
    HWND options = OpenOptions(lumoff);
    EXPECT_EQ(WindowText(ControlAt(options, "cmdHotKey")), L"Unset Hotkey");
    EXPECT_EQ(ComboSelectedText(ControlAt(options, "hkeyButton2")), L"A");
    CloseOptions(lumoff);
    PressKey('A', kControl);  // the stored pair, not the lists' own F10
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
}

}  // namespace
