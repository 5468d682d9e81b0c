// libFuzzer target for the command-line switch test: the command line is whatever the caller passed, of any length
// and bytes. Nothing may crash, and the answer must be exactly "the last characters are the switch in some case".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    for (std::string_view lower_case_switch : {"/off", "/tray"}) {
        const bool found = lumoff::EndsWithSwitch(line, lower_case_switch);
        bool expected = line.size() >= lower_case_switch.size();
        for (std::size_t i = 0; expected && i < lower_case_switch.size(); ++i)
            expected = Lower(line[line.size() - lower_case_switch.size() + i]) == lower_case_switch[i];
        Check(found == expected);
        // Anything after the switch, even one blank, hides it.
        if (found) Check(!lumoff::EndsWithSwitch(std::string(line) + " ", lower_case_switch));
    }
    return 0;
}
