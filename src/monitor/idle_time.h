// How long the user has left keyboard and mouse alone: the one reading of the system's last-input tick for the
// watchdog, the countdown's idle rule and the screensaver tick. Only the reading; what idleness means is theirs.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lumoff {

// Milliseconds since the last keyboard or mouse input. The difference is unsigned, so the tick count's wrap after
// 49.7 days changes nothing. The last-input tick is not promised to stay behind the tick count: one that is ahead
// of it (a difference past half the 32-bit range) is input just now, not weeks of idleness.
inline std::uint32_t IdleMs(std::uint32_t now_tick, std::uint32_t last_input_tick) {
    constexpr std::uint32_t kAheadAbove = 0x7FFFFFFFu;
    const std::uint32_t idle = now_tick - last_input_tick;
    return idle > kAheadAbove ? 0 : idle;
}

inline std::uint32_t IdleMs(platform::Clock& clock) { return IdleMs(clock.TickCount(), clock.LastInputTick()); }

}  // namespace lumoff
