// The notification-area icon and its menu, and the housekeeping tick: a second copy's show and tray requests, the
// close title by which a copy is told to end, and the window position stored after a move.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "e2e_lumoff.h"

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

// The icon's mouse notifications arrive as mouse moves whose x is the mouse message number.
constexpr int kLeftButtonUp = 514;
constexpr int kMiddleButtonUp = 520;

// Stands in for the shell: the notification `message` for the icon, sent to the caption window as the shell does.
bool Notify(HWND caption, int message) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(caption, WM_MOUSEMOVE, 0, MAKELPARAM(message, 0), SMTO_NORMAL, 5000, &result) != 0;
}

// Whether the program's icon is in the notification area (the first cell: no other program has one there).
bool IconShown() { return TrayIconShown(0); }

// Puts the cursor where no tooltip of the taskbar can cover the icon's cell when it is looked at.
void CursorAway() { MoveCursor({500, 300}); }

// The title a copy of this lumoff.exe gives its hidden window for `request` (".exe +TRAY" and so on).
std::wstring RequestTitle(std::wstring_view request) {
    std::wstring exe = LumoffExe();
    size_t slash = exe.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? exe : exe.substr(slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    return name + std::wstring(request);
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What is left of `after` since `start`, never less than nothing.
Duration Remaining(Clock::time_point start, Duration after) {
    auto left = std::chrono::duration_cast<Duration>(start + after - Clock::now());
    return left.count() > 0 ? left : Duration(0);
}

// The monitor was turned off: power-off requests (the watchdog repeats them), nothing else.
bool PowersOff(const Lumoff& lumoff) {
    std::vector<int> requests = lumoff.PowerRequests();
    return !requests.empty() && std::all_of(requests.begin(), requests.end(), [](int state) { return state == 2; });
}

// Minimizes the running copy to the tray with its caption button and waits until it is there.
void MinimizeToTray(Lumoff& lumoff) {
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_TRUE(Click(lumoff.TrayPoint()));
    ASSERT_TRUE(WaitForHidden(caption));
    CursorAway();
    ASSERT_TRUE(WaitUntil(IconShown));
}

// Opens the tray menu with a real right click on the icon.
HWND OpenTrayMenu(Lumoff& lumoff) {
    std::optional<RECT> cell = TrayIconRect(0);
    if (!cell) return nullptr;
    RightClick(Center(*cell));
    return WaitForPopupMenu(lumoff.process.Pid());
}

// A copy that starts in the tray: its caption window is hidden and its icon is shown.
void ExpectStartsInTheTray(Lumoff& lumoff) {
    HWND caption = lumoff.WaitForCaption();
    ASSERT_TRUE(caption);
    CursorAway();
    EXPECT_TRUE(WaitUntil(IconShown)) << "no icon";
    EXPECT_TRUE(WaitForHidden(caption)) << "the caption window is shown";
    Pause(Duration(300));
    EXPECT_FALSE(IsVisible(caption));
    EXPECT_TRUE(lumoff.process.IsRunning());
}

TEST(Tray, MinimizeHidesTheWindowShowsTheIconAndTheNextStartIsInTheTray) {
    ASSERT_TRUE(SeedSettings());
    {
        Lumoff lumoff;
        ASSERT_TRUE(lumoff.WaitForMain());
        EXPECT_FALSE(IconShown());
        MinimizeToTray(lumoff);
        EXPECT_TRUE(WaitUntil([] { return ReadRaw("Tray") == "1"; })) << ReadRaw("Tray").value_or("(missing)");
        EXPECT_FALSE(lumoff.StatusScreenShown()) << "the monitor stays on";
        EXPECT_TRUE(lumoff.PowerRequests().empty());
        ASSERT_TRUE(lumoff.process.Kill());
    }
    // A killed copy cannot delete its icon, and the shell may keep showing it: wait until it has dropped it.
    CursorAway();
    ASSERT_TRUE(WaitUntil([] { return !IconShown(); }, Duration(10000))) << "the killed copy's icon stays";
    Lumoff again;
    ExpectStartsInTheTray(again);
    EXPECT_EQ(ReadRaw("Tray"), "1");
    EXPECT_TRUE(again.PowerRequests().empty()) << "a start in the tray leaves the monitor on";
}

TEST(Tray, LeftButtonUpBringsTheWindowBackAndOtherNotificationsDoNothing) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    MinimizeToTray(lumoff);
    HWND caption = lumoff.Caption();
    ASSERT_TRUE(caption);
    // Moves, presses, double clicks and the wheel: everything but the three button releases.
    for (int message : {512, 513, 515, 516, 518, 519, 521, 522}) {
        SCOPED_TRACE(message);
        ASSERT_TRUE(Notify(caption, message));
    }
    Pause(Duration(300));
    EXPECT_FALSE(IsVisible(caption));
    EXPECT_TRUE(IconShown());
    EXPECT_EQ(ReadRaw("Tray"), "1");
    EXPECT_FALSE(lumoff.StatusScreenShown());
    EXPECT_FALSE(FindPopupMenu(lumoff.process.Pid()));

    ASSERT_TRUE(Notify(caption, kLeftButtonUp));
    EXPECT_TRUE(WaitForVisible(caption));
    EXPECT_TRUE(WaitUntil([] { return !IconShown(); })) << "the icon stays";
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Tray") == "0"; })) << ReadRaw("Tray").value_or("(missing)");
    RECT r = WindowRect(caption);
    EXPECT_EQ(r.left, 0) << "back where it was";
    EXPECT_EQ(r.top, 0);
}

TEST(Tray, MiddleButtonUpTurnsTheMonitorOffAndStaysInTheTray) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    MinimizeToTray(lumoff);
    HWND caption = lumoff.Caption();
    ASSERT_TRUE(caption);
    ASSERT_TRUE(Notify(caption, kMiddleButtonUp));
    EXPECT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); })) << "no status screen";
    EXPECT_TRUE(WaitUntil([&] { return PowersOff(lumoff); }));
    Pause(Duration(300));
    EXPECT_FALSE(IsVisible(caption));
    EXPECT_EQ(ReadRaw("Tray"), "1");

    // Woken up, it is still in the tray: the status screen covered the taskbar, so the icon is looked at now.
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !lumoff.StatusScreenShown(); }));
    CursorAway();
    EXPECT_TRUE(WaitUntil(IconShown));
    EXPECT_FALSE(IsVisible(caption));
}

