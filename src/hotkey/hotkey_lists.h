// The two lists of the hotkey choice: the modifier combinations with the flags the system expects for them, and
// the keys with their virtual-key codes. Not here: the pairing rule of the lists and registration (hotkey.h).
#pragma once

#include <array>
#include <string>

namespace lumoff {

class OptionsDialog;

struct ModifierEntry {
    const char* text;
    unsigned flags;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
};

inline constexpr int kModifierCount = 8;
inline constexpr int kKeyCount = 48;  // F1 to F12, A to Z, 0 to 9
// What the lists show when the dialog loads: "-" and "F10".
inline constexpr int kInitialModifier = 0;
inline constexpr int kInitialKey = 9;
// Positions the pairing rule of the lists uses: no modifier, "Ctrl", the last function key.
inline constexpr int kNoModifier = 0;
inline constexpr int kCtrlModifier = 1;
inline constexpr int kLastFunctionKey = 11;

// The modifier list in list order.
const std::array<ModifierEntry, kModifierCount>& ModifierEntries();
// The flags of a modifier list position; 0 for any position outside the list (no selection).
unsigned ModifierFlags(int position);

// The text of a key list position; empty outside the list.
std::string KeyText(int position);
// The virtual-key code of a key list position: function keys, then letters, then digits. Positions outside the
// list fall into the digit rule, as the registration has always computed them.
unsigned KeyVirtualKey(int position);

// Clears and fills both lists and selects their initial entries, the modifier list first. The selections raise
// the lists' click handlers.
void FillHotKeyLists(OptionsDialog& options);

}  // namespace lumoff
