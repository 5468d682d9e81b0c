// The real lumoff.exe starting up: the caption window and its mouse handlers, and the registry contract.
#include <gtest/gtest.h>

#include "forms/config.h"
#include "contract/registry_cases.h"
#include "e2e_lumoff.h"
#include "platform/win32/win32_services.h"
#include "settings/settings_store.h"
#include "lumoff_version.h"

using namespace e2e;

namespace {

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The caption window stays on top without a taskbar button; a double click shows the short About lines, the right
// button's menu the long ones, and the close button ends.
TEST(Startup, TheTopmostCaptionWindowShowsBothAboutBoxesAndItsCloseButtonEnds) {
    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", nullptr);
    Lumoff lumoff;
    HWND main = lumoff.WaitForMain();
    ASSERT_TRUE(main);
    EXPECT_EQ(WindowText(main), L"Lumoff");
    EXPECT_TRUE(IsTopmost(main));
    EXPECT_FALSE(HasTaskbarButton(main));
    ASSERT_TRUE(DoubleClick(lumoff.CaptionPoint()));
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box),
              L"Lumoff v" + Wide(LUMOFF_VERSION_TEXT) + L"\r\nUse this simple tool to turn off your Laptop/PC monitor\r\n"
              L"or to shutdown, restart, hibernate or logoff your system");
    PressDialogButton(box, L"OK");
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_EQ(WindowRect(main).left, 0) << "the double click did not move the window";

    ASSERT_TRUE(RightClick(lumoff.CaptionPoint()));
    HWND menu = WaitForPopupMenu(lumoff.process.Pid());
    ASSERT_TRUE(menu);
    ASSERT_TRUE(ChooseMenuItemByKeys(menu, 0));  // "About", "Close"
    box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :)");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box),
              L"Version " + Wide(LUMOFF_VERSION_TEXT) + L"\r\nPlease visit " + Wide(lumoff::kDefaultWebHost) + L" for more info about Lumoff\r\n"
              L"\r\n\r\nIn return you can donate at the website, or just send us an\r\nemail to " +
                  Wide(lumoff::kSupportAddress) + L" [ Please? :( ], letting\r\nus know we've helped you out today :D");
    bool icon = false;
    for (HWND child : Children(box))
        icon = icon || (IsWindowVisible(child) && (Style(child) & SS_TYPEMASK) == SS_ICON && ClassName(child) == L"Static");
    EXPECT_TRUE(icon) << "the information icon";
    PressDialogButton(box, L"OK");
    ASSERT_TRUE(WaitForWindowGone(box));

    ASSERT_TRUE(Click(lumoff.ScreenPoint(72, 24)));
    EXPECT_TRUE(lumoff.process.WaitForExit(Duration(3000)));
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
