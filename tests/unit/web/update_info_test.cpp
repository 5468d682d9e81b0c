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

TEST(UpdateInfo, VersionsAreOneToFourDottedNumbersComparedAsNumbers) {
    struct Case {
        const char* remote;
        bool newer;
    } const cases[] = {
        {"1.1.3", true},    {"1.2", true},       {"2", true},           {"1.1.2.1", true},  {"1.1.10", true},
        {" 1.1.3 ", true},  {"01.01.3", true},   {"99999999999.0.0", true}, {"1.1.99999999999999999999", true},
        {"1.1.2", false},   {"1.1.2.0", false},  {"01.1.2", false},     {"1.1", false},     {"0.9.9", false},
        {"1.1.02", false},  {"1.0.99", false},   {"1.1.2.0.1", false},  {"abc", false},     {"", false},
        {"1.1.3a", false},  {"1. 1.3", false},   {"1.1.-3", false},     {"\t1.1.3", false}, {"1..3", false},
        {"1.1.3.", false},  {".1.1.3", false}};
    for (const auto& c : cases) EXPECT_EQ(IsNewerVersion(c.remote, "1.1.2"), c.newer) << '"' << c.remote << '"';
    EXPECT_FALSE(IsNewerVersion("1.1.9", "1.1.10"));
    EXPECT_FALSE(IsNewerVersion("99999999999.0.0", "99999999999.0.0"));
    EXPECT_TRUE(IsNewerVersion("100000000000.0.0", "99999999999.0.0"));
}

// A body that does not begin with a version taught nothing: the check failed. Only a newer version names an
// address, and only one the rule allows.
TEST(UpdateInfo, WhatABodyTellsTheCheck) {
    using Kind = UpdateCheckResult::Kind;
    const char* const host = "http://www.brevald.example";
    struct Case {
        std::string body;
        Kind kind;
        const char* open;
    } const cases[] = {
        {"1.2\r\n  http://www.brevald.example/get  ", Kind::kNewer, "http://www.brevald.example/get"},
        {"1.1.3\r\nhttp://evil.example/get", Kind::kNewer, ""},
        {"1.1.2.0\r\nhttp://evil.example/get", Kind::kUpToDate, ""},
        {"<html><body>Please log in</body></html>\r\n", Kind::kFailed, ""},
        {std::string("\x7f" "ELF\x02\x01\0\0,\x90\xff\r\n", 13), Kind::kFailed, ""},
        {"1.1.3 beta\r\nhttp://www.brevald.example/get", Kind::kFailed, ""},
        {",http://www.brevald.example/get", Kind::kFailed, ""},
        {"1.1.3", Kind::kFailed, ""}};
    for (const auto& c : cases) {
        UpdateCheckResult read = ReadUpdateCheck(c.body, "1.1.2", host);
        EXPECT_EQ(read.kind, c.kind) << c.body;
        EXPECT_EQ(read.open, c.open) << c.body;
    }
}

}  // namespace
}  // namespace lumoff
