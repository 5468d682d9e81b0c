// A running copy for the timed-action tests: the Settings key present, the Options dialog loaded, the local clock
// at a chosen time of day when virtual time is 0, and a way to run the copy's events up to a virtual time.
#pragma once

#include <string>
#include <vector>

#include "support/sim_program.h"

namespace lumoff::testing {

struct TimedCopy {
    explicit TimedCopy(platform::LocalTime at = {2026, 12, 6, 12, 0, 0, 0}) {
        testing::SeedSettings(world);
        world.SetLocalTime(at);
        world.horizon_ms = 0;
        copy.Start();
    }
    OptionsDialog& o() { return copy.options(); }
    const std::string& caption() { return copy.main().lblCaption.text(); }
    bool kept_off() { return copy.main().imgTurnOff.tag != "Turn Off"; }
    void SetTime(const char* h, const char* m, const char* s) {
        o().timHrs1.set_text(h);
        o().timMin1.set_text(m);
        o().timSec1.set_text(s);
    }
    void SetSchedule(const char* h, const char* m, const char* s) {
        o().timHrs2.set_text(h);
        o().timMin2.set_text(m);
        o().timSec2.set_text(s);
    }
    // Runs the copy's events up to the virtual time.
    void RunUntil(std::uint64_t ms) {
        world.horizon_ms = ms;
        copy.Resume();
    }
    // The virtual times of the power-off requests sent so far.
    std::vector<std::uint32_t> PowerOffTimes() {
        std::vector<std::uint32_t> at;
        for (const auto& p : world.power_requests) at.push_back(p.at_ms);
        return at;
    }
    SimWorld world;
    SimCopy copy{world};
};

}  // namespace lumoff::testing
