// A copy of the program on the simulated platform, for tests: set the world up, start the copy, and look at
// what it did.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "platform/sim/sim.h"
#include "settings/settings_store.h"

namespace lumoff::testing {

using platform::sim::SimProcess;
using platform::sim::SimWorld;

class SimCopy {
public:
    SimCopy(SimWorld& world, std::string command_line = "\"C:\\Program Files\\Lumoff\\Lumoff.exe\"",
            std::string exe_name = "Lumoff")
        : world(world), process(world, std::move(command_line), std::move(exe_name)) {}

    // Runs the copy until it ends (returns the virtual time it ended at) or until nothing more happens before
    // the world's horizon (returns nothing).
    std::optional<std::uint64_t> Start() {
        program = std::make_unique<Program>(process.platform());
        try {
            program->Run();
        } catch (const platform::sim::ProcessExited& e) {
            return e.at_ms;
        } catch (const platform::sim::SimStopped&) {
        }
        return std::nullopt;
    }
    // Goes on running a copy that stopped at the horizon, in its main loop.
    std::optional<std::uint64_t> Resume() {
        try {
            program->monitor.ProcessMessages(false);
        } catch (const platform::sim::ProcessExited& e) {
            return e.at_ms;
        } catch (const platform::sim::SimStopped&) {
        }
        return std::nullopt;
    }

    Context& ctx() { return program->ctx; }
    MainWindow& main() { return program->ctx.main; }
    OptionsDialog& options() { return program->ctx.options; }
    platform::WindowRef handle() { return process.Handle(main()); }

    SimWorld& world;
    SimProcess process;
    std::unique_ptr<Program> program;
};

// The Settings key as a returning user of this version has it: only `Version`, the running version. The start-up
// then shows no first-run or upgrade message, and every control keeps the state the dialog gives it. Every test
// that starts a copy and is not about the first run or an upgrade begins with this.
inline void SeedSettings(SimWorld& world) {
    world.registry.Put(settings::kSettingsKey, settings::kVersion, VersionText());
}

// A copy in its main loop at virtual time 0, on a system of the given version, with the Settings key seeded and the
// given values stored after it.
struct RunningCopy {
    explicit RunningCopy(std::initializer_list<std::pair<const char*, const char*>> stored = {},
                         platform::OsVersion os = {2, 6}, std::string command_line = kCommandLine,
                         std::string exe_name = "Lumoff")
        : copy(world, std::move(command_line), std::move(exe_name)) {
        SeedSettings(world);
        for (const auto& [name, value] : stored) world.registry.Put(settings::kSettingsKey, name, value);
        world.horizon_ms = 0;
        copy.process.os_version = os;
        copy.Start();
    }
    // Runs the copy's events up to the virtual time; the time it ended at, if it did.
    std::optional<std::uint64_t> RunUntil(std::uint64_t ms) {
        world.horizon_ms = ms;
        return copy.Resume();
    }
    OptionsDialog& o() { return copy.options(); }
    MonitorControl& monitor() { return copy.program->monitor; }
    bool KeepingOff() { return copy.program->monitor.KeepingOff(); }
    // The virtual times of the power-off requests sent so far.
    std::vector<std::uint32_t> PowerOffTimes() {
        std::vector<std::uint32_t> at;
        for (const auto& p : world.power_requests) at.push_back(p.at_ms);
        return at;
    }

    static constexpr const char* kCommandLine = "\"C:\\Program Files\\Lumoff\\Lumoff.exe\"";
    SimWorld world;
    SimCopy copy;
};

// The stored bytes of a Settings value, or nothing when it is missing.
inline std::optional<std::string> Stored(SimWorld& world, std::string_view name) {
    const auto* v = world.registry.Get(settings::kSettingsKey, name);
    return v ? std::optional<std::string>(v->data) : std::nullopt;
}

}  // namespace lumoff::testing
