// The position stored after a real drag, later copies' requests through window titles across processes, and the real
// notification-area icon and its menu, in one scenario.
#include <gtest/gtest.h>

#include "e2e_lumoff.h"

using namespace e2e;

namespace {

// Whether the program's icon is in the notification area (the first cell: no other program has one there), looked
// at with the cursor where no tooltip of the taskbar can cover it.
bool IconShown() {
    const POINT away{500, 300};
    if (CursorPosition().x != away.x || CursorPosition().y != away.y) MoveCursor(away);
    return TrayIconShown(0);
}

// A dragged copy stores its place, then answers two later copies through their window titles: a plain start asks,
// and answered Yes shows the first in the corner, which stays stored, and ends; one with the tray switch titles its hidden window with its
// request and sleeps, and the first answers it at once all the same, going to the tray with the monitor off. There a
// left button release on its icon brings the window back and removes the icon, and Exit in the right button's menu of
// the icon ends the copy and removes the icon.
TEST(Copies, ADraggedCopyAnswersLaterCopiesAndInTheTrayItsIconBringsItBackAndEndsIt) {
    ASSERT_TRUE(SeedSettings());
    Lumoff first;
    HWND caption = first.WaitForMain();
    ASSERT_TRUE(caption);
    ASSERT_TRUE(first.DragCaption(200, 150));
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(caption).left == 200 && WindowRect(caption).top == 150; }));
    EXPECT_TRUE(WaitUntil([] { return ReadRaw("Left") == "3000" && ReadRaw("Top") == "2250"; }, Duration(2000)))
        << ReadRaw("Left").value_or("(missing)") << "," << ReadRaw("Top").value_or("(missing)");

    Lumoff second;
    HWND box = WaitForMessageBox(second.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Lumoff is already running!\r\nDo you want it shown? :)");
    ASSERT_TRUE(PressDialogButton(box, L"Yes"));
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(caption).left == 0 && WindowRect(caption).top == 0; }));
    EXPECT_TRUE(second.process.WaitForExit(Duration(3000))) << "the second copy still runs";
    // The second copy stored nothing of its own hidden window's place: the corner stays stored.
    EXPECT_EQ(ReadRaw("Left").value_or("") + "," + ReadRaw("Top").value_or(""), "0,0");

    Lumoff third(L"/tray");
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND w : FindTopLevels({.pid = third.process.Pid()}))
                if (WindowText(w).find(L".exe +") != std::wstring::npos) return true;
            return false;
        },
        Duration(10000)));
    EXPECT_TRUE(WaitUntil([&] { return first.StatusScreenShown() && !IsVisible(caption); }, Duration(2000)))
        << "the first copy is not in the tray with the monitor off";
    EXPECT_TRUE(third.process.WaitForExit(Duration(7000))) << "the third copy still runs";

    ASSERT_TRUE(PressKey(VK_RETURN));
    ASSERT_TRUE(WaitUntil([&] { return !first.StatusScreenShown(); }));
    ASSERT_TRUE(WaitUntil(IconShown)) << "no icon";
    // Stands in for the shell: the icon's notification arrives as a mouse move whose x is the mouse message.
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(caption, WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 0), SMTO_NORMAL, 5000, &result));
    EXPECT_TRUE(WaitForVisible(caption));
    EXPECT_TRUE(WaitUntil([] { return !IconShown(); })) << "the icon stays";

    ASSERT_TRUE(Click(first.TrayPoint()));
    std::optional<RECT> cell;
    ASSERT_TRUE(WaitUntil([&] { return IconShown() && (cell = TrayIconRect(0)); })) << "no icon";
    RightClick(Center(*cell));
    HWND menu = WaitForPopupMenu(first.process.Pid());
    ASSERT_TRUE(menu) << "no menu";
    ASSERT_TRUE(ChooseMenuItemByKeys(menu, 0));  // "Exit Lumoff"
    EXPECT_TRUE(first.process.WaitForExit(Duration(3000)));
    EXPECT_TRUE(WaitUntil([] { return !IconShown(); }, Duration(2000))) << "the icon stays";
}

}  // namespace
