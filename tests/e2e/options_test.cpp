// The real Options dialog: shown and hidden, its window, every control at its designed place with its caption, and the
// keyboard's tab order. (At large display scales: dpi_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "e2e_options.h"

using namespace e2e;

namespace {

// Where the control should stand on the screen, rounded to pixels.
RECT DesignedRectOnScreen(std::string_view name, HWND dialog) {
    const TwipRect r = Place(name);
    auto px = [](double twips) { return static_cast<LONG>(std::lround(twips / 15)); };
    RECT client = ClientRectOnScreen(dialog);
    return {client.left + px(r.left), client.top + px(r.top), client.left + px(r.left + r.width),
            client.top + px(r.top + r.height)};
}

// The control at its place: at its centre; for a frame, just inside its top-left corner, where nothing it holds lies.
HWND ControlOf(const Designed& d, HWND dialog) {
    RECT r = DesignedRectOnScreen(d.name, dialog);
    return ChildAt(dialog, d.kind == Kind::kFrame ? POINT{r.left + 3, r.top + 3} : Center(r));
}

// Starts the program and shows its Options dialog, created hidden at start-up.
HWND StartAndShowOptions(Lumoff& lumoff) {
    EXPECT_TRUE(SeedSettings());
    HWND main = lumoff.WaitForMain();
    EXPECT_TRUE(main);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = lumoff.Options()) != nullptr; });
    EXPECT_TRUE(dialog) << "the Options dialog is created at start-up";
    if (!main || !dialog) return nullptr;
    EXPECT_FALSE(IsVisible(dialog)) << "created hidden";
    Click(lumoff.SettingsPoint());
    EXPECT_TRUE(WaitForVisible(dialog));
    return dialog;
}

TEST(Options, SettingsButtonShowsAndHidesTheCentredToolDialog) {
    Lumoff lumoff;
    HWND dialog = StartAndShowOptions(lumoff);
    ASSERT_TRUE(dialog);
    RECT client = ClientRectOnScreen(dialog);
    EXPECT_EQ(Width(client), kDialogWidthTwips / 15);
    EXPECT_EQ(Height(client), kDialogHeightTwips / 15);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT r = WindowRect(dialog);
    EXPECT_NEAR(r.left - work.left, work.right - r.right, 1) << "centred on the work area";
    EXPECT_NEAR(r.top - work.top, work.bottom - r.bottom, 1);
    // A tool window with a small title bar and only a close box, not resizable, without owner or taskbar button.
    LONG_PTR style = Style(dialog);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(ExStyle(dialog) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(Owner(dialog), nullptr);
    EXPECT_FALSE(HasTaskbarButton(dialog));
    EXPECT_FALSE(IsTopmost(dialog)) << "only the caption window stays on top";

    // The settings button, the close box and Escape each hide it; it is never destroyed and comes back in place.
    for (const char* how : {"settings button", "close box", "Escape"}) {
        SCOPED_TRACE(how);
        if (how[0] == 's') {
            ASSERT_TRUE(Click(lumoff.SettingsPoint()));
        } else if (how[0] == 'c') {
            auto close_box = CloseBoxPoint(dialog);
            ASSERT_TRUE(close_box);
            ASSERT_TRUE(Click(*close_box));
        } else {
            ASSERT_TRUE(WaitUntil([&] { return IsChild(dialog, FocusInThreadOf(dialog)) != FALSE; }));
            ASSERT_TRUE(PressKey(VK_ESCAPE));
        }
        EXPECT_TRUE(WaitForHidden(dialog));
        EXPECT_TRUE(IsWindow(dialog));
        ASSERT_TRUE(Click(lumoff.SettingsPoint()));
        ASSERT_TRUE(WaitForVisible(dialog));
        EXPECT_EQ(WindowRect(dialog).top, r.top);
    }
    EXPECT_TRUE(lumoff.process.IsRunning());
}

TEST(Options, EveryControlStandsAtItsPlaceWithItsCaption) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96) << "the layout is checked at 15 twips per pixel";
    ReleaseDC(nullptr, screen);
    Lumoff lumoff;
    HWND dialog = StartAndShowOptions(lumoff);
    ASSERT_TRUE(dialog);
    std::map<HWND, std::string> seen;
    for (const Designed& d : DialogLayout()) {
        SCOPED_TRACE(d.name);
        HWND control = ControlOf(d, dialog);
        ASSERT_NE(control, dialog) << "no control at its place";
        EXPECT_EQ(GetParent(control), dialog) << "a child of the dialog itself";
        EXPECT_EQ(ClassName(control), WindowClassOf(d.kind)) << Describe(control);
        EXPECT_TRUE(ButtonStyleFits(d.kind, Style(control))) << "button style " << (Style(control) & BS_TYPEMASK);
        if (d.kind == Kind::kList) {
            EXPECT_EQ(Style(control) & 3, CBS_DROPDOWNLIST) << "only entries of the list, no free text";
        } else {
            EXPECT_EQ(WindowText(control), d.caption) << Describe(control);
        }
        if (d.kind != Kind::kLabel && d.kind != Kind::kFrame) {
            EXPECT_EQ(IsWindowEnabled(control) != FALSE, d.enabledAtStart);
        }
        RECT designed = DesignedRectOnScreen(d.name, dialog);
        RECT actual = WindowRect(control);
        EXPECT_NEAR(actual.left, designed.left, 1);
        EXPECT_NEAR(actual.top, designed.top, 1);
        EXPECT_NEAR(actual.right, designed.right, 1);
        EXPECT_NEAR(actual.bottom, designed.bottom, 1);
        EXPECT_TRUE(seen.emplace(control, d.name).second) << "the same window as another control";
    }
    std::vector<std::string> extra;
    for (HWND child : Children(dialog))
        if (GetParent(child) == dialog && IsWindowVisible(child) && !seen.count(child)) extra.push_back(Describe(child));
    EXPECT_TRUE(extra.empty()) << "nothing else is shown: " << ::testing::PrintToString(extra);

    // The dialog's background, also between the controls inside a frame, is the system's 3D light colour.
    Pause(Duration(300));  // let it finish painting
    Screenshot shot = CaptureRect(WindowRect(dialog));
    EXPECT_TRUE(shot.SaveBmp(ArtifactPath(L"options-dialog.bmp")));
    RECT client = ClientRectOnScreen(dialog);
    Rgb light = SystemColor(COLOR_3DLIGHT);
    EXPECT_TRUE(shot.AllPixels({client.left, client.top, client.left + 4, client.top + 4}, light));
    RECT misc = DesignedRectOnScreen("frameMisc", dialog);
    EXPECT_TRUE(shot.AllPixels({misc.left + 4, misc.bottom - 8, misc.right - 4, misc.bottom - 4}, light))
        << "inside a frame, below its last button";
}

