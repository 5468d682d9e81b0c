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
    for (auto [text, read] : std::initializer_list<std::pair<const char*, const char*>>{
             {"1.1.3\r\nhttp://a/get", "1.1.3|http://a/get"}, {"1.1.3\rhttp://a/get", "1.1.3|http://a/get"},
             {"1.1.3\nhttp://a/get", "1.1.3|http://a/get"}, {"   1.1.3,   http://a/get,more", "1.1.3|http://a/get"},
             {" 1.1.3 \r\nhttp://a/get \r\nmore", "1.1.3 |http://a/get "},
             {"\"1,1\",\"http://a/?x=1,2\"", "1,1|http://a/?x=1,2"},
             {"\"1.1.3\" dropped,\"two\r\nlines\"", "1.1.3|two\r\nlines"}, {"1.1.3,\"http://a/x", "1.1.3|http://a/x"},
             {"1.1.3\r\n\r\nhttp://a/get", "1.1.3|"}, {"1.1.3\n\rhttp://a/get", "1.1.3|"}, {"\r\n1.1.3", "|1.1.3"},
             {"1.1.3\r\n", "-"}, {"1.1.3,   ", "-"}, {"\"1.1.3,http://a/get", "-"}, {"   ", "-"}})
        EXPECT_EQ(Read(text), read) << text;
}

TEST(UpdateInfo, VersionsAreOneToFourDottedNumbersComparedAsNumbers) {
    for (auto [remote, newer] : std::initializer_list<std::pair<const char*, bool>>{
             {"2", true},         {"1.1.2.1", true},  {"1.1.10", true},   {" 1.1.3 ", true},  {"01.01.3", true},
             {"1.1.99999999999999999999", true},      {"1.1.2.0", false}, {"1.1.02", false},  {"1.0.99", false},
             {"1.1.2.0.1", false}, {"abc", false},    {"1.1.3a", false},  {"1. 1.3", false},  {"\t1.1.3", false},
             {"1..3", false},     {"1.1.3.", false},  {".1.1.3", false}})
        EXPECT_EQ(IsNewerVersion(remote, "1.1.2"), newer) << '"' << remote << '"';
    EXPECT_TRUE(IsNewerVersion("100000000000.0.0", "99999999999.0.0"));
}

}  // namespace
}  // namespace lumoff
