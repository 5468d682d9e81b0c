// What the parts of the Win32 view share: the window of a form with its fonts and controls by id, the window class
// names and the few helpers every part uses. Internal to platform/win32/view_*_win.cpp; nothing else includes it.
#pragma once

#include "platform/win32/view_win.h"

#include <map>
#include <string>
#include <vector>

namespace lumoff::platform::win32 {

inline constexpr char kFormClass[] = "LumoffForm";
inline constexpr char kLiteClass[] = "LumoffLite";
inline constexpr int kFirstControlId = 1000;
// Posted by a form to itself when it is first shown: its tooltip is made then (view_tips_win.cpp).
inline constexpr UINT kMsgMakeTooltip = WM_APP + 2;

inline HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

inline COLORREF ToColorref(ui::Colour c) {
    return (c & ui::kSystemColourFlag) ? GetSysColor(static_cast<int>(c & ~ui::kSystemColourFlag)) : c;
}

inline bool IsDialog(const ui::Form& form) { return form.style().border == ui::Border::FixedToolWindow; }

struct Win32View::FormWindow {
    Win32View* view = nullptr;
    ui::Form* form = nullptr;
    HWND hwnd = nullptr;
    HWND tooltip = nullptr;
    bool shown_once = false;  // the form has been shown: its tooltip, if it has tips, is made or on its way
    HWND last_focus = nullptr;  // a dialog's focused control while it is inactive
    int dpi = USER_DEFAULT_SCREEN_DPI;
    int covered = 0;  // the form's cover count when it was last made to cover the screen
    bool controls_made = false;  // the child windows exist (a dialog's from its first show on)
    ui::WindowFrame frame;  // at the system DPI
    ui::FormPixels pixels;  // the layout the window has
    HMONITOR monitor = nullptr;  // the one it was laid out for
    int scroll = 0;  // how far its client area is scrolled down, in pixels
    std::map<std::string, OwnedGdi> fonts;
    std::vector<ui::Control*> by_id;  // control id - kFirstControlId

    ui::Control* ById(int id) const {
        size_t index = static_cast<size_t>(id - kFirstControlId);
        return id >= kFirstControlId && index < by_id.size() ? by_id[index] : nullptr;
    }
};

}  // namespace lumoff::platform::win32
