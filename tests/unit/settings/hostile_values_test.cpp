// Hostile stored values: every value of the Settings key in turn is missing, empty, no number, negative, huge,
// 255/256/300 bytes long, or stored as a DWORD, binary data or a multi-string, while every other value holds a
// state away from the dialog's own. Each case is a whole start: it must reach the main loop, load every other value,
// and the first click after it must still store.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdNo;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

// The start-up's pace: the housekeeping tick (position save, schedule check) runs a few times in this span.
constexpr std::uint64_t kRunMs = 3500;

struct Form {
    const char* label;
    bool missing;
    std::uint32_t type;
    std::string data;
};

std::vector<Form> HostileForms() {
    using namespace std::string_literals;
    return {
        {"missing", true, platform::kRegSz, ""},
        {"empty", false, platform::kRegSz, ""},
        {"no number", false, platform::kRegSz, "abc"},
        {"negative", false, platform::kRegSz, "-5"},
        {"huge", false, platform::kRegSz, "2147483647"},
        {"beyond 32 bits", false, platform::kRegSz, "99999999999"},
        {"255 bytes", false, platform::kRegSz, std::string(255, '9')},
        {"256 bytes", false, platform::kRegSz, std::string(256, '9')},
        {"300 bytes", false, platform::kRegSz, std::string(300, '9')},
        {"REG_DWORD", false, 4, "\x01\0\0\0"s},
        {"REG_BINARY", false, 3, "\xff\xfe\x07"s},
        {"REG_MULTI_SZ", false, 7, "1\0" "0\0\0"s},
    };
}

// How a value shows once loaded, and the click that stores it again.
struct Row {
    const char* name;
    const char* seeded;                                // a state away from the dialog's own
    std::function<bool(SimCopy&)> loaded;              // the copy shows the seeded state
    std::function<void(SimCopy&)> click;               // the user's first click on its control (may be empty)
    std::function<std::string(SimCopy&)> after_click;  // the text that click stores
};

// The dialog's controls are reference members, so a row names its control by a getter.
template <class Control>
using Get = Control& (*)(OptionsDialog&);

std::function<bool(SimCopy&)> Text(Get<ui::TextBox> box, const char* text) {
    return [box, text](SimCopy& c) { return box(c.options()).text() == text; };
}
std::function<bool(SimCopy&)> Checked(Get<ui::CheckBox> box, int value) {
    return [box, value](SimCopy& c) { return box(c.options()).value() == value; };
}
std::function<bool(SimCopy&)> Position(Get<ui::ComboBox> list, int index) {
    return [list, index](SimCopy& c) { return list(c.options()).list_index() == index; };
}
// A click on a check box turns it over; it stores its new state.
std::function<void(SimCopy&)> Toggle(Get<ui::CheckBox> box) {
    return [box](SimCopy& c) { box(c.options()).set_value(1 - box(c.options()).value()); };
}
std::function<std::string(SimCopy&)> StateOf(Get<ui::CheckBox> box) {
    return [box](SimCopy& c) { return std::to_string(box(c.options()).value()); };
}
std::function<void(SimCopy&)> Pick(Get<ui::ComboBox> list, int index) {
    return [list, index](SimCopy& c) { list(c.options()).set_list_index(index); };
}
// The hotkey lists store nothing on their own: the pair is stored when the user sets the hotkey (after unsetting the
// one restored at start-up). Setting it runs the hotkey pump, which stops at the world's horizon.
void SetHotKey(SimCopy& c) {
    try {
        if (c.options().cmdHotKey.text() != kSetCaption) c.program->hotkey.cmdHotKey_Click();
        c.program->hotkey.cmdHotKey_Click();
    } catch (const platform::sim::SimStopped&) {
    }
}
std::function<std::string(SimCopy&)> IndexOf(Get<ui::ComboBox> list) {
    return [list](SimCopy& c) { return std::to_string(list(c.options()).list_index()); };
}
std::function<std::string(SimCopy&)> Fixed(const char* text) {
    return [text](SimCopy&) { return std::string(text); };
}

