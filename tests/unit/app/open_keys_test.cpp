// Registry keys are held only for the reads and writes of one event: a copy that has started and waits in its
// message loop holds none, also when the start-up registered the stored hotkey (whose registration goes on running
// the message loop for as long as the hotkey stays set) or put the program in the tray.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::sim::SimWorld;

TEST(OpenKeys, NoneIsHeldOnceTheStartUpWaitsForMessages) {
    const std::pair<const char*, testing::Setup> cases[] = {
        {"plain start", {.until = 5000}},
        {"the stored hotkey registered",
         {.stored = {{"HotKeySet", "1"}, {"HotKeyA", "1"}, {"HotKeyB", "12"}}, .until = 5000}},
        {"started in the tray", {.stored = {{"Tray", "1"}}, .until = 5000}},
    };
    for (const auto& [name, setup] : cases) {
        SCOPED_TRACE(name);
        // Looked at while the copy waits for messages, not after it stopped.
        std::optional<size_t> open;
        testing::RunningCopy copy(setup, [&](SimWorld& world) {
            world.At(4000, [&] { open = world.registry.OpenHandles(); });
        });
        EXPECT_EQ(open, 0u);
    }
}

}  // namespace
}  // namespace lumoff
