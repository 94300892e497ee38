#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "search/localfile.h"
#include "text/encoding.h"
#include "support/as_user.h"
#include "support/cp1251_text.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

const ListingMapping kNoMapping{};
const ListingMapping kPubToT{true, "/pub", "T"};

// The hits for query in a listing given as bytes, fed in blocks of blockSize.
Lines Hits(const std::string& listing, const std::string& query, const ListingMapping& mapping = kNoMapping,
           std::size_t blockSize = 4096) {
    Lines results{"left from before"};
    ListingSearch search(query, mapping, results);
    for (std::size_t at = 0; at < listing.size(); at += blockSize)
        search.Feed(listing.data() + at, std::min(blockSize, listing.size() - at));
    return results;
}

TEST(ListingSearchTest, HitsAreListedUnderTheirHeaderWithAnEmptyLineBetweenGroups) {
    const std::string listing =
        "loose song before any header\n"
        "/pub/music:\n"
        "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 song one.mp3\n"
        "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 other.mp3\n"
        "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 Song two.mp3\n"
        "/pub/empty:\n"
        "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 nothing.mp3\n"
        "/pub/Video/:\n"
        "a song here\n";
    EXPECT_EQ(Hits(listing, "song"), (Lines{"loose song before any header",
                                            "",
                                            "/pub/music:",
                                            "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 song one.mp3",
                                            "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 Song two.mp3",
                                            "",
                                            "/pub/Video/:",
                                            "a song here"}));
    // A header is never a hit itself, and a header without hits is absent.
    EXPECT_EQ(Hits(listing, "empty"), Lines{});
    EXPECT_EQ(Hits(listing, "nothing"), (Lines{"/pub/empty:", "-rw-r--r-- 1 ftp ftp 10 Jan 01 12:30 nothing.mp3"}));
}

