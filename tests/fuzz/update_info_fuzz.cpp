// libFuzzer target for the reader of "updateinfo.txt", the version comparison and the address rule: text from the
// network, so any bytes must be safe to read, the answers must hold together, and whatever the body says, nothing
// comes out for the shell but an http or https address that the rule allows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forms/web_address.h"
#include "web/update_info.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

constexpr std::string_view kPlainHost = "http://www.brevald.example";
constexpr std::string_view kSecureHost = "https://www.brevald.example";
constexpr std::string_view kHostName = "www.brevald.example";

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// What the shell may get, told apart from the reader's own way: printable ASCII without quote or backslash, an http
// or https scheme, and (from a plain http host) the host name between the last '@' and the port of the authority.
void CheckOpenable(std::string_view address, bool from_secure) {
    for (char c : address) Check(c > ' ' && c < 0x7F && c != '"' && c != '\\');
    std::string_view rest;
    if (EqualNoCase(address.substr(0, 7), "http://")) rest = address.substr(7);
    else if (EqualNoCase(address.substr(0, 8), "https://")) rest = address.substr(8);
    else Check(false);
    if (from_secure) return;
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (std::size_t colon = authority.rfind(':'); colon != std::string_view::npos)
        authority = authority.substr(0, colon);
    Check(EqualNoCase(authority, kHostName));
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
    if (lumoff::IsNewerVersion(a, b)) Check(lumoff::ParseVersion(a).has_value());

    // The body as the update check takes it, from either kind of host: only a later version is offered, and only an
    // allowed address reaches the shell.
    for (std::string_view host : {kPlainHost, kSecureHost}) {
        const lumoff::UpdateCheckResult check = lumoff::ReadUpdateCheck(text, "1.1.2", host);
        if (check.kind != lumoff::UpdateCheckResult::Kind::kFailed)
            Check(lumoff::ParseVersion(check.info.version).has_value());
        if (check.kind != lumoff::UpdateCheckResult::Kind::kNewer) Check(check.open.empty());
        if (!check.open.empty()) CheckOpenable(check.open, host == kSecureHost);
    }
    // The whole text as an address, and as a redirect from the host.
    if (lumoff::MayOpenAddress(kPlainHost, text)) CheckOpenable(text, false);
    if (lumoff::MayFollowRedirect(kPlainHost, text)) CheckOpenable(text, false);
    return 0;
}
