// The settings loader: the first run, the upgrade test, and a stored hotkey pair outside its lists.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "settings/loader.h"
#include "support/sim_program.h"
#include "lumoff_version.h"

namespace lumoff {
namespace {

constexpr const char* kUpgrade =
    "Thank you for installing a newer version :)\r\nVersion details: " LUMOFF_VERSION_TEXT
    "\r\nDo you want to read the readme?";

// A program whose Options dialog is loaded (lists filled, handlers wired), ready for LoadSettings on its own.
struct Loading {
    // Runs the loader with the message boxes answered in order; nothing when the program ended.
    std::optional<LoadedSettings> Load(std::initializer_list<int> answers = {}) {
        world.box_answers = answers;
        program.ctx.Options();
        try {
            return LoadSettings(program.ctx, program.FDC);
        } catch (const platform::sim::ProcessExited&) {
            return std::nullopt;
        }
    }
    OptionsDialog& o() { return program.ctx.options; }

    SimWorld world;
    SimProcess process{world, testing::kCommandLine};
    Program program{process.platform()};
};

TEST(FirstRun, CreatesTheKeyWritesEveryDefaultInOrderAndAsks) {
    const std::string expected = "Left=450 Top=450 Tray=0 Version=" LUMOFF_VERSION_TEXT " TimerHr=00 TimerMn=00 "
                                 "TimerSc=30 TimerIdle=0 TimerSaver=0 TimerOther=0 TimerOtherSelect=0 Schedule=0 "
                                 "ScheduleHr=23 ScheduleMn=59 ScheduleSc=59 ScheduleOther=0 ScheduleOtherSelect=0 "
                                 "HotKeyA=0 HotKeyB=9 HotKeyMouse=1 HotKeyEnter=1 HotKeySpace=1 HotKeySet=0 OffMsg=1 "
                                 "IDate=12/6/2026 ";
    for (int answer : {kIdNo, kIdYes}) {
        Loading l;
        ASSERT_TRUE(l.Load({answer}));
        std::string stored, name;
        platform::RegKey key = l.world.registry.Open(settings::kSettingsKey);
        for (std::uint32_t i = 0; l.world.registry.EnumValueName(key, i, &name) == platform::kErrorSuccess; ++i)
            stored += name + "=" + l.world.registry.Get(settings::kSettingsKey, name)->data + " ";
        l.world.registry.Close(key);
        EXPECT_EQ(stored, expected) << "names, order and exact bytes: no NULs, two bytes for the time fields";
        EXPECT_EQ(BoxTexts(l.world), std::vector<std::string>{kFirstRunMessage}) << "no upgrade message after it";
        EXPECT_EQ(l.world.downloads.requests.size(), answer == kIdYes ? 1u : 0u) << "Yes starts the install ping";
        EXPECT_EQ(l.world.registry.OpenHandles(), 0u);
    }
}

TEST(FirstRun, AKeyThatCanBeNeitherOpenedNorCreatedEndsTheProgramWithAMessage) {
    Loading l;
    l.world.registry.deny_access = true;
    EXPECT_FALSE(l.Load({kIdOk}));
    EXPECT_EQ(BoxTexts(l.world), std::vector<std::string>{"Error while accessing the registry!\r\n"
                                                          "Please contact support@brevald.example"});
}

// As numbers when both are versions; otherwise as texts, so a text that sorts after the current one is left
// alone.
TEST(Upgrade, VersionsCompareAsNumbersOrElseAsTexts) {
    for (auto [stored, older] : std::initializer_list<std::pair<const char*, bool>>{
             {"1.1.10", false}, {"1.1.2.0", false}, {"abc", false}, {"2.0-beta", false}, {"1.1.2-rc", false},
             {"1.1.1", true}, {"1.1", true}, {"", true}, {"1..2", true}, {"0.9-beta", true}})
        EXPECT_EQ(IsOlderVersion(stored, "1.1.2"), older) << '"' << stored << '"';
}

TEST(Upgrade, AnOlderStoredVersionIsRewrittenAndTheReadmeOffered) {
    for (auto [stored, answer, offered, opened] : std::initializer_list<std::tuple<const char*, int, bool, bool>>{
             {"1.1.1", kIdYes, true, true}, {"1.1.1", kIdNo, true, false}, {"1.1.10", kIdYes, false, false}}) {
        Loading l;
        l.world.registry.Put(settings::kSettingsKey, "Version", stored);
        ASSERT_TRUE(l.Load({answer}));
        EXPECT_EQ(Stored(l.world, "Version"), offered ? LUMOFF_VERSION_TEXT : stored);
        EXPECT_EQ(BoxTexts(l.world), offered ? std::vector<std::string>{kUpgrade} : std::vector<std::string>{});
        EXPECT_EQ(l.world.opened_urls.size(), opened ? 1u : 0u);
    }
}

// A stored pair with a position outside its list is not registered again at start-up, and nothing is said.
TEST(LoadingTable, AStoredHotKeyPairOutsideTheListsIsNotRegistered) {
    for (auto [a, b, registered] : std::initializer_list<std::tuple<const char*, const char*, bool>>{
             {"", "", true}, {"7", "47", true}, {"8", "12", false}, {"1", "48", false}, {"-1", "12", false},
             {"1", "x", false}}) {
        testing::Setup setup{.stored = {{"HotKeySet", "1"}}};
        if (*a) setup.stored.emplace_back("HotKeyA", a);
        if (*b) setup.stored.emplace_back("HotKeyB", b);
        RunningCopy r(setup);
        EXPECT_EQ(r.world.hotkeys.size(), registered ? 1u : 0u) << a << "+" << b;
        EXPECT_TRUE(r.world.boxes.empty()) << a << "+" << b;
    }
}

}  // namespace
}  // namespace lumoff
