// A form laid out in pixels at one DPI: the client area, each control's rectangle and the pixel height of each
// control's font, as a backend gives them to its window and child windows. Also what follows when the window's DPI
// changes (it moved to a monitor of another scale): the window takes the rectangle the system suggests, the form's
// position follows it, and the whole form is laid out again at the new DPI.
//
// Layouts are kept in twips; the rounding is done here once, so every backend places a control on the same pixels.
// Positions on the screen are converted at the system DPI, whatever the window's own DPI: a place stored in twips
// then names the same pixel at the next start, on whichever monitor it lies. Not here: creating or moving windows.
#pragma once

#include <vector>

#include "ui/form.h"

namespace lumoff::ui {

inline constexpr int kDefaultDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Twips to pixels at this DPI, to the nearest pixel; pixels back to whole twips.
int TwipsToPixels(double twips, int dpi);
int PixelsToTwips(int pixels, int dpi);
// The character height of the font at this DPI (what a font request takes, negated).
int FontPixelHeight(const Font& font, int dpi);

struct ControlPixels {
    PixelRect rect;  // on the form's client area; a control inside a frame is placed from the frame's corner
    int font_height = 0;
};

struct FormPixels {
    int dpi = kDefaultDpi;
    int client_width = 0;
    int client_height = 0;
    std::vector<ControlPixels> controls;  // in the order of Form::controls()
};

// The whole form at this DPI. Edges are rounded, not sizes, so controls that touch in the layout still touch.
FormPixels LayOut(const Form& form, int dpi);

// The window of `form` now has `new_dpi` and stands at `suggested` (screen pixels, the system's suggestion): the form's
// position follows it (in twips at `system_dpi`), and the layout at the new DPI is returned for the backend to apply.
FormPixels OnDpiChanged(Form& form, int new_dpi, const PixelRect& suggested, int system_dpi);

}  // namespace lumoff::ui
