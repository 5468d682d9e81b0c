// libFuzzer target for the reader of "updateinfo.txt", the version comparison and the web-address check: text from
// the network, so any bytes must be safe to read, and the answers must hold together.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "web/update_info.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto info = lumoff::ReadUpdateInfo(text);
    // The second field begins only after a separator of the first.
    if (info) Check(info->version.size() + info->address.size() < size);

    // Any two texts: never newer than itself, never both newer than each other.
    const std::size_t half = size / 2;
    const std::string_view a = text.substr(0, half), b = text.substr(half);
    Check(!lumoff::IsNewerVersion(a, a));
    Check(!(lumoff::IsNewerVersion(a, b) && lumoff::IsNewerVersion(b, a)));
    if (lumoff::IsNewerVersion(a, b)) Check(lumoff::ParseVersion(lumoff::TrimSpaces(a)).has_value());
    lumoff::IsNewerVersion(text, "1.1.2");

    if (info && lumoff::IsOpenableWebAddress(lumoff::TrimSpaces(info->address))) {
        for (char c : info->address)
            Check(c != '"' && c != '\r' && c != '\n');
    }
    return 0;
}
