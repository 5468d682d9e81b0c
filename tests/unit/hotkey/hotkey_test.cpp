#include <gtest/gtest.h>

#include "hotkey/hotkey.h"
#include "monitor/toggle.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdOk;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

struct Running {
    Running() {
        testing::SeedSettings(world);
        world.horizon_ms = 0;
        copy.Start();
    }
    OptionsDialog& o() { return copy.options(); }
    void RunUntil(std::uint64_t ms) {
        world.horizon_ms = ms;
        copy.Resume();
    }
    SimWorld world;
    SimCopy copy{world};
};

TEST(HotKeyLists, PairingRuleGivesLettersAndDigitsAModifier) {
    Running r;
    r.o().hkeyButton1.set_list_index(1);   // Ctrl
    r.o().hkeyButton2.set_list_index(28);  // Q
    r.o().hkeyButton1.set_list_index(0);   // "-" with a letter
    EXPECT_EQ(r.o().hkeyButton2.SelectedText(), "F10");
    r.o().hkeyButton2.set_list_index(45);  // "7" with "-"
    EXPECT_EQ(r.o().hkeyButton1.SelectedText(), "Ctrl");
    EXPECT_EQ(r.o().hkeyButton2.SelectedText(), "7");
    r.o().hkeyButton1.set_list_index(0);
    r.o().hkeyButton2.set_list_index(4);  // F5 alone is fine
    EXPECT_EQ(r.o().hkeyButton1.SelectedText(), "-");
}

// Registers the pair and returns at the given time by unsetting it, as the user would from the dialog.
void SetUntil(Running& r, std::uint64_t unset_at) {
    r.world.At(unset_at, [&] { r.o().cmdHotKey.Click(); });
    r.world.horizon_ms = unset_at + 100;
    r.o().cmdHotKey.Click();
}

TEST(HotKeyButton, RegistersTheCombinationConfirmsAndStores) {
    struct Case {
        int modifier, key;
        unsigned flags, vk;
        const char* named;
    } cases[] = {{1, 12, 2, 0x41, "Ctrl+A"}, {0, 9, 0, 0x79, "F10"}, {7, 47, 7, 0x39, "Ctrl+Alt+Shift+9"}};
    for (const Case& c : cases) {
        Running r;
        r.o().hkeyButton1.set_list_index(c.modifier);
        r.o().hkeyButton2.set_list_index(c.key);
        r.world.box_answers = {kIdOk};
        bool registered = false;
        r.world.At(50, [&] {
            registered = r.world.hotkeys.size() == 1 && r.world.hotkeys[0].id == 49151 &&
                         r.world.hotkeys[0].modifiers == (c.flags | platform::kModNoRepeat) && r.world.hotkeys[0].vk == c.vk;
            EXPECT_EQ(r.o().cmdHotKey.text(), "Unset Hotkey");
            EXPECT_FALSE(r.o().hkeyButton1.enabled());
            EXPECT_EQ(Stored(r.world, "HotKeySet"), "1");
            EXPECT_EQ(Stored(r.world, "HotKeyA"), std::to_string(c.modifier));
            EXPECT_EQ(Stored(r.world, "HotKeyB"), std::to_string(c.key));
        });
        SetUntil(r, 100);
        EXPECT_TRUE(registered) << c.named;
        ASSERT_EQ(r.world.boxes.size(), 1u);
        EXPECT_EQ(r.world.boxes[0].text,
                  std::string("Hotkey registered!\r\nYou can now use ") + c.named + " to turn off the monitor!");
        EXPECT_EQ(r.world.boxes[0].title, "Lumoff");
        EXPECT_EQ(r.world.boxes[0].style, 0x40u);
        // Unset.
        EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
        EXPECT_TRUE(r.o().hkeyButton2.enabled());
        EXPECT_EQ(Stored(r.world, "HotKeySet"), "0");
        EXPECT_TRUE(r.world.hotkeys.empty());
    }
}

