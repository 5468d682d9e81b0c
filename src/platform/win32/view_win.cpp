// The Win32 view's forms: window classes, creating a form's window and its controls, placing and laying them out
// at the window's DPI, mirroring the form's changes, timers, the pop-up menu and the caption drag.
#include "platform/win32/view_win.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/win32/common_controls_win.h"
#include "platform/win32/view_win_internal.h"
#include "ui/layout.h"

namespace lumoff::platform::win32 {

namespace {

constexpr int kComboDropHeightPx = 200;
// A scroll bar's line and the wheel's step of three of them: a row of the layouts.
constexpr int kScrollLineTwips = 240;
constexpr int kWheelLines = 3;
constexpr int kIconResource = 1;
// The face of controls that name none, at the size their font gives (8.25 points unless set). The layouts are
// measured in it; "MS Shell Dlg" stands for a wider face on some systems and would cut captions short.
constexpr const char* kDefaultFace = "MS Sans Serif";

int SystemDpi() {
    ScreenDc screen;
    int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// Stable order of creation: the tab order where the form has one, the list order otherwise, and frames last.
// Child windows are stacked in the order they are created; a frame must lie beneath the controls drawn inside it,
// or the sibling clipping of those controls would cut them away where the frame covers them.
std::vector<ui::Control*> CreationOrder(const ui::Form& form) {
    std::vector<ui::Control*> order;
    for (const auto& c : form.controls()) order.push_back(c.get());
    std::stable_sort(order.begin(), order.end(), [](const ui::Control* a, const ui::Control* b) {
        bool fa = a->kind() == ui::Kind::Frame, fb = b->kind() == ui::Kind::Frame;
        if (fa != fb) return fb;
        int ta = a->tab_index < 0 ? 1 << 30 : a->tab_index;
        int tb = b->tab_index < 0 ? 1 << 30 : b->tab_index;
        return ta < tb;
    });
    return order;
}

}  // namespace

Win32View::Win32View() {
    icon_ = OwnedIcon(static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    small_icon_ = OwnedIcon(static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXSMICON),
                                                          GetSystemMetrics(SM_CYSMICON), 0)));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = Instance();
    wc.hIcon = icon_.get();
    wc.hIconSm = small_icon_.get();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);  // the system's shared cursor: not the program's to free
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);
    wc.lpfnWndProc = LiteProc;
    wc.hIcon = nullptr;
    wc.hIconSm = nullptr;
    wc.lpszClassName = kLiteClass;
    RegisterClassExA(&wc);
    taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
    system_dpi_ = SystemDpi();
}

Win32View::~Win32View() = default;

int Win32View::Px(const FormWindow& fw, double twips) const { return ui::TwipsToPixels(twips, fw.dpi); }

Win32View::FormWindow* Win32View::WindowOf(const ui::Form& form) {
    auto it = forms_.find(&form);
    return it == forms_.end() ? nullptr : it->second.get();
}

WindowRef Win32View::Handle(const ui::Form& form) {
    FormWindow* fw = WindowOf(form);
    return fw ? reinterpret_cast<WindowRef>(fw->hwnd) : 0;
}

HBRUSH Win32View::BrushFor(ui::Colour colour) {
    if (colour & ui::kSystemColourFlag) return GetSysColorBrush(static_cast<int>(colour & ~ui::kSystemColourFlag));
    OwnedGdi& brush = brushes_[colour];
    if (!brush) brush = OwnedGdi(CreateSolidBrush(colour));
    return static_cast<HBRUSH>(brush.get());
}

