// The Win32 view's painting: the drawn command buttons and the "lite" labels and pictures, which are painted by
// the view and take the mouse themselves.
#include "platform/win32/view_win.h"

#include <windowsx.h>

#include "platform/win32/artwork_win.h"
#include "platform/win32/view_win_internal.h"

namespace lumoff::platform::win32 {

namespace {

// Inset of the focus rectangle in a command button, in pixels at 96 dpi.
constexpr int kFocusInsetPx = 3;
// A label that shrinks its text to fit goes down by this factor each step, and no smaller than this.
constexpr double kShrinkStep = 0.9;
constexpr double kSmallestShrunkPoints = 8;

}  // namespace

// A raised face in the button's own colour with its caption; while pressed the face sinks and the caption moves
// down and right by a pixel. The focused button gets a dark outline and a dotted focus rectangle.
void Win32View::DrawCommandButton(FormWindow& fw, const DRAWITEMSTRUCT& item) {
    ui::Control* c = fw.ById(static_cast<int>(item.CtlID));
    if (!c) return;
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool disabled = item.itemState & ODS_DISABLED;
    FillRect(dc, &face, BrushFor(c->back_colour()));
    if (focused || pressed) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    if (pressed)
        FrameRect(dc, &face, GetSysColorBrush(COLOR_3DSHADOW));
    else
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);

    RECT text = item.rcItem;
    if (pressed) OffsetRect(&text, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, FontFor(fw, c->font()));
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (disabled) {
        // Engraved, as the system shows a disabled caption.
        RECT light = text;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, c->text().c_str(), -1, &light, format);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    } else {
        SetTextColor(dc, ToColorref(c->fore_colour));
    }
    DrawTextA(dc, c->text().c_str(), -1, &text, format);
    SelectObject(dc, old);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT ring = item.rcItem;
        int inset = kFocusInsetPx * fw.dpi / USER_DEFAULT_SCREEN_DPI;
        InflateRect(&ring, -inset, -inset);
        DrawFocusRect(dc, &ring);
    }
}

LRESULT CALLBACK Win32View::LiteProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* c = reinterpret_cast<ui::Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!c || !c->form()) return DefWindowProcA(hwnd, msg, wp, lp);
    auto* view = static_cast<Win32View*>(c->form()->host);
    return view->OnLiteMessage(*c, hwnd, msg, wp, lp);
}

void Win32View::PaintLite(ui::Control& c, HDC dc, const RECT& client) {
    FormWindow* fw = WindowOf(*c.form());
    if (c.kind() == ui::Kind::Image) {
        FillRect(dc, &client, BrushFor(c.form()->style().back_colour));
        DrawPicture(dc, client, static_cast<ui::Image&>(c).picture);
        return;
    }
    auto& label = static_cast<ui::Label&>(c);
    if (label.transparent) {
        // Show what lies beneath: the form's colour and the pictures below this label.
        FillRect(dc, &client, BrushFor(c.form()->style().back_colour));
        bool below = false;
        for (const auto& other : c.form()->controls()) {
            if (other.get() == &c) {
                below = true;
                continue;
            }
            if (!below || other->kind() != ui::Kind::Image || !other->visible()) continue;
            const ui::TwipRect& r = other->rect();
            RECT area{Px(*fw, r.left - c.rect().left), Px(*fw, r.top - c.rect().top),
                      Px(*fw, r.left + r.width - c.rect().left), Px(*fw, r.top + r.height - c.rect().top)};
            DrawPicture(dc, area, static_cast<ui::Image&>(*other).picture);
        }
    } else {
        FillRect(dc, &client, BrushFor(c.back_colour()));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorref(c.enabled() ? c.fore_colour : GetSysColor(COLOR_GRAYTEXT)));
    UINT format = DT_WORDBREAK | DT_NOPREFIX | (label.align == ui::Align::Centre ? DT_CENTER : DT_LEFT);
    HGDIOBJ old = SelectObject(dc, FontFor(*fw, c.font()));
    if (label.shrink_to_fit) {
        // Smaller by steps until the wrapped text fits the box in both directions (a word wider than the box would
        // make the measured rectangle wider).
        ui::Font font = c.font();
        for (;;) {
            RECT needed{0, 0, client.right - client.left, 0};
            DrawTextA(dc, c.text().c_str(), -1, &needed, format | DT_CALCRECT);
            const bool fits = needed.right <= client.right - client.left && needed.bottom <= client.bottom - client.top;
            if (fits || font.points <= kSmallestShrunkPoints) break;
            font.points *= kShrinkStep;
            SelectObject(dc, FontFor(*fw, font));
        }
    }
    RECT text_area = client;
    DrawTextA(dc, c.text().c_str(), -1, &text_area, format);
    SelectObject(dc, old);
}

LRESULT Win32View::OnLiteMessage(ui::Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const bool is_label = c.kind() == ui::Kind::Label;
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT rc;
            GetClientRect(hwnd, &rc);
            PaintLite(c, dc, rc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDBLCLK:
            if (is_label) {
                if (auto& on = static_cast<ui::Label&>(c).OnDblClick) on();
                return 0;
            }
            // A picture button takes two quick clicks as two clicks: the settings button shows and hides.
            [[fallthrough]];
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            ui::MouseButton button = msg != WM_RBUTTONDOWN && msg != WM_MBUTTONDOWN ? ui::MouseButton::Left
                                     : msg == WM_RBUTTONDOWN ? ui::MouseButton::Right
                                                             : ui::MouseButton::Middle;
            if (button == ui::MouseButton::Left) {
                SetCapture(hwnd);
                SetPropA(hwnd, "LumoffPressed", reinterpret_cast<HANDLE>(1));
            }
            if (is_label) {
                auto& label = static_cast<ui::Label&>(c);
                if (label.OnMouseDown) label.OnMouseDown(button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            bool pressed = RemovePropA(hwnd, "LumoffPressed") != nullptr;
            if (GetCapture() == hwnd) ReleaseCapture();
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc;
            GetClientRect(hwnd, &rc);
            if (!pressed || !PtInRect(&rc, pt)) return 0;
            if (is_label) {
                if (auto& on = static_cast<ui::Label&>(c).OnClick) on();
            } else {
                static_cast<ui::Image&>(c).Click();
            }
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace lumoff::platform::win32
