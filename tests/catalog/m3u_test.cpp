#include <gtest/gtest.h>
#include <sys/stat.h>

#include "catalog/m3u.h"
#include "support/cp1251_text.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

TEST(M3ULines, TitlesComeFromExtInfLinesOnly) {
    struct Case { const char* line; bool extInf; const char* title; };
    const Case cases[] = {
        {"#EXTINF:215,Artist - Title", true, "Artist - Title"},
        {"#EXTINF:215", true, ""},  // no comma: an empty title
        {"#EXTINF:-1,Band, Live", true, "Band, Live"},  // after the first comma only
        {"x #EXTINF:3,t", true, "t"},  // the marker anywhere
        {"#extinf:3,t", false, ""},  // case-sensitive
        {"#EXTM3U", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsExtInfLine(c.line), c.extInf) << c.line;
        if (c.extInf) {
            EXPECT_EQ(ExtInfTitle(c.line), c.title) << c.line;
        }
    }
}

TEST(M3ULines, EntryNamesAcceptBothSeparatorsAndKeepADrivePrefixOutOfTheName) {
    struct Case { std::string entry, fileName, bareName; };
    const Case cases[] = {
        {"D:\\Music\\Artist - Title.mp3", "Artist - Title.mp3", "Artist - Title"},
        {"/home/ann/Music/Artist - Title.mp3", "Artist - Title.mp3", "Artist - Title"},
        {"D:song.mp3", "D:song.mp3", "D:song"},  // a drive prefix without a separator is part of the name
        {"Music\\Sub/mixed.name.wav", "mixed.name.wav", "mixed.name"},
        {"song", "song", ""},  // no full stop: no bare name
        {"/dir.with.dots/song", "song", "dir.with"},  // the last full stop decides, even in a directory
        {Cp("C:\\Рок\\Ёлка.mp3"), Cp("Ёлка.mp3"), Cp("Ёлка")},
        {"D:\\Music\\", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EntryFileName(c.entry), c.fileName) << c.entry;
        EXPECT_EQ(EntryBareName(c.entry), c.bareName) << c.entry;
    }
}

TEST(M3ULines, CommandsKeepTheOrderAndSkipDirectivesAndEmptyLines) {
    const Lines playlist = {"#EXTM3U", "#EXTINF:215,One", "D:\\Music\\One.mp3", "", "#EXTINF:10", "two.wav",
                            "# a comment", "three"};
    EXPECT_EQ(PlaylistTitles(playlist), (Lines{"One", ""}));
    EXPECT_EQ(PlaylistBareNames(playlist), (Lines{"One", "two", ""}));
    EXPECT_TRUE(HasPlaylistEntries(playlist));
    EXPECT_FALSE(HasPlaylistEntries({"#EXTM3U", "", "#EXTINF:1,x"}));
    EXPECT_EQ(MediaNames({"a.mp3", "b.c.avi", "noext"}), (Lines{"a", "b.c", ""}));
}

TEST(M3ULines, BareNamesAreSavedBeforeTheFirstFullStopOfTheFileName) {
    EXPECT_EQ(BareNamesFileName("rock.m3u"), "rock.txt");
    EXPECT_EQ(BareNamesFileName("my.list.m3u"), "my.txt");
    EXPECT_EQ(BareNamesFileName("list"), "list.txt");
    // A full stop in a directory of a full output name does not cut the directory.
    EXPECT_EQ(BareNamesFileName("/home/ann/My.Music/rock.m3u"), "/home/ann/My.Music/rock.txt");
}

TEST(M3UFiles, PlaylistsAreDecodedByTheirEncoding) {
    const std::string rock = Cp("Рок.mp3");
    struct Case { const char* what; std::string bytes; bool m3u8; Lines lines; };
    const Case cases[] = {
        {"code page 1251, CR LF", "#EXTM3U\r\n" + rock + "\r\n", false, {"#EXTM3U", rock}},
        {"UTF-8 without a mark", "a.mp3\n\xD0\xA0\xD0\xBE\xD0\xBA.mp3", false, {"a.mp3", rock}},
        {"UTF-8 with a mark", "\xEF\xBB\xBF\xD0\xA0\xD0\xBE\xD0\xBA.mp3\r", false, {rock}},
        {"UTF-16 LE", std::string("\xFF\xFE\x20\x04\x3E\x04\x3A\x04.\0m\0p\0003\0\n\0", 18), false, {rock}},
        {"UTF-16 BE", std::string("\xFE\xFF\x04\x20\x04\x3E\x04\x3A\0.\0m\0p\0003", 16), false, {rock}},
        {"CR, LF and CR LF, an empty line kept", "x\r\n\ry\nz", false, {"x", "", "y", "z"}},
        // Bytes that are no valid UTF-8 are code page 1251, except in an .m3u8.
        {"a lone lead byte", "\xD0 x", false, {"\xD0 x"}},
        {"a lone lead byte in an .m3u8", "\xD0 x", true, {std::string(1, kUnmappableChar) + " x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaylistLinesFromBytes(c.bytes, c.m3u8), c.lines) << c.what;
    // An odd UTF-16 byte at the end is a character that has no form.
    EXPECT_EQ(PlaylistLinesFromBytes(std::string("\xFF\xFEx\0y", 5), false), Lines{std::string("x") + kUnmappableChar});
}

TEST(M3UFiles, ReadingRefusesWhatIsNoRegularFile) {
    test::TempDir tmp;
    const std::string list = tmp.Write("list.M3U8", "\xD0\xA0.mp3\r\n");
    Lines lines;
    ASSERT_TRUE(ReadPlaylist(list, lines));
    EXPECT_EQ(lines, Lines{Cp("Р.mp3")});
    EXPECT_FALSE(ReadPlaylist(tmp / "missing.m3u", lines));
    EXPECT_TRUE(lines.empty());
    const std::string fifo = tmp / "pipe.m3u";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const FileResult read = ReadPlaylist(fifo, lines);  // would block if it were opened
    EXPECT_FALSE(read);
    EXPECT_FALSE(read.error.empty());
}

}  // namespace
}  // namespace tandrel
