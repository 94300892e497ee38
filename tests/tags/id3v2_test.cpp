#include "tags/id3v2.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/tempdir.h"
#include "tagbytes.h"
#include "tags/id3v1.h"
#include "tags/tagsave.h"

namespace tandrel {
namespace {

using namespace test;

const std::string kNoFlags = Zeros(2);

std::string Frame23(const std::string& id, const std::string& content) {
    return id + Be32(static_cast<std::uint32_t>(content.size())) + kNoFlags + content;
}

std::string Tag23(const std::string& frames) {
    return std::string("ID3") + Bytes({3, 0}) + Bytes({0}) + Syncsafe(static_cast<std::uint32_t>(frames.size())) +
           frames;
}

TID3v2 ReadTag(const test::TempDir& dir, const std::string& bytes) {
    const std::string path = dir.Write("t.mp3", bytes);
    TID3v2 tag;
    EXPECT_TRUE(tag.ReadFromFile(path)) << tag.LastError();
    return tag;
}

TEST(ID3v2, FrameTextRulesOfVersion23) {
    struct Case { const char* id; std::string content; const char* field; std::string expected; };
    const Case cases[] = {
        {"TRCK", Bytes({0}) + "07/12", "track", "7"},
        {"TRCK", Bytes({0}) + "abc", "track", "0"},
        {"TRCK", Bytes({0}) + "300", "track", "0"},  // a track is 1 to 255
        {"TCON", Bytes({0}) + "(17)Rock", "genre", "Rock"},
        {"TCON", Bytes({0}) + "(13)", "genre", ""},
        {"TCON", Bytes({0}) + "Rock (live)", "genre", "Rock (live)"},
        {"TCON", Bytes({0}) + "((Mixed)", "genre", "(Mixed)"},
        {"COMM", Bytes({0}) + "eng" + Bytes({0}) + "x", "comment", "x"},
        {"COMM", Bytes({0}) + "eng" + "d" + Bytes({0}) + "x", "comment", std::string("d") + '\0' + "x"},
        {"TIT2", Bytes({0}) + "  Title  " + Zeros(3), "title", "Title"},
        {"TIT2", Bytes({0}) + std::string(400, 'a'), "title", std::string(249, 'a')},  // 250 bytes with the encoding
        // Unicode encodings become code page 1251; "☺" is not in it.
        {"TIT2", Bytes({1, 0xFF, 0xFE, 0x1A, 0x04, 0x38, 0x04, 0x3A, 0x26, 0, 0}), "title", "\xCA\xE8?"},
        {"TIT2", Bytes({1, 0xFE, 0xFF, 0x04, 0x1A, 0x04, 0x38}), "title", "\xCA\xE8"},
        {"TIT2", Bytes({3, 0xD0, 0x9A, 0xD0, 0xB8, 0, 'x'}), "title", "\xCA\xE8"},
        {"TIT2", Bytes({2, 0x04, 0x1A}), "title", "\xCA"},
        {"COMM", Bytes({1}) + "eng" + Bytes({0xFF, 0xFE, 0, 0, 0xFF, 0xFE, 'x', 0}), "comment", "x"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const TID3v2 tag = ReadTag(dir, Tag23(Frame23(c.id, c.content)) + Audio());
        const std::string field = c.field;
        const std::string got = field == "track"   ? std::to_string(tag.Track())
                                : field == "genre" ? tag.Genre()
                                : field == "title" ? tag.Title()
                                                   : tag.Comment();
        EXPECT_EQ(got, c.expected) << c.id << " " << c.content;
    }
}

TEST(ID3v2, WalkStopsAtPaddingAndTheLaterFrameWins) {
    test::TempDir dir;
    const std::string frames = Frame23("TIT2", Bytes({0}) + "One") +
                               Frame23("TXXX", Bytes({0}) + "x" + Bytes({0}) + "y") +
                               Frame23("TIT2", Bytes({0}) + "Two") +
                               Zeros(20) +                                  // padding
                               Frame23("TPE1", Bytes({0}) + "Hidden");      // after the padding
    const TID3v2 tag = ReadTag(dir, Tag23(frames) + Audio());
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.VersionID(), 3);
    EXPECT_EQ(tag.Size(), 10 + frames.size());
    EXPECT_EQ(tag.Title(), "Two");
    EXPECT_EQ(tag.Artist(), "");
}

TEST(ID3v2, ReadsVersions22And24AndTheExtendedHeader) {
    test::TempDir dir;
    const std::string v22 = std::string("ID3") + Bytes({2, 0}) + Bytes({0}) + Syncsafe(6 + 4 + 6 + 3) +
                            "TT2" + Be24(4) + Bytes({0}) + "Old" +   // 6 + 4
                            "TRK" + Be24(3) + Bytes({0}) + "9/" ;     // 6 + 3
    TID3v2 tag = ReadTag(dir, v22 + Audio());
    EXPECT_EQ(tag.VersionID(), 2);
    EXPECT_EQ(tag.Title(), "Old");
    EXPECT_EQ(tag.Track(), 9);

    // A 2.4 frame of 200 bytes: syncsafe 0x01 0x48, not 0x00 0xC8.
    const std::string title(199, 'n');
    const std::string v24 = std::string("ID3") + Bytes({4, 0}) + Bytes({0}) + Syncsafe(10 + 200 + 10 + 11) +
                            "TIT2" + Syncsafe(200) + kNoFlags + Bytes({3}) + title +   // 10 + 200
                            "TDRC" + Syncsafe(11) + kNoFlags + Bytes({0}) + "1989-05-01";  // 10 + 11
    tag = ReadTag(dir, v24 + Audio());
    EXPECT_EQ(tag.VersionID(), 4);
    EXPECT_EQ(tag.Title(), title);
    EXPECT_EQ(tag.Year(), "1989");

    const std::string extended = std::string("ID3") + Bytes({3, 0}) + Bytes({0x40}) + Syncsafe(4 + 6 + 10 + 3) +
                                 Be32(6) + Zeros(6) +                        // extended header: size, content
                                 Frame23("TALB", Bytes({0}) + "Al");         // 10 + 3
    EXPECT_EQ(ReadTag(dir, extended + Audio()).Album(), "Al");

    // An unsynchronised 2.3 tag: 0xFF 0x00 stands for 0xFF ("я" is 0xFF in code page 1251).
    const std::string unsync = std::string("ID3") + Bytes({3, 0}) + Bytes({0x80}) + Syncsafe(10 + 4) +
                               "TIT2" + Be32(3) + kNoFlags + Bytes({0, 0xFF, 0x00, 0xE0});
    EXPECT_EQ(ReadTag(dir, unsync + Audio()).Title(), "\xFF\xE0");
}

TEST(ID3v2, HeaderEdges) {
    test::TempDir dir;
    TID3v2 tag;
    EXPECT_FALSE(tag.ReadFromFile(dir.Write("nine.mp3", "ID3\x03\x00\x00\x00\x00\x00")));
    EXPECT_FALSE(tag.SaveToFile(dir / "nine.mp3"));
    EXPECT_FALSE(tag.ReadFromFile(dir / "missing.mp3"));
    EXPECT_FALSE(tag.SaveToFile(dir / "missing.mp3"));
    // A size past the end: SaveKeepsAudioWhenTagSizePointsPastTheEnd.
}

TEST(ID3v2, SavesAMinimalVersion23TagInFrontOfTheAudio) {
    test::TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio());
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    dir.Write("a.mp3~", "someone's file");
    {
        TID3v2 tag;
        tag.SetTitle("T");
        tag.SetComment("x");
        tag.SetTrack(0);
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();
    }
    const std::string expected = std::string("ID3") + Bytes({3, 0}) + Bytes({0}) +   // identifier, version, flags
                                 Syncsafe((10 + 2) + (10 + 6)) +                      // size
                                 "TIT2" + Be32(1 + 1) + kNoFlags + Bytes({0}) + "T" + // title
                                 "COMM" + Be32(1 + 3 + 1 + 1) + kNoFlags +            // comment
                                 Bytes({0}) + "eng" + Bytes({0}) + "x";
    EXPECT_EQ(ReadAll(path), expected + Audio());
    EXPECT_TRUE(test::OwnerCanWrite(path));
    EXPECT_EQ(ReadAll(dir / "a.mp3~"), "someone's file");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.str())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2);  // no temporary file left behind

    TID3v2 empty;
    ASSERT_TRUE(empty.SaveToFile(path));
    EXPECT_EQ(ReadAll(path), std::string("ID3") + Bytes({3, 0, 0}) + Syncsafe(0) + Audio());
}

