#include "tags/id3v1.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/tempdir.h"
#include "tagbytes.h"

namespace tandrel {
namespace {

using namespace test;

// A record with the given bytes 125 and 126 and a 30-byte comment "C" x 28 + those two.
std::string Record(const std::string& title, int b125, int b126, int genre) {
    std::string r = "TAG";
    r += title + Zeros(30 - title.size());          // 3: title
    r += "Artist" + Zeros(30 - 6);                  // 33: artist
    r += "Album" + Zeros(30 - 5);                   // 63: album
    r += "1999";                                    // 93: year
    r += std::string(28, 'C') + Bytes({b125, b126});  // 97: comment 28 + 2
    r += Bytes({genre});                            // 127: genre
    return r;
}

TEST(ID3v1, ReadsVersionTrackCommentAndGenreByTheLastBytes) {
    struct Case { int b125, b126; int version, track; std::size_t commentLength; };
    const Case cases[] = {
        {0x00, 0x05, 2, 5, 28},   // zero byte and track
        {0x20, 0x41, 2, 65, 28},  // space and a byte other than space
        {0x20, 0x20, 1, 0, 28},   // two spaces: comment text (trailing, so trimmed)
        {0x00, 0x00, 1, 0, 28},   // trailing zero bytes are cut from the 30-byte comment
        {0x41, 0x00, 1, 0, 29},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write("a.mp3", Audio() + Record("Abc", c.b125, c.b126, 200));
        TID3v1 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        EXPECT_TRUE(tag.Exists());
        EXPECT_EQ(tag.VersionID(), c.version) << c.b125 << "/" << c.b126;
        EXPECT_EQ(tag.Track(), c.track);
        EXPECT_EQ(tag.Comment().size(), c.commentLength) << c.b125 << "/" << c.b126;
        EXPECT_EQ(tag.Title(), "Abc");
        EXPECT_EQ(tag.Year(), "1999");
        EXPECT_EQ(tag.GenreID(), 200);  // kept as stored; no genre for its users
        EXPECT_EQ(GenreName(tag.GenreID()), "");
        EXPECT_EQ(GenreName(133), "Afro-Punk");
    }
}

TEST(ID3v1, SettersTrimOnlyTrailingBlanksAndCutToCapacity) {
    TID3v1 tag;
    tag.SetTitle("  \xC5\xEB  \t");  // Cyrillic bytes are not blanks
    tag.SetYear("2003-05");
    EXPECT_EQ(tag.Title(), "  \xC5\xEB");
    EXPECT_EQ(tag.Year(), "2003");
}

TEST(ID3v1, ShortFilesAndFilesWithoutTag) {
    test::TempDir dir;
    const std::string shortFile = dir.Write("short.mp3", std::string(127, 'x'));
    TID3v1 tag;
    EXPECT_FALSE(tag.ReadFromFile(shortFile));
    EXPECT_FALSE(tag.SaveToFile(shortFile));
    EXPECT_FALSE(tag.LastError().empty());
    EXPECT_EQ(ReadAll(shortFile), std::string(127, 'x'));
    EXPECT_FALSE(tag.ReadFromFile(dir.str()));  // a folder
    EXPECT_FALSE(tag.ReadFromFile(dir / "missing.mp3"));
    EXPECT_FALSE(tag.SaveToFile(dir / "a\x98.mp3"));  // a name outside code page 1251

    const std::string plain = dir.Write("plain.mp3", Audio(128));
    ASSERT_TRUE(tag.ReadFromFile(plain));
    EXPECT_FALSE(tag.Exists());
    EXPECT_EQ(tag.GenreID(), kNoGenre);
}

TEST(ID3v1, SavingWritesOneTagInPlaceOfTheOld) {
    test::TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio());
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    {
        TID3v1 tag;
        tag.SetTitle("First");
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();  // appended
        tag.SetTitle("\xC7\xE2\xE5\xE7\xE4\xE0");             // "Звезда"
        tag.SetComment(std::string(30, 'c'));
        tag.SetTrack(5);
        tag.SetGenreID(17);
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();  // over the first
    }
    EXPECT_TRUE(test::OwnerCanWrite(path));
    const std::string bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 600u + 128u);
    EXPECT_EQ(bytes.substr(0, 600), Audio());
    const std::string expected = std::string("TAG") +
                                 "\xC7\xE2\xE5\xE7\xE4\xE0" + Zeros(30 - 6) +  // title
                                 Zeros(30) +                                    // artist
                                 Zeros(30) +                                    // album
                                 Zeros(4) +                                     // year
                                 std::string(28, 'c') +                         // comment, cut to 28
                                 Bytes({0, 5}) +                                // version 1.1: zero, track
                                 Bytes({17});                                   // genre
    EXPECT_EQ(bytes.substr(600), expected);

    TID3v1 reread;
    ASSERT_TRUE(reread.ReadFromFile(path));
    EXPECT_EQ(reread.VersionID(), 2);
    EXPECT_EQ(reread.Comment(), std::string(28, 'c'));

    ASSERT_TRUE(reread.RemoveFromFile(path));
    EXPECT_EQ(ReadAll(path), Audio());
}

}  // namespace
}  // namespace tandrel
