// A window moved onto a monitor of another scale is laid out again for that monitor's DPI (controls and fonts), takes
// the rectangle the system suggests, and its place is stored so that the next start puts it there again. The Options
// dialog fits the work area of its monitor at every scale, and is arranged again when either changes.
#include <gtest/gtest.h>

#include <string>

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
    const auto& controls = control.form()->controls();
    size_t index = 0;
    while (controls[index].get() != &control)
        ++index;
    return copy.process.WindowOf(*control.form())->layout.controls[index];
}

// The caption window dragged: laid out for the DPI of the monitor it lands on, in the rectangle the system suggests, and
// stored where it is; the next start puts it back there at that scale, keeping the stored place.
TEST(MonitorScale, ACaptionWindowDraggedOntoAnotherMonitorIsLaidOutForItsScaleStoredAndPutBackAtTheNextStart) {
    struct Case {
        const char* named;
        int x, y;
        int dpi;
        ui::PixelRect window;
        ui::PixelRect settings;  // the settings picture on the window
        int caption_font;        // the caption's character height
        const char* stored;      // Left and Top
    } cases[] = {
        {"onto the 200 % monitor", 2400, 300, 192, {2400, 300, 162, 130}, {128, 96, 32, 32}, 22, "360004500"},
        {"onto the 150 % monitor", -1000, -900, 144, {-1000, -900, 121, 97}, {96, 72, 24, 24}, 17, "-15000-13500"},
        {"within the primary", 600, 300, 96, {600, 300, 81, 65}, {64, 48, 16, 16}, 11, "90004500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        RunningCopy r({.until = 1500}, [&](SimWorld& w) {  // past the housekeeping tick that stores a moved window's place
            w.monitors = kMonitors;
            w.At(100, [&] { w.DragWindow(r.copy.handle(), c.x, c.y); });
        });
        const auto* window = r.copy.process.WindowOf(r.main());
        EXPECT_EQ(window->dpi, c.dpi);
        EXPECT_EQ(window->dpi_changes, c.dpi == 96 ? 0 : 1);
        EXPECT_EQ(window->rect, c.window) << "the suggested rectangle";
        EXPECT_EQ(PixelsOf(r.copy, r.main().imgSettings).rect, c.settings);
        EXPECT_EQ(PixelsOf(r.copy, r.main().lblCaption).font_height, c.caption_font);
        EXPECT_EQ(r.Values({"Left", "Top"}), c.stored);
        r.main().set_title("Lumoff.exe +CLOSE");
        ASSERT_TRUE(r.RunUntil(3000)) << "ended";
        SimCopy next(r.world);
        r.world.horizon_ms = 5000;
        next.Start();
        EXPECT_EQ(next.process.WindowOf(next.main())->rect, c.window) << "at the next start";
        EXPECT_EQ(r.Values({"Left", "Top"}), c.stored) << "the move to the suggested rectangle keeps the stored place";
    }
}

bool Overlap(const ui::PixelRect& a, const ui::PixelRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

// A control's place on the form as designed, in twips (a control inside a frame is placed from the frame's corner).
ui::PixelRect Designed(const ui::Control& c) {
    const ui::TwipRect& r = c.rect();
    const ui::TwipRect frame = c.container() ? c.container()->rect() : ui::TwipRect{};
    return {frame.left + r.left, frame.top + r.top, r.width, r.height};
}

// Every control lies on the content, a frame keeps its inside to the pixel, and controls apart in the design stay
// apart (also where the design's twips are rounded to pixels).
TEST(FitWorkArea, TheOptionsDialogFitsEveryScreenAtEveryScaleAndIsAsDesignedWhereThatFits) {
    const OptionsDialog dialog("http://host");
    const auto& controls = dialog.controls();
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (ui::PixelRect work : {ui::PixelRect{0, 0, 1366, 728}, {0, 0, 1024, 728}, {0, 0, 1920, 1032}, {0, 0, 800, 560}}) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, " + std::to_string(work.width) + " x " + std::to_string(work.height));
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

TEST(FitWorkArea, TheOptionsDialogIsArrangedAgainOnAMonitorOfAnotherScaleAndWhenTheWorkAreaChanges) {
    RunningCopy r({.until = 10}, [](SimWorld& w) {
        w.monitors = {{0, 0, 1920, 1080, 96, {0, 0, 1920, 1040}},
                      {1920, 0, 1920, 1080, 192, {1920, 0, 1920, 1040}},
                      {-800, 0, 800, 600, 96, {-800, 0, 800, 560}}};
    });
    SimWorld& world = r.world;
    SimCopy& copy = r.copy;
    const auto* window = copy.process.WindowOf(copy.options());
    auto arranged = [&] {
        const bool columns = window->layout.client_width > ui::LayOut(copy.options(), window->dpi).client_width;
        return std::string(columns ? "two columns" : "as designed") + (window->layout.scrolls() ? ", scrolling" : "");
    };
    auto inside = [&](const ui::PixelRect& work) {
        const ui::PixelRect& r = window->rect;
        return r.left >= work.left && r.top >= work.top && r.left + r.width <= work.left + work.width &&
               r.top + r.height <= work.top + work.height;
    };
    EXPECT_EQ(arranged(), "as designed");
    EXPECT_TRUE(inside(world.monitors[0].work)) << "centred on the work area";

    const platform::WindowRef dialog = copy.process.Handle(copy.options());
    world.DragWindow(dialog, 2000, 100);
    EXPECT_EQ(arranged(), "two columns");
    // The taskbar on the 200 % monitor is moved to its top and made half as tall as the monitor.
    world.SetWorkArea(1, {1920, 540, 1920, 540});
    EXPECT_EQ(arranged(), "two columns, scrolling");
    EXPECT_TRUE(inside(world.monitors[1].work)) << "moved down below the taskbar";
    EXPECT_EQ(copy.options().top(), 540 * 15) << "the form's place follows its window";
    world.SetWorkArea(1, {1920, 0, 1920, 1040});
    EXPECT_EQ(arranged(), "two columns");
    world.DragWindow(dialog, 100, 100);
    EXPECT_EQ(arranged(), "as designed");
    world.DragWindow(dialog, -700, 10);
    EXPECT_EQ(arranged(), "two columns") << "a small monitor of the same scale";
}

}  // namespace
}  // namespace lumoff
