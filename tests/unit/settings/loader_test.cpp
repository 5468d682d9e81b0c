#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/loader.h"
#include "support/sim_program.h"

namespace lumoff {
namespace {

using platform::kIdNo;
using platform::kIdOk;
using platform::kIdYes;
using platform::sim::SimProcess;
using platform::sim::SimWorld;
using testing::SimCopy;
using testing::Stored;

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUpgrade =
    "Thank you for installing a newer version :)\r\nVersion details: 1.1.2\r\nDo you want to read the readme?";

// A program whose Options dialog is loaded (lists filled, handlers wired), ready for LoadSettings on its own.
struct Loading {
    Loading() { world.SetLocalTime({2026, 12, 6, 9, 30, 0, 0}); }
    // Runs the loader with the message boxes answered in order; nothing when the program ended.
    std::optional<LoadedSettings> Load(std::initializer_list<int> answers = {}) {
        world.box_answers = answers;
        program.ctx.Options();
        try {
            return LoadSettings(program.ctx);
        } catch (const platform::sim::ProcessExited&) {
            return std::nullopt;
        }
    }
    void Put(std::string_view name, std::string_view data) { world.registry.Put(settings::kSettingsKey, name, data); }
    OptionsDialog& o() { return program.ctx.options; }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : world.boxes) texts.push_back(b.text);
        return texts;
    }

    SimWorld world;
    SimProcess process{world, "\"C:\\Program Files\\Lumoff\\Lumoff.exe\""};
    Program program{process.platform()};
};

// ---- First run ---------------------------------------------------------------------------------------------------

TEST(FirstRun, CreatesTheKeyWritesEveryDefaultInOrderAndAsks) {
    Loading l;
    ASSERT_TRUE(l.Load({kIdNo}));
    using namespace std::string_literals;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Left", "450"},           {"Top", "450"},          {"Tray", "0"},         {"Version", "1.1.2"},
        {"TimerHr", "00"},         {"TimerMn", "00"},       {"TimerSc", "30"},     {"TimerIdle", "0"},
        {"TimerSaver", "0"},       {"TimerOther", "0"},     {"TimerOtherSelect", "0"}, {"Schedule", "0"},
        {"ScheduleHr", "23"},      {"ScheduleMn", "59"},    {"ScheduleSc", "59"},  {"ScheduleOther", "0"},
        {"ScheduleOtherSelect", "0"}, {"HotKeyA", "0"},     {"HotKeyB", "9"},      {"HotKeyMouse", "1"},
        {"HotKeyEnter", "1"},      {"HotKeySpace", "1"},    {"HotKeySet", "0"},    {"OffMsg", "1"},
        {"IDate", "12/6/2026"}};
    std::vector<std::pair<std::string, std::string>> stored;
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        platform::RegKey key = l.world.registry.Open(settings::kSettingsKey);
        long result = l.world.registry.EnumValueName(key, i, &name);
        l.world.registry.Close(key);
        if (result != platform::kErrorSuccess) break;
        const auto* v = l.world.registry.Get(settings::kSettingsKey, name);
        EXPECT_EQ(v->type, platform::kRegSz) << name;
        stored.emplace_back(name, v->data);
    }
    EXPECT_EQ(stored, expected) << "names, order and exact bytes: no NULs, two bytes for the time fields";

    ASSERT_EQ(l.world.boxes.size(), 1u) << "no upgrade message after the first run";
    EXPECT_EQ(l.world.boxes[0].text, kFirstRunMessage);
    EXPECT_EQ(l.world.boxes[0].title, "Lumoff");
    EXPECT_EQ(l.world.boxes[0].style, 0x44u);
    EXPECT_TRUE(l.world.downloads.requests.empty()) << "No: no install ping";
    EXPECT_EQ(l.world.registry.OpenHandles(), 0u);
}

TEST(FirstRun, YesStartsTheInstallPing) {
    Loading l;
    ASSERT_TRUE(l.Load({kIdYes}));
    ASSERT_EQ(l.world.downloads.requests.size(), 1u);
    EXPECT_EQ(l.world.downloads.requests[0].url, "http://www.brevald.example/files/lumoff11/validate.vdt");
}

