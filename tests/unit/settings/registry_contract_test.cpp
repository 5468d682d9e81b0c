#include <gtest/gtest.h>

#include "contract/registry_cases.h"
#include "platform/sim/sim_registry.h"
#include "settings/settings_store.h"

namespace lumoff {
namespace {

TEST(RegistryContract, SimulatedRegistryReadsEveryCaseAsTheSystemDoes) {
    platform::sim::SimRegistry reg;
    reg.CreateKey(settings::kSettingsKey);
    platform::RegKey key = reg.Open(settings::kSettingsKey);
    for (const auto& c : contract::ReadSettingValueCases()) {
        reg.SetValue(key, c.name, c.type, c.data.data(), static_cast<std::uint32_t>(c.data.size()));
        EXPECT_EQ(settings::ReadSettingValue(reg, key, c.name), c.expected) << c.name;
    }
    reg.Close(key);
}

}  // namespace
}  // namespace lumoff
