#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "web/update_info.h"

namespace lumoff {
namespace {

struct ReadCase {
    const char* text;
    std::optional<UpdateInfo> expected;
};

const ReadCase kReadCases[] = {
    {"1.1.3\r\nhttp://a.example/get", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {"1.1.3\rhttp://a.example/get", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {"1.1.3\nhttp://a.example/get", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {"1.1.3,http://a.example/get", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {"   1.1.3,   http://a.example/get", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {" 1.1.3 \r\nhttp://a.example/get ", UpdateInfo{"1.1.3 ", "http://a.example/get "}},
    {"\"1,1\",\"http://a.example/?x=1,2\"", UpdateInfo{"1,1", "http://a.example/?x=1,2"}},
    {"\"1.1.3\" dropped,\"two\r\nlines\"", UpdateInfo{"1.1.3", "two\r\nlines"}},
    {"1.1.3\r\nhttp://a.example/get\r\nmore,fields\r\n", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {"1.1.3,http://a.example/get,more", UpdateInfo{"1.1.3", "http://a.example/get"}},
    {"1.1.3\r\n\r\nhttp://a.example/get", UpdateInfo{"1.1.3", ""}},
    {"1.1.3\n\rhttp://a.example/get", UpdateInfo{"1.1.3", ""}},
    {"1.1.3,,", UpdateInfo{"1.1.3", ""}},
    {"\r\n1.1.3", UpdateInfo{"", "1.1.3"}},
    {"1.1.3,\"http://a.example/open", UpdateInfo{"1.1.3", "http://a.example/open"}},
    {"1.1.3", std::nullopt},
    {"1.1.3\r\n", std::nullopt},
    {"1.1.3,   ", std::nullopt},
    {"\"1.1.3,http://a.example/get", std::nullopt},
    {"", std::nullopt},
    {"   ", std::nullopt},
};

TEST(UpdateInfo, ReadsTwoFieldsSeparatedByCommaOrAnyLineEnd) {
    for (const auto& c : kReadCases) {
        auto info = ReadUpdateInfo(c.text);
        ASSERT_EQ(info.has_value(), c.expected.has_value()) << c.text;
        if (!info) continue;
        EXPECT_EQ(info->version, c.expected->version) << c.text;
        EXPECT_EQ(info->address, c.expected->address) << c.text;
    }
}

TEST(UpdateInfo, ComparesVersionsNumericallyFieldByField) {
    struct Case {
        const char* remote;
        bool newer;
    };
    const Case cases[] = {
        {"1.1.2", false},  {"1.1.3", true},    {"1.2.0", true},       {"1.1.10", true},  {"2.0.0", true},
        {" 1.1.3 ", true}, {"1.1.02", false},  {"01.01.3", true},     {"1.0.99", false}, {"0.9.9", false},
        {"1.2", false},    {"2", false},       {"1.1", false},        {"1.1.2.1", false}, {"abc", false},
        {"", false},       {"1.1.3a", false},  {"1. 1.3", false},     {"1.1.-3", false}, {"\t1.1.3", false},
        {"1..3", false},   {"1.1.3.", false},  {"99999999999.0.0", true}, {"1.1.99999999999999999999", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNewerVersion(c.remote, "1.1.2"), c.newer) << '"' << c.remote << '"';
    EXPECT_FALSE(IsNewerVersion("1.1.9", "1.1.10"));
    EXPECT_FALSE(IsNewerVersion("99999999999.0.0", "99999999999.0.0"));
    EXPECT_TRUE(IsNewerVersion("100000000000.0.0", "99999999999.0.0"));
}

TEST(UpdateInfo, OnlyWebAddressesMayBeOpened) {
    struct Case {
        const char* address;
        bool openable;
    };
    const Case cases[] = {
        {"http://www.brevald.example/get", true},
        {"https://www.brevald.example/get", true},
        {"HTTP://WWW.BREVALD.EXAMPLE/", true},
        {"hTTpS://x.example", true},
        {"file:///C:/Windows/system32/calc.exe", false},
        {"C:\\Windows\\system32\\calc.exe", false},
        {"\\\\server\\share\\setup.exe", false},
        {"calc.exe", false},
        {"javascript:alert(1)", false},
        {"", false},
        {"http:/x.example", false},
        {"ftp://x.example/", false},
        {" http://x.example/", false},
        {"http://x.example/\" --flag", false},
        {"http://x.example/ page", false},
        {"http://x.example/\tpage", false},
        {"http://x.example/\r\n", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsOpenableWebAddress(c.address), c.openable) << '"' << c.address << '"';
}

}  // namespace
}  // namespace lumoff