TEST(FirstRun, AKeyThatCanBeNeitherOpenedNorCreatedEndsTheProgramWithAMessage) {
    Loading l;
    l.world.registry.deny_access = true;
    EXPECT_FALSE(l.Load({kIdOk}));
    ASSERT_EQ(l.world.boxes.size(), 1u);
    EXPECT_EQ(l.world.boxes[0].text, "Error while accessing the registry!\r\nPlease contact support@brevald.example");
    EXPECT_EQ(l.world.boxes[0].title, "Lumoff");
    EXPECT_EQ(l.world.boxes[0].style, 0x30u);
}

TEST(FirstRun, AWholeStartShowsOnlyTheQuestionAndPlacesTheWindowAtItsDesignPlace) {
    SimWorld world;
    world.horizon_ms = 10;
    world.box_answers = {kIdNo};
    SimCopy copy(world);
    EXPECT_EQ(copy.Start(), std::nullopt);
    EXPECT_EQ(world.boxes.size(), 1u) << "no upgrade message, no feedback prompt";
    EXPECT_EQ(copy.main().left(), 450);
    EXPECT_EQ(copy.main().top(), 450);
    EXPECT_TRUE(copy.options().radStartOff.value());
    EXPECT_EQ(world.registry.Get(kRunKey, "Lumoff"), nullptr);
}

// ---- Upgrade -----------------------------------------------------------------------------------------------------

TEST(Upgrade, VersionsCompareAsNumbersFieldByField) {
    struct Case {
        const char* stored;
        bool older;
    } cases[] = {{"1.1.2", false}, {"1.1.10", false}, {"1.2.0", false}, {"2.0.0", false}, {"01.1.2", false},
                 {" 1.1.2 ", false}, {"1.1.1", true}, {"1.0.99", true},  {"0.9.9", true},  {"", true},
                 {"1.1", true},      {"1.1.2.0", true}, {"abc", true},   {"1.1.x", true},  {"1..2", true}};
    for (const Case& c : cases) EXPECT_EQ(IsOlderVersion(c.stored, "1.1.2"), c.older) << '"' << c.stored << '"';
}

TEST(Upgrade, AnOlderVersionIsRewrittenAndTheReadmeOffered) {
    for (int answer : {kIdYes, kIdNo}) {
        Loading l;
        l.Put("Version", "1.1.1");
        ASSERT_TRUE(l.Load({answer}));
        EXPECT_EQ(Stored(l.world, "Version"), "1.1.2");
        ASSERT_EQ(l.world.boxes.size(), 1u);
        EXPECT_EQ(l.world.boxes[0].text, kUpgrade);
        EXPECT_EQ(l.world.boxes[0].title, "Lumoff :)");
        EXPECT_EQ(l.world.boxes[0].style, 0x44u);
        if (answer == kIdYes) {
            ASSERT_EQ(l.world.opened_urls.size(), 1u);
            EXPECT_EQ(l.world.opened_urls[0].second, "http://www.brevald.example/files/lumoff/readme.txt");
        } else {
            EXPECT_TRUE(l.world.opened_urls.empty());
        }
    }
}

TEST(Upgrade, ANewerStoredVersionIsLeftAlone) {
    Loading l;
    l.Put("Version", "1.1.10");
    ASSERT_TRUE(l.Load());
    EXPECT_TRUE(l.world.boxes.empty());
    EXPECT_EQ(Stored(l.world, "Version"), "1.1.10");
}

// A key emptied by hand: no defaults, the upgrade message, every control as designed, no feedback prompt later.
TEST(Upgrade, AnEmptyKeyIsAnUpgradeWithoutDefaults) {
    SimWorld world;
    world.registry.CreateKey(settings::kSettingsKey);
    world.SetLocalTime({2030, 1, 1, 9, 0, 0, 0});
    world.horizon_ms = 10;
    world.box_answers = {kIdNo};
    SimCopy copy(world);
    EXPECT_EQ(copy.Start(), std::nullopt);
    ASSERT_EQ(world.boxes.size(), 1u);
    EXPECT_EQ(world.boxes[0].text, kUpgrade);
    EXPECT_EQ(Stored(world, "Version"), "1.1.2");
    EXPECT_EQ(Stored(world, "Left"), std::nullopt);
    EXPECT_EQ(Stored(world, "IDate"), std::nullopt);
    EXPECT_EQ(copy.options().timSec1.text(), "30");
    EXPECT_EQ(copy.options().hkeyButton2.list_index(), 9);
    EXPECT_EQ(copy.options().Combo1.list_index(), 2);
    EXPECT_EQ(copy.main().left(), 0);
}

