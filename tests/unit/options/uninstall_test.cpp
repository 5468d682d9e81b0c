#include <gtest/gtest.h>

#include "options/uninstall.h"
#include "settings/loader.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdNo;
using platform::kIdYes;
using platform::sim::SimWorld;
using testing::SimCopy;

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct Running {
    Running() {
        world.horizon_ms = 10;
        world.box_answers = {kIdNo};  // the first-run question
        copy.Start();
        copy.options().radStartOn.set_value(true);
        world.registry.Put(kRunKey, "Other", "C:\\Other.exe");
        world.boxes.clear();
    }
    // Clicks "Uninstall Lumoff" with the answers; the time the program ended at, or nothing.
    std::optional<std::uint32_t> Uninstall(std::initializer_list<int> answers) {
        world.box_answers = answers;
        try {
            copy.options().cmdReg.Click();
        } catch (const platform::sim::ProcessExited& e) {
            return e.at_ms;
        }
        return std::nullopt;
    }
    SimWorld world;
    SimCopy copy{world};
};

TEST(Uninstall, NoToTheFirstQuestionChangesNothing) {
    Running r;
    EXPECT_EQ(r.Uninstall({kIdNo}), std::nullopt);
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text,
              "Are you sure you want to remove Lumoff from your computer?\r\nThis will close Lumoff");
    EXPECT_EQ(r.world.boxes[0].title, "Lumoff :(");
    EXPECT_EQ(r.world.boxes[0].style, 0x24u);
    EXPECT_TRUE(r.world.registry.KeyExists(settings::kSettingsKey));
    EXPECT_TRUE(r.world.registry.Get(kRunKey, "Lumoff"));
    EXPECT_FALSE(r.copy.process.exited);
}

TEST(Uninstall, YesRemovesTheKeyAndTheRunValueAndEndsWhateverTheFeedbackAnswer) {
    for (int feedback : {kIdYes, kIdNo}) {
        Running r;
        EXPECT_TRUE(r.Uninstall({kIdYes, feedback})) << "the program ended";
        ASSERT_EQ(r.world.boxes.size(), 2u);
        EXPECT_EQ(r.world.boxes[1].text,
                  "Would you like to send a feedback letting us know why you've removed Lumoff?\r\n"
                  "Maybe if you let us know, we could make it work better next time :)");
        EXPECT_EQ(r.world.boxes[1].title, "Lumoff :(");
        EXPECT_EQ(r.world.boxes[1].style, 0x24u);
        if (feedback == kIdYes) {
            ASSERT_EQ(r.world.opened_urls.size(), 1u);
            EXPECT_EQ(r.world.opened_urls[0].first, 0u) << "no owner window";
            EXPECT_EQ(r.world.opened_urls[0].second, "http://www.brevald.example/files/lumoff/feedback.php");
        } else {
            EXPECT_TRUE(r.world.opened_urls.empty());
        }
        EXPECT_FALSE(r.world.registry.KeyExists(settings::kSettingsKey));
        EXPECT_EQ(r.world.registry.Get(kRunKey, "Lumoff"), nullptr);
        EXPECT_TRUE(r.world.registry.Get(kRunKey, "Other")) << "only this program's value goes";
        EXPECT_EQ(r.world.registry.OpenHandles(), 0u);
    }
}

TEST(Uninstall, TheNextStartIsAFirstRunAgain) {
    Running r;
    r.Uninstall({kIdYes, kIdNo});
    r.world.boxes.clear();
    r.world.box_answers = {kIdNo};
    SimCopy again(r.world);
    again.Start();
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text, kFirstRunMessage);
}

TEST(DeleteAllValues, EmptiesTheKeyWhateverTheValuesNamesSizesAndTypes) {
    SimWorld world;
    auto& reg = world.registry;
    reg.Put(settings::kSettingsKey, "", "default value");
    reg.Put(settings::kSettingsKey, std::string(300, 'N'), "long name");
    reg.Put(settings::kSettingsKey, "Big", std::string(1000, 'x'));
    reg.Put(settings::kSettingsKey, "Dword", std::string("\x01\x00\x00\x00", 4), platform::kRegDword);
    reg.Put(settings::kSettingsKey, "Binary", std::string(256, '\0'), platform::kRegBinary);
    reg.Put(settings::kSettingsKey, "Zo\xC3\xAB \xE6\x97\xA5", "outside the code page");
    reg.Put(settings::kSettingsKey, "Version", "1.1.2");
    platform::RegKey key = reg.Open(settings::kSettingsKey);
    DeleteAllValues(reg, key);
    std::string name;
    EXPECT_EQ(reg.EnumValueName(key, 0, &name), platform::kErrorNoMoreItems);
    reg.Close(key);
}

TEST(DeleteAllValues, EndsWhenAValueCannotBeDeletedAndDeletesTheRest) {
    SimWorld world;
    auto& reg = world.registry;
    for (const char* name : {"A", "Locked", "B", "C"}) reg.Put(settings::kSettingsKey, name, "1");
    reg.undeletable_value = "Locked";
    platform::RegKey key = reg.Open(settings::kSettingsKey);
    DeleteAllValues(reg, key);
    std::string name;
    ASSERT_EQ(reg.EnumValueName(key, 0, &name), platform::kErrorSuccess);
    EXPECT_EQ(name, "Locked");
    EXPECT_EQ(reg.EnumValueName(key, 1, &name), platform::kErrorNoMoreItems);
    reg.Close(key);
    DeleteAllValues(reg, 0);  // a key that is not open: nothing to do, and it ends
}

}  // namespace
}  // namespace lumoff
