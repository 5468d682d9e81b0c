// The "Other Action:" lists of the countdown (Combo1) and the schedule (Combo2): their entries, the guard that
// keeps the dialog's load from overwriting the stored choice, and storing the user's pick. The choice is only
// stored and shown; nothing carries the actions out.
#pragma once

#include "platform/platform.h"

namespace lumoff {

class OptionsDialog;

// Index of "Logoff", what both lists show after the load until a stored choice replaces it.
inline constexpr int kDefaultAction = 2;

// Clears and fills both lists, arms their guards, then selects the default in Combo1 and then in Combo2; the
// guards swallow these two selections.
void FillActionLists(OptionsDialog& options);

// Sets the lists' click handlers: a click with the guard armed only disarms it; any other click stores the
// selected index (TimerOtherSelect for Combo1, ScheduleOtherSelect for Combo2).
void WireActionLists(OptionsDialog& options, platform::Registry& registry);

}  // namespace lumoff
