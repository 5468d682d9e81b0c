// Artwork: paints the program's own pictures (the caption strip, the turn-off button and the small caption
// buttons) with plain GDI.
//
// Each picture is laid out on its 96-dpi pixel grid and stretched to the area it is given, so it stays crisp at
// any DPI. Not here: where the pictures go, hit testing, or the caption text drawn over the strip.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "ui/controls.h"

namespace lumoff::platform::win32 {

// Paints `picture` over the whole of `area` (device pixels), ground included. Picture::None paints nothing.
void DrawPicture(HDC dc, const RECT& area, lumoff::ui::Picture picture);

}  // namespace lumoff::platform::win32
