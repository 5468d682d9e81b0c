// The user's global hotkey: the lists' pairing rule, setting and unsetting it, and its restore at start-up.
#include <gtest/gtest.h>

#include "hotkey/hotkey.h"
#include "monitor/toggle.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdOk;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::RunningCopy;
using testing::Stored;

constexpr const char* kRefused = "Couldn't register hotkey :(\r\nTry something else...";

// Sets the hotkey with the button; the user unsets it again at the given time, which ends the nested run.
void SetUntil(testing::RunningCopy& r, std::uint64_t unset_at) {
    r.world.At(unset_at, [&] { r.o().cmdHotKey.Click(); });
    r.world.horizon_ms = unset_at + 100;
    r.o().cmdHotKey.Click();
}

TEST(HotKeyLists, PairingRuleGivesLettersAndDigitsAModifier) {
    RunningCopy r;
    r.o().hkeyButton1.set_list_index(1);   // Ctrl
    r.o().hkeyButton2.set_list_index(28);  // Q
    r.o().hkeyButton1.set_list_index(0);   // "-" with a letter
    EXPECT_EQ(r.o().hkeyButton2.SelectedText(), "F10");
    r.o().hkeyButton2.set_list_index(45);  // "7" with "-"
    EXPECT_EQ(r.o().hkeyButton1.SelectedText() + "+" + r.o().hkeyButton2.SelectedText(), "Ctrl+7");
    r.o().hkeyButton1.set_list_index(0);
    r.o().hkeyButton2.set_list_index(4);  // F5 alone is fine
    EXPECT_EQ(r.o().hkeyButton1.SelectedText(), "-");
}

TEST(HotKeyButton, RegistersTheCombinationConfirmsStoresAndUnsets) {
    struct Case {
        int modifier, key;
        unsigned flags, vk;
        const char* named;
    } cases[] = {{1, 12, 2, 0x41, "Ctrl+A"}, {0, 9, 0, 0x79, "F10"}, {7, 47, 7, 0x39, "Ctrl+Alt+Shift+9"}};
    for (const Case& c : cases) {
        RunningCopy r;
        r.o().hkeyButton1.set_list_index(c.modifier);
        r.o().hkeyButton2.set_list_index(c.key);
        r.world.box_answers = {kIdOk};
        std::string while_set;
        r.world.At(50, [&] {
            ASSERT_EQ(r.world.hotkeys.size(), 1u);
            EXPECT_EQ(r.world.hotkeys[0].id, 49151);
            EXPECT_EQ(r.world.hotkeys[0].modifiers, c.flags | platform::kModNoRepeat);
            EXPECT_EQ(r.world.hotkeys[0].vk, c.vk);
            EXPECT_FALSE(r.o().hkeyButton1.enabled());
            while_set = r.o().cmdHotKey.text() + " " + Stored(r.world, "HotKeySet").value_or("") +
                        Stored(r.world, "HotKeyA").value_or("") + "," + Stored(r.world, "HotKeyB").value_or("");
        });
        SetUntil(r, 100);
        EXPECT_EQ(while_set, "Unset Hotkey 1" + std::to_string(c.modifier) + "," + std::to_string(c.key)) << c.named;
        ASSERT_EQ(r.world.boxes.size(), 1u);
        EXPECT_EQ(r.world.boxes[0].text,
                  std::string("Hotkey registered!\r\nYou can now use ") + c.named + " to turn off the monitor!");
        EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
        EXPECT_TRUE(r.o().hkeyButton2.enabled());
        EXPECT_EQ(Stored(r.world, "HotKeySet"), "0");
        EXPECT_TRUE(r.world.hotkeys.empty());
    }
}

TEST(HotKeyButton, ACombinationHeldElsewhereFailsAndChangesNothing) {
    RunningCopy r;
    r.world.RegisterHotKey(0xBEEF, 7, 0, 0x79);  // another program holds F10
    r.world.box_answers = {kIdOk};
    r.o().cmdHotKey.Click();
    ASSERT_EQ(r.world.boxes.size(), 1u);
    EXPECT_EQ(r.world.boxes[0].text, kRefused);
    EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
    EXPECT_TRUE(r.o().hkeyButton1.enabled());
    EXPECT_EQ(Stored(r.world, "HotKeySet"), std::nullopt);
}

// Setting the hotkey runs a nested message loop until it is unset; the hotkey toggles meanwhile.
TEST(HotKeyButton, TheUserHotKeyTogglesDuringTheNestedRunWhichEndsOnUnset) {
    RunningCopy r;
    r.o().hkeyButton1.set_list_index(1);
    r.o().hkeyButton2.set_list_index(12);
    r.world.box_answers = {kIdOk, kIdOk};
    std::vector<int> depths;
    std::vector<bool> off;
    auto& monitor = r.monitor();
    r.world.At(100, [&] { r.world.PressHotKey(2, 0x41); });
    r.world.At(50, [&] { r.o().cmdHotKey.Click(); });
    r.world.At(150, [&] {
        off.push_back(monitor.KeepingOff());
        depths.push_back(monitor.pump_depth());
    });
    r.world.At(200, [&] { r.world.PressHotKey(2, 0x41); });
    r.world.At(250, [&] { off.push_back(monitor.KeepingOff()); });
    r.world.At(300, [&] { r.o().cmdHotKey.Click(); });
    r.world.At(400, [&] { depths.push_back(monitor.pump_depth()); });
    r.world.At(500, [&] { r.o().cmdHotKey.Click(); });
    r.world.At(600, [&] { depths.push_back(monitor.pump_depth()); });
    r.world.At(700, [&] { r.o().cmdHotKey.Click(); });
    r.world.horizon_ms = 800;
    r.copy.Resume();
    EXPECT_EQ(off, (std::vector<bool>{true, false}));
    EXPECT_EQ(depths, (std::vector<int>{2, 1, 2})) << "set, unset and set again from the main loop";
}

TEST(HotKeyRestore, OnlyExactlyOneRestores) {
    for (const char* stored : {"1", "0", "11", "true", ""}) {
        RunningCopy r({{"HotKeySet", stored}});
        EXPECT_EQ(r.world.hotkeys.size(), std::string(stored) == "1" ? 1u : 0u) << stored;
        EXPECT_TRUE(r.world.boxes.empty()) << stored;
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
    EXPECT_EQ(world.boxes[0].text, kRefused);
    EXPECT_EQ(copy.options().cmdHotKey.tag, "");
    copy.options().hkeyButton2.set_list_index(10);  // F11
    world.At(50, [&] { copy.options().cmdHotKey.Click(); });
    world.horizon_ms = 100;
    copy.options().cmdHotKey.Click();
    EXPECT_EQ(world.boxes.size(), 2u) << "the user's success is confirmed";
}

}  // namespace
}  // namespace lumoff
