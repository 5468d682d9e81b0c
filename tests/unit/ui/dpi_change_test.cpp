// A window moved onto a monitor of another scale is laid out again for that monitor's DPI (controls and fonts), and its
// place is stored. The Options dialog fits the work area of its monitor at every scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::SimWorld;
using testing::SimCopy;

// The primary monitor at 100 %, one at 200 % to its right and one at 150 % above and left of it.
const std::vector<SimWorld::Monitor> kMonitors{{0, 0, 1920, 1080, 96},
                                               {1920, 0, 3840, 2160, 192},
                                               {-1280, -1024, 1280, 1024, 144}};

const ui::ControlPixels& PixelsOf(const SimCopy& copy, const ui::Control& control) {
    const auto& all = control.form()->controls();
    const auto at = std::find_if(all.begin(), all.end(), [&](const auto& c) { return c.get() == &control; });
    return copy.process.WindowOf(*control.form())->layout.controls[static_cast<size_t>(at - all.begin())];
}

// The caption window dragged: laid out for the DPI of the monitor it lands on, and stored where it is, the corner of
// the rectangle the system suggests, in twips at the system's DPI (so the next start, which places it from the stored
// place, puts it there again).
TEST(MonitorScale, ACaptionWindowDraggedOntoAnotherMonitorIsLaidOutForItsScaleAndStoredWhereItIs) {
    // Dropped at x, y: the window's DPI, the settings picture on it, the caption's character height, Left and Top.
    for (auto [x, y, dpi, settings, caption_font, stored] :
         std::initializer_list<std::tuple<int, int, int, ui::PixelRect, int, const char*>>{
             {2400, 300, 192, {128, 96, 32, 32}, 22, "360004500"},       // onto the 200 % monitor
             {-1000, -900, 144, {96, 72, 24, 24}, 17, "-15000-13500"},  // onto the 150 % monitor
             {600, 300, 96, {64, 48, 16, 16}, 11, "90004500"}}) {         // within the primary
        SCOPED_TRACE(stored);
        // Past the housekeeping tick that stores a moved window's place.
        RunningCopy r({.until = 1500}, [&r, x = x, y = y](SimWorld& w) {
            w.monitors = kMonitors;
            w.At(100, [&r, &w, x, y] { w.DragWindow(r.copy.handle(), x, y); });
        });
        EXPECT_EQ(r.copy.process.WindowOf(r.main())->dpi, dpi);
        EXPECT_EQ(PixelsOf(r.copy, r.main().imgSettings).rect, settings);
        EXPECT_EQ(PixelsOf(r.copy, r.main().lblCaption).font_height, caption_font);
        EXPECT_EQ(r.Values({"Left", "Top"}), stored);
    }
}

bool Overlap(const ui::PixelRect& a, const ui::PixelRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// A control's place on the form as designed, in twips (a control inside a frame is placed from the frame's corner).
ui::PixelRect Designed(const ui::Control& c) {
    const ui::TwipRect& r = c.rect();
    const ui::TwipRect frame = c.container() ? c.container()->rect() : ui::TwipRect{};
    return {frame.left + r.left, frame.top + r.top, r.width, r.height};
}

// Every control lies on the content, a frame keeps its inside to the pixel, and controls apart in the design stay
// apart (also where the design's twips are rounded to pixels). Moved onto a monitor of another scale, the dialog is
// fitted to the work area there. (When the views arrange it again is theirs: the simulated one is no test of the
// Win32 one.)
TEST(FitWorkArea, TheOptionsDialogFitsEveryScreenAtEveryScaleAndIsAsDesignedWhereThatFits) {
    OptionsDialog dialog("http://host");
    const ui::PixelRect half{1920, 540, 1920, 540};  // a 200 % monitor with its taskbar as tall as half of it
    EXPECT_TRUE(ui::OnDpiChanged(dialog, 192, {1920, 540, 400, 400}, 96, half, {}).scrolls());
    const auto& controls = dialog.controls();
    const ui::PixelRect works[] = {{0, 0, 1366, 728}, {0, 0, 1024, 728}, {0, 0, 1920, 1032}, {0, 0, 800, 560}};
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (const ui::PixelRect& work : works) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, " + std::to_string(work.width) + "x" +
                         std::to_string(work.height));
            const ui::WindowFrame frame = platform::sim::FrameOf(dialog.style(), dpi);
            const ui::FormPixels fit = ui::LayOutToFit(dialog, dpi, work, frame);
            const ui::FormPixels design = ui::LayOut(dialog, dpi);
            EXPECT_TRUE(fit.window_width <= work.width && fit.window_height <= work.height);
            EXPECT_TRUE(work.height < 728 || !fit.scrolls()) << "two columns fit a 1024 x 768 screen at 200 %";
            const bool design_fits =
                design.client_width + frame.width <= work.width && design.client_height + frame.height <= work.height;
            EXPECT_EQ(fit.client_width == design.client_width && fit.client_height == design.client_height,
                      design_fits);
            for (size_t i = 0; i < controls.size(); ++i) {
                SCOPED_TRACE(controls[i]->name());
                const ui::PixelRect& r = fit.controls[i].rect;
                EXPECT_TRUE(!design_fits || r == design.controls[i].rect) << "as designed";
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= fit.client_width &&
                            r.top + r.height <= fit.content_height);
                for (size_t j = 0; j < controls.size(); ++j) {
                    const ui::PixelRect& o = fit.controls[j].rect;
                    if (controls[i]->container() == controls[j].get()) {
                        const ui::PixelRect& d = design.controls[i].rect;
                        const ui::PixelRect& df = design.controls[j].rect;
                        EXPECT_EQ((ui::PixelRect{r.left - o.left, r.top - o.top, r.width, r.height}),
                                  (ui::PixelRect{d.left - df.left, d.top - df.top, d.width, d.height}))
                            << "the frame keeps its inside";
                    }
                    EXPECT_TRUE(j <= i || Overlap(Designed(*controls[i]), Designed(*controls[j])) || !Overlap(r, o))
                        << "runs into " << controls[j]->name();
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumoff
