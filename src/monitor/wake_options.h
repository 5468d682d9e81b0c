// The wake-input options: which inputs besides the user's hotkey turn the monitor back on (chkEnter, chkSpace,
// chkMouse), and whether the status screen carries its message (chkMsg). Each box stores itself at once; at least
// one wake input stays checked.
#pragma once

#include "forms/context.h"

namespace lumoff {

class WakeOptions {
public:
    explicit WakeOptions(Context& ctx) : ctx_(ctx) {}
    // Sets the click handlers of the four boxes and of the status screen's message.
    void Wire(std::function<void()> toggle);

    void chkMsg_Click();

private:
    void WakeBoxClick(ui::CheckBox& box, std::string_view value_name);
    Context& ctx_;
};

}  // namespace lumoff
