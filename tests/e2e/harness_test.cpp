// Proves the end-to-end tools on programs whose behaviour is known: reference.exe (one black 81x65 window, nothing
// else) and small helper programs built into this driver that stand in for "another process" with a message box, a
// popup menu, a combo box, a hotkey or a window that reports the clicks it gets.
//
// If one of these fails, the harness (or Wine under it) is broken, not Lumoff.

#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr wchar_t kReferenceTitle[] = L"Reference";
constexpr int kReferenceWidth = 81;
constexpr int kReferenceHeight = 65;

// ---- Helper programs -----------------------------------------------------------------------------------------------

constexpr wchar_t kBoxTitle[] = L"Harness question";
constexpr wchar_t kBoxText[] = L"Keep the display off?\nIt stays off until you wake it.";

constexpr wchar_t kMenuOwnerTitle[] = L"Harness menu owner";
constexpr UINT kFirstItem = 101;
constexpr UINT kSecondItem = 102;
constexpr UINT kThirdItem = 103;
constexpr wchar_t kFirstCaption[] = L"&First";
constexpr wchar_t kSecondCaption[] = L"Second";
constexpr wchar_t kThirdCaption[] = L"T&hird \u2014 \u00e9t\u00e9";
constexpr UINT kGrayedItem = 104;
constexpr wchar_t kGrayedCaption[] = L"&Unavailable";

constexpr wchar_t kComboWindowTitle[] = L"Harness combo";
const std::vector<std::wstring> kComboItems = {L"Alpha", L"Beta", L"Gr\u00fc\u00dfe \u2713"};
constexpr int kComboSelection = 2;
constexpr RECT kComboRect = {20, 20, 220, 200};

constexpr wchar_t kClickWindowTitle[] = L"Harness clicks";
constexpr RECT kClickWindowRect = {300, 200, 500, 300};

constexpr wchar_t kHotkeyWindowTitle[] = L"Harness hotkey";
constexpr int kHotkeyId = 1;
constexpr UINT kHotkeyModifiers = MOD_CONTROL | MOD_ALT;
constexpr UINT kHotkeyKey = VK_F12;

// A plain top-level window of a class with this window procedure, still hidden so its children can be added first:
// tests find windows by being visible, and must then find them complete.
HWND CreateHelperWindow(const wchar_t* title, WNDPROC procedure, const RECT& rect, DWORD style = WS_POPUP) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"LumoffE2eHelper";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, title, style, rect.left, rect.top, Width(rect),
                                  Height(rect), nullptr, nullptr, windowClass.hInstance, nullptr);
    return window;
}

void Show(HWND window) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Shows a message box; exits with the id of the button pressed.
E2E_HELPER_PROGRAM(message_box) {
    return MessageBoxW(nullptr, kBoxText, kBoxTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
}

// Shows a popup menu as a tray program does; exits with the id of the item chosen (0 if none).
E2E_HELPER_PROGRAM(popup_menu) {
    HWND owner = CreateHelperWindow(kMenuOwnerTitle, QuitOnDestroy, {0, 0, 10, 10});
    Show(owner);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kFirstItem, kFirstCaption);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kSecondItem, kSecondCaption);
    AppendMenuW(menu, MF_STRING, kThirdItem, kThirdCaption);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kGrayedItem, kGrayedCaption);
    SetForegroundWindow(owner);
    int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 400, 300, 0, owner, nullptr);
    DestroyMenu(menu);
    DestroyWindow(owner);
    return chosen;
}

// A window with a drop-down list; exits when closed.
E2E_HELPER_PROGRAM(combo_box) {
    HWND window = CreateHelperWindow(kComboWindowTitle, QuitOnDestroy, {100, 100, 400, 300}, WS_OVERLAPPEDWINDOW);
    HWND combo = CreateWindowExW(0, L"ComboBox", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                                 kComboRect.left, kComboRect.top, Width(kComboRect), Height(kComboRect), window,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const std::wstring& item : kComboItems) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, kComboSelection, 0);
    Show(window);
    return RunMessageLoop();
}

