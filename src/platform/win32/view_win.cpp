#include "platform/win32/view_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/win32/artwork_win.h"

namespace lumoff::platform::win32 {

namespace {

constexpr char kFormClass[] = "LumoffForm";
constexpr char kLiteClass[] = "LumoffLite";
constexpr int kFirstControlId = 1000;
constexpr int kComboDropHeightPx = 200;
constexpr UINT_PTR kEditSubclassId = 1;
constexpr int kIconResource = 1;
// The face of controls that name none, at the size their font gives (8.25 points unless set). The layouts are
// measured in it; "MS Shell Dlg" stands for a wider face on some systems and would cut captions short.
constexpr const char* kDefaultFace = "MS Sans Serif";
constexpr UINT_PTR kFrameSubclassId = 2;
// Inset of the focus rectangle in a command button, in pixels at 96 dpi.
constexpr int kFocusInsetPx = 3;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

COLORREF ToColorref(ui::Colour c) {
    return (c & ui::kSystemColourFlag) ? GetSysColor(static_cast<int>(c & ~ui::kSystemColourFlag)) : c;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
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

bool IsDialog(const ui::Form& form) { return form.style().border == ui::Border::FixedToolWindow; }

// The option button that opens its group: the first of its container in tab order.
bool OpensOptionGroup(const ui::Form& form, const ui::Control& option) {
    for (const auto& other : form.controls()) {
        if (other.get() == &option || other->kind() != ui::Kind::OptionButton) continue;
        if (other->container() == option.container() && other->tab_index < option.tab_index) return false;
    }
    return true;
}

// Colours of the kinds that show the form's design colour; the lists keep the system's look in every state.
bool TakesBackColour(ui::Kind kind) { return kind != ui::Kind::ComboBox && kind != ui::Kind::Image; }

}  // namespace

struct Win32View::FormWindow {
    Win32View* view = nullptr;
    ui::Form* form = nullptr;
    HWND hwnd = nullptr;
    HWND tooltip = nullptr;
    HWND last_focus = nullptr;  // a dialog's focused control while it is inactive
    int dpi = USER_DEFAULT_SCREEN_DPI;
    int covered = 0;  // the form's cover count when it was last made to cover the screen
    std::map<std::string, HFONT> fonts;
    std::vector<ui::Control*> by_id;  // control id - kFirstControlId

