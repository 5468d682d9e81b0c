// libFuzzer target for the command-line switch test: the command line is whatever the caller passed, of any length
// and bytes. Nothing may crash or read past the text, and only the very end counts: what comes before a blank never
// changes the answer, a blank after the switch hides it, and the switch typed at the end is found in any letter case.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "app/command_line.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string text(line);
    for (const auto& [lower_case_switch, typed] : {std::pair<std::string_view, std::string_view>{"/off", "/OFF"},
                                                   {"/tray", "/TrAy"}}) {
        const bool found = lumoff::EndsWithSwitch(line, lower_case_switch);
        Check(lumoff::EndsWithSwitch(text + " " + text, lower_case_switch) == found);
        Check(!lumoff::EndsWithSwitch(text + " ", lower_case_switch));
        Check(lumoff::EndsWithSwitch(text + std::string(typed), lower_case_switch));
    }
    return 0;
}
