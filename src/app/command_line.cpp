#include "app/command_line.h"

namespace lumoff {

bool EndsWithSwitch(std::string_view command_line, std::string_view lower_case_switch) {
    if (command_line.size() < lower_case_switch.size()) return false;
    const std::string_view tail = command_line.substr(command_line.size() - lower_case_switch.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lower_case_switch[i]) return false;
    }
    return true;
}

}  // namespace lumoff