// ---- The loading table -------------------------------------------------------------------------------------------

// Every row stored away from the dialog's own state.
const std::vector<std::pair<const char*, const char*>> kEveryRow = {
    {"TimerHr", "01"},    {"TimerMn", "05"},    {"TimerSc", "00"},         {"TimerIdle", "1"},
    {"TimerSaver", "1"},  {"TimerOther", "1"},  {"TimerOtherSelect", "4"}, {"ScheduleHr", "07"},
    {"ScheduleMn", "30"}, {"ScheduleSc", "00"}, {"Schedule", "1"},         {"ScheduleOther", "1"},
    {"ScheduleOtherSelect", "1"}, {"HotKeyA", "3"}, {"HotKeyB", "20"},     {"HotKeyMouse", "0"},
    {"HotKeyEnter", "0"}, {"HotKeySpace", "1"}, {"OffMsg", "0"}};

TEST(LoadingTable, PutsEveryStoredValueIntoItsControl) {
    Loading l;
    l.Put("Version", "1.1.2");
    for (const auto& [name, data] : kEveryRow) l.Put(name, data);
    ASSERT_TRUE(l.Load());
    OptionsDialog& o = l.o();
    EXPECT_EQ(o.timHrs1.text(), "1");
    EXPECT_EQ(o.timMin1.text(), "5");
    EXPECT_EQ(o.timSec1.text(), "0");
    EXPECT_EQ(o.chkIdle.value(), 1);
    EXPECT_EQ(o.chkScr.value(), 1);
    EXPECT_EQ(o.chkOther1.value(), 1);
    EXPECT_EQ(o.Combo1.list_index(), 4);
    EXPECT_EQ(o.timHrs2.text(), "7");
    EXPECT_EQ(o.timMin2.text(), "30");
    EXPECT_EQ(o.timSec2.text(), "0");
    EXPECT_EQ(o.chkSchedule.value(), 1);
    EXPECT_EQ(o.chkOther2.value(), 1);
    EXPECT_EQ(o.Combo2.list_index(), 1);
    EXPECT_EQ(o.hkeyButton1.SelectedText(), "Shift");
    EXPECT_EQ(o.hkeyButton2.SelectedText(), "I");
    EXPECT_EQ(o.chkMouse.value(), 0);
    EXPECT_EQ(o.chkEnter.value(), 0);
    EXPECT_EQ(o.chkSpace.value(), 1);
    EXPECT_EQ(o.chkMsg.value(), 0);
    EXPECT_FALSE(l.program.ctx.turned_off.lblOffMessage.visible());
    EXPECT_TRUE(l.world.boxes.empty());
    EXPECT_EQ(l.world.registry.OpenHandles(), 0u);
}

// The handlers run as on a user's action, in the table's order, and store their values again.
TEST(LoadingTable, HandlersRunInTheTablesOrder) {
    Loading l;
    l.Put("Version", "1.1.2");
    for (const auto& [name, data] : kEveryRow) l.Put(name, data);
    l.program.ctx.Options();
    std::vector<std::string> order;
    OptionsDialog& o = l.o();
    for (ui::CheckBox* box : {&o.chkIdle, &o.chkScr, &o.chkOther1, &o.chkSchedule, &o.chkOther2, &o.chkMouse,
                              &o.chkEnter, &o.chkSpace, &o.chkMsg}) {
        box->OnClick = [&order, box, inner = box->OnClick] {
            order.push_back(box->name());
            if (inner) inner();
        };
    }
    for (ui::ComboBox* list : {&o.Combo1, &o.Combo2, &o.hkeyButton1, &o.hkeyButton2}) {
        list->OnClick = [&order, list, inner = list->OnClick] {
            order.push_back(list->name());
            if (inner) inner();
        };
    }
    std::string schedule_time;
    o.chkSchedule.OnClick = [&, inner = o.chkSchedule.OnClick] {
        schedule_time = o.timHrs2.text() + ":" + o.timMin2.text() + ":" + o.timSec2.text();
        inner();
    };
    ASSERT_TRUE(l.Load());
    EXPECT_EQ(order, (std::vector<std::string>{"chkIdle", "chkScr", "chkOther1", "Combo1", "chkSchedule",
                                               "chkOther2", "Combo2", "hkeyButton1", "hkeyButton2", "chkMouse",
                                               "chkEnter", "chkMsg"}))
        << "chkSpace is checked already, so its state does not change";
    EXPECT_EQ(schedule_time, "7:30:0") << "the schedule boxes hold the stored time before chkSchedule is set";
    // The handlers stored again (the wake boxes and the message through their own handlers, the lists as one byte).
    EXPECT_EQ(Stored(l.world, "TimerOtherSelect"), "4");
    EXPECT_EQ(Stored(l.world, "ScheduleOtherSelect"), "1");
    EXPECT_EQ(Stored(l.world, "HotKeyMouse"), "0");
    EXPECT_EQ(Stored(l.world, "OffMsg"), "0");
}

