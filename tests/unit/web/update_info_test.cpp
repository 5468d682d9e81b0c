#include "web/update_info.h"

#include <gtest/gtest.h>

#include <string>

namespace lumoff {
namespace {

// What the reader makes of a file: "version|address", or "-" when it is no update information.
std::string Read(const char* text) {
    auto info = ReadUpdateInfo(text);
    return info ? info->version + "|" + info->address : "-";
}

TEST(UpdateInfo, ReadsTwoFieldsSeparatedByCommaOrAnyLineEnd) {
    const std::string get = "1.1.3|http://a.example/get";
    struct Case {
        const char* text;
        std::string read;
    } const cases[] = {
        {"1.1.3\r\nhttp://a.example/get", get},    {"1.1.3\rhttp://a.example/get", get},
        {"1.1.3\nhttp://a.example/get", get},      {"1.1.3,http://a.example/get", get},
        {"   1.1.3,   http://a.example/get", get}, {" 1.1.3 \r\nhttp://a.example/get ", "1.1.3 |http://a.example/get "},
        {"\"1,1\",\"http://a.example/?x=1,2\"", "1,1|http://a.example/?x=1,2"},
        {"\"1.1.3\" dropped,\"two\r\nlines\"", "1.1.3|two\r\nlines"},
        {"1.1.3\r\nhttp://a.example/get\r\nmore,fields\r\n", get}, {"1.1.3,http://a.example/get,more", get},
        {"1.1.3\r\n\r\nhttp://a.example/get", "1.1.3|"},          {"1.1.3\n\rhttp://a.example/get", "1.1.3|"},
        {"1.1.3,,", "1.1.3|"}, {"\r\n1.1.3", "|1.1.3"}, {"1.1.3,\"http://a.example/x", "1.1.3|http://a.example/x"},
        {"1.1.3", "-"}, {"1.1.3\r\n", "-"}, {"1.1.3,   ", "-"}, {"\"1.1.3,http://a.example/get", "-"}, {"", "-"},
        {"   ", "-"}};
    for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.read) << c.text;
}

TEST(UpdateInfo, ComparesVersionsNumericallyFieldByField) {
    struct Case {
        const char* remote;
        bool newer;
    } const cases[] = {
        {"1.1.2", false},  {"1.1.3", true},    {"1.2.0", true},       {"1.1.10", true},  {"2.0.0", true},
        {" 1.1.3 ", true}, {"1.1.02", false},  {"01.01.3", true},     {"1.0.99", false}, {"0.9.9", false},
        {"1.2", false},    {"2", false},       {"1.1", false},        {"1.1.2.1", false}, {"abc", false},
        {"", false},       {"1.1.3a", false},  {"1. 1.3", false},     {"1.1.-3", false}, {"\t1.1.3", false},
        {"1..3", false},   {"1.1.3.", false},  {"99999999999.0.0", true}, {"1.1.99999999999999999999", true}};
    for (const auto& c : cases) EXPECT_EQ(IsNewerVersion(c.remote, "1.1.2"), c.newer) << '"' << c.remote << '"';
    EXPECT_FALSE(IsNewerVersion("1.1.9", "1.1.10"));
    EXPECT_FALSE(IsNewerVersion("99999999999.0.0", "99999999999.0.0"));
    EXPECT_TRUE(IsNewerVersion("100000000000.0.0", "99999999999.0.0"));
}

TEST(UpdateInfo, OnlyWebAddressesMayBeOpened) {
    for (const char* address : {"http://www.brevald.example/get", "https://www.brevald.example/get",
                                "HTTP://WWW.BREVALD.EXAMPLE/", "hTTpS://x.example"})
        EXPECT_TRUE(IsOpenableWebAddress(address)) << address;
    for (const char* address : {"file:///C:/Windows/system32/calc.exe", "C:\\Windows\\system32\\calc.exe",
                                "\\\\server\\share\\setup.exe", "calc.exe", "javascript:alert(1)", "",
                                "http:/x.example", "ftp://x.example/", " http://x.example/",
                                "http://x.example/\" --flag", "http://x.example/ page", "http://x.example/\tpage",
                                "http://x.example/\r\n"})
        EXPECT_FALSE(IsOpenableWebAddress(address)) << '"' << address << '"';
}

}  // namespace
}  // namespace lumoff
