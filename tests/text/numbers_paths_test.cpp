#include "text/numbers.h"
#include "text/paths.h"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

TEST(IsInteger, AcceptsWholeSigned32BitDecimalAndHexText) {
    struct Case { const char* text; bool expected; };
    const Case cases[] = {
        {"0", true}, {"42", true}, {"  -17", true}, {"+5", true},
        {"2147483647", true}, {"2147483648", false}, {"-2147483648", true}, {"-2147483649", false},
        {"$1F", true}, {"$ffffffff", true}, {"$100000000", false}, {"$000000001", true},
        {"0x1f", true}, {"0X7FFFFFFF", true}, {"-$10", true},
        {"", false}, {"  ", false}, {"-", false}, {"$", false}, {"0x", false}, {"$G", false},
        {"12 ", false}, {"1a", false}, {"\t1", false}, {"1.0", false}, {"--1", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsInteger(c.text), c.expected) << '"' << c.text << '"';
}

TEST(IntegerValue, GivesTheValueOfAcceptedTextAndHexAsA32BitPattern) {
    struct Case { const char* text; std::optional<std::int32_t> expected; };
    const Case cases[] = {
        {"  -17", -17}, {"+5", 5}, {"-2147483648", INT32_MIN}, {"$1F", 31}, {"0X7FFFFFFF", INT32_MAX},
        {"$ffffffff", -1}, {"-$10", -16}, {"2147483648", std::nullopt}, {"1a", std::nullopt}, {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(IntegerValue(c.text), c.expected) << '"' << c.text << '"';
}

TEST(LeadingNumberLength, StopsAtTheFirstPrefixThatDoesNotConvert) {
    struct Case { const char* text; int expected; };
    const Case cases[] = {
        {"07 - Song", 2}, {"", 0}, {"Song", 0}, {" 7", 0}, {"-7", 0}, {"+7", 0}, {"$1F", 0},
        {"0x1F", 1}, {"123", 3}, {"2147483647", 10}, {"2147483648", 9}, {"21474836470", 10},
        {"99999999999", 9}, {"0000000000002147483647x", 22},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingNumberLength(c.text), c.expected) << '"' << c.text << '"';
        // Same answer as converting each prefix in turn.
        const std::string s = c.text;
        size_t n = 0;
        while (n < s.size() && IsInteger(s.substr(0, n + 1))) ++n;
        EXPECT_EQ(LeadingNumberLength(s), static_cast<int>(n)) << '"' << c.text << '"';
    }
}

TEST(IntToStrZero, PadsToWidthWithoutCutting) {
    EXPECT_EQ(IntToStrZero(7, 3), "007");
    EXPECT_EQ(IntToStrZero(1234, 3), "1234");
    EXPECT_EQ(IntToStrZero(0, 0), "0");
    EXPECT_EQ(IntToStrZero(5, -2), "5");
    EXPECT_EQ(IntToStrZero(-7, 3), "-07");  // zeros go after the sign
    EXPECT_EQ(IntToStrZero(-123, 3), "-123");
}

TEST(Paths, JoinWithOneDelimiterAndSplitAtTheLast) {
    EXPECT_EQ(JoinPath("/music", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("/music/", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("", "a.mp3"), "/a.mp3");
    EXPECT_EQ(JoinPathSep("/music", "a.mp3", 1), "/music/a.mp3");
    EXPECT_EQ(JoinPathSep("/music/", "a.mp3", 0), "/music/a.mp3");
    EXPECT_EQ(ExtractDirPart("/music/rock/a.mp3"), "/music/rock");
    EXPECT_EQ(ExtractDirPart("a.mp3"), "");
}

}  // namespace
}  // namespace tandrel