// A window that writes every mouse button press it gets into its title, as "L(x,y)", "R(x,y)" or "D(x,y)" for a
// double click, in client coordinates.
LRESULT CALLBACK RecordClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const wchar_t* kind = nullptr;
    switch (message) {
        case WM_LBUTTONDOWN:
            kind = L"L";
            break;
        case WM_RBUTTONDOWN:
            kind = L"R";
            break;
        case WM_LBUTTONDBLCLK:
            kind = L"D";
            break;
        default:
            return QuitOnDestroy(window, message, wParam, lParam);
    }
    wchar_t title[512] = {};
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    std::wstring recorded = title;
    recorded += std::wstring(L" ") + kind + L"(" + std::to_wstring(static_cast<short>(LOWORD(lParam))) + L"," +
                std::to_wstring(static_cast<short>(HIWORD(lParam))) + L")";
    SetWindowTextW(window, recorded.c_str());
    return 0;
}

E2E_HELPER_PROGRAM(click_recorder) {
    Show(CreateHelperWindow(kClickWindowTitle, RecordClicks, kClickWindowRect));
    return RunMessageLoop();
}

// Registers a global hotkey and exits with 0 when it fires (3 if it could not be registered).
LRESULT CALLBACK QuitOnHotkey(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY && wParam == kHotkeyId) {
        DestroyWindow(window);
        return 0;
    }
    return QuitOnDestroy(window, message, wParam, lParam);
}

E2E_HELPER_PROGRAM(hotkey) {
    HWND window = CreateHelperWindow(kHotkeyWindowTitle, QuitOnHotkey, {0, 0, 10, 10});
    Show(window);
    if (!RegisterHotKey(window, kHotkeyId, kHotkeyModifiers | MOD_NOREPEAT, kHotkeyKey)) {
        return 3;
    }
    SetWindowTextW(window, L"Harness hotkey ready");
    return RunMessageLoop();
}

std::wstring ReadyHotkeyTitle() {
    return std::wstring(kHotkeyWindowTitle) + L" ready";
}

// A notification icon whose window writes every callback it gets into its title, as " <mouse message number>".
constexpr wchar_t kTrayWindowTitle[] = L"Harness tray";
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kTrayIconId = 1;

LRESULT CALLBACK RecordTrayCallbacks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallback) {
        wchar_t title[512] = {};
        GetWindowTextW(window, title, static_cast<int>(std::size(title)));
        std::wstring recorded = std::wstring(title) + L" " + std::to_wstring(static_cast<UINT>(lParam));
        SetWindowTextW(window, recorded.c_str());
        return 0;
    }
    return QuitOnDestroy(window, message, wParam, lParam);
}

E2E_HELPER_PROGRAM(tray_icon) {
    HWND window = CreateHelperWindow(kTrayWindowTitle, RecordTrayCallbacks, {0, 0, 10, 10});  // stays hidden
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayCallback;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wcscpy_s(icon.szTip, L"Harness tip");
    if (!Shell_NotifyIconW(NIM_ADD, &icon)) {
        return 3;
    }
    int exitCode = RunMessageLoop();
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return exitCode;
}

// ---- Tests ---------------------------------------------------------------------------------------------------------

class ReferenceProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(ReferenceExe())) << "missing reference program";
        reference_ = Launch(ReferenceExe());
        ASSERT_TRUE(reference_.Valid());
        window_ = WaitForWindow({.title = kReferenceTitle, .pid = reference_.Pid(), .visibleOnly = true});
        ASSERT_NE(window_, nullptr) << "reference window did not appear";
    }

    Process reference_;
    HWND window_ = nullptr;
};

TEST_F(ReferenceProgram, ShowsOneWindowOfItsSize) {
    EXPECT_EQ(Width(WindowRect(window_)), kReferenceWidth);
    EXPECT_EQ(Height(WindowRect(window_)), kReferenceHeight);
    EXPECT_EQ(Width(ClientRectOnScreen(window_)), kReferenceWidth);  // a popup has no frame
    EXPECT_EQ(WindowText(window_), kReferenceTitle);
    EXPECT_EQ(ClassName(window_), L"LumoffReference");
    EXPECT_FALSE(IsTopmost(window_));
    EXPECT_TRUE(HasTaskbarButton(window_));  // unowned and not a tool window
    EXPECT_EQ(FindTopLevels({.pid = reference_.Pid(), .visibleOnly = true}).size(), 1u);
}

