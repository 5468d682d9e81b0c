// The real Options dialog: shown and hidden from the caption window, its window, every control at its designed place
// with its caption, the lists with their entries, the About box of the caption's menu, and the keyboard's tab order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/config.h"
#include "e2e_lumoff.h"

using namespace e2e;

namespace {

// ---- The dialog as designed ----------------------------------------------------------------------------------------

constexpr int kTwipsPerPixel = 15;  // at 96 dpi
constexpr int kClientWidthTwips = 2895;
constexpr int kClientHeightTwips = 8535;

enum class Kind { kFrame, kOption, kCheck, kCommand, kText, kList, kLabel };

struct Layout {
    const char* name;
    Kind kind;
    const wchar_t* caption;        // the initial text; lists show their selection instead
    const char* frame;             // null: directly on the dialog
    int left, top, width, height;  // twips, relative to the frame (or the client area)
    int tab;
    bool enabledAtStart = true;
};

constexpr int kFrameLeft = 120;
constexpr int kFrameWidth = 2655;

// Every control of the dialog, each frame before what it holds.
const std::vector<Layout>& DialogLayout() {
    static const std::vector<Layout> layout = {
        {"frameStartup", Kind::kFrame, L"Start on Windows Startup", nullptr, kFrameLeft, 120, kFrameWidth, 615, 0},
        {"frameTimer", Kind::kFrame, L"Timed Turn Off", nullptr, kFrameLeft, 840, kFrameWidth, 1695, 27},
        {"frameSchedule", Kind::kFrame, L"Schedule", nullptr, kFrameLeft, 2640, kFrameWidth, 1335, 34},
        {"frameHotKey", Kind::kFrame, L"HotKey", nullptr, kFrameLeft, 4080, kFrameWidth, 2175, 30},
        {"frameBehavior", Kind::kFrame, L"Behavior", nullptr, kFrameLeft, 6360, kFrameWidth, 855, 38},
        {"frameMisc", Kind::kFrame, L"Other Options", nullptr, kFrameLeft, 7320, kFrameWidth, 1095, 33},

        {"radStartOn", Kind::kOption, L"Enabled", "frameStartup", 120, 240, 1095, 255, 1},
        {"radStartOff", Kind::kOption, L"Disabled", "frameStartup", 1440, 240, 975, 255, 2},

        {"timHrs1", Kind::kText, L"00", "frameTimer", 120, 360, 375, 285, 3},
        {"lblColon(0)", Kind::kLabel, L":", "frameTimer", 480, 360, 135, 255, 28},
        {"timMin1", Kind::kText, L"00", "frameTimer", 600, 360, 375, 285, 4},
        {"lblColon(1)", Kind::kLabel, L":", "frameTimer", 960, 360, 135, 255, 29},
        {"timSec1", Kind::kText, L"30", "frameTimer", 1080, 360, 375, 285, 5},
        {"cmdTimed", Kind::kCommand, L"Go", "frameTimer", 1560, 360, 975, 285, 6},
        {"chkIdle", Kind::kCheck, L"Only if Idle", "frameTimer", 120, 720, 2415, 255, 7},
        {"chkScr", Kind::kCheck, L"Like a Screensaver", "frameTimer", 840, 960, 1695, 255, 39, false},
        {"chkOther1", Kind::kCheck, L"Other Action:", "frameTimer", 120, 1200, 1335, 375, 8},
        {"Combo1", Kind::kList, L"", "frameTimer", 1440, 1200, 1095, 315, 9, false},

        {"chkSchedule", Kind::kCheck, L"Enable Schedule", "frameSchedule", 120, 240, 2415, 255, 10},
        {"timHrs2", Kind::kText, L"23", "frameSchedule", 120, 560, 375, 285, 11},
        {"lblColon(4)", Kind::kLabel, L":", "frameSchedule", 480, 560, 135, 255, 36},
        {"timMin2", Kind::kText, L"59", "frameSchedule", 600, 560, 375, 285, 12},
        {"lblColon(3)", Kind::kLabel, L":", "frameSchedule", 960, 560, 135, 255, 35},
        {"timSec2", Kind::kText, L"59", "frameSchedule", 1080, 560, 375, 285, 13},
        {"lblSetTime", Kind::kLabel, L"Set Time", "frameSchedule", 1440, 580, 855, 255, 37},
        {"chkOther2", Kind::kCheck, L"Other Action:", "frameSchedule", 120, 840, 1335, 375, 14},
        {"Combo2", Kind::kList, L"", "frameSchedule", 1440, 870, 1095, 315, 15, false},

        {"hkeyButton1", Kind::kList, L"", "frameHotKey", 120, 240, 1095, 315, 16},
        {"lblColon(2)", Kind::kLabel, L"+", "frameHotKey", 1200, 240, 255, 255, 32},
        {"hkeyButton2", Kind::kList, L"", "frameHotKey", 1440, 240, 1095, 315, 17},
        {"cmdHotKey", Kind::kCommand, L"Set Global Hotkey", "frameHotKey", 120, 720, 2415, 255, 18},
        {"lblAlso", Kind::kLabel, L"Also use these to turn back on:", "frameHotKey", 120, 1080, 2295, 255, 31},
        {"chkMouse", Kind::kCheck, L"Mouse Click", "frameHotKey", 120, 1320, 2415, 255, 19},
        {"chkEnter", Kind::kCheck, L"Enter Key", "frameHotKey", 120, 1560, 2415, 255, 20},
        {"chkSpace", Kind::kCheck, L"Space Bar", "frameHotKey", 120, 1800, 2415, 255, 21},

        {"radVista", Kind::kOption, L"Vista / Newer", "frameBehavior", 120, 240, 1335, 255, 22},
        {"radXP", Kind::kOption, L"XP / Older", "frameBehavior", 1440, 240, 1095, 255, 23},
        {"chkMsg", Kind::kCheck, L"Show monitor-off message", "frameBehavior", 120, 480, 2415, 255, 40},

        {"cmdUpdate", Kind::kCommand, L"Check for Updates", "frameMisc", 120, 240, 2415, 255, 24},
        {"cmdReadme", Kind::kCommand, L"Open the Readme file", "frameMisc", 120, 480, 2415, 255, 25},
        {"cmdReg", Kind::kCommand, L"Uninstall Lumoff", "frameMisc", 120, 720, 2415, 255, 26},
    };
    return layout;
}

const Layout& Entry(const std::string& name) {
    for (const Layout& entry : DialogLayout())
        if (name == entry.name)
            return entry;
    ADD_FAILURE() << "no control " << name << " in the layout";
    return DialogLayout().front();
}

// Labels are drawn by the program itself in windows of its own class.
constexpr wchar_t kLabelClass[] = L"LumoffLite";

std::wstring ExpectedClass(Kind kind) {
    switch (kind) {
        case Kind::kText:
            return L"Edit";
        case Kind::kList:
            return L"ComboBox";
        case Kind::kLabel:
            return kLabelClass;
        default:
            return L"Button";
    }
}

bool ButtonTypeFits(Kind kind, LONG_PTR style) {
    LONG_PTR type = style & BS_TYPEMASK;
    switch (kind) {
        case Kind::kFrame:
            return type == BS_GROUPBOX;
        case Kind::kOption:
            return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        case Kind::kCheck:
            return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
        case Kind::kCommand:
            return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
        default:
            return true;
    }
}

// Where the control should stand on the screen, from the layout and the dialog's client origin.
RECT DesignedRectOnScreen(const Layout& entry, HWND dialog) {
    double left = entry.left, top = entry.top;
    if (entry.frame) {
        const Layout& frame = Entry(entry.frame);
        left += frame.left;
        top += frame.top;
    }
    auto px = [](double twips) { return static_cast<LONG>(std::lround(twips / kTwipsPerPixel)); };
    RECT client = ClientRectOnScreen(dialog);
    return {client.left + px(left), client.top + px(top), client.left + px(left + entry.width),
            client.top + px(top + entry.height)};
}

// The point to look a control up at: its centre; for a frame, just inside its top-left corner, where nothing it holds
// lies (all its controls stand at least 120 twips inside).
POINT LookupPoint(const Layout& entry, HWND dialog) {
    RECT r = DesignedRectOnScreen(entry, dialog);
    if (entry.kind == Kind::kFrame)
        return {r.left + 3, r.top + 3};
    return Center(r);
}

HWND ControlAt(const Layout& entry, HWND dialog) {
    return ChildAt(dialog, LookupPoint(entry, dialog));
}

std::string Describe(HWND window) {
    if (!window)
        return "[none]";
    std::string out = "[";
    for (wchar_t c : ClassName(window) + L" \"" + WindowText(window) + L"\"]")
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring Wide(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

bool Checked(HWND button) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

// ---- Starting the program with the dialog ready ------------------------------------------------------------------

// Starts the program, waits for its caption window and returns its hidden Options dialog.
HWND StartWithHiddenOptions(Lumoff& lumoff) {
    HWND main = lumoff.WaitForMain();
    EXPECT_TRUE(main);
    if (!main)
        return nullptr;
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = lumoff.Options()) != nullptr; });
    return dialog;
}