TEST(LoadingTable, AStoredMessageBoxOfOneShowsTheMessage) {
    Loading l;
    l.Put("Version", "1.1.2");
    l.Put("OffMsg", "1");
    ASSERT_TRUE(l.Load());
    EXPECT_TRUE(l.program.ctx.turned_off.lblOffMessage.visible());
    EXPECT_TRUE(l.world.boxes.empty());
}

// What is no number, or no state the control can hold, is skipped: every control stays as the dialog made it.
TEST(LoadingTable, GarbageInEveryRowLeavesEveryControlAsCreated) {
    const char* rows[] = {"TimerHr", "TimerMn", "TimerSc", "TimerIdle", "TimerSaver", "TimerOther",
                          "TimerOtherSelect", "ScheduleHr", "ScheduleMn", "ScheduleSc", "Schedule", "ScheduleOther",
                          "ScheduleOtherSelect", "HotKeyA", "HotKeyB", "HotKeyMouse", "HotKeyEnter", "HotKeySpace",
                          "OffMsg", "Left", "Top"};
    for (const char* garbage : {"x", "1x", " ", "-", "-1", "2", "99", "1e3", "0x1"}) {
        Loading pristine;
        pristine.Put("Version", "1.1.2");
        ASSERT_TRUE(pristine.Load());
        Loading l;
        l.Put("Version", "1.1.2");
        for (const char* row : rows) l.Put(row, garbage);
        ASSERT_TRUE(l.Load());
        OptionsDialog& a = l.o();
        OptionsDialog& b = pristine.o();
        // Time boxes take any whole number that is not negative, lists any of their positions; check boxes only 0
        // and 1.
        const bool time_taken = std::string(garbage) == "2" || std::string(garbage) == "99";
        const bool list_taken = std::string(garbage) == "2";
        if (!time_taken) {
            for (auto [x, y] : {std::pair{&a.timHrs1, &b.timHrs1}, {&a.timSec1, &b.timSec1}, {&a.timSec2, &b.timSec2}})
                EXPECT_EQ(x->text(), y->text()) << garbage;
        }
        for (auto [x, y] : {std::pair{&a.chkIdle, &b.chkIdle}, {&a.chkSchedule, &b.chkSchedule},
                            {&a.chkMouse, &b.chkMouse}, {&a.chkMsg, &b.chkMsg}})
            EXPECT_EQ(x->value(), y->value()) << garbage << " " << x->name();
        for (auto [x, y] : {std::pair{&a.Combo1, &b.Combo1}, {&a.Combo2, &b.Combo2}, {&a.hkeyButton1, &b.hkeyButton1},
                            {&a.hkeyButton2, &b.hkeyButton2}}) {
            if (!list_taken) {
                EXPECT_EQ(x->list_index(), y->list_index()) << garbage << " " << x->name();
            }
        }
        EXPECT_TRUE(l.world.boxes.empty()) << garbage;
    }
}

TEST(LoadingTable, AHotKeyPositionOutsideItsListMakesThePairUnusable) {
    struct Case {
        const char* a;
        const char* b;
        bool usable;
    } cases[] = {{"1", "12", true}, {"", "", true}, {"7", "47", true}, {"8", "12", false},
                 {"1", "48", false}, {"-1", "12", false}, {"1", "x", false}};
    for (const Case& c : cases) {
        Loading l;
        l.Put("Version", "1.1.2");
        if (*c.a) l.Put("HotKeyA", c.a);
        if (*c.b) l.Put("HotKeyB", c.b);
        auto loaded = l.Load();
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->hotkey_pair_usable, c.usable) << c.a << "+" << c.b;
    }
}

