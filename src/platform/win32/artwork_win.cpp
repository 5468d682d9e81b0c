// Artwork: the program's pictures drawn with plain GDI.
//
// Straight strokes are filled rectangles snapped to device pixels. Round and slanted strokes are sampled several
// times per pixel into a small DIB and blended over what is already on the DC, because GDI's own pens draw them
// jagged at these sizes.
#include "platform/win32/artwork_win.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "platform/win32/handles_win.h"

namespace lumoff::platform::win32 {

namespace {

using lumoff::ui::Picture;

// Design sizes, in pixels at 96 dpi.
constexpr double kCaptionWidth = 84;
constexpr double kCaptionHeight = 16;
constexpr double kTurnOffWidth = 65;
constexpr double kTurnOffHeight = 49;
constexpr double kSmallButtonSize = 16;

constexpr COLORREF kGround = RGB(0x00, 0x00, 0x00);
constexpr COLORREF kStroke = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kStand = RGB(0x90, 0x90, 0x90);
constexpr COLORREF kScreen = RGB(0x14, 0x14, 0x14);
constexpr COLORREF kPower = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kCaptionTop = RGB(0x34, 0x34, 0x34);
constexpr COLORREF kCaptionBottom = RGB(0x10, 0x10, 0x10);
constexpr COLORREF kCaptionEdge = RGB(0x60, 0x60, 0x60);

constexpr double kPi = 3.14159265358979323846;

// Sub-samples per pixel along each axis for smoothed strokes.
constexpr int kSamples = 4;

// --- GDI ownership -----------------------------------------------------------------------------------------------

// Selects an object into a DC for one scope and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    OwnedGdi brush(CreateSolidBrush(colour));
    if (brush.get()) FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

int Channel(COLORREF colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

COLORREF Mix(COLORREF from, COLORREF to, double amount) {
    auto mix = [&](int shift) {
        const double value = Channel(from, shift) + (Channel(to, shift) - Channel(from, shift)) * amount;
        return static_cast<BYTE>(std::clamp(std::lround(value), 0L, 255L));
    };
    return RGB(mix(0), mix(8), mix(16));
}

// --- Layout --------------------------------------------------------------------------------------------------------

// Maps a picture's 96-dpi design grid onto its device area.
class Grid {
public:
    Grid(const RECT& area, double design_width, double design_height)
        : left_(area.left),
          top_(area.top),
          sx_((area.right - area.left) / design_width),
          sy_((area.bottom - area.top) / design_height),
          scale_(std::min(sx_, sy_)) {}

    int X(double x) const { return left_ + static_cast<int>(std::lround(x * sx_)); }
    int Y(double y) const { return top_ + static_cast<int>(std::lround(y * sy_)); }
    double Fx(double x) const { return left_ + x * sx_; }
    double Fy(double y) const { return top_ + y * sy_; }
    double Length(double d) const { return d * scale_; }
    // A stroke thickness in whole device pixels, never thinner than one.
    int Thickness(double d) const { return std::max(1, static_cast<int>(std::lround(d * scale_))); }

    RECT Rect(double left, double top, double right, double bottom) const {
        return {X(left), Y(top), X(right), Y(bottom)};
    }
    // A horizontal stroke starting on design row `y`.
    RECT Row(double left, double right, double y, double thickness) const {
        return {X(left), Y(y), X(right), Y(y) + Thickness(thickness)};
    }
    // A vertical stroke starting on design column `x`.
    RECT Column(double x, double top, double bottom, double thickness) const {
        return {X(x), Y(top), X(x) + Thickness(thickness), Y(bottom)};
    }

private:
    int left_;
    int top_;
    double sx_;
    double sy_;
    double scale_;
};

// Outlines a rectangle with strokes inside its edges.
void Outline(HDC dc, const RECT& r, int thickness, COLORREF colour) {
    Fill(dc, {r.left, r.top, r.right, r.top + thickness}, colour);
    Fill(dc, {r.left, r.bottom - thickness, r.right, r.bottom}, colour);
    Fill(dc, {r.left, r.top + thickness, r.left + thickness, r.bottom - thickness}, colour);
    Fill(dc, {r.right - thickness, r.top + thickness, r.right, r.bottom - thickness}, colour);
}

// --- Smoothed strokes (device coordinates) -------------------------------------------------------------------------

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// A straight stroke with round ends.
struct Segment {
    double ax, ay, bx, by, half_width;
    bool Covers(double x, double y) const { return DistanceToSegment(x, y, ax, ay, bx, by) <= half_width; }
    RECT Bounds() const {
        return {static_cast<LONG>(std::floor(std::min(ax, bx) - half_width)),
                static_cast<LONG>(std::floor(std::min(ay, by) - half_width)),
                static_cast<LONG>(std::ceil(std::max(ax, bx) + half_width)),
                static_cast<LONG>(std::ceil(std::max(ay, by) + half_width))};
    }
};

// A circular stroke with round ends, open by `gap` radians on each side of straight up.
struct OpenRing {
    double cx, cy, radius, half_width, gap;
    bool Covers(double x, double y) const {
        const double dx = x - cx;
        const double dy = y - cy;
        if (std::abs(std::atan2(dx, -dy)) >= gap) return std::abs(std::hypot(dx, dy) - radius) <= half_width;
        const double ex = radius * std::sin(gap);
        const double ey = -radius * std::cos(gap);
        return std::hypot(std::abs(dx) - ex, dy - ey) <= half_width;
    }
    RECT Bounds() const {
        const double reach = radius + half_width;
        return {static_cast<LONG>(std::floor(cx - reach)), static_cast<LONG>(std::floor(cy - reach)),
                static_cast<LONG>(std::ceil(cx + reach)), static_cast<LONG>(std::ceil(cy + reach))};
    }
};

RECT Union(const RECT& a, const RECT& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Blends `colour` over the pixels of `box` in proportion to how much of each pixel `covers` reports inside.
template <typename Covers>
void Smooth(HDC dc, RECT box, const RECT& clip, COLORREF colour, Covers covers) {
    box.left = std::max(box.left, clip.left);
    box.top = std::max(box.top, clip.top);
    box.right = std::min(box.right, clip.right);
    box.bottom = std::min(box.bottom, clip.bottom);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedGdi bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    OwnedDc memory(CreateCompatibleDC(dc));
    if (!bitmap.get() || !bits || !memory.get()) return;
    Selection selected(memory.get(), bitmap.get());

    // A DC that cannot be read back leaves the DIB zeroed: the strokes are then blended over black, the ground.
    BitBlt(memory.get(), 0, 0, width, height, dc, box.left, box.top, SRCCOPY);
    GdiFlush();  // the blit must land before the bits are touched directly

    auto* pixels = static_cast<std::uint32_t*>(bits);
    constexpr double kStep = 1.0 / kSamples;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = box.left + column + (sx + 0.5) * kStep;
                    const double y = box.top + row + (sy + 0.5) * kStep;
                    if (covers(x, y)) ++inside;
                }
            }
            if (inside == 0) continue;
            std::uint32_t& pixel = pixels[static_cast<std::size_t>(row * width + column)];
            // DIB pixels are 0x00RRGGBB, the reverse of COLORREF.
            const COLORREF under = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
            const COLORREF over = Mix(under, colour, static_cast<double>(inside) / (kSamples * kSamples));
            pixel = (static_cast<std::uint32_t>(GetRValue(over)) << 16) |
                    (static_cast<std::uint32_t>(GetGValue(over)) << 8) | GetBValue(over);
        }
    }
    BitBlt(dc, box.left, box.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

// --- Pictures ------------------------------------------------------------------------------------------------------

void DrawCaptionStrip(HDC dc, const RECT& area) {
    const Grid grid(area, kCaptionWidth, kCaptionHeight);
    const int edge = grid.Thickness(1);
    const int bottom = area.bottom - edge;
    const int rows = std::max(1, static_cast<int>(bottom - area.top));
    // One band per device row is a smooth vertical gradient without msimg32.
    for (int y = area.top; y < bottom; ++y) {
        const double amount = rows > 1 ? static_cast<double>(y - area.top) / (rows - 1) : 0.0;
        Fill(dc, {area.left, y, area.right, y + 1}, Mix(kCaptionTop, kCaptionBottom, amount));
    }
    Fill(dc, {area.left, bottom, area.right, area.bottom}, kCaptionEdge);
}

void DrawTurnOff(HDC dc, const RECT& area) {
    const Grid grid(area, kTurnOffWidth, kTurnOffHeight);
    Fill(dc, area, kGround);

    // Monitor: bezel, screen, neck and foot, centred on column 32.5.
    const RECT bezel = grid.Rect(7, 4, 58, 38);
    const int bezel_width = grid.Thickness(2);
    Fill(dc, {bezel.left + bezel_width, bezel.top + bezel_width, bezel.right - bezel_width,
              bezel.bottom - bezel_width},
         kScreen);
    Outline(dc, bezel, bezel_width, kStroke);
    Fill(dc, grid.Rect(30, 38, 35, 42), kStand);
    Fill(dc, grid.Rect(21, 42, 44, 44), kStroke);

    // Power symbol in the middle of the screen.
    const double cx = grid.Fx(32.5);
    const double cy = grid.Fy(21.5);
    const double half = grid.Length(1.1);
    const OpenRing ring{cx, cy, grid.Length(8.5), half, 40 * kPi / 180};
    const Segment bar{cx, grid.Fy(10), cx, grid.Fy(20), half};
    Smooth(dc, Union(ring.Bounds(), bar.Bounds()), area, kPower,
           [&](double x, double y) { return ring.Covers(x, y) || bar.Covers(x, y); });
}

void DrawClose(HDC dc, const RECT& area) {
    const Grid grid(area, kSmallButtonSize, kSmallButtonSize);
    Fill(dc, area, kGround);
    const double half = grid.Length(0.65);
    const Segment down{grid.Fx(4.5), grid.Fy(4.5), grid.Fx(11.5), grid.Fy(11.5), half};
    const Segment up{grid.Fx(11.5), grid.Fy(4.5), grid.Fx(4.5), grid.Fy(11.5), half};
    Smooth(dc, Union(down.Bounds(), up.Bounds()), area, kStroke,
           [&](double x, double y) { return down.Covers(x, y) || up.Covers(x, y); });
}

void DrawMinToTray(HDC dc, const RECT& area) {
    const Grid grid(area, kSmallButtonSize, kSmallButtonSize);
    Fill(dc, area, kGround);
    // A downward arrow onto the tray line.
    Fill(dc, grid.Rect(7, 2, 9, 9), kStroke);
    const double half = grid.Length(0.7);
    const Segment left{grid.Fx(4.5), grid.Fy(5.5), grid.Fx(7.5), grid.Fy(8.5), half};
    const Segment right{grid.Fx(11.5), grid.Fy(5.5), grid.Fx(8.5), grid.Fy(8.5), half};
    Smooth(dc, Union(left.Bounds(), right.Bounds()), area, kStroke,
           [&](double x, double y) { return left.Covers(x, y) || right.Covers(x, y); });
    Fill(dc, grid.Row(3, 13, 12, 1), kStroke);
}

void DrawSettings(HDC dc, const RECT& area) {
    const Grid grid(area, kSmallButtonSize, kSmallButtonSize);
    Fill(dc, area, kGround);
    // Three slider tracks, each with its knob at a different place. The knob is centred on its track whatever
    // the rounding of either.
    struct Slider {
        double row;
        double knob;
    };
    constexpr Slider kSliders[] = {{3, 10}, {7, 5}, {11, 8}};
    const int track = grid.Thickness(1);
    const int reach = grid.Thickness(2);
    const int knob_width = grid.Thickness(2);
    for (const Slider& slider : kSliders) {
        const RECT line = grid.Row(3, 13, slider.row, 1);
        Fill(dc, line, kStand);
        const int left = grid.X(slider.knob);
        Fill(dc, {left, line.top - reach, left + knob_width, line.top + track + reach}, kStroke);
    }
}

}  // namespace

void DrawPicture(HDC dc, const RECT& area, lumoff::ui::Picture picture) {
    if (!dc || area.right <= area.left || area.bottom <= area.top) return;
    switch (picture) {
        case Picture::None:
            return;
        case Picture::CaptionStrip:
            DrawCaptionStrip(dc, area);
            return;
        case Picture::TurnOff:
            DrawTurnOff(dc, area);
            return;
        case Picture::Close:
            DrawClose(dc, area);
            return;
        case Picture::MinToTray:
            DrawMinToTray(dc, area);
            return;
        case Picture::Settings:
            DrawSettings(dc, area);
            return;
    }
}

}  // namespace lumoff::platform::win32
