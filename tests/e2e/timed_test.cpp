// Timed actions in the real program: the time boxes' key filter and correction, the countdown in the caption and its
// question, "Other Action:", the daily schedule and the schedule's action list.
#include <gtest/gtest.h>

#include <string>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Controls of the Options dialog by their place.
constexpr int kTimerFrame = 840;
constexpr int kScheduleFrame = 2640;
constexpr int kInFrame = 120 + 120;
constexpr TwipRect kTimHrs1{kInFrame, kTimerFrame + 360, 375, 285};
constexpr TwipRect kTimMin1{kInFrame + 480, kTimerFrame + 360, 375, 285};
constexpr TwipRect kTimSec1{kInFrame + 960, kTimerFrame + 360, 375, 285};
constexpr TwipRect kCmdTimed{120 + 1560, kTimerFrame + 360, 975, 285};
constexpr TwipRect kChkOther1{kInFrame, kTimerFrame + 1200, 1335, 375};
constexpr TwipRect kChkSchedule{kInFrame, kScheduleFrame + 240, 2415, 255};
constexpr TwipRect kTimHrs2{kInFrame, kScheduleFrame + 560, 375, 285};
constexpr TwipRect kTimMin2{kInFrame + 480, kScheduleFrame + 560, 375, 285};
constexpr TwipRect kTimSec2{kInFrame + 960, kScheduleFrame + 560, 375, 285};
constexpr TwipRect kChkOther2{kInFrame, kScheduleFrame + 840, 1335, 375};
constexpr TwipRect kCombo2{120 + 1440, kScheduleFrame + 870, 1095, 315};

constexpr wchar_t kShortCountdownText[] =
    L"Premission required to proceed - Time is less than 15 seconds!\r\nPress OK to continue, Cancel to cancel the action";

// Clicks a control as a user would: near the left end, on the box of a check box, inside a button or text box.
void ClickControl(HWND options, TwipRect r) { Click(PointOf(options, r, true)); }

std::wstring TextOf(HWND options, TwipRect r) { return WindowText(ControlAt(options, r)); }

// Puts text into a box the way pasting does: no typed characters, so no key filter.
void PasteInto(HWND options, TwipRect r, const wchar_t* text) {
    SendMessageW(ControlAt(options, r), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void SetCountdown(HWND options, const wchar_t* h, const wchar_t* m, const wchar_t* s) {
    PasteInto(options, kTimHrs1, h);
    PasteInto(options, kTimMin1, m);
    PasteInto(options, kTimSec1, s);
}

// The caption label of the main window: the one child that carries a text.
HWND CaptionLabel(Lumoff& lumoff) {
    for (HWND child : Children(lumoff.WaitForMain()))
        if (!WindowText(child).empty()) return child;
    return nullptr;
}

TEST(TimeBoxes, TypedLettersNeverReachABoxAndNineThenTabGivesZeroNine) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND options = OpenOptions(lumoff);
    ASSERT_TRUE(options);
    HWND hours = ControlAt(options, kTimHrs1);
    ASSERT_EQ(WindowText(hours), L"00");
    ClickControl(options, kTimHrs1);
    ASSERT_TRUE(WaitUntil([&] { return FocusInThreadOf(options) == hours; }));
    PressKey(VK_END);
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(hours).empty(); })) << "Backspace works";
    for (WORD key : {WORD('A'), WORD('Z'), WORD(VK_OEM_MINUS), WORD(VK_SPACE), WORD(VK_OEM_PERIOD)}) PressKey(key);
    PressKey('C', kControl);
    PressKey('9');
    EXPECT_TRUE(WaitUntil([&] { return WindowText(hours) == L"9"; })) << "only the digit arrived";
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(hours) == L"09"; }));
    EXPECT_EQ(FocusInThreadOf(options), ControlAt(options, kTimMin1));
}

TEST(Countdown, FifteenSecondsShowStopCountDownInTheCaptionAndTurnTheMonitorOffAtZero) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND caption = CaptionLabel(lumoff);
    ASSERT_EQ(WindowText(caption), L"Lumoff");
    HWND options = OpenOptions(lumoff);
    SetCountdown(options, L"00", L"00", L"15");
    const DWORD go_tick = GetTickCount();
    ClickControl(options, kCmdTimed);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(options, kCmdTimed) == L"Stop"; }));
    EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff :|")) << "15 s asks nothing";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(caption) == L"0:0:10"; }, Duration(10000)));
    EXPECT_TRUE(lumoff.PowerLog().empty());
    // Ten more seconds to count from here, with room for a busy machine.
    ASSERT_TRUE(WaitUntil([&] { return !lumoff.PowerLog().empty(); }, Duration(20000)));
    const auto off = lumoff.PowerLog().front();
    EXPECT_EQ(off.state, 2);
    EXPECT_GE(static_cast<LONG>(off.tick - go_tick), 14500) << "not before the count ran out";
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(options, kCmdTimed) == L"Go"; }));
    EXPECT_EQ(WindowText(caption), L"Lumoff");
    EXPECT_EQ(ReadRaw("TimerSc"), "15");
    EXPECT_EQ(ReadRaw("TimerHr"), "00");
}

