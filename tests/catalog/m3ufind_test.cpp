#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/dirwalk.h"
#include "catalog/m3ufind.h"
#include "platform/files.h"
#include "support/as_user.h"
#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "text/transforms.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

TEST(M3UFindRules, QueryByMaskSettings) {
    M3UFindOptions anyMask;
    M3UFindOptions noAnyMask;
    noAnyMask.anyMask = false;
    M3UFindOptions searchMask;
    searchMask.useMask = true;
    searchMask.searchMask = "*.mp3;*.wav";
    struct Case { const char* entry; const M3UFindOptions& o; EntryQuery query; };
    const Case cases[] = {
        {"D:\\Music\\Song.MP3", anyMask, {"Song.MP3", "*.MP3"}},
        {"song", anyMask, {"song", ""}},  // every file
        {"song", noAnyMask, {"song", "*.song"}},
        {"x\\Song.wav", searchMask, {"Song", "*.mp3;*.wav"}},  // the name loses its extension
        {"song", searchMask, {"", "*.mp3;*.wav"}},
    };
    for (const Case& c : cases) EXPECT_EQ(FindQueryFor(c.entry, c.o), c.query) << c.entry;
}

TEST(M3UFindRules, MaskFilterLowerCasesBothSidesAndAdmitsNamesWithoutExtension) {
    struct Case { const char* mask; const char* name; bool admitted; };
    const Case cases[] = {
        {"*.mp3", "A.MP3", true}, {"*.MP3", "a.mp3", true}, {"*.mp3", "a.wav", false},
        {"*.mp3", "README", true}, {"*.mp3;*.wav", "b.wav", true}, {"*.*", "x.txt", true},
        {"", "x.txt", true},        {"*.song", "songbook", true}, {"*.song", "song.mp3", false},
    };
    for (const Case& c : cases) EXPECT_EQ(FindMaskAdmits(c.mask, c.name), c.admitted) << c.mask << " " << c.name;
}

class M3UFindTest : public ::testing::Test {
protected:
    M3UFindResult Find(const Lines& playlist, const M3UFindOptions& o = {}, Lines roots = {}) {
        if (roots.empty()) roots = {tmp.str()};
        return FindPlaylistFiles(playlist, roots, o, prompter);
    }
    // The files of dir in listing order.
    static Lines Listed(const std::string& dir) {
        Lines names;
        FileFind find;
        FindData e;
        for (bool more = find.FindFirst(dir + "/*", e); more; more = find.FindNext(e))
            if (!e.IsDirectory()) names.push_back(e.name);
        return names;
    }

    test::TempDir tmp;
    test::ScriptedPrompter prompter;
};

TEST_F(M3UFindTest, WindowsEntryIsFoundByItsFileNameWithoutRegardToCase) {
    tmp.Write("a/ARTIST - title.mp3", "");
    tmp.Write("a/Artist - Title.wav", "");
    tmp.Write("b/ЕЛКА.MP3", "");
    const M3UFindResult r = Find({"#EXTM3U", "#EXTINF:1,x", "D:\\Music\\Artist - Title.mp3", "", Cp("C:\\Ёлка.mp3"),
                                  "gone.mp3"});
    EXPECT_EQ(r.lines, (Lines{"#EXTM3U", "#EXTINF:1,x", tmp / "a/ARTIST - title.mp3", Cp(tmp / "b/ЕЛКА.MP3"),
                              "gone.mp3"}));  // the empty line is gone, the lost entry stays
    EXPECT_EQ(r.entries, 3u);
    EXPECT_EQ(r.found, 2u);
    const Lines progress = prompter.Texts(test::PromptKind::Progress);
    EXPECT_NE(std::find(progress.begin(), progress.end(), tmp / "a"), progress.end());
}

TEST_F(M3UFindTest, AnyMaskEntryWithoutExtensionMatchesEveryFileContainingIt) {
    for (const char* name : {"song.mp3", "sub/My Song.txt", "sub/deep/songbook", "other.mp3"}) tmp.Write(name, "");
    M3UFindOptions o;
    o.searchAll = true;
    Lines found = Find({"song"}, o).lines;
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Lines{tmp / "song.mp3", tmp / "sub/My Song.txt", tmp / "sub/deep/songbook"}));
    o.anyMask = false;  // the mask "*.song" admits names without an extension only
    EXPECT_EQ(Find({"song"}, o).lines, Lines{tmp / "sub/deep/songbook"});
}

TEST_F(M3UFindTest, SingleModeTakesTheLaterMatchOfTheSameListing) {
    for (const char* name : {"x song 1.mp3", "x song 2.mp3", "x song 3.mp3", "other.mp3"}) tmp.Write(name, "");
    Lines matches = Listed(tmp.str());
    std::erase(matches, "other.mp3");
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(Find({"D:\\song"}).lines, Lines{tmp / matches.back()});  // no extension: every file
}

TEST_F(M3UFindTest, SearchAllPutsEveryPathInTheEntrysPlaceInWalkOrder) {
    for (const char* name : {"1/song.mp3", "2/song.mp3", "2/3/Song.MP3", "2/3/song.wav"}) tmp.Write(name, "");
    Lines walkOrder;
    WalkHandler h;
    h.onFile = [&](const std::string& dir, const FindData& f) {
        if (ToLowerCase(f.name) == "song.mp3") walkOrder.push_back(dir + "/" + f.name);
    };
    WalkDirectory(tmp.str(), true, nullptr, h);
    M3UFindOptions o;
    o.searchAll = true;
    Lines expected = {"before"};
    expected.insert(expected.end(), walkOrder.begin(), walkOrder.end());
    expected.push_back("after");
    ASSERT_EQ(walkOrder.size(), 3u);
    EXPECT_EQ(Find({"before", "D:\\song.mp3", "after"}, o).lines, expected);
}

