// The Options dialog's first show: the program sets its controls from the stored settings while the dialog is still
// hidden, and the dialog's windows are only made when it is first shown. What the start-up set must be what the
// controls show then: enabled states, read-only time boxes, and the tab order that follows them. Every form's tooltip
// is made just after its first show too.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Controls of the Options dialog by their place.
constexpr int kFrameLeft = 120;
constexpr int kTimerFrame = 840;
constexpr int kScheduleFrame = 2640;
constexpr TwipRect At(int frame_top, int left, int top, int width, int height) {
    return {kFrameLeft + left, frame_top + top, width, height};
}
constexpr TwipRect kRadStartOff = At(120, 1440, 240, 975, 255);
constexpr TwipRect kTimHrs1 = At(kTimerFrame, 120, 360, 375, 285);
constexpr TwipRect kChkIdle = At(kTimerFrame, 120, 720, 2415, 255);
constexpr TwipRect kChkScr = At(kTimerFrame, 840, 960, 1695, 255);
constexpr TwipRect kCombo1 = At(kTimerFrame, 1440, 1200, 1095, 315);
constexpr TwipRect kChkSchedule = At(kScheduleFrame, 120, 240, 2415, 255);
constexpr TwipRect kTimHrs2 = At(kScheduleFrame, 120, 560, 375, 285);
constexpr TwipRect kTimMin2 = At(kScheduleFrame, 600, 560, 375, 285);
constexpr TwipRect kTimSec2 = At(kScheduleFrame, 1080, 560, 375, 285);
constexpr TwipRect kCombo2 = At(kScheduleFrame, 1440, 870, 1095, 315);

bool ReadOnly(HWND box) { return (GetWindowLongW(box, GWL_STYLE) & ES_READONLY) != 0; }

// The focused window of the dialog's thread, for a failure's message.
std::wstring FocusOf(HWND dialog) {
    HWND focus = FocusInThreadOf(dialog);
    return focus ? ClassName(focus) + L" \"" + WindowText(focus) + L"\"" : L"no focus";
}

// Rests the pointer at `at` and waits for this copy's tooltip to show `tip`.
::testing::AssertionResult ShowsTip(Lumoff& lumoff, POINT at, const std::wstring& tip) {
    MoveCursor(at);
    std::vector<std::wstring> seen;
    bool shown = WaitUntil([&] {
        seen.clear();
        for (HWND w : FindTopLevels({.className = L"tooltips_class32", .pid = lumoff.process.Pid(), .visibleOnly = true}))
            seen.push_back(WindowText(w));
        return std::find(seen.begin(), seen.end(), tip) != seen.end();
    });
    if (shown) return ::testing::AssertionSuccess();
    std::string texts;
    for (const std::wstring& t : seen) texts += " \"" + std::string(t.begin(), t.end()) + "\"";
    return ::testing::AssertionFailure() << "tooltips shown:" << (texts.empty() ? " none" : texts);
}

}  // namespace

TEST(FirstShow, TheCaptionWindowAndTheDialogShowTheirTooltips) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    EXPECT_TRUE(ShowsTip(lumoff, lumoff.SettingsPoint(), L"Settings"));
    HWND o = OpenOptions(lumoff);
    ASSERT_TRUE(o);
    EXPECT_TRUE(ShowsTip(lumoff, PointOf(o, kChkSchedule), L"Click to enable a Schedule"));
    // A frame's tool is the frame's area of the dialog: here the end of its caption's line.
    EXPECT_TRUE(ShowsTip(lumoff, PointOf(o, {kFrameLeft + 1800, kScheduleFrame + 30, 300, 120}), L"Schedule Lumoff"));
}

TEST(FirstShow, WhatTheStartUpSetWhileHiddenIsWhatTheControlsShowAndTabFollows) {
    ASSERT_TRUE(SeedSettings());
    // Each of these makes a handler change another control while the dialog is hidden: the idle box enables the
    // screensaver box, the "Other Action:" boxes enable their lists, the schedule locks its time boxes.
    for (const auto& [name, value] : {std::pair{"TimerIdle", "1"}, {"TimerOther", "1"}, {"Schedule", "1"},
                                      {"ScheduleOther", "1"}, {"ScheduleHr", "07"}})
        ASSERT_TRUE(WriteRaw(name, value)) << name;
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    HWND o = OpenOptions(lumoff);
    ASSERT_TRUE(o);

    EXPECT_TRUE(Checked(ControlAt(o, kChkIdle)));
    EXPECT_TRUE(Checked(ControlAt(o, kChkSchedule)));
    for (TwipRect enabled : {kChkScr, kCombo1, kCombo2})
        EXPECT_TRUE(IsWindowEnabled(ControlAt(o, enabled))) << enabled.left << "," << enabled.top;
    for (TwipRect locked : {kTimHrs2, kTimMin2, kTimSec2})
        EXPECT_TRUE(ReadOnly(ControlAt(o, locked))) << locked.left << "," << locked.top;
    EXPECT_EQ(WindowText(ControlAt(o, kTimHrs2)), L"7");
    EXPECT_FALSE(ReadOnly(ControlAt(o, kTimHrs1))) << "the countdown's boxes stay editable";

    // The first stop has the focus. The screensaver box, next to last in tab order, is a stop now that it is
    // enabled: two steps back from the first, one past the message box.
    HWND first = ControlAt(o, kRadStartOff);
    HWND screensaver = ControlAt(o, kChkScr);
    ASSERT_TRUE(WaitUntil([&] { return FocusInThreadOf(o) == first; })) << FocusOf(o);
    ASSERT_TRUE(PressKey(VK_TAB, kShift));
    ASSERT_TRUE(WaitUntil([&] { return FocusInThreadOf(o) != first; }, Duration(2000))) << FocusOf(o);
    ASSERT_TRUE(PressKey(VK_TAB, kShift));
    EXPECT_TRUE(WaitUntil([&] { return FocusInThreadOf(o) == screensaver; }, Duration(2000))) << FocusOf(o);
    for (int step = 0; step < 2; ++step) ASSERT_TRUE(PressKey(VK_TAB));
    EXPECT_TRUE(WaitUntil([&] { return FocusInThreadOf(o) == first; }, Duration(2000))) << FocusOf(o);
}