TEST_F(ReferenceProgram, ScreenshotShowsItsBlackClientArea) {
    RECT client = ClientRectOnScreen(window_);
    // The window is painted shortly after it is shown.
    Screenshot shot;
    bool black = WaitUntil([&] {
        shot = CaptureScreen();
        return shot.AllPixels(client, kBlack);
    });
    shot.SaveBmp(ArtifactPath(L"reference.bmp"));
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(black) << "reference client area is not black; see reference.bmp";
    RECT screen = ScreenRect();
    EXPECT_EQ(Width(shot.Bounds()), Width(screen));
    // Next to the window is the desktop, which is not black.
    RECT beside{client.right + 5, client.top, client.right + 25, client.bottom};
    EXPECT_LT(shot.FractionOf(beside, kBlack), 0.5);

    Screenshot part = CaptureRect(client);
    EXPECT_TRUE(part.AllPixels(client, kBlack));
    EXPECT_EQ(part.PixelAt(Center(client)), kBlack);
}

TEST_F(ReferenceProgram, EndsWithExitCodeZeroOnWmClose) {
    ASSERT_TRUE(reference_.IsRunning());
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(reference_.WaitForExit());
    EXPECT_EQ(reference_.ExitCode(), 0u);
    EXPECT_TRUE(WaitForWindowGone(window_));
}

TEST_F(ReferenceProgram, KillEndsOnlyTheProgramItStarted) {
    Process second = Launch(ReferenceExe());
    ASSERT_TRUE(second.Valid());
    ASSERT_NE(WaitForWindow({.title = kReferenceTitle, .pid = second.Pid(), .visibleOnly = true}), nullptr);
    EXPECT_TRUE(second.Kill(42));
    EXPECT_EQ(second.ExitCode(), 42u);
    EXPECT_TRUE(reference_.IsRunning());
    EXPECT_TRUE(IsVisible(window_));
}

TEST_F(ReferenceProgram, InjectedClickLandsOnItsWindow) {
    POINT center = Center(WindowRect(window_));
    EXPECT_EQ(WindowAt(center), window_);
    EXPECT_EQ(ChildAt(window_, center), window_);  // no child controls

    LASTINPUTINFO before{sizeof(before), 0};
    GetLastInputInfo(&before);
    Pause(Duration(50));  // so the next input is at a later tick
    ASSERT_TRUE(Click(center));
    EXPECT_TRUE(WaitUntil([&] {
        POINT cursor = CursorPosition();
        return cursor.x == center.x && cursor.y == center.y;
    }));
    LASTINPUTINFO after{sizeof(after), 0};
    GetLastInputInfo(&after);
    EXPECT_GT(after.dwTime, before.dwTime) << "the injected input is not counted as user input";
}

TEST(Input, ClicksReachTheWindowUnderTheCursorInAnotherProcess) {
    Process recorder = LaunchHelper("click_recorder");
    HWND window = WaitForWindow({.title = kClickWindowTitle, .pid = recorder.Pid(), .visibleOnly = true});
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(Click({kClickWindowRect.left + 10, kClickWindowRect.top + 20}));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" L(10,20)"); }))
        << "got: " << testing::PrintToString(WindowText(window));
    ASSERT_TRUE(RightClick({kClickWindowRect.left + 30, kClickWindowRect.top + 40}));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" R(30,40)"); }))
        << "got: " << testing::PrintToString(WindowText(window));
    ASSERT_TRUE(DoubleClick({kClickWindowRect.left + 50, kClickWindowRect.top + 60}));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" L(50,60) D(50,60)"); }))
        << "got: " << testing::PrintToString(WindowText(window));
}

TEST(Input, InjectedKeysFireAnotherProcesssHotkey) {
    Process helper = LaunchHelper("hotkey");
    ASSERT_NE(WaitForWindow({.title = ReadyHotkeyTitle(), .pid = helper.Pid()}), nullptr);

    ASSERT_TRUE(PressKey(kHotkeyKey, kControl));  // not the hotkey: Alt is missing
    Pause(Duration(300));
    EXPECT_TRUE(helper.IsRunning());

    ASSERT_TRUE(PressKey(kHotkeyKey, kControl | kAlt));
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_EQ(helper.ExitCode(), 0u);
}