TEST_F(M3UFindTest, AddFileNameRewritesEveryLine) {
    tmp.Write("m/song.mp3", "");
    M3UFindOptions o;
    o.addFileName = true;
    EXPECT_EQ(Find({"#EXTM3U", "C:\\Music\\song.mp3", "C:\\Music\\gone.mp3", "/m/a\\lost.mp3"}, o).lines,
              (Lines{"#EXTM3U \t[]", "song.mp3 \t[" + (tmp / "m") + "]", "gone.mp3 \t[C:\\Music]",
                     "lost.mp3 \t[/m/a]"}));
}

TEST_F(M3UFindTest, RootsAreSearchedInOrderAndAFoundEntrySkipsTheLaterOnes) {
    tmp.Write("r1/song.mp3", "");
    tmp.Write("r2/song.mp3", "");
    tmp.Write("r2/only2.mp3", "");
    const std::string none = tmp / "none";
    const M3UFindResult r = Find({"song.mp3", "only2.mp3"}, {}, {none, tmp / "r1", none, tmp / "r2"});
    EXPECT_EQ(r.lines, (Lines{tmp / "r1/song.mp3", tmp / "r2/only2.mp3"}));
    // The missing root yields nothing and is reported once.
    EXPECT_EQ(r.unreadable, Lines{CannotReadText(none, "No such file or directory")});
    EXPECT_EQ(prompter.Count(test::PromptKind::Status), 1u);
}

TEST_F(M3UFindTest, SearchMaskReplacesTheEntrysExtension) {
    tmp.Write("song.wav", "");
    tmp.Write("sub/Song.mp3", "");
    M3UFindOptions o;
    o.useMask = true;
    o.searchMask = "*.mp3";
    EXPECT_EQ(Find({"Song.wav", "noext"}, o).lines, (Lines{tmp / "sub/Song.mp3", "noext"}));
}

TEST_F(M3UFindTest, EmptyNameMatchesNothing) {
    tmp.Write("a.mp3", "");
    M3UFindOptions o;
    o.searchAll = true;
    o.useMask = true;
    o.searchMask = "*.*";
    EXPECT_EQ(Find({"D:\\Music\\", "x/.mp3"}, o).lines, (Lines{"D:\\Music\\", "x/.mp3"}));
}

TEST_F(M3UFindTest, EntryWithAnEmptyNameDoesNotKeepTheWalkGoing) {
    tmp.Write("r1/a.mp3", "");
    tmp.Write("r2/b.mp3", "");
    EXPECT_EQ(Find({"a.mp3", "D:\\Music\\"}, {}, {tmp / "r1", tmp / "r2"}).lines,
              (Lines{tmp / "r1/a.mp3", "D:\\Music\\"}));
    // Every entry that can be found is found in the first root: the second is not listed.
    EXPECT_EQ(prompter.Texts(test::PromptKind::Progress), Lines{tmp / "r1"});
}

TEST_F(M3UFindTest, SymlinkedDirectoryIsNotEntered) {
    tmp.Write("outside/song.mp3", "");
    tmp.Write("tree/a.mp3", "");
    std::filesystem::create_directory_symlink("../outside", tmp / "tree/link");
    EXPECT_EQ(Find({"song.mp3"}, {}, {tmp / "tree"}).lines, Lines{"song.mp3"});
}

TEST_F(M3UFindTest, UnreadableDirectoryIsReportedOnceAndTheWalkGoesOn) {
    tmp.Write("t/locked/song.mp3", "");
    tmp.Write("t/open/song.mp3", "");
    const std::string tree = tmp / "t", locked = tmp / "t/locked", report = tmp / "report.txt";
    const int code = test::RunAsUser(tmp.str(), [&] {
        if (::chmod(locked.c_str(), 0) != 0) return 2;
        M3UFindOptions o;
        o.searchAll = true;
        const M3UFindResult r = FindPlaylistFiles({"song.mp3"}, {tree, tree}, o, prompter);
        std::ofstream out(report);
        for (const std::string& line : r.unreadable) out << line << "\n";
        for (const std::string& line : r.lines) out << line << "\n";
        return 0;
    });
    ASSERT_EQ(code, 0);
    const std::string open = tmp / "t/open/song.mp3";
    EXPECT_EQ(test::ReadAll(report), "Cannot read " + locked + ": Permission denied\n" + open + "\n" + open + "\n");
}

TEST_F(M3UFindTest, StoppedFindKeepsTheEntriesFoundAndLeavesTheRest) {
    tmp.Write("r1/a.mp3", "");
    tmp.Write("r1/x.txt", "");
    tmp.Write("r2/b.mp3", "");
    // The find shows directories only: the user sees the second root begin
    // with the two files of the first counted, and stops it there.
    prompter.StopAfterFiles(2);
    const M3UFindResult r = Find({"a.mp3", "D:\\b.mp3"}, {}, {tmp / "r1", tmp / "r2"});
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.lines, (Lines{tmp / "r1/a.mp3", "D:\\b.mp3"}));
    EXPECT_EQ(r.found, 1u);
    EXPECT_EQ(prompter.Texts(test::PromptKind::Progress), (Lines{tmp / "r1", tmp / "r2"}));
}

}  // namespace
}  // namespace tandrel
