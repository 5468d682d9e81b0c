// Uninstall: the button "Uninstall Lumoff" of the Options dialog. After two questions it removes every value and
// the Settings key itself, deletes the start-with-Windows value and ends the program at once. The program file is
// not touched. Not here: the dialog's layout.
#pragma once

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kUninstallQuestion =
    "Are you sure you want to remove Lumoff from your computer?\r\nThis will close Lumoff";
inline constexpr const char* kUninstallFeedbackQuestion =
    "Would you like to send a feedback letting us know why you've removed Lumoff?\r\n"
    "Maybe if you let us know, we could make it work better next time :)";

// Deletes every value of the open key, whatever the values' names, sizes and types. Always ends: a value that cannot
// be deleted is passed over, and any enumeration failure stops the walk.
void DeleteAllValues(platform::Registry& registry, platform::RegKey key);

class Uninstall {
public:
    explicit Uninstall(Context& ctx) : ctx_(ctx) {}
    void Wire();
    void cmdReg_Click();

private:
    Context& ctx_;
};

}  // namespace lumoff