    ~FormWindow() {
        for (auto& [key, font] : fonts) DeleteObject(font);
    }
    ui::Control* ById(int id) const {
        size_t index = static_cast<size_t>(id - kFirstControlId);
        return id >= kFirstControlId && index < by_id.size() ? by_id[index] : nullptr;
    }
};

Win32View::Win32View() {
    icon_ = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    small_icon_ = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = Instance();
    wc.hIcon = icon_;
    wc.hIconSm = small_icon_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);
    wc.lpfnWndProc = LiteProc;
    wc.hIcon = nullptr;
    wc.hIconSm = nullptr;
    wc.lpszClassName = kLiteClass;
    RegisterClassExA(&wc);
    taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32View::~Win32View() {
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
    if (icon_) DestroyIcon(icon_);
    if (small_icon_) DestroyIcon(small_icon_);
}

int Win32View::Px(const FormWindow& fw, double twips) const {
    return static_cast<int>(twips * fw.dpi / 1440.0 + (twips >= 0 ? 0.5 : -0.5));
}

double Win32View::Twips(const FormWindow& fw, int px) const { return px * 1440.0 / fw.dpi; }

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
    auto it = brushes_.find(colour);
    if (it != brushes_.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(colour);
    brushes_[colour] = brush;
    return brush;
}

HFONT Win32View::FontFor(FormWindow& fw, const ui::Font& font) {
    std::string face = font.face.empty() ? kDefaultFace : font.face;
    double points = font.points;
    std::string key = face + "/" + std::to_string(points) + (font.bold ? "b" : "") + "/" + std::to_string(fw.dpi);
    auto it = fw.fonts.find(key);
    if (it != fw.fonts.end()) return it->second;
    LOGFONTA lf{};
    lf.lfHeight = -static_cast<LONG>(points * fw.dpi / 72.0 + 0.5);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT h = CreateFontIndirectA(&lf);
    fw.fonts[key] = h;
    return h;
}

void Win32View::Create(ui::Form& form) {
    if (WindowOf(form)) return;
    auto owned = std::make_unique<FormWindow>();
    FormWindow& fw = *owned;
    fw.view = this;
    fw.form = &form;
    fw.dpi = SystemDpi();
    forms_[&form] = std::move(owned);

    const ui::FormStyle& s = form.style();
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD ex = s.taskbar_button ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    if (s.border == ui::Border::FixedToolWindow) style |= WS_CAPTION | WS_SYSMENU;
    if (s.border == ui::Border::FixedToolWindow) ex |= WS_EX_CONTROLPARENT;
    RECT r{0, 0, Px(fw, s.client_width), Px(fw, s.client_height)};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    // The move the system reports while it creates the window is not the form's: PlaceForm below puts the window at
    // the form's own position.
    syncing_ = true;
    fw.hwnd = CreateWindowExA(ex, kFormClass, form.title().c_str(), style, 0, 0, r.right - r.left, r.bottom - r.top,
                              nullptr, nullptr, Instance(), &fw);
    syncing_ = false;
    form.native = reinterpret_cast<std::uintptr_t>(fw.hwnd);
    form.host = this;
    // The class carries the icon too; set on the window, it is also what other programs ask the window for.
    SendMessageA(fw.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(fw.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));

    fw.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, fw.hwnd, nullptr,
                                 Instance(), nullptr);
    fw.by_id.clear();
    for (const auto& c : form.controls()) fw.by_id.push_back(c.get());
    for (ui::Control* c : CreationOrder(form)) CreateControl(fw, *c);
    Layout(fw);
    PlaceForm(fw);
    for (const auto& t : form.timers()) TimerChanged(*t);
    ApplyVisibility(fw);
}

void Win32View::CreateControl(FormWindow& fw, ui::Control& c) {
    int id = kFirstControlId + static_cast<int>(std::find(fw.by_id.begin(), fw.by_id.end(), &c) - fw.by_id.begin());
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible() ? WS_VISIBLE : 0) | (c.enabled() ? 0 : WS_DISABLED);
    DWORD ex = 0;
    const char* cls = "BUTTON";
    switch (c.kind()) {
        case ui::Kind::Label:
        case ui::Kind::Image:
            cls = kLiteClass;
            break;
        case ui::Kind::Frame:
            style |= BS_GROUPBOX | WS_GROUP;
            break;
        case ui::Kind::CheckBox:
            style |= BS_CHECKBOX | WS_TABSTOP | WS_GROUP;
            break;
        case ui::Kind::OptionButton:
            // The first option button of a container opens its group; arrows move within it.
            style |= BS_RADIOBUTTON | (OpensOptionGroup(*fw.form, c) ? WS_GROUP : 0) |
                     (static_cast<ui::OptionButton&>(c).value() ? WS_TABSTOP : 0);
            break;
        case ui::Kind::CommandButton:
            // Drawn by the view: the system's push button ignores the colour the button is given.
            style |= BS_OWNERDRAW | WS_TABSTOP | WS_GROUP;
            break;
        case ui::Kind::TextBox:
            cls = "EDIT";
            style |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
            ex |= WS_EX_CLIENTEDGE;
            break;
        case ui::Kind::ComboBox:
            cls = "COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
            break;
    }
    HWND h = CreateWindowExA(ex, cls, c.text().c_str(), style, 0, 0, 1, 1, fw.hwnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    c.native = reinterpret_cast<std::uintptr_t>(h);
    if (c.kind() == ui::Kind::Label || c.kind() == ui::Kind::Image)
        SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
    if (c.kind() == ui::Kind::TextBox) {
        SetWindowSubclass(h, EditProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(&c));
        SendMessageA(h, EM_SETLIMITTEXT, 0, 0);  // as much as the box can hold: the program corrects the text
    }
    if (c.kind() == ui::Kind::Frame)
        SetWindowSubclass(h, FrameProc, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(&c));
    if (c.kind() == ui::Kind::CheckBox) SendMessageA(h, BM_SETCHECK, static_cast<ui::CheckBox&>(c).value(), 0);
    if (c.kind() == ui::Kind::OptionButton)
        SendMessageA(h, BM_SETCHECK, static_cast<ui::OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
    if (c.kind() == ui::Kind::ComboBox) ControlChanged(c, ui::Property::Items);
    if (c.kind() == ui::Kind::TextBox && static_cast<ui::TextBox&>(c).locked()) SendMessageA(h, EM_SETREADONLY, TRUE, 0);
    if (!c.tooltip.empty()) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = fw.hwnd;
        ti.lpszText = const_cast<char*>(c.tooltip.c_str());
        if (c.kind() == ui::Kind::Frame) {
            // A frame's own window lets the mouse through to the form, so its tool is an area of the form.
            ti.uFlags = TTF_SUBCLASS;
            ti.uId = static_cast<UINT_PTR>(id);
        } else {
            ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
            ti.uId = reinterpret_cast<UINT_PTR>(h);
        }
        SendMessageA(fw.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void Win32View::Layout(FormWindow& fw) {
    for (ui::Control* c : fw.by_id) {
        const ui::TwipRect& r = c->rect();
        double left = r.left, top = r.top;
        if (ui::Control* frame = c->container()) {
            left += frame->rect().left;
            top += frame->rect().top;
        }
        int x = Px(fw, left), y = Px(fw, top);
        int w = Px(fw, left + r.width) - x, h = Px(fw, top + r.height) - y;
        if (c->kind() == ui::Kind::ComboBox) h += kComboDropHeightPx * fw.dpi / USER_DEFAULT_SCREEN_DPI;
        HWND hwnd = reinterpret_cast<HWND>(c->native);
        SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(fw, c->font())), FALSE);
        if (c->kind() == ui::Kind::Frame && !c->tooltip.empty()) {
            TOOLINFOA ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = fw.hwnd;
            ti.uId = static_cast<UINT_PTR>(kFirstControlId + (std::find(fw.by_id.begin(), fw.by_id.end(), c) - fw.by_id.begin()));
            ti.rect = {x, y, x + w, y + h};
            SendMessageA(fw.tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }
    InvalidateRect(fw.hwnd, nullptr, TRUE);
}

void Win32View::PlaceForm(FormWindow& fw) {
    RECT wr;
    GetWindowRect(fw.hwnd, &wr);
    int x, y;
    if (fw.form->style().centred) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + (work.right - work.left - (wr.right - wr.left)) / 2;
        y = work.top + (work.bottom - work.top - (wr.bottom - wr.top)) / 2;
    } else {
        x = Px(fw, fw.form->left());
        y = Px(fw, fw.form->top());
    }
    syncing_ = true;
    SetWindowPos(fw.hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    syncing_ = false;
}

void Win32View::ApplyVisibility(FormWindow& fw) {
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

void Win32View::ControlChanged(ui::Control& c, ui::Property what) {
    HWND h = reinterpret_cast<HWND>(c.native);
    FormWindow* fw = c.form() ? WindowOf(*c.form()) : nullptr;
    if (!h || !fw || syncing_) return;
    switch (what) {
        case ui::Property::Visible:
            ShowWindow(h, c.visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case ui::Property::Enabled:
            EnableWindow(h, c.enabled());
            if (c.kind() == ui::Kind::Label) InvalidateRect(h, nullptr, TRUE);  // painted by the view, grey when off
            break;
        case ui::Property::Text: {
            char current[512] = {};
            GetWindowTextA(h, current, sizeof current);
            if (c.text() != current) SetWindowTextA(h, c.text().c_str());
            if (c.kind() == ui::Kind::Label) {
                InvalidateRect(h, nullptr, TRUE);
                UpdateWindow(h);
            }
            break;
        }
        case ui::Property::Value:
            if (c.kind() == ui::Kind::CheckBox)
                SendMessageA(h, BM_SETCHECK, static_cast<ui::CheckBox&>(c).value(), 0);
            if (c.kind() == ui::Kind::OptionButton) {
                bool on = static_cast<ui::OptionButton&>(c).value();
                SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
                LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
                SetWindowLongPtrA(h, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
            }
            break;
        case ui::Property::Items: {
            auto& combo = static_cast<ui::ComboBox&>(c);
            const auto& items = combo.items();
            // A list is filled one item at a time, each a change: adding just the new item keeps a fill linear.
            // Anything else makes the list again.
            auto shown = static_cast<size_t>(SendMessageA(h, CB_GETCOUNT, 0, 0));
            if (items.empty() || shown + 1 != items.size()) {
                SendMessageA(h, CB_RESETCONTENT, 0, 0);
                shown = 0;
            }
            for (size_t i = shown; i < items.size(); ++i)
                SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
            SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(combo.list_index()), 0);
            break;
        }
        case ui::Property::Selection:
            SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(static_cast<ui::ComboBox&>(c).list_index()), 0);
            break;
        case ui::Property::Locked:
            SendMessageA(h, EM_SETREADONLY, static_cast<ui::TextBox&>(c).locked(), 0);
            break;
        case ui::Property::BackColour:
            InvalidateRect(h, nullptr, TRUE);
            break;
        case ui::Property::Position:
        case ui::Property::Font:
            Layout(*fw);
            break;
    }
}

void Win32View::TimerChanged(ui::Timer& timer) {
    FormWindow* fw = timer.form ? WindowOf(*timer.form) : nullptr;
    if (!fw) return;
    UINT_PTR id = reinterpret_cast<UINT_PTR>(&timer);
    if (timer.enabled()) {
        SetTimer(fw->hwnd, id, timer.interval(), nullptr);
        live_timers_.insert(&timer);
    } else {
        KillTimer(fw->hwnd, id);
        live_timers_.erase(&timer);
    }
}

void Win32View::PopupMenu(ui::Form& owner, const ui::Menu& menu) {
    FormWindow* fw = WindowOf(owner);
    if (!fw) return;
    HMENU popup = CreatePopupMenu();
    for (size_t i = 0; i < menu.items.size(); ++i) {
        if (menu.items[i].caption == "-")
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(popup, MF_STRING, i + 1, menu.items[i].caption.c_str());
    }
    POINT pt;
    GetCursorPos(&pt);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, 0,
                       fw->hwnd, nullptr));
    // Lets the menu close properly when the owner was made foreground only for it.
    PostMessageA(fw->hwnd, WM_NULL, 0, 0);
    DestroyMenu(popup);
    if (chosen >= 1 && chosen <= menu.items.size() && menu.items[chosen - 1].OnClick) menu.items[chosen - 1].OnClick();
}

void Win32View::BeginCaptionDrag(ui::Form& form) {
    FormWindow* fw = WindowOf(form);
    if (!fw) return;
    ReleaseCapture();
    SendMessageA(fw->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

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

// ---- Dialog keyboard -------------------------------------------------------------------------------------------

bool Win32View::CanTakeFocus(const ui::Control& c) const {
    switch (c.kind()) {
        case ui::Kind::CheckBox:
        case ui::Kind::OptionButton:
        case ui::Kind::CommandButton:
        case ui::Kind::TextBox:
        case ui::Kind::ComboBox:
            break;
        default:
            return false;
    }
    if (c.tab_index < 0) return false;
    // A control in a hidden or disabled frame is out of reach too.
    for (const ui::Control* p = &c; p; p = p->container())
        if (!p->visible() || !p->enabled()) return false;
    HWND h = reinterpret_cast<HWND>(c.native);
    return h && IsWindowVisible(h) && IsWindowEnabled(h);
}

// The controls Tab stops at, in tab order. A group of option buttons is one stop: its selected button, or its
// first one while none is selected.
std::vector<ui::Control*> Win32View::TabStops(const FormWindow& fw) const {
    std::vector<ui::Control*> stops;
    const auto& controls = fw.form->controls();
    for (const auto& c : controls) {
        if (!CanTakeFocus(*c)) continue;
        if (c->kind() == ui::Kind::OptionButton && !static_cast<ui::OptionButton&>(*c).value()) {
            bool other_stop = false;
            for (const auto& other : controls) {
                if (other == c || other->kind() != ui::Kind::OptionButton || other->container() != c->container() ||
                    !CanTakeFocus(*other))
                    continue;
                if (static_cast<ui::OptionButton&>(*other).value() || other->tab_index < c->tab_index)
                    other_stop = true;
            }
            if (other_stop) continue;
        }
        stops.push_back(c.get());
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const ui::Control* a, const ui::Control* b) { return a->tab_index < b->tab_index; });
    return stops;
}

ui::Control* Win32View::FocusedControl(const FormWindow& fw) const {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != fw.hwnd) return nullptr;
    return fw.ById(GetDlgCtrlID(focus));
}

void Win32View::FocusControl(FormWindow& fw, ui::Control& c) {
    HWND h = reinterpret_cast<HWND>(c.native);
    SetFocus(h);
    // Tabbing into a text box selects its text, so that typing replaces it.
    if (c.kind() == ui::Kind::TextBox) SendMessageA(h, EM_SETSEL, 0, -1);
    // The keyboard is in use: show focus rectangles from now on.
    SendMessageA(fw.hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void Win32View::MoveFocus(FormWindow& fw, bool backward) {
    std::vector<ui::Control*> stops = TabStops(fw);
    if (stops.empty()) return;
    ui::Control* current = FocusedControl(fw);
    ui::Control* target = nullptr;
    auto at = std::find(stops.begin(), stops.end(), current);
    if (at != stops.end()) {
        size_t n = stops.size(), i = static_cast<size_t>(at - stops.begin());
        target = stops[(i + (backward ? n - 1 : 1)) % n];
    } else if (current && !backward) {
        for (ui::Control* c : stops)
            if (c->tab_index > current->tab_index) {
                target = c;
                break;
            }
    } else if (current) {
        for (auto it = stops.rbegin(); it != stops.rend(); ++it)
            if ((*it)->tab_index < current->tab_index) {
                target = *it;
                break;
            }
    }
    if (!target) target = backward ? stops.back() : stops.front();
    FocusControl(fw, *target);
}

void Win32View::RestoreFocus(FormWindow& fw) {
    HWND last = fw.last_focus;
    if (last && IsWindow(last) && IsWindowVisible(last) && IsWindowEnabled(last)) {
        SetFocus(last);
        return;
    }
    std::vector<ui::Control*> stops = TabStops(fw);
    SetFocus(stops.empty() ? fw.hwnd : reinterpret_cast<HWND>(stops.front()->native));
}

bool Win32View::OnDialogKey(FormWindow& fw, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    ui::Control* focused = FocusedControl(fw);
    switch (msg.wParam) {
        case VK_TAB:
            MoveFocus(fw, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (!focused) return false;
            // Text boxes and lists use the arrows themselves; check boxes and buttons stand alone.
            if (focused->kind() == ui::Kind::CheckBox || focused->kind() == ui::Kind::CommandButton) return true;
            if (focused->kind() != ui::Kind::OptionButton) return false;
            // Within a group of option buttons the arrows move round the group, and moving selects.
            std::vector<ui::Control*> group;
            for (const auto& c : fw.form->controls())
                if (c->kind() == ui::Kind::OptionButton && c->container() == focused->container() &&
                    (c.get() == focused || CanTakeFocus(*c)))
                    group.push_back(c.get());
            std::stable_sort(group.begin(), group.end(),
                             [](const ui::Control* a, const ui::Control* b) { return a->tab_index < b->tab_index; });
            size_t n = group.size();
            size_t i = static_cast<size_t>(std::find(group.begin(), group.end(), focused) - group.begin());
            bool backward = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
            ui::Control* next = group[(i + (backward ? n - 1 : 1)) % n];
            if (next == focused) return true;
            FocusControl(fw, *next);
            static_cast<ui::OptionButton&>(*next).set_value(true);
            return true;
        }
        case VK_RETURN:
            // Enter presses the focused command button.
            if (!focused || focused->kind() != ui::Kind::CommandButton) return false;
            static_cast<ui::CommandButton&>(*focused).Click();
            return true;
        default:
            return false;
    }
}

// ---- Event loop ------------------------------------------------------------------------------------------------

void Win32View::WaitMessage() { ::WaitMessage(); }

bool Win32View::TakeHotKeyMessage(WindowRef window) {
    MSG msg;
    return PeekMessageA(&msg, reinterpret_cast<HWND>(window), WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != FALSE;
}

void Win32View::DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) ExitProcess(static_cast<UINT>(msg.wParam));
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        FormWindow* dialog = nullptr;
        for (auto& [form, fw] : forms_)
            if (fw->hwnd == root && IsDialog(*form)) dialog = fw.get();
        if (dialog && OnDialogKey(*dialog, msg)) continue;
        if (dialog && IsDialogMessageA(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// ---- Window procedures -----------------------------------------------------------------------------------------

LRESULT CALLBACK Win32View::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* fw = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fw));
        fw->hwnd = hwnd;
    }
    auto* fw = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!fw || !fw->form) return DefWindowProcA(hwnd, msg, wp, lp);
    return fw->view->OnFormMessage(*fw, hwnd, msg, wp, lp);
}

LRESULT Win32View::OnFormMessage(FormWindow& fw, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    ui::Form& form = *fw.form;
    if (msg == taskbar_created_ && taskbar_created_ != 0) {
        if (form.OnShellRestarted) form.OnShellRestarted();
        return 0;
    }
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(reinterpret_cast<HDC>(wp), &rc, BrushFor(form.style().back_colour));
            return 1;
        }
        case WM_CLOSE:
            if (form.OnCloseRequest) form.OnCloseRequest();
            return 0;
        case WM_SETTEXT: {
            // Another copy retitles this window to talk to it: the form's title must follow.
            LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
            if (!syncing_ && lp) {
                syncing_ = true;
                form.set_title(reinterpret_cast<const char*>(lp));
                syncing_ = false;
            }
            return result;
        }
        case WM_ACTIVATE:
            // A dialog keeps its focused control while another window is active, as the system's dialogs do.
            if (!IsDialog(form)) break;
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) fw.last_focus = focus;
            } else if (!HIWORD(wp)) {
                RestoreFocus(fw);
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item->CtlType != ODT_BUTTON) break;
            DrawCommandButton(fw, *item);
            return TRUE;
        }
        case WM_COMMAND:
            if (lp == 0 && LOWORD(wp) == IDCANCEL) {  // Escape in a dialog
                if (form.OnCloseRequest) form.OnCloseRequest();
                return 0;
            }
            if (lp != 0) OnCommand(fw, LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT: {
            ui::Control* c = fw.ById(GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
            if (!c || !TakesBackColour(c->kind())) break;
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkColor(dc, ToColorref(c->back_colour()));
            SetTextColor(dc, ToColorref(c->fore_colour));
            return reinterpret_cast<LRESULT>(BrushFor(c->back_colour()));
        }
        case WM_TIMER: {
            auto* timer = reinterpret_cast<ui::Timer*>(wp);
            if (live_timers_.count(timer)) timer->Tick();
            return 0;
        }
        case WM_HOTKEY:
            if (form.OnHotKey) form.OnHotKey(static_cast<int>(wp));
            return 0;
        case WM_MOUSEMOVE:
            if (form.OnMouseMove) form.OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_MOVE:
            if (!syncing_) {
                RECT wr;
                GetWindowRect(hwnd, &wr);
                syncing_ = true;
                form.set_position(static_cast<float>(Twips(fw, wr.left)), static_cast<float>(Twips(fw, wr.top)));
                syncing_ = false;
            }
            return 0;
        case WM_DPICHANGED: {
            fw.dpi = HIWORD(wp);
            const RECT* r = reinterpret_cast<const RECT*>(lp);
            syncing_ = true;
            SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            syncing_ = false;
            Layout(fw);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void Win32View::OnCommand(FormWindow& fw, int id, int code) {
    ui::Control* c = fw.ById(id);
    if (!c) return;
    HWND h = reinterpret_cast<HWND>(c->native);
    switch (c->kind()) {
        case ui::Kind::CheckBox:
            if (code == BN_CLICKED) {
                auto& box = static_cast<ui::CheckBox&>(*c);
                box.set_value(box.value() ? 0 : 1);
            }
            break;
        case ui::Kind::OptionButton:
            if (code == BN_CLICKED) static_cast<ui::OptionButton&>(*c).set_value(true);
            break;
        case ui::Kind::CommandButton:
            // A drawn button reports the second press of a quick double click as a double click; it is a click.
            if (code == BN_CLICKED || code == BN_DOUBLECLICKED) static_cast<ui::CommandButton&>(*c).Click();
            break;
        case ui::Kind::ComboBox:
            if (code == CBN_SELCHANGE) {
                int index = static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0));
                static_cast<ui::ComboBox&>(*c).set_list_index(index);
            }
            break;
        case ui::Kind::TextBox:
            if (code == EN_CHANGE) {
                int n = GetWindowTextLengthA(h);
                std::string text(static_cast<size_t>(n) + 1, '\0');
                GetWindowTextA(h, text.data(), n + 1);
                text.resize(static_cast<size_t>(n));
                syncing_ = true;
                c->set_text(text);
                syncing_ = false;
            }
            break;
        default:
            break;
    }
}

LRESULT CALLBACK Win32View::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* box = reinterpret_cast<ui::TextBox*>(data);
    if (msg == WM_CHAR) {
        if (box->OnKeyPress) {
            char key = static_cast<char>(wp);
            box->OnKeyPress(key);
            if (key == 0) return 0;
            wp = static_cast<unsigned char>(key);
        }
    }
    if (msg == WM_KILLFOCUS) {
        // Lost focus means another control of the program took it; switching to another program is not a loss.
        auto next = reinterpret_cast<HWND>(wp);
        DWORD process = 0;
        if (next) GetWindowThreadProcessId(next, &process);
        LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
        if (next && process == GetCurrentProcessId() && box->OnLostFocus) box->OnLostFocus();
        return result;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32View::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_ERASEBKGND) {
        // The group box paints only its line and caption, and the form does not paint beneath its children.
        auto* frame = reinterpret_cast<ui::Control*>(data);
        auto* view = static_cast<Win32View*>(frame->form()->host);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, view->BrushFor(frame->back_colour()));
        return 1;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
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
    HGDIOBJ old = SelectObject(dc, FontFor(*fw, c.font()));
    RECT text_area = client;
    UINT format = DT_WORDBREAK | DT_NOPREFIX | (label.align == ui::Align::Centre ? DT_CENTER : DT_LEFT);
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
