// The status screen's message on a primary monitor that is small for its scale: its box keeps its margins inside the
// monitor, so the text wraps where it is seen (and the view draws it smaller where even then it would not fit).
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::SimWorld;

TEST(StatusScreen, TheMessagesBoxStaysInsideThePrimaryMonitorAtAnyScale) {
    struct Case {
        const char* named;
        SimWorld::Monitor primary;
        ui::TwipRect box;
    } cases[] = {
        {"full HD at 100 %", {0, 0, 1920, 1080, 96}, {240, 120, 12015, 13395}},
        {"1024 x 768 at 100 %", {0, 0, 1024, 768, 96}, {240, 120, 12015, 11280}},
        {"1024 x 768 at 150 %", {0, 0, 1024, 768, 144}, {240, 120, 9760, 7440}},
        {"1024 x 768 at 200 %", {0, 0, 1024, 768, 192}, {240, 120, 7200, 5520}},
    };
    for (const Case& c : cases) {
        testing::RunningCopy r({.until = 10}, [&](SimWorld& world) {
            world.monitors = {c.primary, {c.primary.width, 0, 1280, 1024, c.primary.dpi}};
        });
        r.Toggle();
        const ui::Label& message = r.copy.ctx().turned_off.lblOffMessage;
        const ui::TwipRect& box = message.rect();
        EXPECT_EQ(box.left, c.box.left) << c.named;
        EXPECT_EQ(box.top, c.box.top) << c.named;
        EXPECT_EQ(box.width, c.box.width) << c.named;
        EXPECT_EQ(box.height, c.box.height) << c.named;
        EXPECT_TRUE(message.shrink_to_fit) << c.named;
    }
}

}  // namespace
}  // namespace lumoff
