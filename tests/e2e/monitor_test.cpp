// Turning the monitor off and keeping it off, for real: the status screen, the wake inputs and the global hotkey.
#include <gtest/gtest.h>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Controls of the Options dialog by their place.
constexpr int kFrameLeft = 120;
constexpr TwipRect kChkMouse{kFrameLeft + 120, 4080 + 1320, 2415, 255};
constexpr TwipRect kChkEnter{kFrameLeft + 120, 4080 + 1560, 2415, 255};
constexpr TwipRect kChkSpace{kFrameLeft + 120, 4080 + 1800, 2415, 255};
constexpr TwipRect kHkeyButton1{kFrameLeft + 120, 4080 + 240, 1095, 315};
constexpr TwipRect kHkeyButton2{kFrameLeft + 1440, 4080 + 240, 1095, 315};
constexpr TwipRect kCmdHotKey{kFrameLeft + 120, 4080 + 720, 2415, 255};
constexpr TwipRect kRadXP{kFrameLeft + 1440, 6360 + 240, 1095, 255};
constexpr TwipRect kChkMsg{kFrameLeft + 120, 6360 + 480, 2415, 255};

// Picks an entry of a drop-down list as a user does with the keyboard: open the list with a click, move down from
// the current entry, and take the highlighted one with Enter.
void PickFromList(Lumoff& lumoff, TwipRect r, int steps_down) {
    ClickOption(lumoff, r);
    for (int i = 0; i < steps_down; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
}

// A press of the left button held long enough for the watchdog's slowest tick to see it, then released.
void SlowClick(POINT at) {
    MoveCursor(at);
    MouseButton(at, true);
    Pause(Duration(1200));
    MouseButton(at, false);
}

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
    EXPECT_LE(r.left, all.left);
    EXPECT_LE(r.top, all.top);
    EXPECT_GE(r.right, all.right);
    EXPECT_GE(r.bottom, all.bottom);
    Pause(Duration(300));
    Screenshot shot = CaptureScreen();
    shot.SaveBmp(ArtifactPath(L"status-screen.bmp"));
    // The message's box: 16, 8 to 817, 901 px; red text on black, black everywhere else.
    EXPECT_GT(shot.FractionOf({16, 8, 817, 300}, {255, 0, 0}, 60), 0.05);
    EXPECT_GT(shot.FractionOf({16, 8, 817, 300}, kBlack, 30), 0.5);
    EXPECT_TRUE(shot.AllPixels({850, 0, 1024, 768}, kBlack));
    EXPECT_TRUE(shot.AllPixels({0, 700, 1024, 768}, kBlack)) << "covers the taskbar too";
}

TEST(Monitor, ThePowerOffGoesToTheProgramsOwnWindowOnce) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    TurnOffByButton(lumoff);
    EXPECT_TRUE(WaitUntil([&] { return lumoff.PowerRequests() == std::vector<int>{2}; }));
}

TEST(Monitor, EnterSpaceAndClicksEachTurnTheMonitorBackOn) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        TurnOffByButton(lumoff);
        if (round == 0) PressKey(VK_RETURN);
        if (round == 1) PressKey(VK_SPACE);
        if (round == 2) Click({100, 30});  // on the message
        if (round == 3) SlowClick({500, 600});  // on the black, seen by the watchdog
        EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); })) << "round " << round;
    }
}

TEST(Monitor, UncheckedWakeInputsDoNothing) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    ClickOption(lumoff, kChkEnter);
    ClickOption(lumoff, kChkMouse);
    HWND options = OpenOptions(lumoff);
    EXPECT_TRUE(WaitUntil([&] { return !Checked(ControlAt(options, kChkEnter)); }));
    EXPECT_TRUE(WaitUntil([&] { return !Checked(ControlAt(options, kChkMouse)); }));
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("HotKeyEnter") == "0" && ReadRaw("HotKeyMouse") == "0"; }));
    CloseOptions(lumoff);
    TurnOffByButton(lumoff);
    PressKey(VK_RETURN);
    Click({100, 30});  // on the message
    SlowClick({500, 600});
    Pause(Duration(300));
    EXPECT_TRUE(lumoff.StatusScreenShown()) << "Enter and clicks are not wake inputs now";
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
}

TEST(Monitor, WakeOptionsAreStoredAndTheLastOneStaysChecked) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    ClickOption(lumoff, kChkEnter);
    ClickOption(lumoff, kChkSpace);
    ClickOption(lumoff, kChkMouse);
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("HotKeyMouse") == "1"; }));
    HWND options = OpenOptions(lumoff);
    EXPECT_TRUE(Checked(ControlAt(options, kChkMouse)));
    EXPECT_EQ(ReadRaw("HotKeyEnter"), "0");
    EXPECT_EQ(ReadRaw("HotKeySpace"), "0");
    EXPECT_EQ(ReadRaw("HotKeyMouse"), "1");
}

