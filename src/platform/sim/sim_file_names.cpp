// The file-name comparison of the simulated platform: ordinal, ignoring case, as the system's CompareStringOrdinal
// with its case ignored, for the letters the tests use (see sim.h).
#include <cstdint>

#include "platform/sim/sim.h"

namespace lumoff::platform::sim {

namespace {

// The next code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > s.size()) return byte(i++);
    char32_t c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
    i += length;
    return c;
}

// In these ranges the capital and the small letter are neighbours, the capital on the even code point (on the odd
// one where `capital_odd`).
struct PairRange {
    char32_t first, last;
    bool capital_odd;
};
constexpr PairRange kPairs[] = {{0x100, 0x12F, false}, {0x132, 0x137, false}, {0x139, 0x148, true},
                                {0x14A, 0x177, false}, {0x179, 0x17E, true},  {0x460, 0x481, false},
                                {0x48A, 0x4BF, false}, {0x4C1, 0x4CE, true},  {0x4D0, 0x4FF, false}};

char32_t Upper(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    switch (c) {
        case 0xFF: return 0x178;
        case 0x3C2: return 0x3A3;  // final sigma
        case 0x3AC: return 0x386;
        case 0x3AD: case 0x3AE: case 0x3AF: return c - 0x25;
        case 0x3CC: return 0x38C;
        case 0x3CD: case 0x3CE: return c - 0x3F;
        default: break;
    }
    for (const PairRange& r : kPairs) {
        if (c < r.first || c > r.last) continue;
        const bool odd = (c & 1) != 0;
        return odd == r.capital_odd ? c : c - 1;
    }
    return c;
}

}  // namespace

bool SameFileNameIgnoringCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (Upper(NextCodePoint(a, i)) != Upper(NextCodePoint(b, j))) return false;
    return i == a.size() && j == b.size();
}

}  // namespace lumoff::platform::sim
