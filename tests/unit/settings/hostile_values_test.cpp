// Hostile stored values: every value of the Settings key in turn is missing, empty, no number, negative, above a
// time's bound, huge, 255 bytes long, or stored as a DWORD, binary data or a multi-string, while every other value
// holds a state away from the dialog's own. Each case is a whole start: it must reach the main loop, load every other
// value, leave the damaged one's control as the dialog made it unless it holds a state the control can take (a time
// above its box's bound loads as the bound), and the first click after it must still store.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hotkey/hotkey.h"
#include "support/sim_program.h"
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
    // What the value's control then holds: its state as the dialog made it, 1, or (a time box) its bound; and whether
    // the window stays at its design place when the value is a position.
    enum { kAsMade, kOne, kBound } loads = kAsMade;
    bool place_kept = true;
};

const std::vector<Form>& HostileForms() {
    using namespace std::string_literals;
    constexpr std::uint32_t sz = platform::kRegSz;
    static const std::vector<Form> forms = {
        {"missing", true, sz, ""}, {"empty", false, sz, ""}, {"no number", false, sz, "1e3"},
        {"negative", false, sz, "-1", Form::kAsMade, false},
        {"above a time's bound", false, sz, "99", Form::kBound, false},
        {"huge", false, sz, "2147483647", Form::kBound, false}, {"beyond 32 bits", false, sz, "99999999999"},
        {"255 bytes", false, sz, std::string(255, '9')}, {"REG_DWORD", false, platform::kRegDword, "\x01\0\0\0"s},
        {"REG_BINARY", false, platform::kRegBinary, "\xff\xfe\x07"s},
        {"REG_MULTI_SZ", false, 7, "1\0" "0\0\0"s, Form::kOne, false}};
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
        {"ScheduleOtherSelect", "1", "Combo2"}, {"HotKeyA", "3", "hkeyButton1"}, {"HotKeyB", "5", "hkeyButton2"},
        {"HotKeyMouse", "0", "chkMouse"}, {"HotKeyEnter", "0", "chkEnter"},
        {"HotKeySpace", "1", "chkSpace"},  // one wake input always stays: the last one turned off comes back
        // Restored at start-up: Shift + F6 is registered again (a function key: a letter would need a modifier).
        {"HotKeySet", "1", nullptr,
         [](SimCopy& c) { return c.world.hotkeys.size() == 1 && c.world.hotkeys[0].vk == 0x75; }},
        {"OffMsg", "0", "chkMsg"},
        // Five days old: no feedback prompt, and it stays as it is.
        {"IDate", "12/1/2026", nullptr, [](SimCopy& c) { return Stored(c.world, "IDate") == "12/1/2026"; }},
    };
    return rows;
}

// A control's state: a time box its text, a check box its value, a list its position.
std::string State(ui::Control* c) {
    if (c->kind() == ui::Kind::CheckBox) return std::to_string(static_cast<ui::CheckBox*>(c)->value());
    if (c->kind() == ui::Kind::ComboBox) return std::to_string(static_cast<ui::ComboBox*>(c)->list_index());
    return c->text();
}

// The copy shows the seeded state: a time box the number, a check box its value, a list its position.
bool Loaded(SimCopy& c, const Row& r) {
    return r.control ? State(c.options().Find(r.control)) == std::to_string(std::stoi(r.seeded)) : r.loaded(c);
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
    RunningCopy made({.until = kRunMs});
    for (const Row& hostile : Rows()) {
        for (const Form& form : HostileForms()) {
            auto check = [&](bool holds, const std::string& what) {
                EXPECT_TRUE(holds) << hostile.name << " " << form.label << ": " << what;
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
            // The damaged value's own control, or the window's place, holds what its form loads as.
            if (hostile.control) {
                ui::Control* as_made = made.o().Find(hostile.control);
                const bool time = as_made->kind() == ui::Kind::TextBox;
                const std::string bound = damaged.find("Hr") != std::string::npos ? "23" : "59";
                const std::string expected = form.loads == Form::kOne                 ? "1"
                                             : form.loads == Form::kBound && time ? bound
                                                                                  : State(as_made);
                const std::string held = State(copy.options().Find(hostile.control));
                check(held == expected, std::string(hostile.control) + " holds " + held + ", not " + expected);
            } else if ((damaged == "Left" || damaged == "Top") && form.place_kept) {
                auto place = [&](MainWindow& m) { return damaged == "Left" ? m.left() : m.top(); };
                check(place(copy.main()) == place(made.main()), "the window is not at its design place");
            }
            check(world.registry.OpenHandles() == 0, "a registry key left open");
            const auto [clicked, stores] = FirstClick(copy, hostile);
            const std::string stored = Stored(world, clicked).value_or("");
            check(stored.substr(0, stored.find('\0')) == stores, "the first click on " + clicked + " stored " + stored);
        }
    }
}

}  // namespace
}  // namespace lumoff