TEST(HotKeyButton, ACombinationHeldElsewhereFailsAndChangesNothing) {
    Running r;
    r.world.RegisterHotKey(0xBEEF, 7, 0, 0x79);  // another program holds F10
    r.world.box_answers = {kIdOk};
    r.o().cmdHotKey.Click();
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text, "Couldn't register hotkey :(\r\nTry something else...");
    EXPECT_EQ(r.world.boxes[0].style, 0x40u);
    EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
    EXPECT_TRUE(r.o().hkeyButton1.enabled());
    EXPECT_EQ(Stored(r.world, "HotKeySet"), std::nullopt);
}

TEST(HotKeyButton, SetAndUnsetSeveralTimesLeavesExactlyTheMainLoop) {
    Running r;
    std::vector<int> depths;
    r.world.box_answers = {kIdOk, kIdOk, kIdOk};
    for (int round = 0; round < 3; ++round) {
        std::uint64_t t = 100 + round * 1000;
        r.world.At(t, [&] { r.o().cmdHotKey.Click(); });
        r.world.At(t + 300, [&] { depths.push_back(r.copy.program->monitor.pump_depth()); });
        r.world.At(t + 500, [&] { r.o().cmdHotKey.Click(); });
        r.world.At(t + 800, [&] { depths.push_back(r.copy.program->monitor.pump_depth()); });
    }
    r.RunUntil(4000);
    EXPECT_EQ(depths, (std::vector<int>{2, 1, 2, 1, 2, 1}));
}

TEST(HotKeyButton, TheUserHotKeyTogglesDuringTheNestedRun) {
    Running r;
    r.o().hkeyButton1.set_list_index(1);
    r.o().hkeyButton2.set_list_index(12);
    r.world.box_answers = {kIdOk};
    bool off_after_first = false;
    r.world.At(100, [&] { r.world.PressHotKey(2, 0x41); });
    r.world.At(150, [&] { off_after_first = r.copy.program->monitor.KeepingOff(); });
    r.world.At(200, [&] { r.world.PressHotKey(2, 0x41); });
    SetUntil(r, 300);
    EXPECT_TRUE(off_after_first);
    EXPECT_FALSE(r.copy.program->monitor.KeepingOff());
}

TEST(HotKeyRestore, StartUpRegistersTheStoredHotKeyWithoutAMessage) {
    SimWorld world;
    testing::SeedSettings(world);
    world.registry.Put(settings::kSettingsKey, "HotKeySet", "1");
    world.horizon_ms = 100;
    SimCopy copy(world);
    int depth = 0;
    world.At(50, [&] { depth = copy.program->monitor.pump_depth(); });
    copy.Start();
    EXPECT_EQ(depth, 1) << "the nested run of the restored hotkey, before the main loop";
    ASSERT_EQ(world.hotkeys.size(), 1u);
    EXPECT_EQ(world.hotkeys[0].vk, 0x79u) << "no pair stored: the lists' own pair, F10";
    EXPECT_TRUE(world.boxes.empty());
    EXPECT_EQ(copy.options().cmdHotKey.text(), "Unset Hotkey");
    EXPECT_EQ(copy.options().cmdHotKey.tag, "");
}

TEST(HotKeyRestore, OnlyExactlyOneRestores) {
    for (const char* stored : {"0", "11", "true", ""}) {
        SimWorld world;
        testing::SeedSettings(world);
        world.registry.Put(settings::kSettingsKey, "HotKeySet", stored);
        world.horizon_ms = 10;
        SimCopy copy(world);
        copy.Start();
        EXPECT_TRUE(world.hotkeys.empty()) << stored;
    }
}

TEST(HotKeyRestore, AFailedRestoreSaysSoAndTheNextSuccessConfirms) {
    SimWorld world;
    testing::SeedSettings(world);
    world.registry.Put(settings::kSettingsKey, "HotKeySet", "1");
    world.RegisterHotKey(0xBEEF, 7, 0, 0x79);
    world.box_answers = {kIdOk, kIdOk};
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.boxes[0].text, "Couldn't register hotkey :(\r\nTry something else...");
    EXPECT_EQ(copy.options().cmdHotKey.tag, "");
    copy.options().hkeyButton2.set_list_index(10);  // F11
    world.At(50, [&] { copy.options().cmdHotKey.Click(); });
    world.horizon_ms = 100;
    copy.options().cmdHotKey.Click();
    EXPECT_EQ(world.boxes.size(), 2u) << "the user's success is confirmed";
}

}  // namespace
}  // namespace lumoff