std::vector<Row> Rows() {
    // clang-format off
#define CONTROL(name) [](OptionsDialog& o) -> auto& { return o.name; }
    // clang-format on
    std::vector<Row> rows = {
        {"Left", "1200", [](SimCopy& c) { return c.main().left() == 1200; }, {}, {}},
        {"Top", "900", [](SimCopy& c) { return c.main().top() == 900; }, {}, {}},
        {"Tray", "0", [](SimCopy& c) { return c.world.tray_icons.empty(); },
         [](SimCopy& c) { c.program->tray.imgMinToTray_Click(); }, Fixed("1")},
        {"Version", "1.1.2", [](SimCopy& c) { return c.world.boxes.empty(); }, {}, {}},
        {"TimerHr", "01", Text(CONTROL(timHrs1), "1"), {}, {}},
        {"TimerMn", "05", Text(CONTROL(timMin1), "5"), {}, {}},
        {"TimerSc", "07", Text(CONTROL(timSec1), "7"), {}, {}},
        {"TimerIdle", "1", Checked(CONTROL(chkIdle), 1), Toggle(CONTROL(chkIdle)), StateOf(CONTROL(chkIdle))},
        {"TimerSaver", "1", Checked(CONTROL(chkScr), 1), Toggle(CONTROL(chkScr)), StateOf(CONTROL(chkScr))},
        {"TimerOther", "1", Checked(CONTROL(chkOther1), 1), Toggle(CONTROL(chkOther1)), StateOf(CONTROL(chkOther1))},
        {"TimerOtherSelect", "4", Position(CONTROL(Combo1), 4), Pick(CONTROL(Combo1), 3), Fixed("3")},
        {"Schedule", "1", Checked(CONTROL(chkSchedule), 1), Toggle(CONTROL(chkSchedule)), StateOf(CONTROL(chkSchedule))},
        {"ScheduleHr", "07", Text(CONTROL(timHrs2), "7"), {}, {}},
        {"ScheduleMn", "30", Text(CONTROL(timMin2), "30"), {}, {}},
        {"ScheduleSc", "15", Text(CONTROL(timSec2), "15"), {}, {}},
        {"ScheduleOther", "1", Checked(CONTROL(chkOther2), 1), Toggle(CONTROL(chkOther2)), StateOf(CONTROL(chkOther2))},
        {"ScheduleOtherSelect", "1", Position(CONTROL(Combo2), 1), Pick(CONTROL(Combo2), 2), Fixed("2")},
        {"HotKeyA", "3", Position(CONTROL(hkeyButton1), 3), SetHotKey, IndexOf(CONTROL(hkeyButton1))},
        {"HotKeyB", "20", Position(CONTROL(hkeyButton2), 20), SetHotKey, IndexOf(CONTROL(hkeyButton2))},
        {"HotKeyMouse", "0", Checked(CONTROL(chkMouse), 0), Toggle(CONTROL(chkMouse)), StateOf(CONTROL(chkMouse))},
        {"HotKeyEnter", "0", Checked(CONTROL(chkEnter), 0), Toggle(CONTROL(chkEnter)), StateOf(CONTROL(chkEnter))},
        // One wake input always stays: the last one turned off is turned on again.
        {"HotKeySpace", "1", Checked(CONTROL(chkSpace), 1), Toggle(CONTROL(chkSpace)), StateOf(CONTROL(chkSpace))},
        // Restored at start-up: Shift + I is registered again.
        {"HotKeySet", "1", [](SimCopy& c) { return c.world.hotkeys.size() == 1 && c.world.hotkeys[0].vk == 'I'; }, {},
         {}},
        {"OffMsg", "0",
         [](SimCopy& c) { return c.options().chkMsg.value() == 0 && !c.ctx().turned_off.lblOffMessage.visible(); },
         Toggle(CONTROL(chkMsg)), StateOf(CONTROL(chkMsg))},
        // Five days old: no feedback prompt, and it stays as it is.
        {"IDate", "12/1/2026", [](SimCopy& c) { return Stored(c.world, "IDate") == "12/1/2026"; }, {}, {}},
    };
#undef CONTROL
    return rows;
}

// The text a value reads as: up to its first NUL.
std::string UpToNul(const std::optional<std::string>& bytes) {
    return bytes ? bytes->substr(0, bytes->find('\0')) : std::string();
}

TEST(HostileValues, EveryValueInEveryFormStartsLoadsTheRestAndStoresOnTheFirstClick) {
    const std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 25u) << "every value name of the Settings key";
    const Row& generic = rows[7];  // TimerIdle: the first click for a value without a control of its own
    int tried = 0;
    int passed = 0;
    for (const Row& hostile : rows) {
        for (const Form& form : HostileForms()) {
            ++tried;
            bool ok = true;
            auto check = [&](bool holds, const std::string& what) {
                if (holds) return;
                ok = false;
                ADD_FAILURE() << hostile.name << " " << form.label << ": " << what;
            };
            SimWorld world;
            world.SetLocalTime({2026, 12, 6, 9, 30, 0, 0});
            world.horizon_ms = kRunMs;
            world.box_answers = {kIdNo, kIdNo, kIdNo};
            for (const Row& r : rows) world.registry.Put(settings::kSettingsKey, r.name, r.seeded);
            if (form.missing) {
                platform::RegKey key = world.registry.Open(settings::kSettingsKey);
                world.registry.DeleteValue(key, hostile.name);
                world.registry.Close(key);
            } else {
                world.registry.Put(settings::kSettingsKey, hostile.name, form.data, form.type);
            }

            SimCopy copy(world);
            check(!copy.Start(), "the copy ended");
            check(copy.main().visible() || !world.tray_icons.empty(), "never shown");
            check(copy.main().tmrSticky.enabled(), "the start-up did not complete");
            // A damaged version is an older program: the readme is offered, nothing else is asked.
            const size_t expected_boxes = std::string(hostile.name) == "Version" ? 1 : 0;
            check(world.boxes.size() == expected_boxes, std::to_string(world.boxes.size()) + " message boxes");

            for (const Row& r : rows) {
                if (&r == &hostile || std::string(r.name) == "Version") continue;
                // A pair with a damaged half is not registered again.
                const bool pair_damaged = (std::string(hostile.name) == "HotKeyA" ||
                                           std::string(hostile.name) == "HotKeyB") &&
                                          std::string(r.name) == "HotKeySet";
                if (!pair_damaged) check(r.loaded(copy), std::string(r.name) + " did not load");
            }
            check(world.registry.OpenHandles() == 0, "a registry key left open");

            const Row& clicked = hostile.click ? hostile : generic;
            clicked.click(copy);
            check(UpToNul(Stored(world, clicked.name)) == clicked.after_click(copy),
                  std::string("the first click on ") + clicked.name + " stored " +
                      UpToNul(Stored(world, clicked.name)));
            if (ok) ++passed;
        }
    }
    std::cout << "Hostile stored values: " << passed << " of " << tried << " cases passed\n";
    ::testing::Test::RecordProperty("cases_tried", tried);
    ::testing::Test::RecordProperty("cases_passed", passed);
    EXPECT_EQ(passed, tried);
}

}  // namespace
}  // namespace lumoff
