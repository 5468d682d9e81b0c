// What the maker's "updateinfo.txt" says and what the program makes of it: the reader of its two fields, the
// comparison of versions, and the address the shell may be asked to open. Pure functions of their text; no file,
// network or shell here.
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

// A version: one to four dotted decimal numbers, spaces around them ignored. Each number is kept as its digits
// without leading zeros (so numbers of any length compare correctly); a missing field is "0". The views point into
// the text.
using Version = std::array<std::string_view, 4>;
std::optional<Version> ParseVersion(std::string_view text);

// Negative, zero or positive as `a` names an earlier, the same or a later version than `b`, field by field as numbers.
int CompareVersions(const Version& a, const Version& b);

// Whether `remote` names a later version than `local`; never when either is no version.
bool IsNewerVersion(std::string_view remote, std::string_view local);

// Spaces around the text removed.
std::string_view TrimSpaces(std::string_view text);

// What a downloaded "updateinfo.txt" from `web_host` tells a program of version `local`.
struct UpdateCheckResult {
    enum class Kind {
        kFailed,    // nothing was learned: no two fields, or a first field that is no version
        kUpToDate,  // a version that is not later than the local one
        kNewer,     // a later version, offered to the user
    };
    Kind kind = Kind::kFailed;
    UpdateInfo info;
    // kNewer: the address the shell may open (the second field without spaces around it), or empty when the rule of
    // MayOpenAddress refuses it.
    std::string open;
};
UpdateCheckResult ReadUpdateCheck(std::string_view body, std::string_view local, std::string_view web_host);

}  // namespace lumoff
