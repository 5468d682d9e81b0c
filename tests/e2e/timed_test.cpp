// Timed actions in the real program: the time boxes' key filter and the countdown in the caption with the real
// timers and tick count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_options.h"

using namespace e2e;

// A damaged stored time comes back within its box's bound. A user types into the countdown's seconds box (letters
// never reach it; "3" and Tab give "03") and clicks Go: below fifteen seconds the real exe asks first, and after OK
// it counts down in the caption and turns the monitor off at zero.
TEST(Countdown, TypedLettersNeverReachABoxAndThreeSecondsAskFirstCountDownAndTurnTheMonitorOff) {
    ASSERT_TRUE(SeedSettings());
    ASSERT_TRUE(WriteRaw("ScheduleHr", "99"));  // damaged: no box takes more than 23 hours
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND caption = nullptr;  // the caption label: the one child of the main window that carries a text
    for (HWND child : Children(lumoff.WaitForMain()))
        if (!WindowText(child).empty()) caption = child;
    ASSERT_EQ(WindowText(caption), L"Lumoff");
    HWND options = OpenOptions(lumoff);
    ASSERT_TRUE(options);
    EXPECT_EQ(WindowText(ControlAt(options, "timHrs2")), L"23");
    HWND seconds = ControlAt(options, "timSec1");
    ClickOption(lumoff, "timSec1");
    ASSERT_TRUE(WaitUntil([&] { return FocusInThreadOf(options) == seconds; }));
    for (WORD key : {WORD(VK_END), WORD(VK_BACK), WORD(VK_BACK), WORD('A'), WORD('Z'), WORD(VK_OEM_MINUS),
                     WORD(VK_SPACE), WORD(VK_OEM_PERIOD)})
        PressKey(key);
    PressKey('C', kControl);
    PressKey('3');
    EXPECT_TRUE(WaitUntil([&] { return WindowText(seconds) == L"3"; })) << "only the digit arrived";
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(seconds) == L"03"; }));

    ClickOption(lumoff, "cmdTimed");
    HWND question = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :|");
    ASSERT_TRUE(question);
    EXPECT_EQ(DialogButtons(question), (std::vector<std::wstring>{L"OK", L"Cancel"}));
    const DWORD go_tick = GetTickCount();
    PressDialogButton(question, L"OK");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(ControlAt(options, "cmdTimed")) == L"Stop"; }));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(caption) == L"0:0:2"; }));
    ASSERT_TRUE(WaitUntil([&] { return !lumoff.PowerLog().empty(); }, Duration(10000)));
    EXPECT_GE(static_cast<LONG>(lumoff.PowerLog().front().tick - go_tick), 2500) << "not before the count ran out";
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(ControlAt(options, "cmdTimed")) == L"Go"; }));
    EXPECT_EQ(WindowText(caption), L"Lumoff");
}