TEST(Tray, RightClickOnTheIconOpensTheMenuAndExitEndsSoTheNextStartIsInTheTray) {
    ASSERT_TRUE(SeedSettings());
    {
        Lumoff lumoff;
        MinimizeToTray(lumoff);
        HWND menu = OpenTrayMenu(lumoff);
        ASSERT_TRUE(menu) << "no menu";
        ASSERT_TRUE(ChooseMenuItemByKeys(menu, 0));  // "Exit Lumoff"
        EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
        CursorAway();
        EXPECT_TRUE(WaitUntil([] { return !IconShown(); }, Duration(2000))) << "the icon stays";
        EXPECT_EQ(ReadRaw("Tray"), "1");
    }
    Lumoff again;
    ExpectStartsInTheTray(again);
}

TEST(Tray, ShowLumoffFromTheMenuBringsTheWindowBack) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    MinimizeToTray(lumoff);
    HWND caption = lumoff.Caption();
    HWND menu = OpenTrayMenu(lumoff);
    ASSERT_TRUE(menu) << "no menu";
    ASSERT_TRUE(ChooseMenuItemByKeys(menu, 1));  // "Show Lumoff": the keys skip the separator
    EXPECT_TRUE(WaitForVisible(caption));
    CursorAway();
    EXPECT_TRUE(WaitUntil([] { return !IconShown(); })) << "the icon stays";
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Tray") == "0"; })) << ReadRaw("Tray").value_or("(missing)");
    EXPECT_TRUE(lumoff.process.IsRunning());
}

