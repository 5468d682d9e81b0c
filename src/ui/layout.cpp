#include "ui/layout.h"

#include <cmath>

namespace lumoff::ui {

namespace {

constexpr double kPointsPerInch = 72.0;

}  // namespace

int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(twips * dpi / kTwipsPerInch + (twips >= 0 ? 0.5 : -0.5));
}

int PixelsToTwips(int pixels, int dpi) {
    // Rounded to the nearest whole twip, halves away from zero, as the system's MulDiv does.
    long long scaled = static_cast<long long>(pixels) * kTwipsPerInch;
    long long half = dpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / dpi : (scaled - half) / dpi);
}

int FontPixelHeight(const Font& font, int dpi) {
    return static_cast<int>(std::lround(font.points * dpi / kPointsPerInch));
}

FormPixels LayOut(const Form& form, int dpi) {
    FormPixels pixels;
    pixels.dpi = dpi;
    pixels.client_width = TwipsToPixels(form.style().client_width, dpi);
    pixels.client_height = TwipsToPixels(form.style().client_height, dpi);
    for (const auto& c : form.controls()) {
        const TwipRect& r = c->rect();
        double left = r.left, top = r.top;
        if (const Control* frame = c->container()) {
            left += frame->rect().left;
            top += frame->rect().top;
        }
        int x = TwipsToPixels(left, dpi), y = TwipsToPixels(top, dpi);
        PixelRect rect{x, y, TwipsToPixels(left + r.width, dpi) - x, TwipsToPixels(top + r.height, dpi) - y};
        pixels.controls.push_back({rect, FontPixelHeight(c->font(), dpi)});
    }
    return pixels;
}

FormPixels OnDpiChanged(Form& form, int new_dpi, const PixelRect& suggested, int system_dpi) {
    form.set_position(static_cast<float>(PixelsToTwips(suggested.left, system_dpi)),
                      static_cast<float>(PixelsToTwips(suggested.top, system_dpi)));
    return LayOut(form, new_dpi);
}

}  // namespace lumoff::ui
