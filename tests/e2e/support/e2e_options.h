// The Options dialog of Lumoff under test: showing and hiding it with the caption window's settings button, and
// finding and clicking its controls by their place in the layout (twips from the client area's top-left corner).
#pragma once

#include <gtest/gtest.h>

#include "e2e_layout.h"
#include "e2e_lumoff.h"

namespace e2e {

// Shows the Options dialog with the settings button, unless it is shown already.
inline HWND OpenOptions(Lumoff& lumoff) {
    HWND options = FindTopLevel({.title = kOptionsTitle, .pid = lumoff.process.Pid(), .visibleOnly = true});
    if (options) return options;
    Click(lumoff.SettingsPoint());
    options = WaitForWindow({.title = kOptionsTitle, .pid = lumoff.process.Pid(), .visibleOnly = true});
    WaitForInputIdle(lumoff.process);
    return options;
}

// Hides the Options dialog with the settings button and waits until it is hidden. Input that follows must not be
// sent before the click is handled: Wine hit-tests a queued click only when the program takes it from its queue,
// and a hotkey arrives as a posted message, which is taken before older input (as on Windows). A hotkey pressed at
// once would turn the monitor off first; the click, still queued, would then land on the status screen's message,
// which wakes the monitor, instead of on the settings button.
inline void CloseOptions(Lumoff& lumoff) {
    HWND options = FindTopLevel({.title = kOptionsTitle, .pid = lumoff.process.Pid(), .visibleOnly = true});
    ASSERT_TRUE(options);
    Click(lumoff.SettingsPoint());
    ASSERT_TRUE(WaitForHidden(options));
}

// The middle of a control, or a point near its left end: on the box of a check box or option button, inside any
// button, list or text box.
inline POINT PointOf(HWND options, TwipRect r, bool nearLeft = false) {
    RECT client = ClientRectOnScreen(options);
    int x = nearLeft ? r.left / 15 + 6 : (r.left + r.width / 2) / 15;
    return {client.left + x, client.top + (r.top + r.height / 2) / 15};
}

inline HWND ControlAt(HWND options, TwipRect r) { return ChildAt(options, PointOf(options, r)); }
inline HWND ControlAt(HWND options, std::string_view name) { return ControlAt(options, Place(name)); }

// Clicks a control of the Options dialog as a user would, showing the dialog first if need be.
inline void ClickOption(Lumoff& lumoff, TwipRect r) {
    HWND options = OpenOptions(lumoff);
    ASSERT_TRUE(options);
    Click(PointOf(options, r, true));
}
inline void ClickOption(Lumoff& lumoff, std::string_view name) { ClickOption(lumoff, Place(name)); }

// Picks an entry of a drop-down list as a user does with the keyboard: open the list with a click, move from the
// current entry, and take the highlighted one with Enter.
inline void PickFromList(Lumoff& lumoff, std::string_view name, int steps_down) {
    ClickOption(lumoff, name);
    for (int i = 0; i < steps_down; ++i) PressKey(VK_DOWN);
    for (int i = 0; i > steps_down; --i) PressKey(VK_UP);
    PressKey(VK_RETURN);
}

// A check box's or option button's state. The question is sent, and sent messages are answered before queued input:
// wait for clicks.
inline bool Checked(HWND button) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

}  // namespace e2e
