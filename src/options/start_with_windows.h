// Start with Windows: the "Enabled" / "Disabled" choice of the Options dialog, kept as the value "Lumoff" under the
// user's Run key and nowhere else. Enabled writes the program's full path there, Disabled deletes it; at start-up
// the settings loader asks whether the stored value names this program. Not here: the dialog's layout.
#pragma once

#include <string>
#include <string_view>

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kStartupError = "Error adding Lumoff to system startup!";

// What the Run value holds for this program: its folder, "\", its file name without extension, ".exe"; no quotes
// and no arguments. Taken in Unicode (UTF-8 here), so that a folder named outside the ANSI code page still works.
std::string StartupCommand(platform::Process& process);

// Whether two paths are the same when letter case is ignored (ASCII letters; other characters must be equal).
bool SamePath(std::string_view a, std::string_view b);

// Whether the Run value exists and names this program.
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
