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

TEST(ReadSettingValue, TakesTheTextUpToTheFirstNulWhateverTheTypeAndLength) {
    SimRegistry reg;
    reg.Put(kSettingsKey, "Plain", "1");
    reg.Put(kSettingsKey, "WithNul", std::string("5\0", 2));
    reg.Put(kSettingsKey, "Embedded", std::string("ab\0cd", 5));
    reg.Put(kSettingsKey, "Dword", std::string("\x31\0\0\0", 4), platform::kRegDword);
    reg.Put(kSettingsKey, "ZeroDword", std::string("\0\0\0\0", 4), platform::kRegDword);
    EXPECT_EQ(Read(reg, "Plain"), "1");
    EXPECT_EQ(Read(reg, "WithNul"), "5");
    EXPECT_EQ(Read(reg, "Embedded"), "ab");
    EXPECT_EQ(Read(reg, "Dword"), "1");
    EXPECT_EQ(Read(reg, "ZeroDword"), "");
    EXPECT_EQ(Read(reg, "plain"), "1") << "value names compare without regard to case";
}

TEST(ReadSettingValue, IsEmptyOnAnyFailure) {
    SimRegistry reg;
    reg.Put(kSettingsKey, "Long", std::string(256, 'x'));
    EXPECT_EQ(Read(reg, "Missing"), "");
    EXPECT_EQ(Read(reg, "Long"), "") << "256 bytes do not fit the 255-byte buffer";
    EXPECT_EQ(ReadSettingValue(reg, 0, "Long"), "") << "a key that is not open";
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST(ReadSettingValue, ReadsAFullBufferWithoutNulWhole) {
    SimRegistry reg;
    reg.Put(kSettingsKey, "Full", std::string(255, 'y'));
    reg.Put(kSettingsKey, "FullWithNul", std::string(254, 'z') + '\0');
    EXPECT_EQ(Read(reg, "Full"), std::string(255, 'y'));
    EXPECT_EQ(Read(reg, "FullWithNul"), std::string(254, 'z'));
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