bool ClickSettings(Lumoff& lumoff) {
    return Click(lumoff.SettingsPoint());
}

// The point of the dialog's close box, found by asking the window what each point of its title bar is.
std::optional<POINT> CloseBoxPoint(HWND dialog) {
    RECT window = WindowRect(dialog);
    RECT client = ClientRectOnScreen(dialog);
    int y = (window.top + client.top) / 2;  // the middle of the title bar
    int first = -1, last = -1;
    for (int x = window.right - 1; x > window.right - 60 && x > window.left; --x) {
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutW(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit);
        if (hit == HTCLOSE) {
            if (last < 0)
                last = x;
            first = x;
        } else if (last >= 0) {
            break;
        }
    }
    if (last < 0)
        return std::nullopt;
    return POINT{(first + last) / 2, y};
}

// ---- 1. Showing and hiding -----------------------------------------------------------------------------------------

TEST(Options, SettingsButtonShowsAndHidesTheCentredToolDialog) {
    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", nullptr);
    Lumoff lumoff;
    HWND dialog = StartWithHiddenOptions(lumoff);
    ASSERT_TRUE(dialog) << "the Options dialog is created at start-up";
    EXPECT_FALSE(IsVisible(dialog)) << "created hidden";

    ASSERT_TRUE(ClickSettings(lumoff));
    ASSERT_TRUE(WaitForVisible(dialog)) << "the first click shows it";
    EXPECT_EQ(WindowText(dialog), L"Lumoff Options");

    RECT client = ClientRectOnScreen(dialog);
    EXPECT_EQ(Width(client), kClientWidthTwips / kTwipsPerPixel);
    EXPECT_EQ(Height(client), kClientHeightTwips / kTwipsPerPixel);

    // Centred on the work area, as the program places it (in Wine's virtual desktop that is the whole screen).
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT r = WindowRect(dialog);
    EXPECT_NEAR(r.left - work.left, work.right - r.right, 1) << "as far from the left as from the right";
    EXPECT_NEAR(r.top - work.top, work.bottom - r.bottom, 1) << "as far from the top as from the bottom";

    // A tool window with a small title bar and only a close box, not resizable, without owner or taskbar button.
    LONG_PTR style = Style(dialog), exStyle = ExStyle(dialog);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(Owner(dialog), nullptr);
    EXPECT_FALSE(HasTaskbarButton(dialog));
    EXPECT_FALSE(IsTopmost(dialog)) << "only the caption window stays on top";
    EXPECT_EQ(Height(client) + GetSystemMetrics(SM_CYSMCAPTION), Height(r) - 2 * (r.right - client.right))
        << "the title bar is the small one";

    ASSERT_TRUE(ClickSettings(lumoff));
    EXPECT_TRUE(WaitForHidden(dialog)) << "the second click hides it";
    EXPECT_TRUE(IsWindow(dialog)) << "hidden, not destroyed";

    ASSERT_TRUE(ClickSettings(lumoff));
    ASSERT_TRUE(WaitForVisible(dialog)) << "the third click shows it again";
    EXPECT_EQ(WindowRect(dialog).left, r.left);
    EXPECT_EQ(WindowRect(dialog).top, r.top);

    auto closeBox = CloseBoxPoint(dialog);
    ASSERT_TRUE(closeBox) << "the title bar has a close box";
    ASSERT_TRUE(Click(*closeBox));
    EXPECT_TRUE(WaitForHidden(dialog)) << "its close box hides it";
    EXPECT_TRUE(IsWindow(dialog)) << "hidden, not destroyed";
    EXPECT_TRUE(lumoff.process.IsRunning());
    EXPECT_TRUE(IsVisible(lumoff.WaitForMain()));

    ASSERT_TRUE(ClickSettings(lumoff));
    ASSERT_TRUE(WaitForVisible(dialog)) << "after the close box the settings button shows it again";
    ASSERT_TRUE(WaitUntil([&] { return IsChild(dialog, FocusInThreadOf(dialog)) != FALSE; }))
        << "a control of the shown dialog has the focus";
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_TRUE(WaitForHidden(dialog)) << "Escape hides it";
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(lumoff.process.IsRunning());
}

