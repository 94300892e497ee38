#include "rename/structural.h"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <filesystem>

#include "rename/rename_support.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
using Names = std::vector<std::string>;

NumberingOptions Numbering(bool addingNumber, int width, const std::string& split, bool useM3u = false) {
    NumberingOptions o;
    o.addingNumber = addingNumber;
    o.numberFormat = width;
    o.numberSplit = split;
    o.useM3u = useM3u;
    return o;
}

void SetTime(const std::string& path, long unixTime) {
    const timeval times[2] = {{unixTime, 0}, {unixTime, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0) << path;
}

TEST(AddNumbering, NumbersInAlphabeticalOrPlaylistOrder) {
    struct Case {
        const char* what;
        NumberingOptions options;
        Names files;
        std::string playlist;
        Names after;
    };
    const Case cases[] = {
        {"alphabetical", Numbering(true, 2, "_"), {"b.mp3", "a.mp3", "Б.mp3", "а.mp3"}, "",
         {"01_a.mp3", "02_b.mp3", "03_а.mp3", "04_Б.mp3"}},
        {"no number", Numbering(false, 2, "new_"), {"b.mp3", "a.mp3"}, "", {"new_a.mp3", "new_b.mp3"}},
        {"playlist", Numbering(true, 2, "_", true), {"a.mp3", "b.mp3", "c.mp3"},
         "#EXTM3U\r\n#EXTINF:1,C\r\nC:\\Music\\c.mp3\r\n\r\n/home/ann/A.MP3\r\nmissing.mp3\r\n",
         {"01_c.mp3", "02_a.mp3", "03_b.mp3", "list.m3u"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        for (const std::string& f : c.files) tmp.Write(f, f);
        if (!c.playlist.empty()) tmp.Write("list.m3u", c.playlist);
        ScriptedPrompter p;
        AddNumbering(tmp.str(), "*.mp3", c.options, p);
        EXPECT_EQ(FileNames(tmp.str()), Sorted(c.after));
    }
}

TEST(AddNumbering, LongerNumbersAreNotCut) {
    TempDir tmp;
    for (int i = 0; i < 100; ++i) tmp.Write("f" + std::to_string(1000 + i) + ".txt", "x");
    ScriptedPrompter p;
    EXPECT_EQ(AddNumbering(tmp.str(), "*.txt", Numbering(true, 2, "_"), p).renamed, 100);
    EXPECT_TRUE(std::filesystem::exists(tmp / "01_f1000.txt"));
    EXPECT_TRUE(std::filesystem::exists(tmp / "99_f1098.txt"));
    EXPECT_TRUE(std::filesystem::exists(tmp / "100_f1099.txt"));
}

TEST(DeleteFirstSymbols, CutsLogsAsDeletedAndRenamesBack) {
    TempDir tmp;
    tmp.Write("01 Song.mp3", "song");
    tmp.Write("sub/02 Песня.mp3", "deep");
    ScriptedPrompter p;
    const RenameStats stats = DeleteFirstSymbols(tmp.str(), "*.*", 3, true, true, p);
    EXPECT_EQ(stats.renamed, 2);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"Song.mp3", "rename.ini"}));
    EXPECT_EQ(ReadAll(tmp / "rename.ini"), "[deleted]\r\nSong.mp3=01 Song.mp3\r\n");
    EXPECT_EQ(ReadAll(tmp / "sub/rename.ini"), Cp("[deleted]\r\nПесня.mp3=02 Песня.mp3\r\n"));

    RenameOptions back;
    back.recursive = true;
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kDeletedSection, back, p).renamed, 2);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"01 Song.mp3", "rename.ini"}));
    EXPECT_EQ(FileNames(tmp / "sub"), (Names{"02 Песня.mp3", "rename.ini"}));
    EXPECT_EQ(ReadAll(tmp / "01 Song.mp3"), "song");
}

TEST(DeleteFirstSymbols, NameWithNothingLeftIsNotRenamed) {
    TempDir tmp;
    tmp.Write("abc", "x");
    ScriptedPrompter p;
    const RenameStats stats = DeleteFirstSymbols(tmp.str(), "*.*", 3, false, true, p);
    EXPECT_EQ(stats.refused, 1);
    EXPECT_EQ(p.statusText(), "abc not renamed!!!");
    EXPECT_EQ(FileNames(tmp.str()), Names{"abc"});
}

