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
using testing::SimCopy;

TEST(OpenKeys, NoneIsHeldOnceTheStartUpWaitsForMessages) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string_view, std::string>> stored;
    };
    const Case cases[] = {
        {"plain start", {}},
        {"the stored hotkey registered", {{settings::kHotKeySet, "1"}, {settings::kHotKeyA, "1"}, {settings::kHotKeyB, "12"}}},
        {"started in the tray", {{settings::kTray, "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimWorld world;
        testing::SeedSettings(world);
        for (const auto& [name, value] : c.stored) world.registry.Put(settings::kSettingsKey, name, value);
        // Looked at while the copy waits for messages, not after it stopped.
        std::optional<size_t> open;
        world.At(4000, [&] { open = world.registry.OpenHandles(); });
        world.horizon_ms = 5000;
        SimCopy copy(world);
        copy.Start();
        EXPECT_EQ(open, 0u);
    }
}

}  // namespace
}  // namespace lumoff
