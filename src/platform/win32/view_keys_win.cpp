// The Win32 view's dialog keyboard: Tab and Shift+Tab through the controls in their tab order, the arrows within a
// group of option buttons, Enter on a command button, and the focus a dialog keeps while it is inactive.
#include "platform/win32/view_win.h"

#include <algorithm>
#include <vector>

#include "platform/win32/view_win_internal.h"

namespace lumoff::platform::win32 {

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
    ScrollIntoView(fw, h);
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
    if (!last || !IsWindow(last) || !IsWindowVisible(last) || !IsWindowEnabled(last)) {
        std::vector<ui::Control*> stops = TabStops(fw);
        last = stops.empty() ? fw.hwnd : reinterpret_cast<HWND>(stops.front()->native);
    }
    ScrollIntoView(fw, last);
    SetFocus(last);
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
}  // namespace lumoff::platform::win32