HFONT Win32View::FontFor(FormWindow& fw, const ui::Font& font) {
    std::string face = font.face.empty() ? kDefaultFace : font.face;
    // Hundredths of a point tell every size of the layout apart (8.25 pt is 825).
    const long hundredths = std::lround(font.points * 100);
    std::string key = face + "/" + std::to_string(hundredths) + (font.bold ? "b" : "") + "/" + std::to_string(fw.dpi);
    OwnedGdi& cached = fw.fonts[key];
    if (cached) return static_cast<HFONT>(cached.get());
    LOGFONTA lf{};
    lf.lfHeight = -ui::FontPixelHeight(font, fw.dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    cached = OwnedGdi(CreateFontIndirectA(&lf));
    return static_cast<HFONT>(cached.get());
}

void Win32View::Create(ui::Form& form) {
    if (WindowOf(form)) return;
    auto owned = std::make_unique<FormWindow>();
    FormWindow& fw = *owned;
    fw.view = this;
    fw.form = &form;
    fw.dpi = system_dpi_;
    forms_[&form] = std::move(owned);

    const ui::FormStyle& s = form.style();
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD ex = s.taskbar_button ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    if (s.border == ui::Border::FixedToolWindow) style |= WS_CAPTION | WS_SYSMENU;
    if (s.border == ui::Border::FixedToolWindow) ex |= WS_EX_CONTROLPARENT;
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    fw.frame = {r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXVSCROLL)};
    const ui::FormPixels designed = ui::LayOut(form, fw.dpi);
    // The move the system reports while it creates the window is not the form's: PlaceForm below puts the window at
    // the form's own position.
    syncing_ = true;
    fw.hwnd = CreateWindowExA(ex, kFormClass, form.title().c_str(), style, 0, 0, designed.client_width + fw.frame.width,
                              designed.client_height + fw.frame.height, nullptr, nullptr, Instance(), &fw);
    syncing_ = false;
    form.native = reinterpret_cast<std::uintptr_t>(fw.hwnd);
    form.host = this;
    // The class carries the icon too; set on the window, it is also what other programs ask the window for.
    SendMessageA(fw.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(fw.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));

    fw.by_id.clear();
    for (const auto& c : form.controls()) fw.by_id.push_back(c.get());
    Fit(fw);  // on the primary monitor, where the window stands until it is placed
    // A dialog created hidden gets its child windows when it is first shown: the Options dialog waits hidden from
    // start-up on, and making its many controls would hold up the caption window. The control objects keep the live
    // state meanwhile, and the windows are made from it.
    if (!IsDialog(form) || form.visible()) MakeControls(fw);
    PlaceForm(fw);
    for (const auto& t : form.timers()) TimerChanged(*t);
    ApplyVisibility(fw);
}

void Win32View::MakeControls(FormWindow& fw) {
    if (fw.controls_made) return;
    fw.controls_made = true;
    // First: a dialog's controls are the common controls' own version of the system's, as the manifest asks. (The
    // caption window and the status screen have only controls the view draws.)
    if (IsDialog(*fw.form)) common_controls::Load();
    for (ui::Control* c : CreationOrder(*fw.form)) CreateControl(fw, *c);
    Layout(fw);
}

ui::WindowFrame Win32View::FrameAt(const FormWindow& fw) const {
    // The frame at another DPI than the system's is scaled from the one measured at the system DPI: AdjustWindowRectEx
    // knows only that one, and its ForDpi form is missing before Windows 10.
    return {MulDiv(fw.frame.width, fw.dpi, system_dpi_), MulDiv(fw.frame.height, fw.dpi, system_dpi_),
            MulDiv(fw.frame.scroll_bar, fw.dpi, system_dpi_)};
}

namespace {

ui::PixelRect WorkArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT& w = info.rcWork;
    return {w.left, w.top, w.right - w.left, w.bottom - w.top};
}

}  // namespace

void Win32View::Fit(FormWindow& fw) {
    fw.monitor = MonitorFromWindow(fw.hwnd, MONITOR_DEFAULTTONEAREST);
    fw.pixels = ui::LayOutToFit(*fw.form, fw.dpi, WorkArea(fw.monitor), FrameAt(fw));
    ApplyFit(fw);
}

