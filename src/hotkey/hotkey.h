// The user's global hotkey: the modifier and key lists, registration and release.
#pragma once

#include "app/context.h"

namespace lumoff {

inline constexpr const char* kStartupTag = "startup";

class GlobalHotKey {
public:
    explicit GlobalHotKey(Context& ctx) : ctx_(ctx) {}
    // Sets or unsets the hotkey, by the caption of cmdHotKey.
    void cmdHotKey_Click() { ctx_.options.cmdHotKey.tag.clear(); }

private:
    Context& ctx_;
};

}  // namespace lumoff