TEST(MessageBoxes, AreReadAndAnsweredAcrossProcesses) {
    Process helper = LaunchHelper("message_box");
    HWND box = WaitForMessageBox(helper.Pid(), kBoxTitle);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kBoxText);
    EXPECT_EQ(DialogButtons(box), (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
    EXPECT_FALSE(PressDialogButton(box, L"Retry"));

    ASSERT_TRUE(PressDialogButton(box, L"&No"));
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_EQ(helper.ExitCode(), static_cast<DWORD>(IDNO));
}

TEST(PopupMenus, ItemIsChosenByKeysAcrossProcesses) {
    Process helper = LaunchHelper("popup_menu");
    HWND menuWindow = WaitForPopupMenu(helper.Pid());
    ASSERT_NE(menuWindow, nullptr);
    HMENU menu = PopupMenuHandle(menuWindow);
    EXPECT_NE(menu, nullptr);
    // Another process's menu can be read on Windows but not under Wine, where menus live in their own process.
    if (std::optional<std::vector<std::wstring>> captions = MenuItemCaptions(menu)) {
        EXPECT_EQ(*captions,
                  (std::vector<std::wstring>{kFirstCaption, L"", kSecondCaption, kThirdCaption, kGrayedCaption}));
    }

    ASSERT_TRUE(ChooseMenuItemByKeys(menuWindow, 2));  // First, Second, Third: the separator is skipped
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_EQ(helper.ExitCode(), kThirdItem);
}

TEST(PopupMenus, ItemIsChosenByInjectedKeys) {
    Process helper = LaunchHelper("popup_menu");
    ASSERT_NE(WaitForPopupMenu(helper.Pid()), nullptr);

    ASSERT_TRUE(PressKey(VK_DOWN));
    ASSERT_TRUE(PressKey(VK_DOWN));
    ASSERT_TRUE(PressKey(VK_RETURN));
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_EQ(helper.ExitCode(), kSecondItem);
}

TEST(PopupMenus, ItemsOfAnotherProcessAreFoundOnScreenAndClicked) {
    Process helper = LaunchHelper("popup_menu");
    HWND menuWindow = WaitForPopupMenu(helper.Pid());
    ASSERT_NE(menuWindow, nullptr);
    RECT menuRect = WindowRect(menuWindow);
    CaptureRect(menuRect).SaveBmp(ArtifactPath(L"menu.bmp"));

    std::optional<MenuItemOnScreen> first = FindMenuItemOnScreen(menuWindow, kFirstCaption);
    std::optional<MenuItemOnScreen> second = FindMenuItemOnScreen(menuWindow, kSecondCaption);
    std::optional<MenuItemOnScreen> third = FindMenuItemOnScreen(menuWindow, kThirdCaption);
    ASSERT_TRUE(first && second && third) << "captions not found; see menu.bmp";
    EXPECT_EQ(first->look, MenuItemLook::kNormal);
    EXPECT_LT(first->textRect.top, second->textRect.top);
    EXPECT_LT(second->textRect.top, third->textRect.top);
    RECT inMenu{};
    EXPECT_TRUE(IntersectRect(&inMenu, &third->textRect, &menuRect) && EqualRect(&inMenu, &third->textRect));
    // Neither other words nor parts of a caption are found.
    EXPECT_FALSE(FindMenuItemOnScreen(menuWindow, L"Fourth"));
    std::optional<MenuItemOnScreen> grayed = FindMenuItemOnScreen(menuWindow, kGrayedCaption);
    ASSERT_TRUE(grayed.has_value()) << "see menu.bmp";
    EXPECT_EQ(grayed->look, MenuItemLook::kGrayed);
    EXPECT_FALSE(FindMenuItemOnScreen(menuWindow, L"Secon"));

    // Hovering highlights the item, and the highlighted caption is found too.
    ASSERT_TRUE(MoveCursor(Center(second->textRect)));
    EXPECT_TRUE(WaitUntil([&] {
        auto hovered = FindMenuItemOnScreen(menuWindow, kSecondCaption);
        return hovered && hovered->look == MenuItemLook::kHighlighted;
    })) << "see menu-hover.bmp";
    CaptureRect(menuRect).SaveBmp(ArtifactPath(L"menu-hover.bmp"));

    ASSERT_TRUE(ClickMenuItem(menuWindow, kThirdCaption));
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_EQ(helper.ExitCode(), kThirdItem);
}

TEST(PopupMenus, EscapeDismissesWithoutChoosing) {
    Process helper = LaunchHelper("popup_menu");
    HWND menuWindow = WaitForPopupMenu(helper.Pid());
    ASSERT_NE(menuWindow, nullptr);

    EXPECT_TRUE(DismissPopupMenu(menuWindow));
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_EQ(helper.ExitCode(), 0u);
}

TEST(PopupMenus, CaptionsOfThisProcesssMenuAreRead) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kFirstItem, kFirstCaption);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kThirdItem, kThirdCaption);
    std::optional<std::vector<std::wstring>> captions = MenuItemCaptions(menu);
    DestroyMenu(menu);
    ASSERT_TRUE(captions.has_value());
    EXPECT_EQ(*captions, (std::vector<std::wstring>{kFirstCaption, L"", kThirdCaption}));
}

