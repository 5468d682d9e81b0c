// Hostile stored values: every value of the Settings key in turn is missing, empty, no number, negative, above a
// time's bound, huge, 255/256/300 bytes long, or stored as a DWORD, binary data or a multi-string, while every other
// value holds a state away from the dialog's own. Each case is a whole start: it must reach the main loop, load every
// other value, and the first click after it must still store; a time box holds a time a user could have left in it,
// and a countdown from it has its whole length left after the first tick.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "hotkey/hotkey.h"
#include "support/sim_program.h"
#include "timed/time_fields.h"
#include "lumoff_version.h"

namespace lumoff {
namespace {

// The start-up's pace: the housekeeping tick (position save, schedule check) runs a few times in this span.
constexpr std::uint64_t kRunMs = 3500;

struct Form {
    const char* label;
    bool missing;
    std::uint32_t type;
    std::string data;
};

const std::vector<Form>& HostileForms() {
    using namespace std::string_literals;
    constexpr std::uint32_t sz = platform::kRegSz;
    static const std::vector<Form> forms = {
        {"missing", true, sz, ""},     {"empty", false, sz, ""},           {"no number", false, sz, "abc"},
        {"negative", false, sz, "-5"}, {"above a time's bound", false, sz, "99"}, {"600000", false, sz, "600000"},
        {"huge", false, sz, "2147483647"},  {"beyond 32 bits", false, sz, "99999999999"},
        {"255 bytes", false, sz, std::string(255, '9')}, {"256 bytes", false, sz, std::string(256, '9')},
        {"300 bytes", false, sz, std::string(300, '9')}, {"REG_DWORD", false, platform::kRegDword, "\x01\0\0\0"s},
        {"REG_BINARY", false, platform::kRegBinary, "\xff\xfe\x07"s}, {"REG_MULTI_SZ", false, 7, "1\0" "0\0\0"s}};
    return forms;
}

// Every value of the Settings key, stored away from the dialog's own state. A value kept in a control of the
// Options dialog names the control; the others say how they show.
struct Row {
    const char* name;
    const char* seeded;
    const char* control;
    std::function<bool(SimCopy&)> loaded = {};
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"Left", "1200", nullptr, [](SimCopy& c) { return c.main().left() == 1200; }},
        {"Top", "900", nullptr, [](SimCopy& c) { return c.main().top() == 900; }},
        {"Tray", "0", nullptr, [](SimCopy& c) { return c.world.tray_icons.empty(); }},
        {"Version", LUMOFF_VERSION_TEXT, nullptr, [](SimCopy& c) { return c.world.boxes.empty(); }},
        {"TimerHr", "01", "timHrs1"},    {"TimerMn", "05", "timMin1"},          {"TimerSc", "07", "timSec1"},
        {"TimerIdle", "1", "chkIdle"},   {"TimerSaver", "1", "chkScr"},         {"TimerOther", "1", "chkOther1"},
        {"TimerOtherSelect", "4", "Combo1"}, {"Schedule", "1", "chkSchedule"},  {"ScheduleHr", "07", "timHrs2"},
        {"ScheduleMn", "30", "timMin2"}, {"ScheduleSc", "15", "timSec2"},       {"ScheduleOther", "1", "chkOther2"},
        {"ScheduleOtherSelect", "1", "Combo2"}, {"HotKeyA", "3", "hkeyButton1"}, {"HotKeyB", "20", "hkeyButton2"},
        {"HotKeyMouse", "0", "chkMouse"}, {"HotKeyEnter", "0", "chkEnter"},
        {"HotKeySpace", "1", "chkSpace"},  // one wake input always stays: the last one turned off comes back
        // Restored at start-up: Shift + I is registered again.
        {"HotKeySet", "1", nullptr,
         [](SimCopy& c) { return c.world.hotkeys.size() == 1 && c.world.hotkeys[0].vk == 'I'; }},
        {"OffMsg", "0", "chkMsg"},
        // Five days old: no feedback prompt, and it stays as it is.
        {"IDate", "12/1/2026", nullptr, [](SimCopy& c) { return Stored(c.world, "IDate") == "12/1/2026"; }},
    };
    return rows;
}

// The copy shows the seeded state: a time box the number, a check box its value, a list its position.
bool Loaded(SimCopy& c, const Row& r) {
    if (!r.control) return r.loaded(c);
    ui::Control* control = c.options().Find(r.control);
    const int n = std::stoi(r.seeded);
    if (control->kind() == ui::Kind::TextBox) return control->text() == std::to_string(n);
    if (control->kind() == ui::Kind::CheckBox) return static_cast<ui::CheckBox*>(control)->value() == n;
    return static_cast<ui::ComboBox*>(control)->list_index() == n;
}

