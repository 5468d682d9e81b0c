#include "settings/loader.h"

#include "settings/settings_store.h"

namespace lumoff {

void LoadSettings(Context& ctx) {
    settings::SettingsKey key(ctx.os.registry);
    if (!key.is_open()) return;
    // A stored position that does not read as a number is skipped: the window keeps its place.
    if (auto left = settings::ParseStoredNumber(key.Read(settings::kLeft))) ctx.last_left = *left;
    if (auto top = settings::ParseStoredNumber(key.Read(settings::kTop))) ctx.last_top = *top;
}

}  // namespace lumoff
