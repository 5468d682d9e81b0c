// The Win32 view's tooltips: a form's tooltip window and its tools. The tooltip is made just after the form is first
// shown, from a message the form posts itself then; nothing needs it before the pointer can reach the form, and the
// common controls it comes from are loaded with it. Made before, it would also cost the first topmost show: under
// Wine a window shown topmost for the first time is placed beneath the topmost tooltip it owns, and is left topmost
// only if the window below it is too.
#include "platform/win32/view_win.h"

#include <algorithm>

#include "platform/win32/common_controls_win.h"
#include "platform/win32/view_win_internal.h"

namespace lumoff::platform::win32 {

namespace {

bool HasTooltips(const ui::Form& form) {
    return std::any_of(form.controls().begin(), form.controls().end(),
                       [](const auto& c) { return !c->tooltip.empty(); });
}

}  // namespace

void Win32View::ScheduleTooltip(FormWindow& fw) {
    if (fw.shown_once) return;
    fw.shown_once = true;
    if (HasTooltips(*fw.form)) PostMessageA(fw.hwnd, kMsgMakeTooltip, 0, 0);
}

void Win32View::MakeTooltip(FormWindow& fw) {
    if (fw.tooltip || !common_controls::Load()) return;
    fw.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, fw.hwnd, nullptr,
                                 Instance(), nullptr);
    if (!fw.tooltip) return;
    for (size_t i = 0; i < fw.by_id.size(); ++i) {
        const ui::Control& c = *fw.by_id[i];
        HWND h = reinterpret_cast<HWND>(c.native);
        if (c.tooltip.empty() || !h) continue;
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = fw.hwnd;
        ti.lpszText = const_cast<char*>(c.tooltip.c_str());
        if (c.kind() == ui::Kind::Frame) {
            // A frame's own window lets the mouse through to the form, so its tool is an area of the form.
            ti.uFlags = TTF_SUBCLASS;
            ti.uId = kFirstControlId + i;
            GetWindowRect(h, &ti.rect);
            MapWindowPoints(HWND_DESKTOP, fw.hwnd, reinterpret_cast<POINT*>(&ti.rect), 2);
        } else {
            ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
            ti.uId = reinterpret_cast<UINT_PTR>(h);
        }
        SendMessageA(fw.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void Win32View::MoveFrameTool(FormWindow& fw, size_t index, const ui::PixelRect& r) {
    if (!fw.tooltip || fw.by_id[index]->tooltip.empty()) return;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = fw.hwnd;
    ti.uId = kFirstControlId + index;
    ti.rect = {r.left, r.top, r.left + r.width, r.top + r.height};
    SendMessageA(fw.tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace lumoff::platform::win32
