// The Options dialog's first show: the program sets its controls from the stored settings while the dialog is still
// hidden, and the dialog's windows are only made when it is first shown. What the start-up set must be what the
// controls show then: enabled states, read-only time boxes and texts. Every form's tooltip is made just after its
// first show too.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "e2e_options.h"

using namespace e2e;

namespace {

bool ReadOnly(HWND box) { return (GetWindowLongW(box, GWL_STYLE) & ES_READONLY) != 0; }

// Rests the pointer at `at` and waits for this copy's tooltip to show `tip`.
bool ShowsTip(Lumoff& lumoff, POINT at, const std::wstring& tip) {
    MoveCursor(at);
    return WaitUntil([&] {
        const WindowQuery tips{.className = L"tooltips_class32", .pid = lumoff.process.Pid(), .visibleOnly = true};
        for (HWND w : FindTopLevels(tips))
            if (WindowText(w) == tip) return true;
        return false;
    });
}

}  // namespace

TEST(FirstShow, WhatTheStartUpSetWhileHiddenIsWhatTheControlsShowAndEveryFormShowsItsTooltips) {
    ASSERT_TRUE(SeedSettings());
    // Each of these makes a handler change another control while the dialog is hidden: the idle box enables the
    // screensaver box, the "Other Action:" boxes enable their lists, the schedule locks its time boxes.
    for (const auto& [name, value] : {std::pair{"TimerIdle", "1"}, {"TimerOther", "1"}, {"Schedule", "1"},
                                      {"ScheduleOther", "1"}, {"ScheduleHr", "07"}})
        ASSERT_TRUE(WriteRaw(name, value)) << name;
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    EXPECT_TRUE(ShowsTip(lumoff, lumoff.SettingsPoint(), L"Settings"));
    HWND o = OpenOptions(lumoff);
    ASSERT_TRUE(o);
    for (const char* enabled : {"chkScr", "Combo1", "Combo2"})
        EXPECT_TRUE(IsWindowEnabled(ControlAt(o, enabled))) << enabled;
    for (const char* locked : {"timHrs2", "timMin2", "timSec2"}) EXPECT_TRUE(ReadOnly(ControlAt(o, locked))) << locked;
    EXPECT_EQ(WindowText(ControlAt(o, "timHrs2")), L"7");
    EXPECT_FALSE(ReadOnly(ControlAt(o, "timHrs1"))) << "the countdown's boxes stay editable";
    EXPECT_TRUE(ShowsTip(lumoff, Center(WindowRect(ControlAt(o, "chkSchedule"))), L"Click to enable a Schedule"));
    // A frame's tool is the frame's area of the dialog: here the end of its caption's line.
    const RECT frame = WindowRect(ControlAt(o, "frameSchedule"));
    EXPECT_TRUE(ShowsTip(lumoff, {frame.left + 130, frame.top + 6}, L"Schedule Lumoff"));
}
