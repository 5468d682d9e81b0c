// The user's global hotkey: the pairing rule of the two lists, registration with its confirmation, and release.
// While a hotkey is set, the click that set it stays inside a nested run of the hotkey pump.
#pragma once

#include <functional>

#include "forms/context.h"

namespace lumoff {

inline constexpr const char* kStartupTag = "startup";
inline constexpr const char* kSetCaption = "Set Global Hotkey";
inline constexpr const char* kUnsetCaption = "Unset Hotkey";

class MonitorControl;

class GlobalHotKey {
public:
    GlobalHotKey(Context& ctx, MonitorControl& monitor) : ctx_(ctx), monitor_(monitor) {}
    void Wire();

    // Sets or unsets the hotkey, by the caption of cmdHotKey.
    void cmdHotKey_Click();
    void hkeyButton1_Click();
    void hkeyButton2_Click();

private:
    void Register();
    void Unregister();
    Context& ctx_;
    MonitorControl& monitor_;
};

}  // namespace lumoff
