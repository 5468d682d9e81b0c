// Registry keys are held only for the reads and writes of one event: a copy waiting in its message loop holds none,
// also when its start-up put it in the tray and registered the stored hotkey (whose registration goes on running the
// message loop for as long as the hotkey stays set).
#include <gtest/gtest.h>

#include "support/sim_program.h"

namespace lumoff {
namespace {

TEST(OpenKeys, NoneIsHeldOnceTheStartUpWaitsForMessages) {
    std::optional<size_t> open;  // looked at while the copy waits for messages, not after it stopped
    RunningCopy r({.stored = {{"HotKeySet", "1"}, {"Tray", "1"}}, .until = 5000},
                  [&](SimWorld& w) { w.At(4000, [&] { open = w.registry.OpenHandles(); }); });
    EXPECT_EQ(r.world.hotkeys.size(), 1u);
    EXPECT_EQ(open, 0u);
}

}  // namespace
}  // namespace lumoff