// "Write ID3v2 text as Unicode": a new frame whose text is not plain ASCII is
// UTF-16; ASCII text and the frames of unchanged fields stay as they were.
TEST(ID3v2, UnicodeTextWritesNewNonAsciiFramesAsUtf16) {
    const std::string kino = "\xCA\xE8\xED\xEE";  // Кино
    const std::string kinoUtf16 = Bytes({0xFF, 0xFE, 0x1A, 0x04, 0x38, 0x04, 0x3D, 0x04, 0x3E, 0x04});
    const std::string oldArtist = Frame23("TPE1", Bytes({0}) + kino);  // unchanged below
    struct Case { bool unicode; std::string title; std::string frame; };
    const Case cases[] = {
        {true, kino, Frame23("TIT2", Bytes({1}) + kinoUtf16)},
        {true, "Kino", Frame23("TIT2", Bytes({0}) + "Kino")},
        {false, kino, Frame23("TIT2", Bytes({0}) + kino)},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write("a.mp3", Tag23(Frame23("TIT2", Bytes({0}) + "Old") + oldArtist) + Audio());
        TID3v2 tag;
        tag.SetUnicodeText(c.unicode);
        ASSERT_TRUE(tag.ReadFromFile(path));
        EXPECT_EQ(tag.UnicodeText(), c.unicode) << "reading keeps the choice";
        tag.SetTitle(c.title);
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();
        EXPECT_EQ(ReadAll(path), Tag23(c.frame + oldArtist) + Audio()) << c.unicode << " " << c.title;
    }
    // A comment new to the tag: language, empty description, text, all UTF-16.
    const std::string path = dir.Write("b.mp3", Audio());
    TID3v2 tag;
    tag.SetUnicodeText(true);
    tag.SetComment(kino);
    ASSERT_TRUE(tag.SaveToFile(path));
    EXPECT_EQ(ReadAll(path), Tag23(Frame23("COMM", Bytes({1}) + "eng" + Bytes({0xFF, 0xFE, 0, 0}) + kinoUtf16)) + Audio());
}

