#include "web/update_info.h"

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

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
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

std::optional<std::array<std::string, 3>> ParseVersion(std::string_view text) {
    std::array<std::string, 3> numbers;
    std::size_t at = 0;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != '.') return std::nullopt;
            ++at;
        }
        std::size_t start = at;
        while (at < text.size() && IsDigit(text[at])) ++at;
        if (at == start) return std::nullopt;
        while (start + 1 < at && text[start] == '0') ++start;
        numbers[i].assign(text.substr(start, at - start));
    }
    if (at != text.size()) return std::nullopt;
    return numbers;
}

bool IsNewerVersion(std::string_view remote, std::string_view local) {
    auto r = ParseVersion(TrimSpaces(remote));
    auto l = ParseVersion(TrimSpaces(local));
    if (!r || !l) return false;
    for (std::size_t i = 0; i < r->size(); ++i) {
        const std::string& a = (*r)[i];
        const std::string& b = (*l)[i];
        // Without leading zeros, the longer number is the larger; equal lengths compare digit by digit.
        if (a.size() != b.size()) return a.size() > b.size();
        if (a != b) return a > b;
    }
    return false;
}

bool IsOpenableWebAddress(std::string_view address) {
    if (!StartsWithNoCase(address, "http://") && !StartsWithNoCase(address, "https://")) return false;
    for (char c : address) {
        auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F || c == kQuote) return false;
    }
    return true;
}

}  // namespace lumoff