TEST(ChildControls, ComboItemsAreReadWideAcrossProcesses) {
    Process helper = LaunchHelper("combo_box");
    HWND window = WaitForWindow({.title = kComboWindowTitle, .pid = helper.Pid(), .visibleOnly = true});
    ASSERT_NE(window, nullptr);
    HWND combo = FindChild(window, L"ComboBox");
    ASSERT_NE(combo, nullptr);

    EXPECT_EQ(ComboItems(combo), kComboItems);
    EXPECT_EQ(ComboSelection(combo), kComboSelection);
    EXPECT_EQ(ComboSelectedText(combo), kComboItems[kComboSelection]);

    RECT comboOnScreen = WindowRect(combo);
    POINT inCombo = {comboOnScreen.left + 5, comboOnScreen.top + 5};
    EXPECT_EQ(ChildAt(window, inCombo), combo);
    EXPECT_EQ(WindowAt(inCombo), combo);
    EXPECT_TRUE(HasTaskbarButton(window));
}

TEST(Tray, IconIsClickedOnWinesTaskbar) {
    ASSERT_FALSE(TrayIconShown(0));
    Process helper = LaunchHelper("tray_icon");
    HWND window = WaitForWindow({.title = kTrayWindowTitle, .pid = helper.Pid()});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([] { return TrayIconShown(0); }));
    EXPECT_FALSE(TrayIconShown(1));
    POINT icon = Center(*TrayIconRect(0));

    ASSERT_TRUE(Click(icon));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" 513 514"); }))
        << testing::PrintToString(WindowText(window));
    ASSERT_TRUE(MiddleClick(icon));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" 519 520"); }))
        << testing::PrintToString(WindowText(window));
    ASSERT_TRUE(RightClick(icon));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" 516 517"); }))
        << testing::PrintToString(WindowText(window));
    ASSERT_TRUE(DoubleClick(icon));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(window).ends_with(L" 513 514 515 514"); }))
        << testing::PrintToString(WindowText(window));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(helper.WaitForExit());
    EXPECT_TRUE(WaitUntil([] { return !TrayIconShown(0); })) << "the icon stays after it was deleted";
}

TEST(Registry, ValuesRoundTripAsRawBytes) {
    const std::wstring key = std::wstring(kLumoffKey) + L"\\HarnessCheck";
    ASSERT_TRUE(DeleteKey(key));
    EXPECT_FALSE(KeyExists(key));
    EXPECT_FALSE(ReadValue(key, L"Missing").has_value());

    ASSERT_TRUE(CreateKey(key));
    EXPECT_TRUE(KeyExists(key));
    ASSERT_TRUE(WriteDword(key, L"Number", 0x12345678));
    ASSERT_TRUE(WriteString(key, L"Text", L"Gr\u00fc\u00dfe"));
    const std::vector<std::uint8_t> shortDword = {0x01, 0x02};
    ASSERT_TRUE(WriteValue(key, L"ShortDword", REG_DWORD, shortDword));

    EXPECT_EQ(ReadDword(key, L"Number"), 0x12345678u);
    EXPECT_EQ(ReadString(key, L"Text"), L"Gr\u00fc\u00dfe");
    std::optional<RegistryValue> raw = ReadValue(key, L"ShortDword");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw->bytes, shortDword);
    EXPECT_FALSE(ReadDword(key, L"ShortDword").has_value());
    std::optional<RegistryValue> text = ReadValue(key, L"Text");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->bytes.size(), 6 * sizeof(wchar_t));  // five letters and the terminating zero

    std::vector<std::wstring> names = ValueNames(key);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Number", L"ShortDword", L"Text"}));
    EXPECT_TRUE(DeleteValue(key, L"Number"));
    EXPECT_FALSE(ReadValue(key, L"Number").has_value());

    EXPECT_TRUE(DeleteKey(key));
    EXPECT_FALSE(KeyExists(key));
}

}  // namespace