TEST(ID3v2, SavingKeepsTheOtherFramesOfVersion23Unchanged) {
    test::TempDir dir;
    const std::string picture = Frame23("APIC", Bytes({0}) + "image/png" + Bytes({0, 3, 0}) + "\x89PNG" + Zeros(9));
    const std::string lyrics = Frame23("USLT", Bytes({0}) + "eng" + Bytes({0}) + "la la");
    const std::string old = Tag23(Frame23("TIT2", Bytes({0}) + "Old") + picture + Frame23("TYER", Bytes({0}) + "1999") +
                                  lyrics + Zeros(100));
    const std::string path = dir.Write("a.mp3", old + Audio());
    {
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        tag.SetTitle("New");
        ASSERT_TRUE(tag.SaveToFile(path));
    }
    // The changed title takes the old title's place; the padding is gone.
    EXPECT_EQ(ReadAll(path), Tag23(Frame23("TIT2", Bytes({0}) + "New") + picture + Frame23("TYER", Bytes({0}) + "1999") +
                                   lyrics) + Audio());
}

TEST(ID3v2, SavingAVersion24TagConvertsItsOtherFrames) {
    test::TempDir dir;
    auto frame24 = [](const std::string& id, const std::string& content, int format = 0) {
        return id + Syncsafe(static_cast<std::uint32_t>(content.size())) + Bytes({0x40, format}) + content;
    };
    const std::string apic = Bytes({3}) + "image/jpeg" + Bytes({0, 3}) + "\xD0\x9A" + Bytes({0}) + "\xFF\xD8\xFF";
    const std::string sylt = Bytes({3}) + "eng" + Bytes({2, 1}) +   // UTF-8, language, milliseconds, lyrics
                             "d" + Bytes({0}) +                            // descriptor
                             "\xD0\x9A" + Bytes({0}) + Be32(1000) +       // "К" at 1 s
                             "x" + Bytes({0}) + Be32(2000);                 // "x" at 2 s
    const std::string frames = frame24("TIT2", Bytes({3}) + "\xD0\x9A") +
                               frame24("APIC", apic) +
                               frame24("SYLT", sylt) +
                               frame24("TXXX", Syncsafe(4) + Bytes({0}) + "k" + Bytes({0}) + "v", 0x01 /* data length */) +
                               frame24("PCNT", Be32(0x02000001)) +   // no encoding byte, though it starts with 2
                               frame24("SEEK", Be32(0));
    const std::string path =
        dir.Write("a.mp3", std::string("ID3") + Bytes({4, 0, 0}) + Syncsafe(uint32_t(frames.size())) + frames + Audio());
    {
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        EXPECT_EQ(tag.Title(), "\xCA");
        ASSERT_TRUE(tag.SaveToFile(path));
        EXPECT_EQ(tag.DroppedFrames(), std::vector<std::string>{"SEEK"});
    }
    const std::string sylt23 = Bytes({1}) + "eng" + Bytes({2, 1}) +                // UTF-16 now
                               Bytes({0xFF, 0xFE, 'd', 0, 0, 0}) +                 // descriptor
                               Bytes({0xFF, 0xFE, 0x1A, 0x04, 0, 0}) + Be32(1000) +
                               Bytes({0xFF, 0xFE, 'x', 0, 0, 0}) + Be32(2000);
    const std::string apic23 = Bytes({1}) + "image/jpeg" + Bytes({0, 3}) +   // UTF-16 now, mime, type
                               Bytes({0xFF, 0xFE, 0x1A, 0x04, 0, 0}) +       // description "К"
                               "\xFF\xD8\xFF";                                // picture
    // The title was not changed: its frame stays, in UTF-16.
    const std::string expected = "TIT2" + Be32(1 + 2 + 2) + Bytes({0x80, 0}) + Bytes({1, 0xFF, 0xFE, 0x1A, 0x04}) +
                                 "APIC" + Be32(uint32_t(apic23.size())) + Bytes({0x80, 0}) + apic23 +
                                 "SYLT" + Be32(uint32_t(sylt23.size())) + Bytes({0x80, 0}) + sylt23 +
                                 "TXXX" + Be32(4) + Bytes({0x80, 0}) +        // the data length is gone
                                 Bytes({0}) + "k" + Bytes({0}) + "v" +
                                 "PCNT" + Be32(4) + Bytes({0x80, 0}) + Be32(0x02000001);
    EXPECT_EQ(ReadAll(path), Tag23(expected) + Audio());
}

