#include "forms/web_address.h"

namespace lumoff {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'f'); }
bool IsNameChar(char c) {
    return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'z') || c == '-' || c == '.' || c == '_';
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameHost(text.substr(0, prefix.size()), prefix);
}

bool ReadHost(std::string_view host) {
    if (host.empty()) return false;
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return false;
        bool colon = false;
        for (char c : host.substr(1, host.size() - 2)) {
            if (!IsHex(c) && c != ':' && c != '.') return false;
            colon = colon || c == ':';
        }
        return colon;
    }
    for (char c : host)
        if (!IsNameChar(c)) return false;
    return true;
}

}  // namespace

bool SameHost(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::optional<WebAddress> ReadWebAddress(std::string_view address) {
    for (char c : address) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u >= 0x7F || c == '"' || c == '\\') return std::nullopt;
    }
    WebAddress read;
    if (StartsWithNoCase(address, "https://")) {
        read.secure = true;
        address.remove_prefix(8);
    } else if (StartsWithNoCase(address, "http://")) {
        address.remove_prefix(7);
    } else {
        return std::nullopt;
    }
    const std::size_t end = address.find_first_of("/?#");
    std::string_view authority = address.substr(0, end);
    if (end != std::string_view::npos) read.rest = address.substr(end);
    if (const std::size_t at = authority.find('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
        if (authority.find('@') != std::string_view::npos) return std::nullopt;
        read.user_info = true;
    }
    // The port's colon is the last one after any IPv6 literal.
    const std::size_t bracket = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    read.host = authority;
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        const std::string_view port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5) return std::nullopt;
        unsigned value = 0;
        for (char c : port) {
            if (!IsDigit(c)) return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value == 0 || value > 65535) return std::nullopt;
        read.host = authority.substr(0, colon);
    }
    if (!ReadHost(read.host)) return std::nullopt;
    return read;
}

bool IsWebHost(std::string_view web_host) {
    auto read = ReadWebAddress(web_host);
    return read && !read->user_info && read->rest.empty();
}

bool MayOpenAddress(std::string_view web_host, std::string_view address) {
    auto host = ReadWebAddress(web_host);
    auto read = ReadWebAddress(address);
    if (!host || !read) return false;
    return host->secure || SameHost(host->host, read->host);
}

bool MayFollowRedirect(std::string_view from, std::string_view to) {
    auto a = ReadWebAddress(from);
    auto b = ReadWebAddress(to);
    return a && b && SameHost(a->host, b->host) && (b->secure || !a->secure);
}

}  // namespace lumoff
