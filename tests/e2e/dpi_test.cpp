// The program's windows at display scales of 100, 125, 150 and 200 %: the caption window, the Options dialog and the
// status screen are laid out for the DPI the program starts with, and nothing in them is cut or pushed onto another
// control. The layouts are read from the program's own form objects, so every control of every window is checked.
// Each window is also saved as a picture per scale for a person to look at (and the 96-dpi ones for the readme).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "forms/main_window.h"
#include "e2e_options.h"
#include "forms/status_screen.h"
#include "forms/options_dialog.h"
#include "ui/layout.h"

using namespace e2e;

namespace {

using lumoff::ui::kDefaultDpi;
using lumoff::ui::kTwipsPerInch;
// The first control's id; the others follow in the order of the form's control list.
constexpr int kFirstControlId = 1000;
// Room beside a caption, in pixels at 96 dpi: the box of a check box or option button with its gap, the inset of a
// group box's caption, the edge of a drawn button.
constexpr int kBoxAndGapPx = 16;
constexpr int kFrameCaptionInsetPx = 10;
constexpr int kButtonEdgePx = 4;
constexpr const char* kDefaultFace = "MS Sans Serif";
// The status screen's message may be drawn smaller to fit, but no smaller than this.
constexpr double kSmallestReadablePoints = 8;

int Px(int twips, int dpi) {
    return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

// A control's rectangle on its form in twips (a control inside a frame is placed from the frame's corner).
RECT DesignRect(const lumoff::ui::Control& c) {
    const lumoff::ui::TwipRect& r = c.rect();
    int left = r.left, top = r.top;
    if (const lumoff::ui::Control* frame = c.container()) {
        left += frame->rect().left;
        top += frame->rect().top;
    }
    return {left, top, left + r.width, top + r.height};
}

RECT ToPixels(const RECT& twips, int dpi) {
    return {Px(twips.left, dpi), Px(twips.top, dpi), Px(twips.right, dpi), Px(twips.bottom, dpi)};
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

// The font the program asks for, at this DPI, made in the driver for measuring.
class MeasuringFont {
public:
    MeasuringFont(const lumoff::ui::Font& font, int dpi) {
        LOGFONTA lf{};
        lf.lfHeight = -static_cast<LONG>(font.points * dpi / 72.0 + 0.5);
        lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, font.face.empty() ? kDefaultFace : font.face.c_str(), LF_FACESIZE);
        font_ = CreateFontIndirectA(&lf);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, font_);
    }
    ~MeasuringFont() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    MeasuringFont(const MeasuringFont&) = delete;
    MeasuringFont& operator=(const MeasuringFont&) = delete;

    SIZE Line(const std::string& text) const {
        SIZE size{};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    int InternalLeading() const {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        return tm.tmInternalLeading;
    }
    // The text broken into lines at this width: the width of its longest line and its height.
    SIZE Wrapped(const std::string& text, int width) const {
        RECT r{0, 0, width, 0};
        DrawTextA(dc_, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return {r.right, r.bottom};
    }

private:
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// The room a caption needs beside its text in a control of this kind.
int Decoration(lumoff::ui::Kind kind, int dpi) {
    switch (kind) {
        case lumoff::ui::Kind::CheckBox:
        case lumoff::ui::Kind::OptionButton:
            return MulDiv(kBoxAndGapPx, dpi, kDefaultDpi);
        case lumoff::ui::Kind::Frame:
            return 2 * MulDiv(kFrameCaptionInsetPx, dpi, kDefaultDpi);
        case lumoff::ui::Kind::CommandButton:
            return 2 * MulDiv(kButtonEdgePx, dpi, kDefaultDpi);
        default:
            return 0;
    }
}

bool HasCaption(lumoff::ui::Kind kind) {
    return kind != lumoff::ui::Kind::Image && kind != lumoff::ui::Kind::TextBox && kind != lumoff::ui::Kind::ComboBox;
}

// Every control of `form` in the real `window` at `dpi`: at its place (within a pixel), inside the client area (the
// part of it on screen), its caption within its width and height, and apart from every control it is apart from in
// the layout. `visible_client` is the client area as far as the screen shows it, in client coordinates.
void ExpectLaidOut(const lumoff::ui::Form& form, HWND window, int dpi, const RECT& visible_client) {
    const auto& controls = form.controls();
    std::vector<RECT> actual(controls.size());
    RECT client = ClientRectOnScreen(window);
    const RECT client_area{0, 0, Width(client), Height(client)};
    for (size_t i = 0; i < controls.size(); ++i) {
        const lumoff::ui::Control& c = *controls[i];
        SCOPED_TRACE(form.name() + "." + c.name());
        HWND child = GetDlgItem(window, kFirstControlId + static_cast<int>(i));
        ASSERT_TRUE(child) << "no window for the control";
        RECT r = WindowRect(child);
        OffsetRect(&r, -client.left, -client.top);
        actual[i] = r;
        RECT designed = ToPixels(DesignRect(c), dpi);
        EXPECT_NEAR(r.left, designed.left, 1);
        EXPECT_NEAR(r.top, designed.top, 1);
        EXPECT_NEAR(r.right, designed.right, 1);
        if (c.kind() != lumoff::ui::Kind::ComboBox) {
            EXPECT_NEAR(r.bottom, designed.bottom, 1);
        }

        if (!HasCaption(c.kind()) || c.text().empty())
            continue;
        MeasuringFont font(c.font(), dpi);
        if (c.kind() == lumoff::ui::Kind::Label && static_cast<const lumoff::ui::Label&>(c).word_wrap) {
            // A wrapped text (the status screen's message) must lie on screen and fit its box: at its font's size, or
            // at a smaller one where the label shrinks its text to fit.
            EXPECT_TRUE(Inside(r, visible_client)) << "the box runs off the screen";
            const auto& label = static_cast<const lumoff::ui::Label&>(c);
            lumoff::ui::Font smallest = c.font();
            smallest.points = kSmallestReadablePoints;
            const MeasuringFont smallest_font(smallest, dpi);
            const MeasuringFont& fitting = label.shrink_to_fit ? smallest_font : font;
            SIZE text = fitting.Wrapped(c.text(), Width(r));
            EXPECT_LE(text.cx, Width(r)) << "a word wider than the box";
            EXPECT_LE(text.cy, Height(r)) << "the text runs past the bottom of its box";
            continue;
        }
        EXPECT_TRUE(Inside(r, client_area)) << "outside the client area";
        SIZE text = font.Line(c.text());
        EXPECT_LE(text.cx + Decoration(c.kind(), dpi), Width(r)) << "caption \"" << c.text() << "\" is cut";
        // The leading above a character is empty: only the rest of the line must fit.
        EXPECT_LE(text.cy - font.InternalLeading(), Height(r)) << "caption \"" << c.text() << "\" is cut at the bottom";
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (Overlap(DesignRect(*controls[i]), DesignRect(*controls[j])))
                continue;
            EXPECT_FALSE(Overlap(actual[i], actual[j]))
                << form.name() << ": " << controls[i]->name() << " runs into " << controls[j]->name();
        }
    }
}

void ExpectClientSize(const lumoff::ui::Form& form, HWND window, int dpi) {
    RECT client = ClientRectOnScreen(window);
    EXPECT_NEAR(Width(client), Px(form.style().client_width, dpi), 1) << form.name();
    EXPECT_NEAR(Height(client), Px(form.style().client_height, dpi), 1) << form.name();
}

bool SamePicture(const Screenshot& a, const Screenshot& b) {
    RECT r = a.Bounds();
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            if (!(a.PixelAt({x, y}) == b.PixelAt({x, y})))
                return false;
    return true;
}

// The window's picture once it has been painted (two pictures in a row are the same), for a person to look at.
void SaveShot(HWND window, const std::wstring& name, int dpi) {
    RECT r = WindowRect(window);
    RECT screen = ScreenRect();
    IntersectRect(&r, &r, &screen);
    Screenshot shot = CaptureRect(r);
    WaitUntil([&] {
        Pause(Duration(300));
        Screenshot again = CaptureRect(r);
        bool settled = SamePicture(shot, again);
        shot = std::move(again);
        return settled;
    });
    shot.SaveBmp(ArtifactPath(name + L"-" + std::to_wstring(dpi) + L"dpi.bmp"));
}

RECT ClientOnScreenPart(HWND window) {
    RECT client = ClientRectOnScreen(window);
    RECT screen = ScreenRect();
    RECT shown;
    IntersectRect(&shown, &client, &screen);
    OffsetRect(&shown, -client.left, -client.top);
    return shown;
}

// One start of the program at this scale: each of its three windows shown, checked and saved.
void CheckWindowsAt(int dpi) {
    ASSERT_TRUE(SeedSettings());
    const DWORD log_pixels = static_cast<DWORD>(dpi);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &log_pixels,
                              sizeof log_pixels),
              ERROR_SUCCESS);
    const lumoff::MainWindow main_form;
    const lumoff::OptionsDialog options_form("http://127.0.0.1");
    lumoff::TurnedOffScreen screen_form;

    // The pointer away from where the windows come up, so that no tooltip covers them.
    const RECT whole = ScreenRect();
    ASSERT_TRUE(MoveCursor({whole.right - 1, whole.bottom - 1}));
    Lumoff lumoff;
    HWND caption = lumoff.WaitForMain();
    ASSERT_TRUE(caption);
    ExpectClientSize(main_form, caption, dpi);
    ExpectLaidOut(main_form, caption, dpi, ClientOnScreenPart(caption));
    SaveShot(caption, L"caption", dpi);

    // The settings and turn-off pictures, clicked where they are at this scale.
    auto centre_of = [&](const lumoff::ui::Control& c) {
        auto it = std::find_if(main_form.controls().begin(), main_form.controls().end(),
                               [&](const auto& p) { return p.get() == &c; });
        int id = kFirstControlId + static_cast<int>(it - main_form.controls().begin());
        return Center(WindowRect(GetDlgItem(caption, id)));
    };
    ASSERT_TRUE(Click(centre_of(main_form.imgSettings)));
    HWND options = WaitForWindow({.title = kOptionsTitle, .pid = lumoff.process.Pid(), .visibleOnly = true});
    ASSERT_TRUE(options);
    WaitForInputIdle(lumoff.process);
    ExpectClientSize(options_form, options, dpi);
    ExpectLaidOut(options_form, options, dpi, ClientOnScreenPart(options));
    SaveShot(options, L"options", dpi);
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    ASSERT_TRUE(WaitForHidden(options));

    ASSERT_TRUE(Click(centre_of(main_form.imgTurnOff)));
    HWND status = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND w : FindTopLevels({.className = kLumoffClass, .pid = lumoff.process.Pid(), .visibleOnly = true})) {
            const RECT r = WindowRect(w);
            if (EqualRect(&r, &whole))
                status = w;
        }
        return status != nullptr;
    })) << "the status screen covers the screen";
    WaitForInputIdle(lumoff.process);
    // One monitor: the virtual desktop is the primary monitor.
    const lumoff::ui::TwipRect monitor{0, 0, lumoff::ui::PixelsToTwips(Width(whole), dpi),
                                       lumoff::ui::PixelsToTwips(Height(whole), dpi)};
    screen_form.CoverScreen(monitor, monitor);
    ExpectLaidOut(screen_form, status, dpi, ClientOnScreenPart(status));
    SaveShot(status, L"status-screen", dpi);
}

TEST(Dpi, CaptionOptionsAndStatusScreenAreLaidOutWholeAtEachScaleTheProgramStartsWith) {
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        CheckWindowsAt(dpi);
    }
}

}  // namespace
