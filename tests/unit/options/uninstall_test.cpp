// "Uninstall Lumoff": its two questions, what it removes, and the walk that empties the Settings key.
#include <gtest/gtest.h>

#include <tuple>

#include "options/uninstall.h"
#include "platform/sim/sim_registry.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(Uninstall, YesRemovesTheKeyAndTheRunValueAndEndsWhateverTheFeedbackAnswerNoChangesNothing) {
    for (const auto& [answers, removed, opened] : std::initializer_list<std::tuple<std::vector<int>, bool, bool>>{
             {{kIdNo}, false, false}, {{kIdYes, kIdYes}, true, true}, {{kIdYes, kIdNo}, true, false}}) {
        RunningCopy r({.answers = answers});
        SimWorld& world = r.world;
        r.o().radStartOn.set_value(true);
        world.registry.Put(kRunKey, "Other", "C:\\Other.exe");
        SCOPED_TRACE(answers.size());
        world.At(0, [&r] { r.o().cmdReg.Click(); });
        EXPECT_EQ(r.RunUntil(0).has_value(), removed);
        EXPECT_EQ(world.boxes.size(), answers.size()) << "the texts are checked end to end";
        EXPECT_EQ(world.registry.KeyExists(settings::kSettingsKey), !removed);
        EXPECT_EQ(world.registry.Get(kRunKey, "Lumoff") != nullptr, !removed);
        EXPECT_TRUE(world.registry.Get(kRunKey, "Other")) << "only this program's value goes";
        using Opened = std::vector<std::pair<platform::WindowRef, std::string>>;
        const std::string feedback = std::string(kDefaultWebHost) + "/files/lumoff/feedback.php";
        EXPECT_EQ(world.opened_urls, (opened ? Opened{{0, feedback}} : Opened{})) << "no owner window";
    }
}

// Every value gets one try whatever its name, size or type, so the walk ends, leaving only what it cannot delete.
TEST(DeleteAllValues, EmptiesTheKeyWhateverTheValuesAndPassesOverOneItCannotDelete) {
    platform::sim::SimRegistry reg;
    reg.Put(settings::kSettingsKey, "", "default value");
    reg.Put(settings::kSettingsKey, "Locked", "1");
    reg.Put(settings::kSettingsKey, std::string(300, 'N'), "long name");
    reg.Put(settings::kSettingsKey, "Binary", std::string(256, '\0'), platform::kRegBinary);
    reg.Put(settings::kSettingsKey, "Zo\xC3\xAB \xE6\x97\xA5", "outside the code page");
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
