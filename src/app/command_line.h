// The command-line switch test: only the very end of the whole command line is looked at, in any letter case.
// Not here: reading the command line (the process does that) or what a switch does (the start-up).
#pragma once

#include <string_view>

namespace lumoff {

// The command line's last characters, in any ASCII letter case, are exactly the switch (given in lower case).
bool EndsWithSwitch(std::string_view command_line, std::string_view lower_case_switch);

}  // namespace lumoff
