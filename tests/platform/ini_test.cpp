#include "platform/ini.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/cp1251_text.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;

TEST(ReadIniString, MatchesSectionAndKeyWithoutRegardToCase) {
    TempDir dir;
    std::string file = dir.Write("TdSettings.ini",
                                 "; settings\r\n"
                                 "[Settings]\r\n"
                                 "FindMask = *.mp3 \n"
                                 "; Hidden=x\r"
                                 "Quoted=\"  spaced  \"\r\n"
                                 "Empty=\r\n"
                                 "NumberSplit\t=\t_=_\r\n"
                                 "[\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8]\n"  // [Настройки]
                                 "FindMask=other");
    struct Row { const char* section; const char* key; const char* value; };
    for (Row row : std::initializer_list<Row>{
             {"Settings", "FindMask", "*.mp3"},
             {"SETTINGS", "findmask", "*.mp3"},
             {"Settings", "Quoted", "  spaced  "},
             {"Settings", "Empty", ""},
             {"Settings", "NumberSplit", "_=_"},
             {"Settings", "Hidden", ""},
             {"Settings", "Missing", ""},
             {"\xED\xC0\xD1\xD2\xD0\xCE\xC9\xCA\xC8", "FINDMASK", "other"},  // нАСТРОЙКИ
             {"Missing", "FindMask", ""},
         }) {
        EXPECT_EQ(ReadIniString(file, row.section, row.key), row.value) << row.section << "/" << row.key;
    }
}

