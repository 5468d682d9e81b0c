#include "ui/layout.h"

#include <algorithm>
#include <cmath>

namespace lumoff::ui {

namespace {

constexpr double kPointsPerInch = 72.0;

void AddFrame(FormPixels& pixels, const WindowFrame& frame) {
    pixels.window_width = pixels.client_width + frame.width;
    pixels.window_height = pixels.client_height + frame.height;
}

bool Fits(const FormPixels& pixels, const PixelRect& work) {
    return pixels.window_width <= work.width && pixels.window_height <= work.height;
}

const Control& OnForm(const Control& c) { return c.container() ? OnForm(*c.container()) : c; }

// The design's column of frames split in two (see LayOutToFit). The second half moves by whole pixels, so what is
// inside a frame keeps its pixels.
FormPixels InTwoColumns(const Form& form, FormPixels pixels) {
    const auto& controls = form.controls();
    int count = 0;
    for (const auto& c : controls) count += !c->container();
    // The first control on the form from the top, and the first of the second half.
    const Control* first = nullptr;
    const Control* second = nullptr;
    for (const auto& c : controls) {
        if (c->container()) continue;
        int above = 0;
        for (const auto& other : controls) above += !other->container() && other->rect().top < c->rect().top;
        if (above == 0) first = c.get();
        if (above == (count + 1) / 2) second = c.get();
    }
    if (!first || !second) return pixels;
    const TwipRect& first_top = first->rect();
    const TwipRect& second_top = second->rect();
    int right = 0, first_bottom = 0, second_bottom = 0;  // twips
    for (const auto& c : controls) {
        if (c->container()) continue;
        const TwipRect& r = c->rect();
        const bool in_first = r.top < second_top.top;
        if (in_first) right = std::max(right, r.left + r.width);
        int& bottom = in_first ? first_bottom : second_bottom;
        bottom = std::max(bottom, r.top + r.height);
    }
    const int dx = right + first_top.left - second_top.left, dy = first_top.top - second_top.top;
    const int dpi = pixels.dpi;
    const int dx_px = TwipsToPixels(second_top.left + dx, dpi) - TwipsToPixels(second_top.left, dpi);
    const int dy_px = TwipsToPixels(first_top.top, dpi) - TwipsToPixels(second_top.top, dpi);
    for (size_t i = 0; i < controls.size(); ++i) {
        if (OnForm(*controls[i]).rect().top < second_top.top) continue;
        pixels.controls[i].rect.left += dx_px;
        pixels.controls[i].rect.top += dy_px;
    }
    const FormStyle& s = form.style();
    const int bottom_margin = s.client_height - std::max(first_bottom, second_bottom);
    pixels.client_width = TwipsToPixels(s.client_width + dx, dpi);
    pixels.client_height = pixels.content_height =
        TwipsToPixels(std::max(first_bottom, second_bottom + dy) + bottom_margin, dpi);
    return pixels;
}

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
    pixels.client_height = pixels.content_height = TwipsToPixels(form.style().client_height, dpi);
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
    AddFrame(pixels, {});
    return pixels;
}

FormPixels LayOutToFit(const Form& form, int dpi, const PixelRect& work, const WindowFrame& frame) {
    FormPixels one = LayOut(form, dpi);
    AddFrame(one, frame);
    if (!form.style().fits_work_area || Fits(one, work)) return one;
    FormPixels two = InTwoColumns(form, one);
    AddFrame(two, frame);
    if (Fits(two, work)) return two;
    FormPixels& scrolled = two.window_width + frame.scroll_bar <= work.width ? two : one;
    if (scrolled.window_height <= work.height) return one;  // only too wide: nothing narrower than the design
    scrolled.client_height = std::max(work.height - frame.height, 1);
    AddFrame(scrolled, frame);
    scrolled.window_width += frame.scroll_bar;
    return scrolled;
}

int ClampScroll(const FormPixels& pixels, int scroll) {
    return std::max(0, std::min(scroll, pixels.content_height - pixels.client_height));
}

int ScrollToShow(const FormPixels& pixels, int scroll, const PixelRect& rect) {
    scroll = std::max(scroll, rect.top + rect.height - pixels.client_height);
    return ClampScroll(pixels, std::min(scroll, rect.top));
}

int InsideStart(int start, int length, int area_start, int area_length) {
    return std::max(area_start, std::min(start, area_start + area_length - length));
}

FormPixels OnDpiChanged(Form& form, int new_dpi, const PixelRect& suggested, int system_dpi, const PixelRect& work,
                        const WindowFrame& frame) {
    form.set_position(static_cast<float>(PixelsToTwips(suggested.left, system_dpi)),
                      static_cast<float>(PixelsToTwips(suggested.top, system_dpi)));
    return LayOutToFit(form, new_dpi, work, frame);
}

}  // namespace lumoff::ui
