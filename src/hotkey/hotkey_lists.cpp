#include "hotkey/hotkey_lists.h"

#include "forms/options_dialog.h"

namespace lumoff {

namespace {

constexpr int kFirstLetter = 12;
constexpr int kFirstDigit = 38;
constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkA = 0x41;
constexpr unsigned kVk0 = 0x30;

}  // namespace

const std::array<ModifierEntry, kModifierCount>& ModifierEntries() {
    static constexpr std::array<ModifierEntry, kModifierCount> kEntries{{
        {"-", 0},
        {"Ctrl", 2},
        {"Alt", 1},
        {"Shift", 4},
        {"Ctrl+Alt", 3},
        {"Ctrl+Shift", 6},
        {"Alt+Shift", 5},
        {"Ctrl+Alt+Shift", 7},
    }};
    return kEntries;
}

unsigned ModifierFlags(int position) {
    if (position < 0 || position >= kModifierCount) return 0;
    return ModifierEntries()[static_cast<size_t>(position)].flags;
}

std::string KeyText(int position) {
    if (position < 0 || position >= kKeyCount) return {};
    if (position < kFirstLetter) return "F" + std::to_string(position + 1);
    if (position < kFirstDigit) return std::string(1, static_cast<char>('A' + (position - kFirstLetter)));
    return std::string(1, static_cast<char>('0' + (position - kFirstDigit)));
}

unsigned KeyVirtualKey(int position) {
    if (position >= 0 && position < kFirstLetter) return kVkF1 + static_cast<unsigned>(position);
    if (position >= kFirstLetter && position < kFirstDigit)
        return kVkA + static_cast<unsigned>(position - kFirstLetter);
    return static_cast<unsigned>(static_cast<int>(kVk0) + (position - kFirstDigit));
}

void FillHotKeyLists(OptionsDialog& options) {
    ui::ComboBox& modifiers = options.hkeyButton1;
    modifiers.Clear();
    for (const ModifierEntry& entry : ModifierEntries()) modifiers.AddItem(entry.text);
    modifiers.set_list_index(kInitialModifier);

    ui::ComboBox& keys = options.hkeyButton2;
    keys.Clear();
    for (int p = 0; p < kKeyCount; ++p) keys.AddItem(KeyText(p));
    keys.set_list_index(kInitialKey);
}

}  // namespace lumoff
