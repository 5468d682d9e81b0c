// The real lumoff.exe starting up: the caption window, the command-line switches, a second copy, and the caption's
// own handlers (About, menu, close).
#include <gtest/gtest.h>

#include "contract/registry_cases.h"
#include "e2e_lumoff.h"
#include "platform/win32/win32_services.h"
#include "settings/settings_store.h"

using namespace e2e;

namespace {

TEST(Startup, ShowsTheTopmostCaptionWindowWithoutTaskbarButton) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    HWND main = lumoff.WaitForMain();
    ASSERT_TRUE(main);
    RECT r = WindowRect(main);
    EXPECT_EQ(Width(r), 81);
    EXPECT_EQ(Height(r), 65);
    EXPECT_EQ(r.left, 0) << "nothing stored: the top-left corner";
    EXPECT_EQ(r.top, 0);
    EXPECT_TRUE(IsTopmost(main));
    EXPECT_FALSE(HasTaskbarButton(main));
    EXPECT_EQ(WindowText(main), L"Lumoff");
    EXPECT_TRUE(lumoff.process.IsRunning());
}

TEST(Startup, StartsAtTheStoredPosition) {
    ASSERT_TRUE(SeedSettings());
    WriteRaw("Left", "1500");
    WriteRaw("Top", "3000");
    Lumoff lumoff;
    HWND main = lumoff.WaitForMain();
    ASSERT_TRUE(main);
    RECT r = WindowRect(main);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 200);
}

// Wine itself needs about a second to start a process, so the program's own second is measured from the power-off
// it sends 200 ms after it begins to the end of the process.
TEST(Startup, OffSwitchEndsWithinASecondWithoutShowingAWindow) {
    ASSERT_TRUE(SeedSettings());
    auto started = std::chrono::steady_clock::now();
    Lumoff lumoff(L"/OFF");
    bool shown = false;
    while (lumoff.process.IsRunning() && std::chrono::steady_clock::now() - started < std::chrono::seconds(5)) {
        if (FindTopLevel({.pid = lumoff.process.Pid(), .visibleOnly = true})) shown = true;
        Pause(Duration(5));
    }
    DWORD ended = GetTickCount();
    EXPECT_FALSE(lumoff.process.IsRunning());
    EXPECT_FALSE(shown);
    auto log = lumoff.PowerLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].state, 2);
    EXPECT_LT(ended - log[0].tick, 1000u);
}

TEST(Startup, OffSwitchFollowedByABlankStartsNormally) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff(L"/off ");
    EXPECT_TRUE(lumoff.WaitForMain());
    EXPECT_TRUE(lumoff.PowerRequests().empty());
}

TEST(Startup, DoubleClickOnTheCaptionShowsTheAboutLines) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    HWND main = lumoff.WaitForMain();
    ASSERT_TRUE(main);
    ASSERT_TRUE(DoubleClick(lumoff.CaptionPoint()));
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box),
              L"Lumoff v1.1.2\r\nUse this simple tool to turn off your Laptop/PC monitor\r\n"
              L"or to shutdown, restart, hibernate or logoff your system");
    EXPECT_EQ(DialogButtons(box), std::vector<std::wstring>{L"OK"});
    PressDialogButton(box, L"OK");
    EXPECT_TRUE(WaitForWindowGone(box));
    EXPECT_EQ(WindowRect(main).left, 0) << "the double click did not move the window";
}

TEST(Startup, RightClickOnTheCaptionOpensTheMenuAndCloseEnds) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    ASSERT_TRUE(RightClick(lumoff.CaptionPoint()));
    HWND menu = WaitForPopupMenu(lumoff.process.Pid());
    ASSERT_TRUE(menu);
    ASSERT_TRUE(ChooseMenuItemByKeys(menu, 1));  // "About", "Close"
    EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
}

TEST(Startup, CloseButtonEndsTheProgram) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    ASSERT_TRUE(lumoff.WaitForMain());
    ASSERT_TRUE(Click(lumoff.ScreenPoint(72, 24)));
    EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
}

TEST(Startup, LeftDragOnTheCaptionMovesTheWindow) {
    ASSERT_TRUE(SeedSettings());
    Lumoff lumoff;
    HWND main = lumoff.WaitForMain();
    ASSERT_TRUE(main);
    ASSERT_TRUE(lumoff.DragCaption(200, 150));
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(main).left == 200 && WindowRect(main).top == 150; }))
        << WindowRect(main).left << "," << WindowRect(main).top;
    EXPECT_FALSE(FindMessageBox(lumoff.process.Pid(), L"Lumoff"));
}

TEST(Startup, SecondCopyAsksAndNoEndsItWhileTheFirstRuns) {
    ASSERT_TRUE(SeedSettings());
    Lumoff first;
    ASSERT_TRUE(first.WaitForMain());
    Lumoff second;
    HWND box = WaitForMessageBox(second.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Lumoff is already running!\r\nDo you want it shown? :)");
    EXPECT_EQ(DialogButtons(box), (std::vector<std::wstring>{L"Yes", L"No"}));
    PressDialogButton(box, L"No");
    EXPECT_TRUE(second.process.WaitForExit(Duration(3000)));
    EXPECT_TRUE(first.process.IsRunning());
    EXPECT_TRUE(IsVisible(first.WaitForMain()));
}

// The simulated registry of the unit tests is held to what the real one does with the same bytes.
TEST(RegistryContract, RealRegistryReadsEveryCaseAsTheSimulatedOneDoes) {
    lumoff::platform::win32::Win32Registry reg;
    ASSERT_TRUE(CreateKey(kLumoffKey));
    lumoff::platform::RegKey key = reg.Open(lumoff::settings::kSettingsKey);
    ASSERT_NE(key, 0u);
    for (const auto& c : lumoff::contract::ReadSettingValueCases()) {
        reg.SetValue(key, c.name, c.type, c.data.data(), static_cast<std::uint32_t>(c.data.size()));
        EXPECT_EQ(lumoff::settings::ReadSettingValue(reg, key, c.name), c.expected) << c.name;
    }
    reg.Close(key);
}

}  // namespace