// ---- 2. Layout -----------------------------------------------------------------------------------------------------

TEST(Options, TallerThanTheWorkAreaAtADisplayScaleItKeepsItsTitleBarOnScreen) {
    ASSERT_TRUE(SeedSettings());
    // 175 %: the program, started after this, takes 168 dpi; the dialog is then about 1029 pixels tall.
    const DWORD dpi = 168;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi),
              ERROR_SUCCESS);
    Lumoff lumoff;
    HWND dialog = StartWithHiddenOptions(lumoff);
    ASSERT_TRUE(dialog);
    // The settings button, at its place in the caption window scaled from the 81 x 65 pixels of 96 dpi.
    RECT caption = WindowRect(lumoff.WaitForMain());
    ASSERT_TRUE(Click({caption.left + 72 * Width(caption) / 81, caption.top + 56 * Height(caption) / 65}));
    ASSERT_TRUE(WaitForVisible(dialog));
    RECT r = WindowRect(dialog);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GT(r.bottom - r.top, work.bottom - work.top) << "taller than the work area at this scale";
    EXPECT_GE(r.top, work.top) << "the title bar lies inside the work area";
    EXPECT_GE(r.left, work.left);
}

TEST(Options, EveryControlStandsAtItsPlaceWithItsCaption) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the layout is checked at 15 twips per pixel";

    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", nullptr);
    Lumoff lumoff;
    HWND dialog = StartWithHiddenOptions(lumoff);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ClickSettings(lumoff));
    ASSERT_TRUE(WaitForVisible(dialog));

    std::map<HWND, std::string> seen;
    for (const Layout& entry : DialogLayout()) {
        SCOPED_TRACE(entry.name);
        HWND control = ControlAt(entry, dialog);
        ASSERT_NE(control, dialog) << "no control at its place";
        EXPECT_EQ(GetParent(control), dialog) << "a child of the dialog itself";
        EXPECT_EQ(ClassName(control), ExpectedClass(entry.kind)) << Describe(control);
        if (ExpectedClass(entry.kind) == L"Button") {
            EXPECT_TRUE(ButtonTypeFits(entry.kind, Style(control)))
                << "button style " << (Style(control) & BS_TYPEMASK);
        }
        if (entry.kind != Kind::kList) {
            EXPECT_EQ(WindowText(control), entry.caption) << Describe(control);
        }

        RECT designed = DesignedRectOnScreen(entry, dialog);
        RECT actual = WindowRect(control);
        EXPECT_NEAR(actual.left, designed.left, 1);
        EXPECT_NEAR(actual.top, designed.top, 1);
        EXPECT_NEAR(actual.right, designed.right, 1);
        EXPECT_NEAR(actual.bottom, designed.bottom, 1);

        auto [where, fresh] = seen.emplace(control, entry.name);
        EXPECT_TRUE(fresh) << "the same window as " << where->second;
    }

    // Nothing else is shown on the dialog.
    std::vector<std::string> extra;
    for (HWND child : Children(dialog))
        if (GetParent(child) == dialog && IsWindowVisible(child) && !seen.count(child))
            extra.push_back(Describe(child));
    EXPECT_TRUE(extra.empty()) << ::testing::PrintToString(extra);

    // The dialog's background, also between the controls inside a frame, is the system's 3D light colour.
    Pause(Duration(300));  // let it finish painting
    Screenshot shot = CaptureRect(WindowRect(dialog));
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(shot.SaveBmp(ArtifactPath(L"options-dialog.bmp")));
    RECT client = ClientRectOnScreen(dialog);
    Rgb light = SystemColor(COLOR_3DLIGHT);
    EXPECT_TRUE(shot.AllPixels({client.left, client.top, client.left + 4, client.top + 4}, light))
        << "the dialog's own area";
    EXPECT_TRUE(shot.AllPixels({client.left + 12, client.bottom - 4, client.right - 12, client.bottom}, light))
        << "below the last frame";
    RECT misc = DesignedRectOnScreen(Entry("frameMisc"), dialog);
    EXPECT_TRUE(shot.AllPixels({misc.left + 4, misc.bottom - 8, misc.right - 4, misc.bottom - 4}, light))
        << "inside a frame, below its last button";
}