// The user's first click on the value's control: a check box turns over, a list takes another entry, and the hotkey
// lists' pair is stored when the hotkey is set (after unsetting the one restored at start-up; setting it runs the
// hotkey pump, which stops at the world's horizon). A value without such a control gets a click on "Only if Idle".
// Returns the value clicked and the text the click stores.
std::pair<std::string, std::string> FirstClick(SimCopy& c, const Row& r) {
    ui::Control* control = r.control ? c.options().Find(r.control) : nullptr;
    if (control && control->kind() == ui::Kind::ComboBox) {
        auto* list = static_cast<ui::ComboBox*>(control);
        if (std::string(r.control).rfind("hkey", 0) == 0) {
            try {
                if (c.options().cmdHotKey.text() != kSetCaption) c.program->hotkey.cmdHotKey_Click();
                c.program->hotkey.cmdHotKey_Click();
            } catch (const platform::sim::SimStopped&) {
            }
        } else {
            list->set_list_index(list->list_index() == 2 ? 3 : 2);
        }
        return {r.name, std::to_string(list->list_index())};
    }
    const bool box = control && control->kind() == ui::Kind::CheckBox;
    auto* check = static_cast<ui::CheckBox*>(box ? control : c.options().Find("chkIdle"));
    check->set_value(1 - check->value());
    return {box ? r.name : "TimerIdle", std::to_string(check->value())};
}

TEST(HostileValues, EveryValueInEveryFormStartsLoadsTheRestAndStoresOnTheFirstClick) {
    ASSERT_EQ(Rows().size(), 25u) << "every value name of the Settings key";
    int tried = 0, passed = 0;
    for (const Row& hostile : Rows()) {
        for (const Form& form : HostileForms()) {
            ++tried;
            bool ok = true;
            auto check = [&](bool holds, const std::string& what) {
                if (holds) return;
                ok = false;
                ADD_FAILURE() << hostile.name << " " << form.label << ": " << what;
            };
            testing::Setup setup{.answers = {kIdNo, kIdNo, kIdNo}, .until = kRunMs};
            for (const Row& r : Rows()) setup.stored.emplace_back(r.name, r.seeded);
            RunningCopy run(setup, [&](SimWorld& w) {
                platform::RegKey key = w.registry.Open(settings::kSettingsKey);
                w.registry.DeleteValue(key, hostile.name);
                w.registry.Close(key);
                if (!form.missing) w.registry.Put(settings::kSettingsKey, hostile.name, form.data, form.type);
            });
            SimCopy& copy = run.copy;
            SimWorld& world = run.world;
            const std::string damaged = hostile.name;
            check(!run.ended, "the copy ended");
            check(copy.main().tmrSticky.enabled(), "the start-up did not complete");
            // A damaged version may read as an older program, whose readme is offered; nothing else is asked.
            const size_t boxes = world.boxes.size();
            check(boxes <= (damaged == "Version" ? 1u : 0u), std::to_string(boxes) + " boxes");
            for (const Row& r : Rows()) {
                const std::string name = r.name;
                // A pair with a damaged half is not registered again.
                const bool pair_damaged = (damaged == "HotKeyA" || damaged == "HotKeyB") && name == "HotKeySet";
                if (name != damaged && name != "Version" && !pair_damaged) check(Loaded(copy, r), name + " not loaded");
            }
            check(world.registry.OpenHandles() == 0, "a registry key left open");
            const auto [clicked, stores] = FirstClick(copy, hostile);
            const std::string stored = Stored(world, clicked).value_or("");
            check(stored.substr(0, stored.find('\0')) == stores, "the first click on " + clicked + " stored " + stored);
            if (ui::Control* box = hostile.control ? copy.options().Find(hostile.control) : nullptr;
                box && box->kind() == ui::Kind::TextBox) {
                const std::string shown = box->text();
                if (damaged.rfind("Timer", 0) == 0) {
                    // The first tick of a countdown from the loaded boxes shows its whole length.
                    OptionsDialog& o = copy.options();
                    o.cmdTimed.Click();
                    run.RunUntil(world.now_ms() + 250);
                    auto number = [](const ui::TextBox& b) { return std::to_string(std::stoi(b.text())); };
                    const std::string length = number(o.timHrs1) + ":" + number(o.timMin1) + ":" + number(o.timSec1);
                    const std::string& caption = copy.main().lblCaption.text();
                    check(caption == length, "a countdown of " + length + " shows " + caption);
                }
                // The box's own correction, as when it loses the focus, leaves its number as it is.
                static_cast<ui::TextBox*>(box)->OnLostFocus();
                check(LeadingNumber(box->text()) == LeadingNumber(shown), "the box holds " + shown + ", out of bounds");
            }
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