TEST(Monitor, WithoutTheMessageTheScreenIsPlainBlack) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    ClickOption(lumoff, kChkMsg);
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("OffMsg") == "0"; }));
    CloseOptions(lumoff);
    TurnOffByButton(lumoff);
    Pause(Duration(300));
    Screenshot shot = CaptureScreen();
    shot.SaveBmp(ArtifactPath(L"plain-black.bmp"));
    EXPECT_TRUE(shot.AllPixels(ScreenRect(), kBlack, 8));
}

TEST(Monitor, XpModeNeverShowsTheScreenAndKeepsSendingThePowerOff) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    ClickOption(lumoff, kRadXP);
    CloseOptions(lumoff);
    Click(lumoff.TurnOffPoint());
    Pause(Duration(1000));
    EXPECT_FALSE(lumoff.StatusScreenShown());
    EXPECT_GT(lumoff.PowerRequests().size(), 10u) << "re-sent on every watchdog tick";
    PressKey(VK_RETURN);
    Pause(Duration(300));
    size_t after_wake = lumoff.PowerRequests().size();
    Pause(Duration(500));
    EXPECT_EQ(lumoff.PowerRequests().size(), after_wake) << "the watchdog stopped";
}

TEST(HotKey, CtrlAIsRegisteredConfirmedStoredAndToggles) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    PickFromList(lumoff, kHkeyButton1, 1);  // "-" to "Ctrl"
    PickFromList(lumoff, kHkeyButton2, 3);  // "F10" to "A"
    HWND options = OpenOptions(lumoff);
    EXPECT_TRUE(WaitUntil([&] { return ComboSelectedText(ControlAt(options, kHkeyButton2)) == L"A"; }));
    EXPECT_EQ(ComboSelectedText(ControlAt(options, kHkeyButton1)), L"Ctrl");
    ClickOption(lumoff, kCmdHotKey);
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Hotkey registered!\r\nYou can now use Ctrl+A to turn off the monitor!");
    PressDialogButton(box, L"OK");
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_EQ(ReadRaw("HotKeySet"), "1");
    EXPECT_EQ(ReadRaw("HotKeyA"), "1");
    EXPECT_EQ(ReadRaw("HotKeyB"), "12");
    EXPECT_EQ(WindowText(ControlAt(options, kCmdHotKey)), L"Unset Hotkey");
    EXPECT_FALSE(IsWindowEnabled(ControlAt(options, kHkeyButton1)));
    CloseOptions(lumoff);

    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
}

// Another program that holds Ctrl+Alt+F12 until it is closed.
E2E_HELPER_PROGRAM(hold_ctrl_alt_f12) {
    HWND window = CreateWindowExW(0, L"STATIC", L"Holding Ctrl+Alt+F12", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!RegisterHotKey(window, 1, MOD_CONTROL | MOD_ALT, VK_F12)) return 3;
    SetWindowTextW(window, L"Holding Ctrl+Alt+F12 ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

TEST(HotKey, ACombinationHeldByAnotherProgramIsRefusedAndChangesNothing) {
    ASSERT_TRUE(SeedSettings());
    Process holder = LaunchHelper("hold_ctrl_alt_f12");
    ASSERT_TRUE(WaitForWindow({.title = L"Holding Ctrl+Alt+F12 ready"}));
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    PickFromList(lumoff, kHkeyButton1, 4);  // "-" to "Ctrl+Alt"
    PickFromList(lumoff, kHkeyButton2, 2);  // "F10" to "F12"
    HWND options = OpenOptions(lumoff);
    ASSERT_TRUE(WaitUntil([&] { return ComboSelectedText(ControlAt(options, kHkeyButton2)) == L"F12"; }));
    ASSERT_EQ(ComboSelectedText(ControlAt(options, kHkeyButton1)), L"Ctrl+Alt");
    ClickOption(lumoff, kCmdHotKey);
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Couldn't register hotkey :(\r\nTry something else...");
    PressDialogButton(box, L"OK");
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_EQ(ReadRaw("HotKeySet"), std::nullopt);
    EXPECT_EQ(WindowText(ControlAt(options, kCmdHotKey)), L"Set Global Hotkey");
    EXPECT_TRUE(IsWindowEnabled(ControlAt(options, kHkeyButton1)));
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
    EXPECT_EQ(WindowText(ControlAt(options, kCmdHotKey)), L"Unset Hotkey");
    EXPECT_EQ(ComboSelectedText(ControlAt(options, kHkeyButton1)), L"Ctrl");
    EXPECT_EQ(ComboSelectedText(ControlAt(options, kHkeyButton2)), L"A");
    CloseOptions(lumoff);
    PressKey('A', kControl);  // the stored pair, not the lists' own F10
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
    PressKey('A', kControl);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
}

}  // namespace