// ---- 3. Lists
// --------------------------------------------------------------------------------------------------------

TEST(Options, ListsHoldTheirEntriesAndSelections) {
    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", nullptr);
    Lumoff lumoff;
    HWND dialog = StartWithHiddenOptions(lumoff);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ClickSettings(lumoff));
    ASSERT_TRUE(WaitForVisible(dialog));

    auto list = [&](const char* name) {
        HWND combo = ControlAt(Entry(name), dialog);
        EXPECT_EQ(ClassName(combo), L"ComboBox") << name;
        EXPECT_EQ(Style(combo) & 3, CBS_DROPDOWNLIST) << name << ": only entries of the list, no free text";
        return combo;
    };

    HWND modifiers = list("hkeyButton1");
    EXPECT_EQ(ComboItems(modifiers), (std::vector<std::wstring>{L"-", L"Ctrl", L"Alt", L"Shift", L"Ctrl+Alt",
                                                                L"Ctrl+Shift", L"Alt+Shift", L"Ctrl+Alt+Shift"}));
    EXPECT_EQ(ComboSelection(modifiers), 0);
    EXPECT_EQ(ComboSelectedText(modifiers), L"-");
    EXPECT_EQ(WindowText(modifiers), L"-") << "the closed list shows its selection";
    EXPECT_TRUE(IsWindowEnabled(modifiers));

    std::vector<std::wstring> keys;
    for (int f = 1; f <= 12; ++f)
        keys.push_back(L"F" + std::to_wstring(f));
    for (wchar_t c = L'A'; c <= L'Z'; ++c)
        keys.push_back(std::wstring(1, c));
    for (wchar_t c = L'0'; c <= L'9'; ++c)
        keys.push_back(std::wstring(1, c));
    ASSERT_EQ(keys.size(), 48u);
    HWND keyList = list("hkeyButton2");
    EXPECT_EQ(ComboItems(keyList), keys);
    EXPECT_EQ(ComboSelection(keyList), 9);
    EXPECT_EQ(ComboSelectedText(keyList), L"F10");
    EXPECT_TRUE(IsWindowEnabled(keyList));

    const std::vector<std::wstring> actions{L"Shutdown", L"Restart", L"Logoff", L"Standby", L"Hibernate"};
    for (const char* name : {"Combo1", "Combo2"}) {
        SCOPED_TRACE(name);
        HWND combo = list(name);
        EXPECT_EQ(ComboItems(combo), actions);
        EXPECT_EQ(ComboSelection(combo), 2);
        EXPECT_EQ(ComboSelectedText(combo), L"Logoff");
        EXPECT_FALSE(IsWindowEnabled(combo)) << "enabled only by its \"Other Action:\" box";
    }

    // The initial state of the other controls.
    for (const Layout& entry : DialogLayout()) {
        if (entry.kind == Kind::kLabel || entry.kind == Kind::kFrame)
            continue;
        EXPECT_EQ(IsWindowEnabled(ControlAt(entry, dialog)) != FALSE, entry.enabledAtStart) << entry.name;
    }
    for (const char* ticked : {"chkMouse", "chkEnter", "chkSpace", "chkMsg"})
        EXPECT_TRUE(Checked(ControlAt(Entry(ticked), dialog))) << ticked;
    for (const char* clear : {"chkIdle", "chkScr", "chkOther1", "chkSchedule", "chkOther2", "radStartOn"})
        EXPECT_FALSE(Checked(ControlAt(Entry(clear), dialog))) << clear;
    EXPECT_TRUE(Checked(ControlAt(Entry("radStartOff"), dialog))) << "not started with Windows";
    EXPECT_NE(Checked(ControlAt(Entry("radVista"), dialog)), Checked(ControlAt(Entry("radXP"), dialog)))
        << "one of the behaviours is selected";
}