void Win32View::ApplyFit(FormWindow& fw) {
    // Only a window that fits the work area is sized from its layout: the status screen takes the size of the
    // desktop it covers, and a window moved to another DPI otherwise keeps the size the system suggests.
    if (fw.form->style().fits_work_area) {
        const ui::FormPixels& p = fw.pixels;
        fw.scroll = ui::ClampScroll(p, fw.scroll);
        // The bar shows only while the content is taller than the page.
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, p.content_height - 1,
                        static_cast<UINT>(p.client_height), fw.scroll, 0};
        SetScrollInfo(fw.hwnd, SB_VERT, &info, TRUE);
        syncing_ = true;
        SetWindowPos(fw.hwnd, nullptr, 0, 0, p.window_width, p.window_height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        syncing_ = false;
    }
    Layout(fw);
}

void Win32View::Layout(FormWindow& fw) {
    if (!fw.controls_made) return;
    for (size_t i = 0; i < fw.by_id.size(); ++i) {
        ui::Control* c = fw.by_id[i];
        ui::PixelRect r = fw.pixels.controls[i].rect;
        r.top -= fw.scroll;
        int h = r.height;
        if (c->kind() == ui::Kind::ComboBox) h += kComboDropHeightPx * fw.dpi / USER_DEFAULT_SCREEN_DPI;
        HWND hwnd = reinterpret_cast<HWND>(c->native);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, h, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(fw, c->font())), FALSE);
        if (c->kind() == ui::Kind::Frame) MoveFrameTool(fw, i, r);
    }
    InvalidateRect(fw.hwnd, nullptr, TRUE);
}

