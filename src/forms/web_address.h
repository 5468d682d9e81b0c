// Which web addresses belong to the maker: a strict reader of http:// and https:// addresses and the rules built on
// it for what the shell may open and which redirect a download may follow. Pure functions of their text.
#pragma once

#include <optional>
#include <string_view>

namespace lumoff {

struct WebAddress {
    bool secure = false;     // https
    std::string_view host;   // as written: a name, an IPv4 address or an IPv6 literal in brackets
    bool user_info = false;  // "user@" before the host
    std::string_view rest;   // the path, query and fragment (from the first '/', '?' or '#'), or empty
};

// Reads "http://" or "https://" (any letter case), an optional user-info ending in the only '@', the host and an
// optional port of 1 to 5 digits. A host is ASCII letters, digits, '-', '.' and '_', or an IPv6 literal of hex
// digits, ':' and '.' in brackets. Nothing when anything is unclear: no host, a percent-encoded byte in the host
// (a browser would decode it into another host than the one read here), a second '@', a backslash (a browser takes it
// for a slash), a space, a control character, a double quote (which could end the address on the browser's command
// line) or a byte outside ASCII anywhere.
std::optional<WebAddress> ReadWebAddress(std::string_view address);

// Whether two hosts are the same, ASCII letter case aside.
bool SameHost(std::string_view a, std::string_view b);

// A web host as the program takes it: a web address without user-info, path, query or fragment.
bool IsWebHost(std::string_view web_host);

// Whether the shell may open `address`, named by text that came from `web_host`. From an https:// host any address
// that reads cleanly may be opened; from a plain http:// host (anyone on the way may have written the text) only an
// address on the web host's own host, over http or https, the port aside.
bool MayOpenAddress(std::string_view web_host, std::string_view address);

// Whether a download may follow a redirect from `from` to `to`: both read cleanly, the host stays the same and https
// never turns into http.
bool MayFollowRedirect(std::string_view from, std::string_view to);

}  // namespace lumoff
