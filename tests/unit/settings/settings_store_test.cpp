#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace lumoff::settings {
namespace {

using platform::sim::SimRegistry;

std::string Read(SimRegistry& reg, std::string_view name) {
    platform::RegKey key = reg.Open(kSettingsKey);
    std::string text = ReadSettingValue(reg, key, name);
    reg.Close(key);
    return text;
}

// The byte-level cases are in the registry contract, shared with the end-to-end tests.
TEST(ReadSettingValue, IsEmptyForAMissingValueOrAKeyThatIsNotOpen) {
    SimRegistry reg;
    reg.Put(kSettingsKey, "Plain", "1");
    EXPECT_EQ(Read(reg, "Missing"), "");
    EXPECT_EQ(Read(reg, "plain"), "1") << "value names compare without regard to case";
    EXPECT_EQ(ReadSettingValue(reg, 0, "Plain"), "");
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST(Store, CutsEachFormToItsDataLength) {
    SimRegistry reg;
    reg.CreateKey(kSettingsKey);
    Store(reg, {{"Flag", "1", ValueForm::Flag},
                {"Position", "12", ValueForm::ListPosition},
                {"Two", "005", ValueForm::TwoDigit},
                {"One", "5", ValueForm::TwoDigit},
                {"Empty", "", ValueForm::TwoDigit},
                {"Number", "4320", ValueForm::Text}});
    auto bytes = [&](const char* name) { return reg.Get(kSettingsKey, name)->data; };
    EXPECT_EQ(bytes("Flag"), "1");
    EXPECT_EQ(bytes("Position"), "1") << "a list position is stored as its first digit";
    EXPECT_EQ(bytes("Two"), "00");
    EXPECT_EQ(bytes("One"), std::string("5\0", 2));
    EXPECT_EQ(bytes("Empty"), std::string("\0\0", 2));
    EXPECT_EQ(bytes("Number"), "4320");
    EXPECT_EQ(reg.Get(kSettingsKey, "Number")->type, platform::kRegSz);
    EXPECT_EQ(reg.OpenHandles(), 0u) << "every write closes the key again";
}

TEST(Store, DoesNothingWhileTheKeyIsMissing) {
    SimRegistry reg;
    Store(reg, kTray, "1", ValueForm::Flag);
    EXPECT_FALSE(reg.KeyExists(kSettingsKey));
}

TEST(ParseStoredNumber, RoundsDownAndRejectsWhatIsNoNumber) {
    EXPECT_EQ(ParseStoredNumber("4320"), 4320);
    EXPECT_EQ(ParseStoredNumber("-15"), -15);
    EXPECT_EQ(ParseStoredNumber("7.9"), 7);
    EXPECT_EQ(ParseStoredNumber("7,5"), 7);
    EXPECT_EQ(ParseStoredNumber("-0.5"), -1);
    EXPECT_EQ(ParseStoredNumber(""), std::nullopt);
    EXPECT_EQ(ParseStoredNumber("abc"), std::nullopt);
    EXPECT_EQ(ParseStoredNumber("12ab"), std::nullopt);
    EXPECT_EQ(ParseStoredNumber("99999999999"), std::nullopt);
}

}  // namespace
}  // namespace lumoff::settings