TEST(ListingSearchTest, MappingReplacesTheSourcePrefixAndJoinsTheName) {
    struct Case {
        const char* listing;
        ListingMapping mapping;
        Lines expected;
    };
    const Case cases[] = {
        {"/pub/music/rock/:\n-rw-r--r-- 1 ftp ftp 4 Jan 01 12:30 song.mp3\n", kPubToT,
         {"/pub/music/rock/:", "T/music/rock/song.mp3"}},
        // A year instead of a time: no ":" in the line, so no name.
        {"/pub/music/rock/:\n-rw-r--r-- 1 ftp ftp 4 Jan 01  2019 song.mp3\n", kPubToT,
         {"/pub/music/rock/:", "T/music/rock/"}},
        // The prefix is found anywhere in the header, case-sensitively.
        {"/srv/pub/a/:\n12:30 song.mp3\n", {true, "/pub", "ftp://h:21"}, {"/srv/pub/a/:", "/srvftp://h:21/a/song.mp3"}},
        {"/PUB/a/:\n12:30 song.mp3\n", kPubToT, {"/PUB/a/:", "/song.mp3"}},
        // A header without the prefix keeps the directory of the last one that had it.
        {"/pub/a/:\n/other/:\n12:30 song.mp3\n", kPubToT, {"/other/:", "T/a/song.mp3"}},
        // Mapping off, or no source path: the line as read.
        {"/pub/a/:\n12:30 song.mp3\n", {false, "/pub", "T"}, {"/pub/a/:", "12:30 song.mp3"}},
        {"/pub/a/:\n12:30 song.mp3\n", {true, "", "T"}, {"/pub/a/:", "/song.mp3"}},
        // A header of the source path alone maps to the target.
        {"/pub:\n12:30 song.mp3\n", kPubToT, {"/pub:", "T/song.mp3"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Hits(c.listing, "song", c.mapping), c.expected) << c.listing;
}

TEST(ListingSearchTest, CaseIsIgnoredCyrillicAndYoIncludedWhileTheHeaderKeepsItsCase) {
    const std::string listing = Cp("/Музыка/Ёлка/:\nЁЛКА ЗЕЛЁНАЯ.mp3\nдругое.mp3\n");
    const Lines expected{Cp("/Музыка/Ёлка/:"), Cp("ЁЛКА ЗЕЛЁНАЯ.mp3")};
    for (const char* query : {"елка", "ЁЛКА", "зелЕная"}) EXPECT_EQ(Hits(listing, Cp(query)), expected) << query;
}

TEST(ListingSearchTest, LinesEndAtLfOnlyEveryCrIsDroppedAndAnUnendedLastLineIsNotRead) {
    struct Case {
        const char* listing;
        Lines expected;
    };
    const Case cases[] = {
        {"/d:\r\nsong a\r\nsong b\r\n", {"/d:", "song a", "song b"}},
        {"/d:\nso\rng a\nsong b", {"/d:", "song a"}},
        {"song a\rsong b\n", {"song asong b"}},
        {"song", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        for (std::size_t block : {1u, 3u, 4096u}) EXPECT_EQ(Hits(c.listing, "song", kNoMapping, block), c.expected);
}

TEST(ListingSearchTest, EmptyQueryFindsNothing) { EXPECT_EQ(Hits("/d:\nsong\n", ""), Lines{}); }

TEST(ListingSearchTest, ProgressSeesEveryLoweredLine) {
    Lines seen, results;
    ListingSearch search("x", kNoMapping, results, [&](const std::string& lowered) { seen.push_back(lowered); });
    const std::string listing = "/Pub:\nA\n";
    search.Feed(listing.data(), listing.size());
    EXPECT_EQ(seen, (Lines{"/pub:", "a"}));
}

TEST(ListingEncodingTest, FirstBlockDecidesUtf8) {
    std::size_t bom = 9;
    EXPECT_TRUE(ListingBlockIsUtf8("\xEF\xBB\xBF/a\n", 6, bom));
    EXPECT_EQ(bom, 3u);
    const std::string utf8 = "/Музыка\n";
    EXPECT_TRUE(ListingBlockIsUtf8(utf8.data(), utf8.size(), bom));
    EXPECT_EQ(bom, 0u);
    EXPECT_TRUE(ListingBlockIsUtf8(utf8.data(), 3, bom));  // a character cut by the end of the block
    const std::string cp = Cp("/Музыка\n");
    EXPECT_FALSE(ListingBlockIsUtf8(cp.data(), cp.size(), bom));
    EXPECT_FALSE(ListingBlockIsUtf8("/ascii\n", 7, bom));
}

class LocalFileTest : public ::testing::Test {
protected:
    test::TempDir tmp;
};

TEST_F(LocalFileTest, Utf8ListingIsSearchedInCodePage1251) {
    const std::string path = tmp.Write("list.txt", "/Музыка/:\n12:30 Ёлка.mp3\n");
    Lines results;
    const ListingRun run = SearchLocalFile(Cp("елка"), path, kNoMapping, results);
    EXPECT_EQ(run.outcome, ListingOutcome::Searched);
    EXPECT_EQ(results, (Lines{Cp("/Музыка/:"), Cp("12:30 Ёлка.mp3")}));
}

TEST_F(LocalFileTest, Utf16ListingAndOneCyrillicOnlyAfterTheFirstBlockAreRead) {
    Lines results;
    const std::string le = tmp.Write("le.txt", "\xFF\xFE" + Utf8ToUtf16("/Музыка/:\r\n12:30 Ёлка.mp3\r\n", false));
    SearchLocalFile(Cp("елка"), le, kNoMapping, results);
    EXPECT_EQ(results, (Lines{Cp("/Музыка/:"), Cp("12:30 Ёлка.mp3")}));
    const std::string late =
        tmp.Write("late.txt", "/pub/:\n" + std::string(2 * 1024 * 1024, 'a') + "\n12:30 Ёлка.mp3\n");
    SearchLocalFile(Cp("ЕЛКА"), late, kNoMapping, results);
    EXPECT_EQ(results, (Lines{"/pub/:", Cp("12:30 Ёлка.mp3")}));
}

TEST_F(LocalFileTest, LongLineSpanningManyBlocksIsOneLine) {
    const std::string name(3 * 1024 * 1024, 'a');
    const std::string path = tmp.Write("list.txt", "/d/:\n12:30 " + name + "song\n");
    Lines results;
    EXPECT_EQ(SearchLocalFile("song", path, {true, "/d", "T"}, results).outcome, ListingOutcome::Searched);
    EXPECT_EQ(results, (Lines{"/d/:", "T/" + name + "song"}));
}

TEST_F(LocalFileTest, MissingListingDoesNothingAndUnreadableOneFailsNamingIt) {
    Lines results{"kept"};
    EXPECT_EQ(SearchLocalFile("a", "", kNoMapping, results).outcome, ListingOutcome::NoListing);
    EXPECT_EQ(SearchLocalFile("a", tmp / "absent.txt", kNoMapping, results).outcome, ListingOutcome::NoListing);
    EXPECT_EQ(results, Lines{"kept"});

    const std::string locked = tmp.Write("locked.txt", "a\n");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    const int code = test::RunAsUser(tmp.str(), [&] {
        const ListingRun run = SearchLocalFile("a", locked, kNoMapping, results);
        if (run.outcome != ListingOutcome::Failed || run.read.ok) return 1;
        return run.read.error.find("locked.txt") != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(code, 0);
}

TEST_F(LocalFileTest, FifoIsRefusedWithoutBlocking) {
    const std::string fifo = tmp / "list.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Lines results;
    const ListingRun run = SearchLocalFile("a", fifo, kNoMapping, results);
    EXPECT_EQ(run.outcome, ListingOutcome::Failed);
    EXPECT_NE(run.read.error.find("list.fifo"), std::string::npos) << run.read.error;
}

}  // namespace
}  // namespace tandrel
