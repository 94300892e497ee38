#include "catalog/dirtree.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/datetime.h"
#include "catalog_support.h"
#include "platform/collation.h"
#include "support/as_user.h"
#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"

namespace tandrel {
namespace {

using test::CrLfLines;
using test::ListingOrder;
using Lines = std::vector<std::string>;

// 5 December 2026, 12:00 UTC: the same date in every time zone from -11 to +11.
constexpr std::int64_t kDecember5 = 1796472000;

// The worked example: Music holds a.mp3, Rock (b.mp3 and Old with c.mp3) and z.txt.
class TreeExample : public ::testing::Test {
protected:
    void SetUp() override {
        tmp.Write("Music/a.mp3", "1");
        tmp.Write("Music/Rock/b.mp3", "2");
        tmp.Write("Music/Rock/Old/c.mp3", "3");
        tmp.Write("Music/z.txt", "4");
        std::filesystem::create_directories(out);
    }
    // The example's lines in the listing order: the start lines, each entry's
    // line, a directory's content after its line, then its closing line.
    Lines Expected(const Lines& start, const std::string& a, const std::string& rock, const std::string& b,
                   const Lines& old, const std::string& closing) {
        Lines rockContent;
        for (const std::string& name : ListingOrder(music + "/Rock")) {
            if (name == "b.mp3") rockContent.push_back(b);
            if (name == "Old") rockContent.insert(rockContent.end(), old.begin(), old.end());
        }
        Lines lines = start;
        for (const std::string& name : ListingOrder(music)) {
            if (name == "a.mp3") lines.push_back(a);
            if (name != "Rock") continue;
            lines.push_back(rock);
            lines.insert(lines.end(), rockContent.begin(), rockContent.end());
            lines.push_back(closing);
        }
        lines.push_back(closing);
        return lines;
    }
    Lines Tree(int mode, bool addingDate = false) {
        TreeOptions o;
        o.treeMode = mode;
        o.treeNameMode = 1;
        o.addingDate = addingDate;
        o.now = kDecember5;
        const CatalogStats stats = MakeTree(music, out, "*.mp3", o, prompter);
        EXPECT_TRUE(stats.failures.empty()) << stats.failures.front();
        EXPECT_EQ(stats.written, Lines{out + "/Music.td"});
        EXPECT_EQ(stats.directories, 3);
        return CrLfLines(out + "/Music.td");
    }
    test::TempDir tmp;
    std::string music = tmp / "Music";
    std::string out = tmp / "out";
    test::ScriptedPrompter prompter;
};

TEST_F(TreeExample, LinesAndIndentsInListingOrder) {
    // Mode 2: Music, a.mp3 and Rock by 4 spaces, b.mp3 and Old by 8, c.mp3 by
    // 12, three empty closing lines. Mode 3 the same one level less, without
    // Music. Mode 1: bars and "+---" prefixes, three closing bars.
    EXPECT_EQ(Tree(2), Expected({"Music"}, "    a.mp3", "    Rock", "        b.mp3",
                                {"        Old", "            c.mp3", ""}, ""));
    EXPECT_EQ(Tree(3), Expected({}, "a.mp3", "Rock", "    b.mp3", {"    Old", "        c.mp3", ""}, ""));
    EXPECT_EQ(Tree(1), Expected({"Music"}, "|   a.mp3", "+---Rock", "|       b.mp3",
                                {"+-------Old", "|           c.mp3", "|"}, "|"));
}

TEST_F(TreeExample, FullPathsSorted) {
    EXPECT_EQ(Tree(0), (Lines{music, music + "/a.mp3", music + "/Rock", music + "/Rock/b.mp3", music + "/Rock/Old",
                              music + "/Rock/Old/c.mp3"}));
}

TEST_F(TreeExample, DateLinesComeFirstOrAreSortedInAmongFullPaths) {
    const std::string date = "Date: " + FormatDate(kDecember5), time = "Time: " + FormatTime(kDecember5);
    const Lines indented = Tree(3, true);
    ASSERT_GE(indented.size(), 3u);
    EXPECT_EQ(Lines(indented.begin(), indented.begin() + 3), (Lines{date, time, ""}));
    EXPECT_EQ(indented.size(), 3u + 8u);

    const Lines full = Tree(0, true);
    Lines expected = {music, music + "/a.mp3", music + "/Rock", music + "/Rock/b.mp3", music + "/Rock/Old",
                      music + "/Rock/Old/c.mp3", date, time, ""};
    SortTextLocale(expected);
    EXPECT_EQ(full, expected);
}

TEST_F(TreeExample, ModeOutsideTheRangeIsIndentedWithoutTheStartLine) {
    const Lines lines = Tree(7);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Music"), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "    a.mp3"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "            c.mp3"), 1);
}

TEST(TreeFile, NameModes) {
    struct Case { int mode; const char* name; };
    const Case cases[] = {{0, "2026.12.05.td"}, {1, "Music.td"}, {2, "2026.12.05_Music.td"},
                          {3, "Music_2026.12.05.td"}, {4, "Tree.td"}, {-1, "Tree.td"}};
    test::TempDir tmp;
    tmp.Write("Music/a.mp3", "1");
    for (const Case& c : cases) {
        test::ScriptedPrompter prompter;
        TreeOptions o;
        o.treeNameMode = c.mode;
        o.now = kDecember5;
        const CatalogStats stats = MakeTree(tmp / "Music/", tmp.str(), "*.*", o, prompter);
        EXPECT_EQ(stats.written, Lines{tmp / c.name}) << c.mode;
        EXPECT_TRUE(std::filesystem::exists(tmp / c.name)) << c.name;
    }
    // The root has no last component: its name is "root", never one with a "/".
    EXPECT_EQ(TreeFileName(3, "/", "2026.12.05"), "root_2026.12.05.td");
}

TEST(TreeFile, WrittenAsCodePage1251) {
    test::TempDir tmp;
    tmp.Write("Музыка/Ёлка.mp3", "1");
    test::ScriptedPrompter prompter;
    TreeOptions o;
    o.treeMode = 2;
    o.treeNameMode = 1;
    const CatalogStats stats = MakeTree(Cp(tmp / "Музыка"), tmp.str(), "*.mp3", o, prompter);
    ASSERT_EQ(stats.written.size(), 1u);
    EXPECT_EQ(test::ReadAll(tmp / "Музыка.td"), Cp("Музыка\r\n    Ёлка.mp3\r\n\r\n"));
}

TEST(TreeFile, DirectoryWithoutMatchesKeepsItsLineAndClosingLine) {
    test::TempDir tmp;
    tmp.Write("Music/Empty/a.txt", "1");
    test::ScriptedPrompter prompter;
    TreeOptions o;
    o.treeMode = 1;
    o.treeNameMode = 5;
    CatalogStats stats;
    EXPECT_EQ(TreeLines(tmp / "Music", "*.mp3", o, prompter, stats), (Lines{"Music", "+---Empty", "|", "|"}));
}

TEST(TreeFile, UnwritableDirectoryIsAFailure) {
    test::TempDir tmp;
    tmp.Write("Music/a.mp3", "1");
    test::ScriptedPrompter prompter;
    const CatalogStats stats = MakeTree(tmp / "Music", tmp / "missing", "*.*", TreeOptions{}, prompter);
    EXPECT_TRUE(stats.written.empty());
    ASSERT_EQ(stats.failures.size(), 1u);
    EXPECT_EQ(stats.failures[0].rfind(tmp / "missing/1970.01.01.td not written!!! (", 0), 0u) << stats.failures[0];
}

TEST(TreeFile, UnreadableDirectoryIsReportedOnceAndTheWalkGoesOn) {
    test::TempDir tmp;
    tmp.Write("Music/a.mp3", "1");
    tmp.Write("Music/locked/b.mp3", "2");
    const std::string locked = tmp / "Music/locked";
    const std::string report = tmp / "report.txt";
    const int code = test::RunAsUser(tmp.str(), [&] {
        if (::chmod(locked.c_str(), 0) != 0) return 2;
        test::ScriptedPrompter prompter;
        TreeOptions o;
        o.treeMode = 0;
        o.treeNameMode = 1;
        const CatalogStats stats = MakeTree(tmp / "Music", tmp.str(), "*.mp3", o, prompter);
        std::ofstream r(report);
        for (const std::string& f : stats.failures) r << f << "\n";
        r << "--\n" << test::ReadAll(tmp / "Music.td");
        return 0;
    });
    ASSERT_EQ(code, 0);
    EXPECT_EQ(test::ReadAll(report), "Cannot read " + locked + ": Permission denied\n--\n" + tmp / "Music" + "\r\n" +
                                         tmp / "Music/a.mp3" + "\r\n" + locked + "\r\n");
}

// A tree of part of the directories would pass for the whole: a stopped walk writes none.
TEST_F(TreeExample, StoppedWalkWritesNoTree) {
    prompter.StopAfterFiles(1);
    TreeOptions o;
    o.treeNameMode = 1;
    const CatalogStats stats = MakeTree(music, out, "*.mp3", o, prompter);
    EXPECT_TRUE(stats.cancelled);
    EXPECT_TRUE(stats.written.empty());
    EXPECT_TRUE(std::filesystem::is_empty(out));
    const ProgressInfo& last = prompter.progressReports().back();
    EXPECT_EQ(last.files, 1);
    EXPECT_EQ(last.entry.rfind(music, 0), 0u);
}

}  // namespace
}  // namespace tandrel
