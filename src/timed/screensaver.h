// "Like a Screensaver": while a countdown runs in this mode, every time the user has been idle for the set time the
// monitor is switched off with the power-off command alone (no toggle, no keep-off), once per idle period; the next
// input re-arms it. The state is SaverFlag, kept in the tag of chkScr. Not here: starting and stopping the mode
// (the countdown's Go and Stop choose it).
#pragma once

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kSaverArmed = "1";
inline constexpr const char* kSaverFired = "2";
// Input younger than this re-arms the switch-off.
inline constexpr std::uint32_t kRearmBelowMs = 1000;

class Screensaver {
public:
    explicit Screensaver(Context& ctx) : ctx_(ctx) {}
    void Wire();

    void chkScr_Click();
    void tmrScreen_Timer();

private:
    Context& ctx_;
};

}  // namespace lumoff
