// The Options dialog of Lumoff under test: showing and hiding it with the caption window's settings button, and
// finding and clicking its controls through the program's own form objects (tests name a control, never its place).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "e2e_lumoff.h"
#include "forms/options_dialog.h"

namespace e2e {

// The real window of a control: the view gives it the id of its place in its form's list of controls, from 1000.
inline HWND ChildOf(HWND window, const lumoff::ui::Control& control) {
    const auto& all = control.form()->controls();
    const auto at = std::find_if(all.begin(), all.end(), [&](const auto& c) { return c.get() == &control; });
    return GetDlgItem(window, 1000 + static_cast<int>(at - all.begin()));
}

// The real window of the Options dialog's control of this name.
inline HWND ControlAt(HWND options, std::string_view name) {
    static const lumoff::OptionsDialog form("");
    const lumoff::ui::Control* control = form.Find(std::string(name));
    EXPECT_TRUE(control) << "no control " << name;
    return control ? ChildOf(options, *control) : nullptr;
}

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

// A point near a control's left end: on the box of a check box or option button, inside any button, list or text box.
inline POINT NearLeftOf(HWND control) {
    const RECT r = WindowRect(control);
    return {r.left + 6, (r.top + r.bottom) / 2};
}

// Clicks a control of the Options dialog as a user would, showing the dialog first if need be.
inline void ClickOption(Lumoff& lumoff, std::string_view name) {
    HWND options = OpenOptions(lumoff);
    ASSERT_TRUE(options);
    Click(NearLeftOf(ControlAt(options, name)));
}

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