// ---- 4. About ------------------------------------------------------------------------------------------------------

TEST(Options, AboutFromTheCaptionMenuShowsTheInformationBox) {
    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", nullptr);
    Lumoff lumoff;
    ASSERT_TRUE(StartWithHiddenOptions(lumoff));
    ASSERT_TRUE(RightClick(lumoff.CaptionPoint()));
    HWND menu = WaitForPopupMenu(lumoff.process.Pid());
    ASSERT_TRUE(menu);
    ASSERT_TRUE(ChooseMenuItemByKeys(menu, 0));  // "About", "Close"
    HWND box = WaitForMessageBox(lumoff.process.Pid(), L"Lumoff :)");
    ASSERT_TRUE(box);
    const std::vector<std::wstring> lines{
        L"Version 1.1.2",
        L"Please visit " + Wide(lumoff::kDefaultWebHost) + L" for more info about Lumoff",
        L"",
        L"",
        L"In return you can donate at the website, or just send us an",
        L"email to " + Wide(lumoff::kSupportAddress) + L" [ Please? :( ], letting",
        L"us know we've helped you out today :D",
    };
    std::wstring text = lines.front();
    for (size_t i = 1; i < lines.size(); ++i)
        text += L"\r\n" + lines[i];
    EXPECT_EQ(MessageBoxText(box), text);
    EXPECT_EQ(DialogButtons(box), std::vector<std::wstring>{L"OK"});
    bool icon = false;
    for (HWND child : Children(box))
        if (IsWindowVisible(child) && ClassName(child) == L"Static" && (Style(child) & SS_TYPEMASK) == SS_ICON)
            icon = true;
    EXPECT_TRUE(icon) << "the information icon";
    PressDialogButton(box, L"OK");
    EXPECT_TRUE(WaitForWindowGone(box));
    EXPECT_TRUE(lumoff.process.IsRunning());
    EXPECT_FALSE(IsVisible(lumoff.Options())) << "About does not show the dialog";
}

