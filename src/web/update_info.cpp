#include "web/update_info.h"

#include "forms/web_address.h"

namespace lumoff {

namespace {

constexpr char kQuote = '"';

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsSeparator(char c) { return c == ',' || IsLineEnd(c); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads one field starting at `at`, leaves `at` past its separator. False when the text ends before the field
// begins.
bool ReadField(std::string_view text, std::size_t& at, std::string& field) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at >= text.size()) return false;
    field.clear();
    if (text[at] == kQuote) {
        std::size_t close = text.find(kQuote, at + 1);
        if (close == std::string_view::npos) {
            field.assign(text.substr(at + 1));
            at = text.size();
            return true;
        }
        field.assign(text.substr(at + 1, close - at - 1));
        at = close + 1;
        while (at < text.size() && !IsSeparator(text[at])) ++at;
    } else {
        std::size_t end = at;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        field.assign(text.substr(at, end - at));
        at = end;
    }
    // One separator: a comma, or a line end, where CR LF counts as one.
    if (at < text.size()) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        ++at;
    }
    return true;
}

}  // namespace

std::optional<UpdateInfo> ReadUpdateInfo(std::string_view text) {
    UpdateInfo info;
    std::size_t at = 0;
    if (!ReadField(text, at, info.version)) return std::nullopt;
    if (!ReadField(text, at, info.address)) return std::nullopt;
    return info;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<Version> ParseVersion(std::string_view text) {
    text = TrimSpaces(text);
    Version numbers{"0", "0", "0", "0"};
    std::size_t at = 0;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (at == text.size()) break;
            if (text[at] != '.') return std::nullopt;
            ++at;
        }
        std::size_t start = at;
        while (at < text.size() && IsDigit(text[at])) ++at;
        if (at == start) return std::nullopt;
        while (start + 1 < at && text[start] == '0') ++start;
        numbers[i] = text.substr(start, at - start);
    }
    if (at != text.size()) return std::nullopt;
    return numbers;
}

int CompareVersions(const Version& a, const Version& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        // Without leading zeros, the longer number is the larger; equal lengths compare digit by digit.
        if (a[i].size() != b[i].size()) return a[i].size() < b[i].size() ? -1 : 1;
        if (int order = a[i].compare(b[i])) return order;
    }
    return 0;
}

bool IsNewerVersion(std::string_view remote, std::string_view local) {
    auto r = ParseVersion(remote);
    auto l = ParseVersion(local);
    return r && l && CompareVersions(*r, *l) > 0;
}

UpdateCheckResult ReadUpdateCheck(std::string_view body, std::string_view local, std::string_view web_host) {
    UpdateCheckResult result;
    std::optional<UpdateInfo> info = ReadUpdateInfo(body);
    // A text that does not begin with a version (a login page of a public network, say) says nothing about updates.
    if (!info || !ParseVersion(info->version)) return result;
    result.info = std::move(*info);
    if (!IsNewerVersion(result.info.version, local)) {
        result.kind = UpdateCheckResult::Kind::kUpToDate;
        return result;
    }
    result.kind = UpdateCheckResult::Kind::kNewer;
    const std::string_view address = TrimSpaces(result.info.address);
    if (MayOpenAddress(web_host, address)) result.open.assign(address);
    return result;
}

}  // namespace lumoff
