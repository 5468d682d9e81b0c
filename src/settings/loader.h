// LoadSettings: runs once per start, after the Options dialog is loaded. Makes sure the Settings key exists (writing
// every default on the first run and offering the install ping), loads the window position, notices a newer program
// and offers its readme, puts every stored option into its control of the Options dialog (each control's handler
// runs as on a user's action and stores the value again), and selects the start-with-Windows option that matches
// the Run key. Not here: the tray, hotkey and feedback restores that follow in the start-up.
#pragma once

#include <string_view>

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kFirstRunMessage =
    "You have launched Lumoff for the first time on this computer!\r\n"
    "Would you like to inform Brevald about this copy?\r\n"
    "\r\n"
    "Informing Brevald is anonymous and completely automatic- \r\n"
    "All it does is increase a counter on the website,\r\n"
    "which helps keep track of how many people are using Lumoff :)\r\n"
    "\r\n"
    "However, if you don't want to let us know for any reason, that is fine too :)";
inline constexpr const char* kRegistryErrorLine = "Error while accessing the registry!";

struct LoadedSettings {
    // False when a stored hotkey position was unreadable or outside its list: the lists do not show the stored
    // pair, so it must not be registered.
    bool hotkey_pair_usable = true;
};

class FileDownloadControl;

// `fdc` sends the install ping of the first run.
LoadedSettings LoadSettings(Context& ctx, FileDownloadControl& fdc);

// Whether a stored version text names an older program than `current`: as numbers, field by field, when both are
// versions (one to four dotted numbers); otherwise as texts, by character code.
bool IsOlderVersion(std::string_view stored, std::string_view current);

}  // namespace lumoff