// ---- 5. Keyboard ---------------------------------------------------------------------------------------------------

TEST(Options, TabWalksTheControlsInTabOrderAndShiftTabGoesBack) {
    ASSERT_TRUE(SeedSettings());
    SetEnvironmentVariableW(L"LUMOFF_WEBHOST", nullptr);
    Lumoff lumoff;
    HWND dialog = StartWithHiddenOptions(lumoff);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ClickSettings(lumoff));
    ASSERT_TRUE(WaitForVisible(dialog));

    // The stops: every control that takes the focus, in tab order, except the disabled ones; a group of option
    // buttons is one stop, at its selected button.
    std::vector<const Layout*> order;
    for (const Layout& entry : DialogLayout())
        order.push_back(&entry);
    std::stable_sort(order.begin(), order.end(), [](const Layout* a, const Layout* b) { return a->tab < b->tab; });
    std::vector<std::pair<std::string, HWND>> stops;
    std::map<HWND, std::string> names;
    for (const Layout* entry : order) {
        HWND control = ControlAt(*entry, dialog);
        names[control] = entry->name;
        if (entry->kind == Kind::kFrame || entry->kind == Kind::kLabel || !entry->enabledAtStart)
            continue;
        if (entry->kind == Kind::kOption && !Checked(control))
            continue;
        stops.emplace_back(entry->name, control);
    }
    ASSERT_FALSE(stops.empty());
    ASSERT_EQ(stops.front().first, "radStartOff");
    ASSERT_EQ(stops.back().first, "chkMsg");
    auto focused = [&] {
        HWND focus = FocusInThreadOf(dialog);
        return names.count(focus) ? names[focus] : Describe(focus);
    };

    ASSERT_TRUE(WaitUntil([&] { return focused() == stops.front().first; }))
        << "the shown dialog's first control has the focus, not " << focused();

    // Forward through every stop and round to the first again.
    for (size_t step = 1; step <= stops.size(); ++step) {
        const std::string& expected = stops[step % stops.size()].first;
        ASSERT_TRUE(PressKey(VK_TAB));
        EXPECT_TRUE(WaitUntil([&] { return focused() == expected; }, Duration(2000)))
            << "Tab " << step << ": expected " << expected << ", focus on " << focused();
        if (focused() != expected)
            return;
    }
    // Back past the first to the last, and on backwards for a few.
    for (size_t step = 1; step <= 6; ++step) {
        const std::string& expected = stops[(stops.size() - step) % stops.size()].first;
        ASSERT_TRUE(PressKey(VK_TAB, kShift));
        EXPECT_TRUE(WaitUntil([&] { return focused() == expected; }, Duration(2000)))
            << "Shift+Tab " << step << ": expected " << expected << ", focus on " << focused();
        if (focused() != expected)
            return;
    }
}

}  // namespace
