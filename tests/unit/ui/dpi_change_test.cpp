// A window moved onto a monitor of another scale is laid out again for that monitor's DPI (controls and fonts), takes
// the rectangle the system suggests, and its place is stored so that the next start puts it there again.
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

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

TEST(MonitorScale, ACaptionWindowDraggedOntoAnotherMonitorIsLaidOutForItsScaleAndStoredWhereItIs) {
    struct Case {
        const char* named;
        int x, y;
        int dpi;
        ui::PixelRect window;
        ui::PixelRect settings;  // the settings picture on the window
        int caption_font;        // the caption's character height
        const char* left;
        const char* top;
    } cases[] = {
        {"onto the 200 % monitor", 2400, 300, 192, {2400, 300, 162, 130}, {128, 96, 32, 32}, 22, "36000", "4500"},
        {"onto the 150 % monitor", -1000, -900, 144, {-1000, -900, 121, 97}, {96, 72, 24, 24}, 17, "-15000", "-13500"},
        {"within the primary", 600, 300, 96, {600, 300, 81, 65}, {64, 48, 16, 16}, 11, "9000", "4500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        SimWorld world;
        world.monitors = kMonitors;
        testing::SeedSettings(world);
        world.horizon_ms = 1500;  // past the housekeeping tick that stores a moved window's place
        SimCopy copy(world);
        world.At(100, [&] { world.DragWindow(copy.handle(), c.x, c.y); });
        copy.Start();

        const auto* window = copy.process.WindowOf(copy.main());
        EXPECT_EQ(window->dpi, c.dpi);
        EXPECT_EQ(window->dpi_changes, c.dpi == 96 ? 0 : 1);
        EXPECT_EQ(window->rect, c.window) << "the suggested rectangle";
        EXPECT_EQ(PixelsOf(copy, copy.main().imgSettings).rect, c.settings);
        EXPECT_EQ(PixelsOf(copy, copy.main().lblCaption).font_height, c.caption_font);
        EXPECT_EQ(Stored(world, "Left"), c.left);
        EXPECT_EQ(Stored(world, "Top"), c.top);
    }
}

TEST(MonitorScale, TheNextStartPutsTheWindowBackOnTheMonitorItWasLeftOnAtThatMonitorsScale) {
    SimWorld world;
    world.monitors = kMonitors;
    testing::SeedSettings(world);
    world.registry.Put(settings::kSettingsKey, settings::kLeft, "36000");
    world.registry.Put(settings::kSettingsKey, settings::kTop, "4500");
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    const auto* window = copy.process.WindowOf(copy.main());
    EXPECT_EQ(window->dpi, 192);
    EXPECT_EQ(window->rect, (ui::PixelRect{2400, 300, 162, 130}));
    EXPECT_EQ(copy.main().left(), 36000) << "the move to the suggested rectangle keeps the stored place";
    EXPECT_EQ(copy.main().top(), 4500);
}

}  // namespace
}  // namespace lumoff