// ---- Start-up restores from what was loaded ----------------------------------------------------------------------

TEST(Restore, TheStoredHotKeyPairIsRegisteredAgainWithoutAMessage) {
    SimWorld world;
    testing::SeedSettings(world);
    world.registry.Put(settings::kSettingsKey, "HotKeySet", "1");
    world.registry.Put(settings::kSettingsKey, "HotKeyA", "1");
    world.registry.Put(settings::kSettingsKey, "HotKeyB", "12");
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    ASSERT_EQ(world.hotkeys.size(), 1u);
    EXPECT_EQ(world.hotkeys[0].modifiers, 2u | platform::kModNoRepeat) << "Ctrl";
    EXPECT_EQ(world.hotkeys[0].vk, 0x41u) << "A";
    EXPECT_TRUE(world.boxes.empty());
    EXPECT_EQ(Stored(world, "HotKeyA"), "1");
    EXPECT_EQ(Stored(world, "HotKeyB"), "12");
}

TEST(Restore, AStoredPairOutsideTheListsIsNotRegistered) {
    for (const char* key : {"48", "-1", "F10"}) {
        SimWorld world;
        testing::SeedSettings(world);
        world.registry.Put(settings::kSettingsKey, "HotKeySet", "1");
        world.registry.Put(settings::kSettingsKey, "HotKeyA", "0");
        world.registry.Put(settings::kSettingsKey, "HotKeyB", key);
        world.horizon_ms = 10;
        SimCopy copy(world);
        copy.Start();
        EXPECT_TRUE(world.hotkeys.empty()) << key;
        EXPECT_TRUE(world.boxes.empty()) << key;
        EXPECT_EQ(copy.options().cmdHotKey.text(), "Set Global Hotkey") << key;
    }
}

TEST(Restore, ARestartRestoresWhatTheFirstRunStored) {
    SimWorld world;
    world.horizon_ms = 10;
    world.box_answers = {kIdNo};
    {
        SimCopy first(world);
        first.Start();
        first.options().chkEnter.set_value(0);
        first.options().Combo2.set_list_index(3);
        first.options().hkeyButton1.set_list_index(2);  // Shift
        first.options().hkeyButton2.set_list_index(30);  // S
        first.process.exited = true;
    }
    SimCopy second(world);
    second.Start();
    EXPECT_EQ(world.boxes.size(), 1u) << "only the first start asked";
    EXPECT_EQ(second.options().chkEnter.value(), 0);
    EXPECT_EQ(second.options().Combo2.list_index(), 3);
    EXPECT_EQ(second.options().hkeyButton1.list_index(), 0) << "the lists show the stored pair, not the one picked";
    EXPECT_EQ(second.options().hkeyButton2.list_index(), 9);
}

}  // namespace
}  // namespace lumoff

namespace lumoff {
namespace {

// The schedule's check box stores the time of the schedule boxes; they hold the stored time when it is set.
TEST(LoadingTable, AnEnabledScheduleKeepsItsStoredTime) {
    SimWorld world;
    testing::SeedSettings(world);
    for (auto [name, value] : {std::pair{"Schedule", "1"}, {"ScheduleHr", "07"}, {"ScheduleMn", "30"},
                               {"ScheduleSc", "00"}})
        world.registry.Put(settings::kSettingsKey, name, value);
    world.horizon_ms = 10;
    SimCopy copy(world);
    copy.Start();
    EXPECT_EQ(copy.options().chkSchedule.value(), 1);
    EXPECT_EQ(copy.options().timHrs2.text(), "7");
    EXPECT_EQ(copy.options().timMin2.text(), "30");
    EXPECT_EQ(copy.options().timSec2.text(), "0");
    for (const char* name : {"ScheduleHr", "ScheduleMn", "ScheduleSc"})
        EXPECT_EQ(settings::ParseStoredNumber(Stored(world, name).value_or("").c_str()),  // read up to its NUL
                  settings::ParseStoredNumber(std::string(name) == "ScheduleHr"   ? "07"
                                              : std::string(name) == "ScheduleMn" ? "30"
                                                                                  : "00"))
            << name << " holds " << Stored(world, name).value_or("(missing)");
    EXPECT_EQ(Stored(world, "Schedule"), "1");
}

}  // namespace
}  // namespace lumoff
