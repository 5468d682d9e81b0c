// Start with Windows: the "Enabled" / "Disabled" choice of the Options dialog, kept as the value "Lumoff" under the
// user's Run key and nowhere else. Enabled writes the program's full path there, in quotes, Disabled deletes it; at
// start-up the settings loader asks whether the stored value names this program. Not here: the dialog's layout.
#pragma once

#include <string>

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kStartupError = "Error adding Lumoff to system startup!";

// The program's full path as the Run value names it: its folder, "\", its file name without extension, ".exe".
// Taken in Unicode (UTF-8 here), so that a folder named outside the ANSI code page still works.
std::string StartupPath(platform::Process& process);
// What the Run value holds: that path in double quotes, no arguments. Unquoted, logon would try each cut-off of a
// path with spaces first ("C:\Users\Ann.exe" for "C:\Users\Ann Lee\...") and run whatever program lies there.
std::string StartupCommand(platform::Process& process);

// Whether the Run value exists and names this program: quoted, or unquoted as earlier versions wrote it, in any
// letter case (compared as the system compares file names).
bool StartsWithWindows(platform::Platform& os);

class StartWithWindows {
public:
    explicit StartWithWindows(Context& ctx) : ctx_(ctx) {}
    void Wire();

    // Writes the Run value; when that fails, says so and falls back to Disabled.
    void radStartOn_Click();
    // Deletes the Run value; nothing is looked at or shown.
    void radStartOff_Click();

private:
    Context& ctx_;
};

}  // namespace lumoff
