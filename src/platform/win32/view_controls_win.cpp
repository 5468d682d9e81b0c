// The Win32 view's controls: creating each control's child window, mirroring the control's changes into it, and
// turning its notifications (clicks, selections, typing, focus loss) back into the control's setters.
#include "platform/win32/view_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/common_controls_win.h"
#include "platform/win32/view_win_internal.h"

namespace lumoff::platform::win32 {

namespace {

constexpr UINT_PTR kEditSubclassId = 1;
constexpr UINT_PTR kFrameSubclassId = 2;

// The option button that opens its group: the first of its container in tab order.
bool OpensOptionGroup(const ui::Form& form, const ui::Control& option) {
    for (const auto& other : form.controls()) {
        if (other.get() == &option || other->kind() != ui::Kind::OptionButton) continue;
        if (other->container() == option.container() && other->tab_index < option.tab_index) return false;
    }
    return true;
}

}  // namespace

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
        common_controls::SetWindowSubclass(h, EditProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(&c));
        SendMessageA(h, EM_SETLIMITTEXT, 0, 0);  // as much as the box can hold: the program corrects the text
    }
    if (c.kind() == ui::Kind::Frame)
        common_controls::SetWindowSubclass(h, FrameProc, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(&c));
    if (c.kind() == ui::Kind::CheckBox) SendMessageA(h, BM_SETCHECK, static_cast<ui::CheckBox&>(c).value(), 0);
    if (c.kind() == ui::Kind::OptionButton)
        SendMessageA(h, BM_SETCHECK, static_cast<ui::OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
    if (c.kind() == ui::Kind::ComboBox) ControlChanged(c, ui::Property::Items);
    if (c.kind() == ui::Kind::TextBox && static_cast<ui::TextBox&>(c).locked()) SendMessageA(h, EM_SETREADONLY, TRUE, 0);
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
            Fit(*fw);
            break;
    }
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
        LRESULT result = common_controls::DefSubclassProc(hwnd, msg, wp, lp);
        if (next && process == GetCurrentProcessId() && box->OnLostFocus) box->OnLostFocus();
        return result;
    }
    return common_controls::DefSubclassProc(hwnd, msg, wp, lp);
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
    return common_controls::DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace lumoff::platform::win32
