#include "platform/ini.h"

#include <filesystem>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tandrel
