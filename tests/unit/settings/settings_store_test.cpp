#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "contract/registry_cases.h"
#include "platform/sim/sim_registry.h"

namespace lumoff::settings {
namespace {

using platform::sim::SimRegistry;

// The byte-level cases are in the registry contract, shared with the end-to-end tests.
TEST(RegistryContract, SimulatedRegistryReadsEveryCaseAsTheSystemDoes) {
    SimRegistry reg;
    reg.CreateKey(kSettingsKey);
    platform::RegKey key = reg.Open(kSettingsKey);
    for (const auto& c : contract::ReadSettingValueCases()) {
        reg.SetValue(key, c.name, c.type, c.data.data(), static_cast<std::uint32_t>(c.data.size()));
        EXPECT_EQ(ReadSettingValue(reg, key, c.name), c.expected) << c.name;
    }
    EXPECT_EQ(ReadSettingValue(reg, key, "Missing"), "");
    reg.Close(key);
    EXPECT_EQ(ReadSettingValue(reg, 0, "Flag"), "") << "a key that is not open";
}

TEST(Store, WritesNothingWhileTheKeyIsMissingAndCutsEachFormToItsDataLength) {
    SimRegistry reg;
    Store(reg, kTray, "1", ValueForm::Flag);
    EXPECT_FALSE(reg.KeyExists(kSettingsKey)) << "only the loader creates the key";
    reg.CreateKey(kSettingsKey);
    // The fixed-length forms cut a longer text and pad a shorter one with NULs; every other value is written in full
    // by the loader's first run.
    Store(reg,
          {{"Two", "005", ValueForm::TwoDigit}, {"One", "5", ValueForm::TwoDigit}, {"Empty", "", ValueForm::TwoDigit}});
    std::string bytes;
    for (const char* name : {"Two", "One", "Empty"}) bytes += reg.Get(kSettingsKey, name)->data + "|";
    EXPECT_EQ(bytes, std::string("00|5\0|\0\0|", 9));
    EXPECT_EQ(reg.Get(kSettingsKey, "Two")->type, platform::kRegSz);
    EXPECT_EQ(reg.OpenHandles(), 0u) << "every write closes the key again";
}

TEST(ParseStoredNumber, RoundsDownAndRejectsWhatIsNoNumber) {
    for (auto [text, number] : std::initializer_list<std::pair<const char*, std::optional<long>>>{
             {"4320", 4320}, {"-15", -15}, {"7.9", 7}, {"7,5", 7}, {"-0.5", -1}, {"", std::nullopt},
             {"abc", std::nullopt}, {"12ab", std::nullopt}, {"99999999999", std::nullopt}})
        EXPECT_EQ(ParseStoredNumber(text), number) << text;
}

}  // namespace
}  // namespace lumoff::settings
