// A copy of the program on the simulated platform, for tests: set the world up, start the copy, and look at
// what it did.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "platform/sim/sim.h"
#include "settings/settings_store.h"

namespace lumoff {

using platform::kIdCancel;
using platform::kIdNo;
using platform::kIdOk;
using platform::kIdYes;
using platform::sim::SimProcess;
using platform::sim::SimWorld;

namespace testing {

inline constexpr const char* kCommandLine = "\"C:\\Program Files\\Lumoff\\Lumoff.exe\"";

class SimCopy {
public:
    SimCopy(SimWorld& world, std::string command_line = kCommandLine, std::string exe_name = "Lumoff")
        : world(world), process(world, std::move(command_line), std::move(exe_name)) {}

    // Runs the copy until it ends (returns the virtual time it ended at) or until nothing more happens before
    // the world's horizon (returns nothing). Copies started before it and not ended are parked meanwhile: their
    // timers and hotkey messages run while this one waits.
    std::optional<std::uint64_t> Start() {
        program = std::make_unique<Program>(process.platform());
        return Until([this] { program->Run(); });
    }
    // Goes on running a copy that stopped at the horizon, in its main loop.
    std::optional<std::uint64_t> Resume() {
        return Until([this] { program->monitor.ProcessMessages(false); });
    }
    // Whether the copy has ended, by now or while it was parked.
    bool ended() const { return process.exited; }

    Context& ctx() { return program->ctx; }
    MainWindow& main() { return program->ctx.main; }
    OptionsDialog& options() { return program->ctx.options; }
    platform::WindowRef handle() { return process.Handle(main()); }

    SimWorld& world;
    SimProcess process;
    std::unique_ptr<Program> program;

private:
    std::optional<std::uint64_t> Until(const std::function<void()>& run) {
        try {
            process.RunAsCurrent(run);
        } catch (const platform::sim::ProcessExited& e) {
            return e.at_ms;
        } catch (const platform::sim::SimStopped&) {
        }
        return std::nullopt;
    }
};

// The Settings key as a returning user of this version has it: only `Version`, the running version. The start-up
// then shows no first-run or upgrade message, and every control keeps the state the dialog gives it. Every test
// that starts a copy and is not about the first run or an upgrade begins with this.
inline void SeedSettings(SimWorld& world) {
    world.registry.Put(settings::kSettingsKey, settings::kVersion, VersionText());
}

// The stored bytes of a Settings value, or nothing when it is missing.
inline std::optional<std::string> Stored(SimWorld& world, std::string_view name) {
    const auto* v = world.registry.Get(settings::kSettingsKey, name);
    return v ? std::optional<std::string>(v->data) : std::nullopt;
}

// The texts of the message boxes shown so far.
inline std::vector<std::string> BoxTexts(const SimWorld& world) {
    std::vector<std::string> texts;
    for (const auto& b : world.boxes) texts.push_back(b.text);
    return texts;
}

// How a RunningCopy starts: the values stored after the seed, the message boxes' answers, the horizon of the start.
struct Setup {
    std::vector<std::pair<std::string, std::string>> stored{};
    std::vector<int> answers{};
    std::uint64_t until = 0;
    platform::OsVersion os{2, 6};
    std::string line = kCommandLine;
    std::string exe = "Lumoff";
    // The program's full path, when it is not the default folder, the name and ".exe".
    std::string exe_path{};
};

// A copy started on a seeded Settings key (at 2026-12-06 12:00), at rest in its main loop unless it ended;
// `arrange` prepares the world after the values are stored and before the start.
struct RunningCopy {
    explicit RunningCopy(Setup s = {}, const std::function<void(SimWorld&)>& arrange = {})
        : copy(world, s.line, s.exe) {
        SeedSettings(world);
        for (const auto& [name, value] : s.stored) world.registry.Put(settings::kSettingsKey, name, value);
        world.box_answers.assign(s.answers.begin(), s.answers.end());
        world.horizon_ms = s.until;
        copy.process.os_version = s.os;
        copy.process.exe_path = s.exe_path;
        if (arrange) arrange(world);
        ended = copy.Start();
    }
    // Runs the copy's events up to the virtual time; the time it ended at, if it did.
    std::optional<std::uint64_t> RunUntil(std::uint64_t ms) {
        world.horizon_ms = ms;
        return copy.Resume();
    }
    OptionsDialog& o() { return copy.options(); }
    MainWindow& main() { return copy.main(); }
    MonitorControl& monitor() { return copy.program->monitor; }
    void Toggle() { monitor().imgTurnOff_Click(); }
    bool KeepingOff() { return monitor().KeepingOff(); }
    const std::string& caption() { return main().lblCaption.text(); }
    std::optional<std::string> Stored(std::string_view name) { return testing::Stored(world, name); }
    // The stored texts of the values one after another, a missing one as nothing.
    std::string Values(std::initializer_list<const char*> names) {
        std::string all;
        for (const char* name : names) all += Stored(name).value_or("");
        return all;
    }
    // Types a time into the countdown's boxes, or the schedule's.
    void SetTime(const char* h, const char* m, const char* s, bool schedule = false) {
        (schedule ? o().timHrs2 : o().timHrs1).set_text(h);
        (schedule ? o().timMin2 : o().timMin1).set_text(m);
        (schedule ? o().timSec2 : o().timSec1).set_text(s);
    }
    // The virtual times of the power-off requests sent so far.
    std::vector<std::uint32_t> PowerOffTimes() {
        std::vector<std::uint32_t> at;
        for (const auto& p : world.power_requests) at.push_back(p.at_ms);
        return at;
    }
    std::vector<std::string> Boxes() { return BoxTexts(world); }

    SimWorld world;
    SimCopy copy;
    std::optional<std::uint64_t> ended;
};

}  // namespace testing

using testing::BoxTexts;
using testing::RunningCopy;
using testing::SimCopy;
using testing::Stored;

}  // namespace lumoff
