// The program's windows at display scales of 100, 125, 150, 200 and 300 %: the caption window, the Options dialog and
// the status screen are laid out for the DPI the program starts with, every control is a window of its kind with its
// text and state, lies on the screen, and its caption is not cut. The layouts are read from the program's own form
// objects and layout code, so every control of every window is checked. The Options dialog, made hidden, is a centred
// tool window that the settings button shows and the settings button, its close box or Escape hides; the keyboard walks
// it in its tab order, each control it reaches in sight (scrolled to where the dialog scrolls, as by the wheel), a
// click in its lower frames works, and it is arranged again when the screen shrinks and grows back (the same path as a
// moved taskbar, which Wine 8 cannot show: its GetMonitorInfo keeps the work area SPI_SETWORKAREA changes). Each window
// is also saved as a picture per scale for a person to look at (the 96-dpi ones for the readme, the 192-dpi dialog for
// docs/).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "e2e_options.h"
#include "forms/main_window.h"
#include "forms/status_screen.h"
#include "ui/layout.h"

using namespace e2e;

namespace {

using lumoff::ui::Kind;
using lumoff::ui::kDefaultDpi;
// Room beside a caption, in pixels at 96 dpi: the box of a check box or option button with its gap, the inset of a
// group box's caption, the edge of a drawn button.
constexpr int kBoxAndGapPx = 16;
constexpr int kFrameCaptionInsetPx = 10;
constexpr int kButtonEdgePx = 4;
constexpr const char* kDefaultFace = "MS Sans Serif";
// The status screen's message may be drawn smaller to fit, but no smaller than this.
constexpr double kSmallestReadablePoints = 8;

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The extent of a text in the font the program asks for at this DPI: on one line without the leading above it (which
// is empty), or broken into lines at `wrap` pixels.
SIZE TextSize(const lumoff::ui::Font& font, int dpi, const std::string& text, int wrap = 0) {
    LOGFONTA lf{};
    lf.lfHeight = -lumoff::ui::FontPixelHeight(font, dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, font.face.empty() ? kDefaultFace : font.face.c_str(), LF_FACESIZE);
    const HFONT handle = CreateFontIndirectA(&lf);
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, handle);
    RECT r{0, 0, wrap, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    DeleteDC(dc);
    DeleteObject(handle);
    return {r.right, r.bottom - (wrap ? 0 : tm.tmInternalLeading)};
}

// The room a caption needs beside its text in a control of this kind.
int Decoration(Kind kind, int dpi) {
    switch (kind) {
        case Kind::CheckBox:
        case Kind::OptionButton: return MulDiv(kBoxAndGapPx, dpi, kDefaultDpi);
        case Kind::Frame: return 2 * MulDiv(kFrameCaptionInsetPx, dpi, kDefaultDpi);
        case Kind::CommandButton: return 2 * MulDiv(kButtonEdgePx, dpi, kDefaultDpi);
        default: return 0;
    }
}

// Whether the window is a control of this kind as a user knows it (labels and pictures are drawn by the program).
bool MadeAs(Kind kind, HWND w) {
    const LONG_PTR type = Style(w) & BS_TYPEMASK;
    const bool button = ClassName(w) == L"Button";
    switch (kind) {
        case Kind::Frame: return button && type == BS_GROUPBOX;
        case Kind::OptionButton: return button && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
        case Kind::CheckBox: return button && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
        case Kind::CommandButton: return button && (type == BS_PUSHBUTTON || type == BS_OWNERDRAW);
        case Kind::TextBox: return ClassName(w) == L"Edit";
        case Kind::ComboBox: return ClassName(w) == L"ComboBox" && (Style(w) & 3) == CBS_DROPDOWNLIST;
        default: return ClassName(w) == L"LumoffLite";
    }
}

// The real `window` of `form` at `dpi`: its client area as the program's layout gives it, and every control a window of
// its kind with its text and state (as the form holds them), at the place the layout gives it, inside the part of the
// client area the screen shows (`visible_client`, in client coordinates), its caption within its width and height;
// nothing else is shown.
void ExpectLaidOut(const lumoff::ui::Form& form, HWND window, int dpi, const lumoff::ui::FormPixels& layout,
                   const RECT& visible_client) {
    const RECT client = ClientRectOnScreen(window);
    EXPECT_EQ(Width(client), layout.client_width);
    EXPECT_EQ(Height(client), layout.client_height);
    size_t shown = 0;
    for (size_t i = 0; i < form.controls().size(); ++i) {
        const lumoff::ui::Control& c = *form.controls()[i];
        SCOPED_TRACE(form.name() + "." + c.name());
        HWND child = ChildOf(window, c);
        ASSERT_TRUE(child) << "no window for the control";
        shown += IsWindowVisible(child) ? 1 : 0;
        EXPECT_TRUE(MadeAs(c.kind(), child)) << Describe(child);
        EXPECT_EQ(IsWindowEnabled(child) != FALSE, c.enabled());
        if (c.kind() != Kind::ComboBox) {
            EXPECT_EQ(WindowText(child), std::wstring(c.text().begin(), c.text().end()));
        }
        if (c.kind() == Kind::TextBox) {
            EXPECT_EQ((Style(child) & ES_READONLY) != 0, static_cast<const lumoff::ui::TextBox&>(c).locked());
        }
        RECT r = WindowRect(child);
        OffsetRect(&r, -client.left, -client.top);
        const lumoff::ui::PixelRect& designed = layout.controls[i].rect;
        EXPECT_EQ(r.left, designed.left);
        EXPECT_EQ(r.top, designed.top);
        EXPECT_EQ(r.right, designed.left + designed.width);
        EXPECT_TRUE(c.kind() == Kind::ComboBox || r.bottom == designed.top + designed.height) << r.bottom;

        if (c.kind() == Kind::Image || c.kind() == Kind::TextBox || c.kind() == Kind::ComboBox || c.text().empty())
            continue;
        EXPECT_TRUE(Inside(r, visible_client)) << "not on the screen";
        if (c.kind() == Kind::Label && static_cast<const lumoff::ui::Label&>(c).word_wrap) {
            // A wrapped text (the status screen's message) fits its box: at its font's size, or at a smaller one where
            // the label shrinks its text to fit.
            lumoff::ui::Font font = c.font();
            if (static_cast<const lumoff::ui::Label&>(c).shrink_to_fit) font.points = kSmallestReadablePoints;
            const SIZE text = TextSize(font, dpi, c.text(), Width(r));
            EXPECT_LE(text.cx, Width(r)) << "a word wider than the box";
            EXPECT_LE(text.cy, Height(r)) << "the text runs past the bottom of its box";
            continue;
        }
        const SIZE text = TextSize(c.font(), dpi, c.text());
        EXPECT_LE(text.cx + Decoration(c.kind(), dpi), Width(r)) << "caption \"" << c.text() << "\" is cut";
        EXPECT_LE(text.cy, Height(r)) << "caption \"" << c.text() << "\" is cut at the bottom";
    }
    size_t children = 0;
    for (HWND w : Children(window)) children += GetParent(w) == window && IsWindowVisible(w) ? 1 : 0;
    EXPECT_EQ(children, shown) << form.name() << ": nothing else is shown";
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// The layout the program gives the Options dialog at `dpi` for the work area of its monitor, with the window's frame
// as measured on the real window.
lumoff::ui::FormPixels FittedLayout(const lumoff::ui::Form& form, HWND window, int dpi) {
    const RECT work = WorkAreaOf(window), outer = WindowRect(window), client = ClientRectOnScreen(window);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const int shown_bar = (Style(window) & WS_VSCROLL) ? bar : 0;
    return lumoff::ui::LayOutToFit(form, dpi, {work.left, work.top, Width(work), Height(work)},
                                   {Width(outer) - Width(client) - shown_bar, Height(outer) - Height(client), bar});
}

// The part of the window's client area on the screen, in client coordinates.
RECT ClientOnScreenPart(HWND window) {
    const RECT client = ClientRectOnScreen(window), screen = ScreenRect();
    RECT shown;
    IntersectRect(&shown, &client, &screen);
    OffsetRect(&shown, -client.left, -client.top);
    return shown;
}

// The Options dialog in use: Tab walks every control that takes the focus in the program's tab order (an option group
// stops at its selected button) and round to the first, Shift+Tab back past it, each in sight; where the dialog
// scrolls, so does the wheel; and a click in its lower frames.
void ExpectOptionsInUse(const lumoff::OptionsDialog& form, HWND options) {
    std::map<int, HWND> by_tab_index;  // every control a stop (the tab indexes are distinct)
    for (const auto& c : form.controls()) {
        const HWND child = ChildOf(options, *c);
        if (c->kind() == Kind::Frame || c->kind() == Kind::Label || !IsWindowEnabled(child)) continue;
        if (c->kind() != Kind::OptionButton || Checked(child)) by_tab_index[c->tab_index] = child;
    }
    std::vector<HWND> stops;
    for (const auto& [index, child] : by_tab_index) stops.push_back(child);
    auto focused = [&] { return FocusInThreadOf(options); };
    const RECT screen = ScreenRect(), client = ClientRectOnScreen(options);
    RECT shown;  // the client area on the screen
    IntersectRect(&shown, &client, &screen);
    ASSERT_TRUE(WaitUntil([&] { return focused() == stops.front(); })) << "focus on " << Describe(focused());
    const size_t n = stops.size();
    for (size_t step = 1; step <= n + 2; ++step) {
        const bool back = step > n;
        const HWND expected = stops[back ? 2 * n - step : step % n];
        ASSERT_TRUE(PressKey(VK_TAB, back ? kShift : kNoModifier));
        ASSERT_TRUE(WaitUntil([&] { return focused() == expected; }, Duration(2000)))
            << "step " << step << ": expected " << Describe(expected) << ", focus on " << Describe(focused());
        EXPECT_TRUE(Inside(WindowRect(expected), shown)) << Describe(expected) << " has the focus out of sight";
    }
    // Where it scrolls, the wheel over the dialog's margin brings the lowest frame into sight.
    if (Style(options) & WS_VSCROLL) {
        const HWND lowest = ChildOf(options, form.frameMisc);
        ASSERT_FALSE(Inside(WindowRect(lowest), shown)) << "the lowest frame in sight before";
        ASSERT_TRUE(MoveCursor({client.left + 2, (shown.top + shown.bottom) / 2}));
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_WHEEL;
        input.mi.mouseData = static_cast<DWORD>(-20 * WHEEL_DELTA);
        ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
        EXPECT_TRUE(WaitUntil([&] { return Inside(WindowRect(lowest), shown); })) << "the lowest frame out of sight";
    }
    // A click on the box of "XP / Older", in the lower frames, selects it, and one on "Vista / Newer" selects it back.
    const HWND vista = ChildOf(options, form.radVista), xp = ChildOf(options, form.radXP);
    for (HWND on : {xp, vista}) {
        const RECT r = WindowRect(on);
        const POINT box{r.left + Height(r) / 2, (r.top + r.bottom) / 2};
        ASSERT_TRUE(PtInRect(&shown, box) && ChildAt(options, box) == on) << Describe(on) << " out of reach";
        ASSERT_TRUE(Click(box));
        const HWND other = on == xp ? vista : xp;
        EXPECT_TRUE(WaitUntil([&] { return Checked(on) && !Checked(other); })) << "a click on " << Describe(on);
    }
}

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

// The window's picture once it has been painted (two pictures in a row are the same), saved for a person to look at.
Screenshot SaveShot(HWND window, const std::wstring& name, int dpi) {
    RECT r = WindowRect(window);
    const RECT screen = ScreenRect();
    IntersectRect(&r, &r, &screen);
    Screenshot shot = CaptureRect(r);
    WaitUntil([&] {
        Pause(Duration(300));
        Screenshot again = CaptureRect(r);
        bool settled = true;
        for (LONG y = r.top; y < r.bottom && settled; ++y)
            for (LONG x = r.left; x < r.right && settled; ++x) settled = shot.PixelAt({x, y}) == again.PixelAt({x, y});
        shot = std::move(again);
        return settled;
    });
    shot.SaveBmp(ArtifactPath(name + L"-" + std::to_wstring(dpi) + L"dpi.bmp"));
    return shot;
}

// One start of the program at this scale: each of its three windows shown, checked and saved. At 120 dpi the schedule
// is stored on (at an hour eleven hours or more away), so its time boxes are locked while the dialog is hidden, before
// its controls' windows are made; and every form shows its tooltips (made after its first show).
void CheckWindowsAt(int dpi) {
    ASSERT_TRUE(SeedSettings());
    ASSERT_TRUE(WriteRaw("Schedule", dpi == 120 ? "1" : "0"));
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string hour = now.wHour < 12 ? "22" : "10";
    ASSERT_TRUE(WriteRaw("ScheduleHr", hour));
    const DWORD log_pixels = static_cast<DWORD>(dpi);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &log_pixels,
                              sizeof log_pixels),
              ERROR_SUCCESS);
    const lumoff::MainWindow main_form;
    lumoff::OptionsDialog options_form("http://127.0.0.1");
    for (auto* box : {&options_form.timHrs2, &options_form.timMin2, &options_form.timSec2}) box->set_locked(dpi == 120);
    options_form.timHrs2.set_text(hour);
    lumoff::TurnedOffScreen screen_form;
    // The driver sees the system's pixels as the program does (its work area, its scroll bar's width).
    struct Aware {
        DPI_AWARENESS_CONTEXT before = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
        ~Aware() { SetThreadDpiAwarenessContext(before); }
    } aware;

    // The pointer away from where the windows come up, so that no tooltip covers them.
    const RECT whole = ScreenRect();
    ASSERT_TRUE(MoveCursor({whole.right - 1, whole.bottom - 1}));
    Lumoff lumoff;
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    ExpectLaidOut(main_form, caption, dpi, lumoff::ui::LayOut(main_form, dpi), ClientOnScreenPart(caption));
    SaveShot(caption, L"caption", dpi);
    const POINT settings = Center(WindowRect(ChildOf(caption, main_form.imgSettings)));
    EXPECT_TRUE(dpi != 120 || ShowsTip(lumoff, settings, L"Settings"));

    // The settings and turn-off pictures, clicked where they are at this scale.
    HWND options = lumoff.Options();
    ASSERT_TRUE(options) << "the Options dialog is made at the start";
    EXPECT_FALSE(IsVisible(options)) << "made hidden";
    ASSERT_TRUE(Click(settings));
    ASSERT_TRUE(WaitForVisible(options));
    // Off the settings button again, whose tip would lie over the dialog in its picture.
    ASSERT_TRUE(MoveCursor({whole.right - 1, whole.bottom - 1}));
    WaitForInputIdle(lumoff.process);
    // A tool window with a small title bar and only a close box, not resizable, without owner or taskbar button, not on
    // top of others, centred on the work area and inside it.
    EXPECT_EQ(Style(options) & (WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_CAPTION);
    EXPECT_TRUE(ExStyle(options) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(Owner(options) || HasTaskbarButton(options) || IsTopmost(options));
    const RECT dialog = WindowRect(options), work = WorkAreaOf(options);
    EXPECT_TRUE(Inside(dialog, work)) << "the dialog lies inside the work area";
    EXPECT_NEAR(dialog.left - work.left, work.right - dialog.right, 1) << "centred";
    EXPECT_NEAR(dialog.top - work.top, work.bottom - dialog.bottom, 1) << "centred";
    const lumoff::ui::FormPixels options_layout = FittedLayout(options_form, options, dpi);
    EXPECT_EQ((Style(options) & WS_VSCROLL) != 0, options_layout.scrolls()) << "a scroll bar where it scrolls";
    RECT reachable = ClientOnScreenPart(options);
    // What lies below a client area that scrolls comes into sight when scrolled to (ExpectOptionsInUse).
    if (options_layout.scrolls()) reachable.bottom = options_layout.content_height;
    ExpectLaidOut(options_form, options, dpi, options_layout, reachable);
    const Screenshot shot = SaveShot(options, L"options", dpi);
    // The dialog's background, also between the controls inside a frame, is the system's 3D light colour.
    const RECT client = ClientRectOnScreen(options), misc = WindowRect(ChildOf(options, options_form.frameMisc));
    EXPECT_TRUE(shot.AllPixels({client.left, client.top, client.left + 4, client.top + 4}, SystemColor(COLOR_3DLIGHT)));
    if (Inside(misc, whole)) {
        EXPECT_TRUE(shot.AllPixels({misc.left + 4, misc.bottom - 8, misc.right - 4, misc.bottom - 4},
                                   SystemColor(COLOR_3DLIGHT)))
            << "inside a frame, below its last button";
    }
    if (dpi == 120) {
        const RECT box = WindowRect(ChildOf(options, options_form.chkSchedule));
        EXPECT_TRUE(ShowsTip(lumoff, Center(box), L"Click to enable a Schedule"));
        // A frame's tool is the frame's area of the dialog: here the end of its caption's line.
        const RECT frame = WindowRect(ChildOf(options, options_form.frameSchedule));
        const POINT caption_end{frame.left + MulDiv(130, dpi, kDefaultDpi), frame.top + MulDiv(6, dpi, kDefaultDpi)};
        EXPECT_TRUE(ShowsTip(lumoff, caption_end, L"Schedule Lumoff"));
        ASSERT_TRUE(MoveCursor({whole.right - 1, whole.bottom - 1}));
    }
    ExpectOptionsInUse(options_form, options);
    // The settings button, the close box and Escape each hide it; it is kept, and shown again where it was.
    if (dpi == 120) {
        const auto close_box = CloseBoxPoint(options);
        ASSERT_TRUE(close_box && Click(*close_box));
    } else {
        ASSERT_TRUE(dpi == 96 ? Click(lumoff.SettingsPoint()) : PressKey(VK_ESCAPE));
    }
    ASSERT_TRUE(WaitForHidden(options));
    EXPECT_TRUE(IsWindow(options));
    if (dpi == 96) {
        ASSERT_TRUE(Click(lumoff.SettingsPoint()) && WaitForVisible(options));
        const RECT again = WindowRect(options);
        EXPECT_TRUE(EqualRect(&again, &dialog)) << "shown again where it was";
        // On a smaller screen (another work area) it stands in two columns inside it, and in its design once back.
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = 640;
        mode.dmPelsHeight = 480;
        ASSERT_EQ(ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
        EXPECT_TRUE(WaitUntil([&] { return Inside(WindowRect(options), WorkAreaOf(options)); }));
        const lumoff::ui::FormPixels two_columns = FittedLayout(options_form, options, dpi);
        EXPECT_TRUE(two_columns.client_height < options_layout.client_height && !two_columns.scrolls());
        ExpectLaidOut(options_form, options, dpi, two_columns, ClientOnScreenPart(options));
        ASSERT_EQ(ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
        EXPECT_TRUE(WaitUntil([&] { return Height(ClientRectOnScreen(options)) == options_layout.client_height; }));
        ASSERT_TRUE(Click(lumoff.SettingsPoint()) && WaitForHidden(options));
    }

    ASSERT_TRUE(Click(Center(WindowRect(ChildOf(caption, main_form.imgTurnOff)))));
    ASSERT_TRUE(WaitUntil([&] { return lumoff.StatusScreenShown(); })) << "the status screen covers the screen";
    WaitForInputIdle(lumoff.process);
    const HWND status = lumoff.StatusScreen();
    // One monitor: the virtual desktop is the primary monitor.
    const lumoff::ui::TwipRect monitor{0, 0, lumoff::ui::PixelsToTwips(Width(whole), dpi),
                                       lumoff::ui::PixelsToTwips(Height(whole), dpi)};
    screen_form.CoverScreen(monitor, monitor);
    lumoff::ui::FormPixels covering = lumoff::ui::LayOut(screen_form, dpi);
    covering.client_width = Width(whole);  // the whole screen, not the form's own size
    covering.client_height = Height(whole);
    ExpectLaidOut(screen_form, status, dpi, covering, ClientOnScreenPart(status));
    SaveShot(status, L"status-screen", dpi);
}

TEST(Dpi, CaptionOptionsAndStatusScreenAreLaidOutWholeAtEachScaleTheProgramStartsWith) {
    // At 144 and 192 dpi the Options dialog is too tall for the 1024 x 768 desktop and stands in two columns; at 288
    // those are too wide for it, and the one column scrolls.
    for (int dpi : {96, 120, 144, 192, 288}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        CheckWindowsAt(dpi);
    }
}

}  // namespace
