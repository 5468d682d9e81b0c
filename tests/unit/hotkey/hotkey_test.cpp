// The user's global hotkey: the lists' pairing rule, setting and unsetting it, and a refused one (its restore at
// start-up is the start-up test's).
#include <gtest/gtest.h>

#include <tuple>

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

// A letter or a digit needs a modifier: "-" chosen with a letter puts the key back to F10. (A digit chosen with "-"
// takes Ctrl, and an F key alone is fine: rows of the button's table.)
TEST(HotKeyLists, PairingRuleGivesLettersAndDigitsAModifier) {
    RunningCopy r;
    r.o().hkeyButton1.set_list_index(1);   // Ctrl
    r.o().hkeyButton2.set_list_index(28);  // Q
    r.o().hkeyButton1.set_list_index(0);
    EXPECT_EQ(r.o().hkeyButton2.SelectedText(), "F10");
}

TEST(HotKeyButton, RegistersTheCombinationConfirmsStoresAndUnsets) {
    // The lists' positions, the flags and key registered, and the name the confirmation gives.
    using Row = std::tuple<int, int, unsigned, unsigned, const char*>;
    for (auto [modifier, key, flags, vk, named] : std::initializer_list<Row>{
             {1, 12, 2, 0x41, "Ctrl+A"}, {0, 9, 0, 0x79, "F10"}, {7, 47, 7, 0x39, "Ctrl+Alt+Shift+9"},
             {0, 45, 2, 0x37, "Ctrl+7"}}) {  // a digit chosen with "-" takes Ctrl
        RunningCopy r({.answers = {kIdOk}});
        r.o().hkeyButton1.set_list_index(modifier);
        r.o().hkeyButton2.set_list_index(key);
        r.world.At(50, [&r, flags = flags, vk = vk] {  // while it is set
            ASSERT_EQ(r.world.hotkeys.size(), 1u);
            EXPECT_EQ(r.world.hotkeys[0].modifiers, flags | platform::kModNoRepeat);
            EXPECT_EQ(r.world.hotkeys[0].vk, vk);
            EXPECT_EQ(r.o().cmdHotKey.text() + r.Values({"HotKeySet"}), "Unset Hotkey1");
            EXPECT_FALSE(r.o().hkeyButton1.enabled());
        });
        SetUntil(r, 100);  // the unset ends the nested run, or the horizon stops it and the test fails
        EXPECT_EQ(r.Boxes(), std::vector<std::string>{std::string("Hotkey registered!\r\nYou can now use ") + named +
                                                       " to turn off the monitor!"});
        EXPECT_EQ(r.o().cmdHotKey.text() + r.Values({"HotKeySet"}), "Set Global Hotkey0");
        EXPECT_TRUE(r.o().hkeyButton2.enabled() && r.world.hotkeys.empty());
    }
}

// A combination another program holds fails, says so and changes nothing, at start-up as on a click; the failed
// restore does not silence the confirmation of the user's next success.
TEST(HotKeyButton, ACombinationHeldElsewhereFailsSaysSoAndChangesNothing) {
    RunningCopy r({.stored = {{"HotKeySet", "1"}}, .answers = {kIdOk, kIdOk, kIdOk}},
                  [](SimWorld& w) { w.RegisterHotKey(0xBEEF, 7, 0, 0x79); });  // F10 is taken
    r.o().cmdHotKey.Click();
    EXPECT_EQ(r.Boxes(), (std::vector<std::string>{kRefused, kRefused}));
    EXPECT_EQ(r.o().cmdHotKey.text(), "Set Global Hotkey");
    EXPECT_TRUE(r.o().hkeyButton1.enabled());
    EXPECT_EQ(r.Stored("HotKeyA"), std::nullopt);
    r.o().hkeyButton2.set_list_index(10);  // F11
    SetUntil(r, 50);
    EXPECT_EQ(r.world.boxes.size(), 3u) << "the user's success is confirmed";
}

}  // namespace
}  // namespace lumoff