TEST(Countdown, FiveSecondsAskAndCancelChangesNothing) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND caption = CaptionLabel(lumoff);
    HWND options = OpenOptions(lumoff);
    SetCountdown(options, L"00", L"00", L"5");
    ClickControl(options, kCmdTimed);
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :|");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), kShortCountdownText);
    EXPECT_EQ(DialogButtons(box), (std::vector<std::wstring>{L"OK", L"Cancel"}));
    ASSERT_TRUE(PressDialogButton(box, L"Cancel"));
    ASSERT_TRUE(WaitForWindowGone(box));
    Pause(Duration(6000));  // longer than the countdown would have taken
    EXPECT_EQ(TextOf(options, kCmdTimed), L"Go");
    EXPECT_EQ(WindowText(caption), L"Lumoff");
    EXPECT_TRUE(lumoff.PowerLog().empty());
    EXPECT_EQ(ReadRaw("TimerSc"), std::nullopt);
    EXPECT_EQ(TextOf(options, kTimSec1), L"5");
    EXPECT_FALSE(GetWindowLongPtrW(ControlAt(options, kTimSec1), GWL_STYLE) & ES_READONLY);
}

TEST(Countdown, OtherActionKeepsTheMonitorOnWhileTheCaptionGoesNegative) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND caption = CaptionLabel(lumoff);
    HWND options = OpenOptions(lumoff);
    ClickControl(options, kChkOther1);
    ASSERT_TRUE(WaitUntil([] { return ReadRaw("TimerOther") == "1"; }));
    SetCountdown(options, L"00", L"00", L"15");
    ClickControl(options, kCmdTimed);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(options, kCmdTimed) == L"Stop"; }));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(caption) == L"-1:-1:-2"; }, Duration(25000)));
    EXPECT_TRUE(lumoff.PowerLog().empty());
    EXPECT_FALSE(lumoff.StatusScreenShown());
    ClickControl(options, kCmdTimed);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(caption) == L"Lumoff"; }));
    EXPECT_EQ(TextOf(options, kCmdTimed), L"Go");
}

std::wstring TwoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

TEST(Schedule, ATimeAFewSecondsAheadTurnsTheMonitorOffAtThatSecondAndIsStored) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND options = OpenOptions(lumoff);
    // The set second, five seconds ahead of the local clock (not across midnight: the test waits a minute then).
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (now.wHour == 23 && now.wMinute == 59) {
        Pause(Duration(61000));
        GetLocalTime(&now);
    }
    const DWORD tick_now = GetTickCount();
    const int now_ms = ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
    const int set_second = now_ms / 1000 + 5;
    const DWORD set_tick = tick_now + static_cast<DWORD>(set_second * 1000 - now_ms);
    const std::wstring h = TwoDigits(set_second / 3600), m = TwoDigits(set_second / 60 % 60),
                       s = TwoDigits(set_second % 60);
    PasteInto(options, kTimHrs2, h.c_str());
    PasteInto(options, kTimMin2, m.c_str());
    PasteInto(options, kTimSec2, s.c_str());
    ClickControl(options, kChkSchedule);
    ASSERT_TRUE(WaitUntil([] { return ReadRaw("Schedule") == "1"; }));
    EXPECT_EQ(ReadRaw("ScheduleHr"), std::string(h.begin(), h.end()));
    EXPECT_EQ(ReadRaw("ScheduleMn"), std::string(m.begin(), m.end()));
    EXPECT_EQ(ReadRaw("ScheduleSc"), std::string(s.begin(), s.end()));
    EXPECT_TRUE(GetWindowLongPtrW(ControlAt(options, kTimHrs2), GWL_STYLE) & ES_READONLY) << "locked";

    ASSERT_TRUE(WaitUntil([&] { return !lumoff.PowerLog().empty(); }, Duration(15000)));
    const auto off = lumoff.PowerLog().front();
    EXPECT_EQ(off.state, 2);
    // Within the set second's housekeeping tick: not before it begins, and by the tick that follows it.
    EXPECT_GE(static_cast<LONG>(off.tick - set_tick), -20) << "not before the set second";
    EXPECT_LE(static_cast<LONG>(off.tick - set_tick), 2500) << "on the tick that reaches it";
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); }));
}

TEST(Schedule, PickingRestartInTheListStoresOne) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND options = OpenOptions(lumoff);
    ClickControl(options, kChkOther2);
    ASSERT_TRUE(WaitUntil([] { return ReadRaw("ScheduleOther") == "1"; }));
    HWND list = ControlAt(options, kCombo2);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(list) != FALSE; }));
    EXPECT_EQ(ComboSelectedText(list), L"Logoff");
    EXPECT_EQ(ReadRaw("ScheduleOtherSelect"), std::nullopt);
    ClickControl(options, kCombo2);
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("ScheduleOtherSelect") == "1"; }));
    EXPECT_EQ(ComboSelectedText(list), L"Restart");
}

}  // namespace
