#include "forms/web_address.h"

#include <gtest/gtest.h>

#include <tuple>

namespace lumoff {
namespace {

constexpr const char* kPlain = "http://www.brevald.example";
constexpr const char* kSecure = "https://www.brevald.example";
constexpr const char* kIpv6 = "http://[::1]:8080";

// Text from a plain http host may name only that host; text from an https host any clean web address. What a
// browser could read differently from this reader is refused.
TEST(WebAddress, WhatTheShellMayOpen) {
    for (auto [web_host, address, open] : std::initializer_list<std::tuple<const char*, const char*, bool>>{
             {kPlain, "http://www.brevald.example/get", true},
             {kPlain, "https://www.brevald.example/get?v=1#top", true}, {kPlain, "HTTP://WWW.Brevald.EXAMPLE", true},
             {kPlain, "http://name@www.brevald.example:8080/%2e/", true}, {kPlain, "http://evil.example/get", false},
             {kPlain, "http://www.brevald.example@evil.example/", false},
             {kPlain, "http://a@b@www.brevald.example/", false},
             {kPlain, "http://evil.example\\@www.brevald.example/", false},
             {kPlain, "http://evilwww.brevald.example/", false},
             {kPlain, "http://www.brevald.example.evil.example/", false},
             {kPlain, "http://www%2ebrevald.example/", false}, {kPlain, "http://www.br\xC3\xA9vald.example/", false},
             {kPlain, "http:///www.brevald.example/", false}, {kPlain, "http:www.brevald.example/", false},
             {kPlain, "ftp://www.brevald.example/", false}, {kPlain, "http://www.brevald.example/ get", false},
             {kPlain, "http://www.brevald.example/\"--flag", false}, {kPlain, "http://www.brevald.example:/", false},
             {kPlain, "http://www.brevald.example:0/", false}, {kPlain, "http://www.brevald.example:65536/", false},
             {kPlain, "http://www.brevald.example:80:80/", false}, {kIpv6, "http://[::1]/get", true},
             {kIpv6, "http://[0::1]/", false}, {kIpv6, "http://[::1/", false}, {kIpv6, "http://[::g]/", false},
             {kSecure, "http://evil.example/get", true}, {kSecure, "javascript:alert(1)", false},
             {"www.brevald.example", "http://www.brevald.example/", false}})
        EXPECT_EQ(MayOpenAddress(web_host, address), open) << web_host << " " << address;
}

TEST(WebAddress, WhichRedirectADownloadFollows) {
    for (auto [from, to, follow] : std::initializer_list<std::tuple<const char*, const char*, bool>>{
             {"http://a.example/x", "http://A.EXAMPLE:8080/y", true},
             {"http://a.example/x", "https://a.example/y", true}, {"https://a.example/x", "https://a.example/y", true},
             {"https://a.example/x", "http://a.example/y", false}, {"http://a.example/x", "http://b.example/y", false},
             {"http://a.example/x", "", false}})
        EXPECT_EQ(MayFollowRedirect(from, to), follow) << from << " " << to;
}

}  // namespace
}  // namespace lumoff