void Win32View::OnDpiChanged(FormWindow& fw, int dpi, const RECT& r) {
    fw.dpi = dpi;
    const ui::PixelRect suggested{r.left, r.top, r.right - r.left, r.bottom - r.top};
    fw.monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    syncing_ = true;
    fw.pixels = ui::OnDpiChanged(*fw.form, dpi, suggested, system_dpi_, WorkArea(fw.monitor), FrameAt(fw));
    SetWindowPos(fw.hwnd, nullptr, suggested.left, suggested.top, suggested.width, suggested.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    syncing_ = false;
    ApplyFit(fw);
}

void Win32View::OnWorkAreaChanged(FormWindow& fw) {
    if (!fw.form->style().fits_work_area) return;
    Fit(fw);
    // Where it no longer fits where it stands, the window moves inside; its move is the form's (WM_MOVE).
    const ui::PixelRect work = WorkArea(MonitorFromWindow(fw.hwnd, MONITOR_DEFAULTTONEAREST));
    RECT wr;
    GetWindowRect(fw.hwnd, &wr);
    SetWindowPos(fw.hwnd, nullptr, ui::InsideStart(wr.left, wr.right - wr.left, work.left, work.width),
                 ui::InsideStart(wr.top, wr.bottom - wr.top, work.top, work.height), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32View::ScrollTo(FormWindow& fw, int scroll) {
    scroll = ui::ClampScroll(fw.pixels, scroll);
    if (scroll == fw.scroll) return;
    fw.scroll = scroll;
    SetScrollPos(fw.hwnd, SB_VERT, scroll, TRUE);
    Layout(fw);
}

void Win32View::OnScroll(FormWindow& fw, UINT msg, WPARAM wp) {
    const int line = Px(fw, kScrollLineTwips), page = fw.pixels.client_height;
    int to = fw.scroll;
    if (msg == WM_MOUSEWHEEL) {
        to -= GET_WHEEL_DELTA_WPARAM(wp) * kWheelLines * line / WHEEL_DELTA;
    } else {
        switch (LOWORD(wp)) {
            case SB_LINEUP: to -= line; break;
            case SB_LINEDOWN: to += line; break;
            case SB_PAGEUP: to -= page; break;
            case SB_PAGEDOWN: to += page; break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: to = HIWORD(wp); break;
            case SB_TOP: to = 0; break;
            case SB_BOTTOM: to = fw.pixels.content_height; break;
            default: break;
        }
    }
    ScrollTo(fw, to);
}

void Win32View::ScrollIntoView(FormWindow& fw, HWND control) {
    const size_t index = static_cast<size_t>(GetDlgCtrlID(control) - kFirstControlId);
    if (fw.pixels.scrolls() && index < fw.pixels.controls.size())
        ScrollTo(fw, ui::ScrollToShow(fw.pixels, fw.scroll, fw.pixels.controls[index].rect));
}

void Win32View::PlaceForm(FormWindow& fw) {
    RECT wr;
    GetWindowRect(fw.hwnd, &wr);
    int x, y;
    if (fw.form->style().centred) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = ui::CentredStart(work.left, work.right - work.left, wr.right - wr.left);
        y = ui::CentredStart(work.top, work.bottom - work.top, wr.bottom - wr.top);
    } else {
        // Screen positions convert at the system DPI, whatever the window's own DPI (see ui/layout.h).
        x = ui::TwipsToPixels(fw.form->left(), system_dpi_);
        y = ui::TwipsToPixels(fw.form->top(), system_dpi_);
    }
    syncing_ = true;
    SetWindowPos(fw.hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    syncing_ = false;
}

void Win32View::ApplyVisibility(FormWindow& fw) {
    // Before the window shows, so that its first activation finds the controls to focus. (Not while syncing: making
    // a list fills it through ControlChanged.)
    if (fw.form->visible()) MakeControls(fw);
    syncing_ = true;
    if (!fw.form->visible()) {
        ShowWindow(fw.hwnd, SW_HIDE);
    } else if (fw.form->cover_count() != fw.covered) {
        // The whole virtual desktop: every monitor, also those left of or above the primary one.
        fw.covered = fw.form->cover_count();
        SetWindowPos(fw.hwnd, HWND_TOPMOST, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), SWP_SHOWWINDOW);
    } else if (fw.form->topmost()) {
        SetWindowPos(fw.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    } else {
        ShowWindow(fw.hwnd, SW_SHOW);
    }
    syncing_ = false;
    if (fw.form->visible()) ScheduleTooltip(fw);
}

void Win32View::FormChanged(ui::Form& form, ui::Property what) {
    FormWindow* fw = WindowOf(form);
    if (!fw || syncing_) return;
    switch (what) {
        case ui::Property::Visible:
            ApplyVisibility(*fw);
            break;
        case ui::Property::Text:
            SetWindowTextA(fw->hwnd, form.title().c_str());
            break;
        case ui::Property::Position:
            PlaceForm(*fw);
            break;
        default:
            break;
    }
}

void Win32View::TimerChanged(ui::Timer& timer) {
    FormWindow* fw = timer.form ? WindowOf(*timer.form) : nullptr;
    if (!fw) return;
    UINT_PTR id = reinterpret_cast<UINT_PTR>(&timer);
    if (timer.enabled())
        live_timers_[&timer].Start(fw->hwnd, id, timer.interval());
    else
        live_timers_.erase(&timer);
}

void Win32View::PopupMenu(ui::Form& owner, const ui::Menu& menu) {
    FormWindow* fw = WindowOf(owner);
    if (!fw) return;
    OwnedMenu popup(CreatePopupMenu());
    for (size_t i = 0; i < menu.items.size(); ++i) {
        if (menu.items[i].caption == "-")
            AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(popup.get(), MF_STRING, i + 1, menu.items[i].caption.c_str());
    }
    POINT pt;
    GetCursorPos(&pt);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(popup.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, 0,
                       fw->hwnd, nullptr));
    // Lets the menu close properly when the owner was made foreground only for it.
    PostMessageA(fw->hwnd, WM_NULL, 0, 0);
    popup.reset();
    if (chosen >= 1 && chosen <= menu.items.size() && menu.items[chosen - 1].OnClick) menu.items[chosen - 1].OnClick();
}

void Win32View::BeginCaptionDrag(ui::Form& form) {
    FormWindow* fw = WindowOf(form);
    if (!fw) return;
    ReleaseCapture();
    SendMessageA(fw->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
}  // namespace lumoff::platform::win32
