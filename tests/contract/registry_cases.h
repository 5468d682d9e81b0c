// How the settings read takes stored data, case by case. The unit tests check the simulated registry against this
// table and the end-to-end driver checks the real registry against the same table, so the two cannot drift apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumoff::contract {

struct ReadCase {
    const char* name;
    std::uint32_t type;
    std::string data;  // bytes exactly as stored
    std::string expected;
};

inline std::vector<ReadCase> ReadSettingValueCases() {
    using namespace std::string_literals;
    return {
        {"Flag", 1, "1"s, "1"},
        {"FlagWithNul", 1, "1\0"s, "1"},
        {"TwoDigitShort", 1, "5\0"s, "5"},
        {"TwoDigit", 1, "07"s, "07"},
        {"Number", 1, "4320"s, "4320"},
        {"Empty", 1, ""s, ""},
        {"EmbeddedNul", 1, "ab\0cd"s, "ab"},
        {"Dword", 4, "\x31\0\0\0"s, "1"},
        {"DwordZero", 4, "\0\0\0\0"s, ""},
        {"Binary", 3, "xyz"s, "xyz"},
        {"Binary255", 3, std::string(255, 'f'), ""},
        {"MultiSz", 7, "1\0" "0\0\0"s, "1"},
        {"MultiSzNoNul", 7, "ab"s, "ab"},
        {"MultiSz255NoNul", 7, std::string(255, 'g'), ""},
        {"Exactly254", 1, std::string(254, 'a'), std::string(254, 'a')},
        {"Full255NoNul", 1, std::string(255, 'b'), ""},
        {"Full255WithNul", 1, std::string(254, 'c') + '\0', std::string(254, 'c')},
        {"TooLong256", 1, std::string(256, 'd'), ""},
        {"TooLong300", 1, std::string(300, 'e'), ""},
    };
}

}  // namespace lumoff::contract
