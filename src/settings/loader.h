// LoadSettings: runs once per start, after the Options dialog is loaded; brings the stored values into the
// program.
#pragma once

#include "app/context.h"

namespace lumoff {

void LoadSettings(Context& ctx);

}  // namespace lumoff