TEST(SortByDateAndNumber, NumbersOldestFirstUnderTheStartName) {
    TempDir tmp;
    const long y2005 = 1104580800, y2009 = 1261656000 /* 24 Dec 2009 */, y2015 = 1420113600;
    tmp.Write("newest.JPG", "3");
    tmp.Write("IMG.JPG", "1");
    tmp.Write("b.jpg", "2b");
    tmp.Write("A.jpg", "2a");
    tmp.Write("README", "4");
    SetTime(tmp / "newest.JPG", y2015 + 100);
    SetTime(tmp / "IMG.JPG", y2005);
    SetTime(tmp / "b.jpg", y2009);
    SetTime(tmp / "A.jpg", y2009);
    SetTime(tmp / "README", y2015 + 200);
    NumberingOptions o = Numbering(true, 3, "_");
    o.endingNumber = true;
    ScriptedPrompter p;
    EXPECT_EQ(SortByDateAndNumber(tmp.str(), "*.*", o, "Trip", 1, p).renamed, 5);
    EXPECT_EQ(ReadAll(tmp / "Trip_001.jpg"), "1");
    EXPECT_EQ(ReadAll(tmp / "Trip_002.jpg"), "2a");  // equal times: by name
    EXPECT_EQ(ReadAll(tmp / "Trip_003.jpg"), "2b");
    EXPECT_EQ(ReadAll(tmp / "Trip_004.jpg"), "3");   // after 2009 still after the older ones
    EXPECT_EQ(ReadAll(tmp / "Trip_005"), "4");       // no extension, no full stop
}

TEST(SortByDateAndNumber, NameRules) {
    struct Case { bool adding; bool ending; const char* startName; const char* before; const char* after; };
    const Case cases[] = {
        {true, false, "", "a.b.MP3", "0_a.mp3"},
        {true, true, "", "a.b.MP3", "a_0.mp3"},
        {true, false, "Trip", "x.JPG", "0_Trip.jpg"},
        {false, true, "Trip", "x.JPG", "x.JPG_"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        TempDir tmp;
        tmp.Write(c.before, "x");
        NumberingOptions o = Numbering(c.adding, 1, "_");
        o.endingNumber = c.ending;
        ScriptedPrompter p;
        SortByDateAndNumber(tmp.str(), "*.*", o, c.startName, 0, p);
        EXPECT_EQ(FileNames(tmp.str()), Names{c.after});
    }
}

TEST(ChangeExtensions, TargetsWithAndWithoutAFullStop) {
    struct Case { const char* source; const char* target; Names after; const char* status; };
    const Case cases[] = {
        {"*.txt", "*.cd", {"a.cd", "b", "c.mp3", "d.TXT.cd"}, ""},
        {"*.txt", "*", {"a", "a.txt", "b", "c.mp3", "d.TXT"}, "File a already exists!!!"},
        {"*.", "*.txt", {"a.txt", "b.txt", "c.mp3", "d.TXT.txt"}, ""},
        {"*", "*.", {"a.", "b.", "c.", "d.TXT."}, ""},
        {"*.TXT", "*.cd", {"a.txt", "b", "c.mp3", "d.TXT.txt"}, ""},
        {"*.txt", "*.*", {"a.txt", "b", "c.mp3", "d.TXT.txt"}, "not renamed!!!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        TempDir tmp;
        for (const char* n : {"a.txt", "b", "c.mp3", "d.TXT.txt"}) tmp.Write(n, n);
        if (std::string(c.target) == "*") tmp.Write("a", "taken");
        ScriptedPrompter p;
        ChangeExtensions(tmp.str(), c.source, c.target, false, p);
        EXPECT_EQ(FileNames(tmp.str()), Sorted(c.after));
        if (*c.status) {
            EXPECT_NE(p.statusText().find(c.status), std::string::npos) << p.statusText();
        }
    }
}

TEST(LowerCaseExtensions, OnlyTheExtensionChanges) {
    TempDir tmp;
    for (const char* n : {"A.MP3", "B.Txt", "README", "c.mp3", "Ё.ЁЖ"}) tmp.Write(n, n);
    ScriptedPrompter p;
    EXPECT_EQ(LowerCaseExtensions(tmp.str(), "*.*", false, p).renamed, 3);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"A.mp3", "B.txt", "README", "c.mp3", "Ё.еж"}));
}

}  // namespace
}  // namespace tandrel
