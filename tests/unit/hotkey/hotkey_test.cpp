// The user's global hotkey: the lists' pairing rule, setting and unsetting it, and its restore at start-up.
#include <gtest/gtest.h>

#include "hotkey/hotkey.h"
#include "monitor/toggle.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

constexpr const char* kRefused = "Couldn't register hotkey :(\r\nTry something else...";

// Sets the hotkey with the button; the user unsets it again at the given time, which ends the nested run.
void SetUntil(RunningCopy& r, std::uint64_t unset_at) {
    r.world.At(unset_at, [&] { r.o().cmdHotKey.Click(); });
    r.world.horizon_ms = unset_at + 100;
    r.o().cmdHotKey.Click();
}

TEST(HotKeyLists, PairingRuleGivesLettersAndDigitsAModifier) {
    RunningCopy r;
    ui::ComboBox &modifier = r.o().hkeyButton1, &key = r.o().hkeyButton2;
    modifier.set_list_index(1);  // Ctrl
    key.set_list_index(28);      // Q
    modifier.set_list_index(0);  // "-" with a letter
    EXPECT_EQ(key.SelectedText(), "F10");
    key.set_list_index(45);  // "7" with "-"
    EXPECT_EQ(modifier.SelectedText() + "+" + key.SelectedText(), "Ctrl+7");
    modifier.set_list_index(0);
    key.set_list_index(4);  // F5 alone is fine
    EXPECT_EQ(modifier.SelectedText(), "-");
}

TEST(HotKeyButton, RegistersTheCombinationConfirmsStoresAndUnsets) {
    struct Case {
        int modifier, key;
        unsigned flags, vk;
        const char* named;
    } cases[] = {{1, 12, 2, 0x41, "Ctrl+A"}, {0, 9, 0, 0x79, "F10"}, {7, 47, 7, 0x39, "Ctrl+Alt+Shift+9"}};
    for (const Case& c : cases) {
        RunningCopy r({.answers = {kIdOk}});
        r.o().hkeyButton1.set_list_index(c.modifier);
        r.o().hkeyButton2.set_list_index(c.key);
        std::string while_set;
        r.world.At(50, [&] {
            ASSERT_EQ(r.world.hotkeys.size(), 1u);
            EXPECT_EQ(r.world.hotkeys[0].id, 49151);
            EXPECT_EQ(r.world.hotkeys[0].modifiers, c.flags | platform::kModNoRepeat);
            EXPECT_EQ(r.world.hotkeys[0].vk, c.vk);
            EXPECT_FALSE(r.o().hkeyButton1.enabled());
            while_set = r.o().cmdHotKey.text() + " " + r.Values({"HotKeySet", "HotKeyA"}) + "," + *r.Stored("HotKeyB");
        });
        SetUntil(r, 100);
        EXPECT_EQ(while_set, "Unset Hotkey 1" + std::to_string(c.modifier) + "," + std::to_string(c.key)) << c.named;
        EXPECT_EQ(r.Boxes(), std::vector<std::string>{std::string("Hotkey registered!\r\nYou can now use ") + c.named +
                                                       " to turn off the monitor!"});
        EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
        EXPECT_TRUE(r.o().hkeyButton2.enabled());
        EXPECT_EQ(r.Stored("HotKeySet"), "0");
        EXPECT_TRUE(r.world.hotkeys.empty());
    }
}

TEST(HotKeyButton, ACombinationHeldElsewhereFailsAndChangesNothing) {
    RunningCopy r({.answers = {kIdOk}}, [](SimWorld& w) { w.RegisterHotKey(0xBEEF, 7, 0, 0x79); });  // F10 is taken
    r.o().cmdHotKey.Click();
    EXPECT_EQ(r.Boxes(), std::vector<std::string>{kRefused});
    EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
    EXPECT_TRUE(r.o().hkeyButton1.enabled());
    EXPECT_EQ(r.Stored("HotKeySet"), std::nullopt);
}

// Setting the hotkey runs a nested message loop until it is unset; the hotkey toggles meanwhile.
TEST(HotKeyButton, TheUserHotKeyTogglesDuringTheNestedRunWhichEndsOnUnset) {
    RunningCopy r({.answers = {kIdOk, kIdOk}});
    r.o().hkeyButton1.set_list_index(1);
    r.o().hkeyButton2.set_list_index(12);
    std::vector<int> depths;
    std::vector<bool> off;
    auto depth = [&] { depths.push_back(r.monitor().pump_depth()); };
    r.world.At(50, [&] { r.o().cmdHotKey.Click(); });
    r.world.At(100, [&] { r.world.PressHotKey(2, 0x41); });
    r.world.At(150, [&] { off.push_back(r.KeepingOff()), depth(); });
    r.world.At(200, [&] { r.world.PressHotKey(2, 0x41); });
    r.world.At(250, [&] { off.push_back(r.KeepingOff()); });
    r.world.At(300, [&] { r.o().cmdHotKey.Click(); });
    r.world.At(400, depth);
    r.world.At(500, [&] { r.o().cmdHotKey.Click(); });
    r.world.At(600, depth);
    r.world.At(700, [&] { r.o().cmdHotKey.Click(); });
    r.RunUntil(800);
    EXPECT_EQ(off, (std::vector<bool>{true, false}));
    EXPECT_EQ(depths, (std::vector<int>{2, 1, 2})) << "set, unset and set again from the main loop";
}

// Only a stored "1" restores; a failed restore says so, and the user's next success is confirmed.
TEST(HotKeyRestore, OnlyExactlyOneRestores) {
    for (const char* stored : {"1", "0", "11", "true", ""}) {
        RunningCopy r({.stored = {{"HotKeySet", stored}}});
        EXPECT_EQ(r.world.hotkeys.size(), std::string(stored) == "1" ? 1u : 0u) << stored;
        EXPECT_TRUE(r.world.boxes.empty()) << stored;
    }
}

TEST(HotKeyRestore, AFailedRestoreSaysSoAndTheNextSuccessConfirms) {
    RunningCopy r({.stored = {{"HotKeySet", "1"}}, .answers = {kIdOk, kIdOk}},
                  [](SimWorld& w) { w.RegisterHotKey(0xBEEF, 7, 0, 0x79); });
    EXPECT_EQ(r.Boxes(), std::vector<std::string>{kRefused});
    EXPECT_EQ(r.o().cmdHotKey.tag, "");
    r.o().hkeyButton2.set_list_index(10);  // F11
    SetUntil(r, 50);
    EXPECT_EQ(r.world.boxes.size(), 2u) << "the user's success is confirmed";
}

}  // namespace
}  // namespace lumoff