// A field is read from its last frame. When that frame goes (the field was
// cleared, or the frame cannot be carried into 2.3), an earlier twin must not
// become the field after the save.
TEST(ID3v2, EarlierTwinsOfAFieldThatLosesItsFrameGoToo) {
    test::TempDir dir;
    const std::string twins24 = "TIT2" + Syncsafe(2) + Bytes({0, 0}) + Bytes({0, 'A'}) +
                                "TIT2" + Syncsafe(3) + Bytes({0, 0x01}) + Zeros(3);  // data length flag, no room for it
    const std::string twins23 = Frame23("TIT2", Bytes({0}) + "A") + Frame23("TIT2", Bytes({0}) + "B");
    struct Case { const char* what; std::string tag; const char* newTitle; };
    const Case cases[] = {
        {"a 2.4 frame that cannot be converted",
         std::string("ID3") + Bytes({4, 0, 0}) + Syncsafe(uint32_t(twins24.size())) + twins24, nullptr},
        {"a cleared title", Tag23(twins23), ""},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Write("a.mp3", c.tag + Audio());
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        const std::string before = c.newTitle ? std::string(c.newTitle) : tag.Title();
        if (c.newTitle) tag.SetTitle(c.newTitle);
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();
        TID3v2 again;
        ASSERT_TRUE(again.ReadFromFile(path));
        EXPECT_EQ(again.Title(), before) << c.what;
    }
}

// A header whose size runs past the end of the file (a cut download), into
// the ID3v1 tag, or is not a 7-bit number: the save keeps every byte after
// the frames it could read, with one tag or both saved.
TEST(ID3v2, SaveKeepsAudioWhenTagSizePointsPastTheEnd) {
    const std::string title = Frame23("TIT2", Bytes({0}) + "Old1");
    const std::string audio = Audio(1000);
    const std::string v1 = std::string("TAG") + std::string(30, 'v') + Zeros(94) + Bytes({255});
    struct Case { const char* what; std::string sizeBytes; bool withV1; };
    const Case cases[] = {
        {"1 byte past the end", Syncsafe(uint32_t(title.size() + audio.size() + 1)), false},
        {"128 bytes past the end", Syncsafe(uint32_t(title.size() + audio.size() + 128)), false},
        {"129 bytes past the end", Syncsafe(uint32_t(title.size() + audio.size() + 129)), false},
        {"1 byte into the ID3v1 tag", Syncsafe(uint32_t(title.size() + audio.size() + 1)), true},
        {"bit 7 set in the size", Bytes({0, 0, 1, 0xF3}), false},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        for (bool both : {false, true}) {
            const std::string path =
                dir.Write("r.mp3", std::string("ID3") + Bytes({3, 0, 0}) + c.sizeBytes + title + audio + (c.withV1 ? v1 : ""));
            TID3v1 id3v1;
            TID3v2 id3v2;
            ASSERT_TRUE(id3v2.ReadFromFile(path));
            EXPECT_TRUE(id3v2.Damaged()) << c.what;
            EXPECT_EQ(id3v2.Title(), "Old1") << c.what;
            id3v2.SetTitle("X");
            id3v1.SetTitle("X");
            const FileResult r = SaveTagsToFile(path, both ? &id3v1 : nullptr, &id3v2);
            ASSERT_TRUE(r.ok) << r.error;
            std::string expected = Tag23(Frame23("TIT2", Bytes({0}) + "X")) + audio;
            if (both) expected += id3v1.Record();
            else if (c.withV1) expected += v1;
            EXPECT_EQ(ReadAll(path), expected) << c.what << (both ? ", both tags" : "");
        }
    }
}

}  // namespace
}  // namespace tandrel