TEST(ReadIniString, MissingFileGivesEmptyAndCreatesNothing) {
    TempDir dir;
    EXPECT_EQ(ReadIniString(dir / "TdSettings.ini", "Settings", "FindMask"), "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.str()));
}

TEST(WriteIni, KeepsOtherContentAndWritesCrLf) {
    TempDir dir;
    const std::string file = dir / "rename.ini";
    ASSERT_TRUE(WriteIniString(file, "renamed", "b.mp3", "a.mp3").ok);
    EXPECT_EQ(ReadAll(file), "[renamed]\r\nb.mp3=a.mp3\r\n");

    dir.Write("rename.ini", "; log\n[Renamed]\nB.MP3 = old\n\n[other]\nx=1\n");
    ASSERT_TRUE(WriteIniString(file, "renamed", "b.mp3", "a.mp3").ok);
    ASSERT_TRUE(WriteIniString(file, "RENAMED", "d.mp3", "c.mp3").ok);
    ASSERT_TRUE(WriteIniString(file, "deleted", "e", "f").ok);
    EXPECT_EQ(ReadAll(file),
              "; log\r\n[Renamed]\r\nb.mp3=a.mp3\r\nd.mp3=c.mp3\r\n\r\n[other]\r\nx=1\r\n\r\n[deleted]\r\ne=f\r\n");

    ASSERT_TRUE(WriteIniSection(file, "renamed", {{"g", "h"}}).ok);
    EXPECT_EQ(ReadAll(file), "; log\r\n[renamed]\r\ng=h\r\n\r\n[other]\r\nx=1\r\n\r\n[deleted]\r\ne=f\r\n");

    // A line break would make new keys or sections out of a value.
    const std::string before = ReadAll(file);
    EXPECT_FALSE(WriteIniString(file, "other", "x", "1\r\n[evil]").ok);
    EXPECT_FALSE(WriteIniSection(file, "other", {{"x", "2\n"}}).ok);
    EXPECT_EQ(ReadAll(file), before);
}

// A settings file edited in a UTF-8 editor: read in code page 1251, written
// back in UTF-8 with the lines the program did not change as they were.
TEST(WriteIni, KeepsTheEncodingOfAUtf8File) {
    TempDir dir;
    const std::string file = dir.Write("TdSettings.ini", "[other]\nnote=Кино \xE2\x99\xAB\n[Settings]\nHomeDir=/Музыка\n");
    EXPECT_EQ(ReadIniString(file, "settings", "HomeDir"), Cp("/Музыка"));
    ASSERT_TRUE(WriteIniSection(file, "Settings", {{"HomeDir", Cp("/Песни")}}).ok);
    EXPECT_EQ(ReadAll(file), "[other]\nnote=Кино \xE2\x99\xAB\n[Settings]\nHomeDir=/Песни\n");
}

// One file read by each documented variation: what each gives for the section.
TEST(ReadIniSection, OptionsGiveEachReadersRules) {
    TempDir dir;
    const std::string file = dir.Write("x.ini",
                                       "top=1\r\n"
                                       "[Renamed]\r\n"
                                       " A.mp3 = \"b.mp3\" \r\n"
                                       "[c=d].mp3=e.mp3\r\n"
                                       ";f.mp3=g.mp3\r\n"
                                       "a.mp3=h.mp3\r\n"
                                       "bare line\r\n"
                                       "[renamed]\r\n"
                                       "other=1\r\n");
    IniReadOptions exactCase;
    exactCase.sectionCase = true;
    IniReadOptions lastWins;
    lastWins.duplicates = IniDuplicates::kLastWins;
    IniReadOptions whole = kIniAsWritten;
    whole.noSections = whole.bareLines = true;
    struct Row {
        const char* what;
        const char* section;
        IniReadOptions options;
        IniPairs want;
    };
    for (const Row& row : std::initializer_list<Row>{
             // "[c=d].mp3=e.mp3" is a header here: the section ends before it.
             {"usual", "renamed", {}, {{"A.mp3", "b.mp3"}}},
             {"section with case, the later one", "renamed", exactCase, {{"other", "1"}}},
             {"section with case", "Renamed", exactCase, {{"A.mp3", "b.mp3"}}},
             {"as written", "RENAMED", kIniAsWritten,
              {{" A.mp3 ", " \"b.mp3\" "}, {"[c", "d].mp3=e.mp3"}, {";f.mp3", "g.mp3"}, {"a.mp3", "h.mp3"}}},
             {"no sections", "ignored", whole,
              {{"top", "1"}, {"", ""}, {" A.mp3 ", " \"b.mp3\" "}, {"[c", "d].mp3=e.mp3"},
               {";f.mp3", "g.mp3"}, {"a.mp3", "h.mp3"}, {"", ""}, {"", ""}, {"other", "1"}}},
         }) {
        IniSection got;
        ASSERT_TRUE(ReadIniSection(file, row.section, got, row.options).ok) << row.what;
        EXPECT_EQ(got.pairs(), row.want) << row.what;
    }

    const std::string dup = dir.Write("dup.ini", "[s]\r\nKey=1\r\nkey=2\r\n");
    IniSection first, last, all;
    ASSERT_TRUE(ReadIniSection(dup, "s", first).ok && ReadIniSection(dup, "s", last, lastWins).ok &&
                ReadIniSection(dup, "s", all, kIniAsWritten).ok);
    EXPECT_EQ(*first.Find("KEY"), "1");
    EXPECT_EQ(*last.Find("KEY"), "2");
    EXPECT_EQ(last.pairs(), (IniPairs{{"Key", "2"}}));
    EXPECT_EQ(all.pairs(), (IniPairs{{"Key", "1"}, {"key", "2"}}));
    EXPECT_EQ(*all.Find("key"), "1");
}

TEST(ReadIniSection, LimitsOfTheOptionsRefuseTheFile) {
    TempDir dir;
    const std::string file = dir.Write("x.ini", "[s]\r\na=1\r\nb=2\r\nc=3\r\n");
    IniSection got;
    IniReadOptions two;
    two.maxEntries = 2;
    EXPECT_FALSE(ReadIniSection(file, "s", got, two).ok);
    EXPECT_TRUE(got.pairs().empty());
    IniReadOptions small;
    small.maxBytes = 8;
    EXPECT_FALSE(ReadIniSection(file, "s", got, small).ok);
    EXPECT_TRUE(ReadIniSection(file, "s", got, kIniAsWritten).ok);
    EXPECT_EQ(got.pairs().size(), 3u);
}

}  // namespace
}  // namespace tandrel
