// Timed actions in the real program: the time boxes' key filter and the countdown in the caption with the real
// timers and clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Puts text into a box the way pasting does: no typed characters, so no key filter.
void PasteInto(HWND options, const char* box, const std::wstring& text) {
    SendMessageW(ControlAt(options, box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

TEST(TimeBoxes, TypedLettersNeverReachABoxAndNineThenTabGivesZeroNine) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND options = OpenOptions(lumoff);
    ASSERT_TRUE(options);
    HWND hours = ControlAt(options, "timHrs1");
    ClickOption(lumoff, "timHrs1");
    ASSERT_TRUE(WaitUntil([&] { return FocusInThreadOf(options) == hours; }));
    PressKey(VK_END);
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    for (WORD key : {WORD('A'), WORD('Z'), WORD(VK_OEM_MINUS), WORD(VK_SPACE), WORD(VK_OEM_PERIOD)}) PressKey(key);
    PressKey('C', kControl);
    PressKey('9');
    EXPECT_TRUE(WaitUntil([&] { return WindowText(hours) == L"9"; })) << "only the digit arrived";
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(hours) == L"09"; }));
    EXPECT_EQ(FocusInThreadOf(options), ControlAt(options, "timMin1"));
}

// Below fifteen seconds the real exe asks first; after OK it counts down in the caption with the real timers and tick
// count and turns the monitor off at zero.
TEST(Countdown, ThreeSecondsAskFirstCountDownInTheCaptionAndTurnTheMonitorOffAtZero) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND caption = nullptr;  // the caption label: the one child of the main window that carries a text
    for (HWND child : Children(lumoff.WaitForMain()))
        if (!WindowText(child).empty()) caption = child;
    ASSERT_EQ(WindowText(caption), L"Lumoff");
    HWND options = OpenOptions(lumoff);
    PasteInto(options, "timSec1", L"3");
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

}  // namespace
