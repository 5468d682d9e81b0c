// A form laid out in pixels at one DPI: the client area, each control's rectangle and the pixel height of each
// control's font, as a backend gives them to its window and child windows. Also what follows when the window's DPI
// changes (it moved to a monitor of another scale): the window takes the rectangle the system suggests, the form's
// position follows it, and the whole form is laid out again at the new DPI.
//
// A form marked to fit the work area (FormStyle::fits_work_area) is laid out as designed wherever that fits the work
// area of its monitor, to the pixel. Where it does not, its frames stand in two columns, and where even those are too
// tall, the window is as tall as the work area and its client area scrolls. The choice is a function of the design,
// the DPI, the work area and the size of the window's frame alone; the backends make it again whenever one of these
// changes.
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

// What a window takes around its client area at one DPI, in pixels: its borders and title bar together, and the width
// of a vertical scroll bar.
struct WindowFrame {
    int width = 0;
    int height = 0;
    int scroll_bar = 0;
};

struct FormPixels {
    int dpi = kDefaultDpi;
    int client_width = 0;  // the client area the window shows, without a scroll bar
    int client_height = 0;
    // The height of what is laid out on the client area: taller than the client area, it scrolls there.
    int content_height = 0;
    // The whole window: the client area, the frame and, where the client area scrolls, the scroll bar.
    int window_width = 0;
    int window_height = 0;
    std::vector<ControlPixels> controls;  // in the order of Form::controls(), on the content (unscrolled)
    bool scrolls() const { return content_height > client_height; }
};

// The whole form at this DPI as designed, in a window without a frame. Edges are rounded, not sizes, so controls that
// touch in the layout still touch.
FormPixels LayOut(const Form& form, int dpi);

// The form at this DPI in a window with this frame, made to fit `work` (the work area of the window's monitor) if the
// form is marked so. As designed where that fits. Otherwise the controls placed directly on the form (its frames), in
// the order of their tops, stand in two columns: the first half in the first, the rest beside it, from the same top and
// as far from it as the first column is from the left edge; each frame keeps its inside to the pixel and every control
// its place in the tab order. Where two columns are too tall as well, the window is as tall as the work area and its
// client area scrolls: in two columns where they are narrow enough beside the scroll bar, else in one.
FormPixels LayOutToFit(const Form& form, int dpi, const PixelRect& work, const WindowFrame& frame);

// A scroll position of the client area (pixels from the content's top) within the content.
int ClampScroll(const FormPixels& pixels, int scroll);
// The scroll position nearest to `scroll` that shows `rect` (on the content) whole, or its top where it is taller than
// the client area.
int ScrollToShow(const FormPixels& pixels, int scroll, const PixelRect& rect);

// Where a window of `length` that stood at `start` goes in an area (one axis): inside it where it fits, else at the
// area's start, so that its title bar stays on screen (see CentredStart).
int InsideStart(int start, int length, int area_start, int area_length);

// The window of `form` now has `new_dpi` and stands at `suggested` (screen pixels, the system's suggestion): the form's
// position follows it (in twips at `system_dpi`), and the layout at the new DPI, fitted to the work area of the monitor
// there with the window's frame at that DPI, is returned for the backend to apply.
FormPixels OnDpiChanged(Form& form, int new_dpi, const PixelRect& suggested, int system_dpi, const PixelRect& work,
                        const WindowFrame& frame);

}  // namespace lumoff::ui
