// The real notification-area icon and its menu, and a second copy's requests through window titles across
// processes, and the position stored after a real drag.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "e2e_lumoff.h"

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Whether the program's icon is in the notification area (the first cell: no other program has one there), looked
// at with the cursor where no tooltip of the taskbar can cover it.
bool IconShown() {
    const POINT away{500, 300};
    if (CursorPosition().x != away.x || CursorPosition().y != away.y) MoveCursor(away);
    return TrayIconShown(0);
}

// Minimizes the running copy to the tray with its caption button and waits until it is there.
void MinimizeToTray(Lumoff& lumoff) {
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_TRUE(Click(lumoff.TrayPoint()));
    ASSERT_TRUE(WaitForHidden(caption));
    ASSERT_TRUE(WaitUntil(IconShown));
}

// A copy that starts in the tray: its caption window is hidden and its icon is shown.
void ExpectStartsInTheTray(Lumoff& lumoff) {
    HWND caption = lumoff.WaitForCaption();
    ASSERT_TRUE(caption);
    EXPECT_TRUE(WaitUntil(IconShown)) << "no icon";
    EXPECT_TRUE(WaitForHidden(caption)) << "the caption window is shown";
    EXPECT_TRUE(lumoff.process.IsRunning());
}

TEST(Tray, MinimizeShowsTheIconAndTheLeftButtonBringsTheWindowBack) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    MinimizeToTray(lumoff);
    EXPECT_TRUE(lumoff.PowerRequests().empty()) << "the monitor stays on";
    // Stands in for the shell: the icon's notification arrives as a mouse move whose x is the mouse message.
    HWND caption = lumoff.Caption();
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(caption, WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 0), SMTO_NORMAL, 5000, &result));
    EXPECT_TRUE(WaitForVisible(caption));
    EXPECT_TRUE(WaitUntil([] { return !IconShown(); })) << "the icon stays";
}

TEST(Tray, RightClickOnTheIconOpensTheMenuAndExitEndsSoTheNextStartIsInTheTray) {
    ASSERT_TRUE(SeedSettings());
    {
        Lumoff lumoff;
        MinimizeToTray(lumoff);
        std::optional<RECT> cell = TrayIconRect(0);
        ASSERT_TRUE(cell);
        RightClick(Center(*cell));
        HWND menu = WaitForPopupMenu(lumoff.process.Pid());
        ASSERT_TRUE(menu) << "no menu";
        ASSERT_TRUE(ChooseMenuItemByKeys(menu, 0));  // "Exit Lumoff"
        EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
        EXPECT_TRUE(WaitUntil([] { return !IconShown(); }, Duration(2000))) << "the icon stays";
        EXPECT_EQ(ReadRaw("Tray"), "1");
    }
    Lumoff again;
    ExpectStartsInTheTray(again);
}

// The stored place is the running copy's corner, also after the second copy has ended and a further tick: the
// second copy stores nothing, not its own hidden window's place.
TEST(Copies, SecondCopyAnsweredYesMovesTheFirstToTheCornerAndEndsLeavingTheCornerStored) {
    ASSERT_TRUE(SeedSettings());
    WriteRaw("Left", "4500");
    WriteRaw("Top", "3000");
    Lumoff first;
    HWND caption = first.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_EQ(WindowRect(caption).left, 300);
    ASSERT_EQ(WindowRect(caption).top, 200);
    Lumoff second;
    HWND box = WaitForMessageBox(second.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Lumoff is already running!\r\nDo you want it shown? :)");
    ASSERT_TRUE(PressDialogButton(box, L"Yes"));
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(caption).left == 0 && WindowRect(caption).top == 0; },
                          Duration(2000)));
    EXPECT_TRUE(IsVisible(caption));
    // The first copy retitled the second's window; the second sees its close title and ends.
    EXPECT_TRUE(second.process.WaitForExit(Duration(3000))) << "the second copy still runs";
    EXPECT_TRUE(first.process.IsRunning());
    Pause(Duration(1500));
    EXPECT_EQ(ReadRaw("Left").value_or("(missing)") + "," + ReadRaw("Top").value_or("(missing)"), "0,0");
}

// The second copy sleeps five seconds after its request and must still answer the first copy's retitling at once.
TEST(Copies, SecondCopyWithTheTraySwitchSendsTheFirstToTheTrayWithTheMonitorOff) {
    ASSERT_TRUE(SeedSettings());
    Lumoff first;
    HWND caption = first.WaitForMain();
    ASSERT_TRUE(caption);
    Lumoff second(L"/tray");
    // The request is made when the second copy titles its hidden window; from then on it waits 5 s and ends.
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND w : FindTopLevels({.pid = second.process.Pid()}))
                if (WindowText(w).find(L".exe +") != std::wstring::npos) return true;
            return false;
        },
        Duration(10000)));
    auto requested = Clock::now();
    std::optional<double> in_tray, ended;
    bool running_at_4s = false;
    while (SecondsSince(requested) < 7.5 && !(in_tray && ended)) {
        double now = SecondsSince(requested);
        if (!in_tray && first.StatusScreenShown() && !IsVisible(caption)) in_tray = now;
        if (second.process.IsRunning())
            running_at_4s = running_at_4s || now >= 4.0;
        else if (!ended)
            ended = now;
        Pause(Duration(15));
    }
    EXPECT_TRUE(running_at_4s) << "the second copy ended after " << ended.value_or(-1) << " s";
    EXPECT_TRUE(ended && *ended <= 7.0) << "the second copy still runs after 7 s";
    ASSERT_TRUE(in_tray) << "the first copy is not in the tray with the monitor off";
    EXPECT_LE(*in_tray, 2.0) << "the first copy went to the tray " << *in_tray << " s after the request";
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Tray") == "1"; }, Duration(500)));
    EXPECT_TRUE(second.PowerRequests().empty()) << "the requesting copy does not turn the monitor off itself";
}

TEST(Copies, ADragMovesTheWindowAndTheTickStoresThePositionOnce) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_TRUE(lumoff.DragCaption(200, 150));
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(caption).left == 200 && WindowRect(caption).top == 150; }))
        << WindowRect(caption).left << "," << WindowRect(caption).top;
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Left") == "3000" && ReadRaw("Top") == "2250"; }, Duration(2000)))
        << ReadRaw("Left").value_or("(missing)") << "," << ReadRaw("Top").value_or("(missing)");
    // Overwritten here, the value shows whether a later tick stores the unchanged position again.
    WriteRaw("Left", "x");
    Pause(Duration(2500));
    EXPECT_EQ(ReadRaw("Left"), "x");
}

}  // namespace
