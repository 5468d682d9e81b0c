// What the maker's "updateinfo.txt" says and what the program makes of it: the reader of its two fields, the
// comparison of versions, and the test an address must pass before the shell is asked to open it. Pure functions of
// their text; no file, network or shell here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lumoff {

struct UpdateInfo {
    std::string version;  // as read, spaces after it kept
    std::string address;
};

// Reads the first two fields. Fields are separated by a comma or a line end (CR LF, CR or LF); spaces before a field
// are skipped; a field that begins with a double quote runs to the next double quote and may hold commas and line
// ends (what follows the closing quote up to the separator is dropped); anything after the second field is ignored.
// Nothing when the text ends before the second field begins.
std::optional<UpdateInfo> ReadUpdateInfo(std::string_view text);

// A version of exactly three dotted decimal numbers, without spaces around it (the caller trims them). Each number
// is kept as its digits without leading zeros, so numbers of any length compare correctly.
std::optional<std::array<std::string, 3>> ParseVersion(std::string_view text);

// Whether `remote` (spaces around it ignored) names a later version than `local`, field by field as numbers. A remote
// text that is not three dotted numbers is never newer.
bool IsNewerVersion(std::string_view remote, std::string_view local);

// Spaces around the text removed.
std::string_view TrimSpaces(std::string_view text);

// Whether the shell may be asked to open the address: it starts with "http://" or "https://" in any letter case and
// holds no space, control character or double quote (which could end the address on the browser's command line and
// pass the rest as options).
bool IsOpenableWebAddress(std::string_view address);

}  // namespace lumoff