TEST(Copies, SecondCopyAnsweredYesMovesTheFirstToTheCornerAndEnds) {
    ASSERT_TRUE(SeedSettings());
    WriteRaw("Left", "1500");
    WriteRaw("Top", "1500");
    Lumoff first;
    HWND caption = first.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_EQ(WindowRect(caption).left, 100);
    ASSERT_EQ(WindowRect(caption).top, 100);

    Lumoff second;
    HWND box = WaitForMessageBox(second.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    ASSERT_TRUE(PressDialogButton(box, L"Yes"));
    auto answered = Clock::now();
    EXPECT_TRUE(
        WaitUntil([&] { return WindowRect(caption).left == 0 && WindowRect(caption).top == 0; }, Duration(2000)))
        << WindowRect(caption).left << "," << WindowRect(caption).top << " after " << SecondsSince(answered) << " s";
    EXPECT_TRUE(IsVisible(caption));
    EXPECT_TRUE(first.process.IsRunning());

    EXPECT_TRUE(second.process.WaitForExit(Remaining(answered, Duration(3000)))) << "the second copy still runs";
}

TEST(Copies, SecondCopyAnsweredYesLeavesTheFirstInTheTray) {
    ASSERT_TRUE(SeedSettings());
    Lumoff first;
    MinimizeToTray(first);
    HWND caption = first.Caption();
    Lumoff second;
    HWND box = WaitForMessageBox(second.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    ASSERT_TRUE(PressDialogButton(box, L"Yes"));
    auto answered = Clock::now();
    Pause(Duration(2500));  // more than two ticks
    EXPECT_FALSE(IsVisible(caption));
    CursorAway();
    EXPECT_TRUE(IconShown());
    EXPECT_TRUE(first.process.IsRunning());

    EXPECT_TRUE(second.process.WaitForExit(Remaining(answered, Duration(3000)))) << "the second copy still runs";
}

TEST(Copies, SecondCopyWithTheTraySwitchSendsTheFirstToTheTrayWithTheMonitorOff) {
    ASSERT_TRUE(SeedSettings());
    Lumoff first;
    HWND caption = first.WaitForMain();
    ASSERT_TRUE(caption);
    CursorAway();

    Lumoff second(L"/tray");
    // The request is made when the second copy titles its hidden window; from then on it waits 5 s and ends.
    const std::wstring tray_request = RequestTitle(L".exe +TRAY");
    const std::wstring close_title = RequestTitle(L".exe +CLOSE");
    ASSERT_TRUE(WaitUntil(
        [&] {
            return FindTopLevel({.title = tray_request, .pid = second.process.Pid()}) ||
                   FindTopLevel({.title = close_title, .pid = second.process.Pid()});
        },
        Duration(10000)));
    auto requested = Clock::now();

    // Both copies watched together: when the first is in the tray with the monitor off, when the second ends.
    std::optional<double> in_tray;
    std::optional<double> ended;
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
    EXPECT_TRUE(WaitUntil([&] { return PowersOff(first); }, Duration(500)));
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Tray") == "1"; }, Duration(500)));
    EXPECT_TRUE(second.PowerRequests().empty()) << "the requesting copy does not turn the monitor off itself";
    // The status screen covers the taskbar: wake the monitor to see the icon.
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !first.StatusScreenShown(); }));
    CursorAway();
    EXPECT_TRUE(WaitUntil(IconShown));
    EXPECT_FALSE(IsVisible(caption));
    EXPECT_TRUE(first.process.IsRunning());

    EXPECT_LE(*in_tray, 2.0) << "the first copy went to the tray " << *in_tray << " s after the request";
}

// The housekeeping tick also stores the position of a window that was moved, once.
TEST(Copies, TickStoresAMovedWindowsPositionOnce) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    Pause(Duration(1300));
    EXPECT_EQ(ReadRaw("Top"), std::nullopt) << "a window left in place stores nothing";
    EXPECT_EQ(ReadRaw("Left"), std::nullopt);

    ASSERT_TRUE(lumoff.DragCaption(200, 150));
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(caption).left == 200 && WindowRect(caption).top == 150; }))
        << WindowRect(caption).left << "," << WindowRect(caption).top;

    // In twips: 15 to the pixel.
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Left") == "3000" && ReadRaw("Top") == "2250"; }, Duration(2000)))
        << ReadRaw("Left").value_or("(missing)") << "," << ReadRaw("Top").value_or("(missing)");

    // Overwritten here, the values show whether a later tick stores the unchanged position again.
    WriteRaw("Left", "x");
    WriteRaw("Top", "y");
    Pause(Duration(2500));
    EXPECT_EQ(ReadRaw("Left"), "x");
    EXPECT_EQ(ReadRaw("Top"), "y");
}

TEST(Copies, ATitleEndingInCloseEndsTheProgram) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_TRUE(SetWindowTextW(caption, L"Lumoff.exe +close"));
    Pause(Duration(2500));
    EXPECT_TRUE(lumoff.process.IsRunning()) << "\"+close\" is not the close title";

    ASSERT_TRUE(SetWindowTextW(caption, L"Lumoff.exe +CLOSE"));
    auto retitled = Clock::now();
    EXPECT_TRUE(lumoff.process.WaitForExit(Duration(2000))) << "still running after " << SecondsSince(retitled) << " s";
}

}  // namespace