TEST(Options, TabWalksTheControlsInTabOrderAndShiftTabGoesBack) {
    Lumoff lumoff;
    HWND dialog = StartAndShowOptions(lumoff);
    ASSERT_TRUE(dialog);
    // The stops: every enabled control that takes the focus, in tab order; option buttons stop at the selected one.
    std::vector<const Designed*> order;
    for (const Designed& d : DialogLayout()) order.push_back(&d);
    std::stable_sort(order.begin(), order.end(), [](const Designed* a, const Designed* b) { return a->tab < b->tab; });
    std::vector<std::string> stops;
    std::map<HWND, std::string> names;
    for (const Designed* d : order) {
        HWND control = ControlOf(*d, dialog);
        names[control] = d->name;
        if (d->kind == Kind::kFrame || d->kind == Kind::kLabel || !d->enabledAtStart) continue;
        if (d->kind == Kind::kOption && !Checked(control)) continue;
        stops.push_back(d->name);
    }
    auto focused = [&] {
        HWND focus = FocusInThreadOf(dialog);
        return names.count(focus) ? names[focus] : Describe(focus);
    };
    ASSERT_EQ(stops.front(), "radStartOff");
    ASSERT_TRUE(WaitUntil([&] { return focused() == stops.front(); })) << "the first control has the focus";
    // Forward through every stop and round to the first again, then back past the first to the last and on.
    for (int step = 1; step <= static_cast<int>(stops.size()) + 6; ++step) {
        const bool back = step > static_cast<int>(stops.size());
        const int n = static_cast<int>(stops.size());
        const std::string& expected = stops[back ? ((2 * n - step) % n + n) % n : step % n];
        ASSERT_TRUE(PressKey(VK_TAB, back ? kShift : kNoModifier));
        ASSERT_TRUE(WaitUntil([&] { return focused() == expected; }, Duration(2000)))
            << "step " << step << ": expected " << expected << ", focus on " << focused();
    }
}

}  // namespace
