#include "text/strings.h"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

TEST(Cut, TakesThePartsOfPathsAndNames) {
    struct Case { std::string got; std::string expected; };
    const Case cases[] = {
        {CopyBeforeChar("artist - title", '-'), "artist "},
        {CopyBeforeChar("no dash", '-'), "no dash"},
        {CopyBeforeSubStr("a -- b -- c", " -- "), "a"},
        {CopyBeforeSubStr("abc", "x"), ""},
        {CopyAfterLastChar("/music/a.b/song.mp3", '/'), "song.mp3"},
        {CopyAfterLastChar("song", '.'), "song"},
        {CopyBeforeLastChar("song.live.mp3", '.'), "song.live"},
        {CopyBeforeLastChar("song", '.'), ""},
        {CopyAfterFirstChar("key=a=b", '='), "a=b"},
        {CopyAfterFirstChar("key", '='), ""},
        {CopyBetweenLastChars("/music/a.b/song.live.mp3", '/', '.'), "song.live"},
        {CopyBetweenLastChars("song.mp3", '/', '.'), "song"},
        {CopyBetweenLastChars("x [one] y [two] z", '[', ']'), "two"},
        {CopyBetweenLastChars("]tail", '[', ']'), ""},
        {CopyBetweenLastChars("no close", '[', ']'), ""},
        {CopyBeforeChar("", '-') + CopyAfterLastChar("", '/') + CopyBetweenLastChars("", '[', ']'), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(ExtInMaskList, ComparesWholeTokensFromTheEndCaseSensitively) {
    const std::string masks = "*.mp3;*.wav";
    EXPECT_TRUE(ExtInMaskList(masks, "mp3"));
    EXPECT_TRUE(ExtInMaskList(masks, "wav"));
    EXPECT_FALSE(ExtInMaskList(masks, "MP3"));
    EXPECT_FALSE(ExtInMaskList(masks, "mp"));
    // Text before the first delimiter is never a token.
    EXPECT_FALSE(ExtInMaskList("mp3;*.wav", "mp3"));
    EXPECT_FALSE(ExtInMaskList("mp3", "mp3"));
    EXPECT_TRUE(ExtInMaskList("x mp3 avi", "mp3"));
    // Two delimiters in a row hold no extension: a name ending in "." is no mp3.
    EXPECT_FALSE(ExtInMaskList(masks, ""));
}

TEST(Replace, ReplacesWithoutRescanningInsertedText) {
    EXPECT_EQ(ReplaceSubStr("a", "aa", "aa"), "aaaa");
    EXPECT_EQ(ReplaceSubStr("ab", "b", "abab"), "bb");
    EXPECT_EQ(ReplaceSubStr("A", "x", "aA"), "ax");
    EXPECT_EQ(ReplaceSubStr("", "x", "abc"), "abc");
    EXPECT_EQ(DeleteSubStr("ab", "xabyab"), "xyab");
    EXPECT_EQ(LineBreaksToSpaces("a\tb\r\nc"), "a b  c");
}

TEST(Collapse, ReducesRunsIncludingOneAtTheEnd) {
    EXPECT_EQ(CollapseCharRuns("/music//rock///", '/'), "/music/rock/");
    EXPECT_EQ(CollapseSpaces("  a   b "), " a b ");
    EXPECT_EQ(TrimChar("\"quoted\"", '"'), "quoted");
    EXPECT_EQ(TrimChar("\"", '"'), "");
    EXPECT_EQ(TrimChar("\"\"x\"\"", '"'), "\"x\"");
    EXPECT_EQ(TrimLeadingSeparators("- _-01 a"), "01 a");
}

TEST(Split, AppendsPiecesAndWords) {
    StringList list{"kept"};
    SplitByChar("abc", ' ', list);
    EXPECT_EQ(list, StringList{"kept"});
    SplitByChar("a  b", ' ', list);
    EXPECT_EQ(list, (StringList{"kept", "a", "", "b"}));
    list.clear();
    SplitByChar(";a;", ';', list);
    EXPECT_EQ(list, (StringList{"", "a"}));

    list = {"x", "old"};
    SplitToWords("the 2pac-song (a) by_me 1999", list);
    EXPECT_EQ(list, (StringList{"old", "the", "pac", "song", "by", "me"}));
}

}  // namespace
}  // namespace tandrel
