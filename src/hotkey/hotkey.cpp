#include "hotkey/hotkey.h"

#include "hotkey/hotkey_lists.h"
#include "monitor/toggle.h"
#include "settings/settings_store.h"

namespace lumoff {

void GlobalHotKey::Wire() {
    OptionsDialog& o = ctx_.options;
    o.hkeyButton1.OnClick = [this] { hkeyButton1_Click(); };
    o.hkeyButton2.OnClick = [this] { hkeyButton2_Click(); };
    o.cmdHotKey.OnClick = [this] { cmdHotKey_Click(); };
}

// Function keys may be used alone; letters and digits always get a modifier.
void GlobalHotKey::hkeyButton1_Click() {
    OptionsDialog& o = ctx_.options;
    if (o.hkeyButton1.list_index() == kNoModifier && o.hkeyButton2.list_index() > kLastFunctionKey)
        o.hkeyButton2.set_list_index(kInitialKey);  // F10
}

void GlobalHotKey::hkeyButton2_Click() {
    OptionsDialog& o = ctx_.options;
    if (o.hkeyButton1.list_index() == kNoModifier && o.hkeyButton2.list_index() > kLastFunctionKey)
        o.hkeyButton1.set_list_index(kCtrlModifier);
}

void GlobalHotKey::cmdHotKey_Click() {
    if (ctx_.options.cmdHotKey.text() == kSetCaption)
        Register();
    else
        Unregister();
}

void GlobalHotKey::Register() {
    auto& os = ctx_.os;
    OptionsDialog& o = ctx_.options;
    const int modifier = o.hkeyButton1.list_index();
    const int key = o.hkeyButton2.list_index();
    // Held down, the hotkey toggles once, not with every auto-repeat.
    const unsigned flags = ModifierFlags(modifier) | platform::kModNoRepeat;
    if (!os.desktop.RegisterHotKey(ctx_.MainHandle(), kHotKeyIdUser, flags, KeyVirtualKey(key))) {
        os.desktop.ShowMessage(ctx_.MainHandle(), "Couldn't register hotkey :(\r\nTry something else...", kProgramName,
                               platform::kMbOk | platform::kMbIconInformation);
        // The start-up marker goes with the attempt, so the user's next success shows its confirmation.
        o.cmdHotKey.tag.clear();
        return;
    }
    const std::string modifier_text = std::to_string(modifier);
    const std::string key_text = std::to_string(key);
    settings::Store(os.registry, {{settings::kHotKeySet, "1", settings::ValueForm::Flag},
                                  {settings::kHotKeyA, modifier_text},
                                  {settings::kHotKeyB, key_text}});
    monitor_.StopHotKeyPump = false;
    if (o.cmdHotKey.tag != kStartupTag) {
        std::string combination = (modifier > kNoModifier ? o.hkeyButton1.SelectedText() + "+" : std::string()) +
                                  o.hkeyButton2.SelectedText();
        os.desktop.ShowMessage(ctx_.MainHandle(),
                               "Hotkey registered!\r\nYou can now use " + combination + " to turn off the monitor!",
                               kProgramName, platform::kMbOk | platform::kMbIconInformation);
    } else {
        o.cmdHotKey.tag.clear();
    }
    o.hkeyButton1.set_enabled(false);
    o.hkeyButton2.set_enabled(false);
    o.cmdHotKey.set_text(kUnsetCaption);
    monitor_.ProcessMessages(true);
}

void GlobalHotKey::Unregister() {
    OptionsDialog& o = ctx_.options;
    settings::Store(ctx_.os.registry, settings::kHotKeySet, "0", settings::ValueForm::Flag);
    o.hkeyButton1.set_enabled(true);
    o.hkeyButton2.set_enabled(true);
    o.cmdHotKey.set_text(kSetCaption);
    monitor_.StopHotKeyPump = true;
    ctx_.os.desktop.UnregisterHotKey(ctx_.MainHandle(), kHotKeyIdUser);
}

}  // namespace lumoff
