// Round trips with an outside tagger: tags written here read back in mutagen,
// and a mutagen tag reads here and keeps its picture through a save.
#include <gtest/gtest.h>

#include <map>

#include "support/cp1251_text.h"
#include "support/mutagen.h"
#include "support/tempdir.h"
#include "tagbytes.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagpanel.h"
#include "support/scripted_prompter.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

std::map<std::string, std::string> Oracle(const std::string& command, const std::string& path) {
    return test::MutagenOracle(command, path);
}

class MutagenRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::MutagenPython().empty()) GTEST_SKIP() << "python3 cannot import mutagen";
    }
    test::TempDir dir;
};

TEST_F(MutagenRoundTrip, TagsWrittenHereReadBackInMutagen) {
    const std::string path = dir.Write("a.mp3", test::Audio());
    {
        TID3v2 v2;
        v2.SetTitle(Cp("Звезда по имени Солнце"));
        v2.SetArtist(Cp("Кино"));
        v2.SetAlbum("Zvezda");
        v2.SetTrack(7);
        v2.SetYear("1989");
        v2.SetGenre("Rock");
        v2.SetComment(Cp("Ленинград"));
        ASSERT_TRUE(v2.SaveToFile(path)) << v2.LastError();
        TID3v1 v1;
        v1.SetTitle(Cp("Звезда"));
        v1.SetArtist("Kino");
        v1.SetAlbum("Zvezda");
        v1.SetYear("1989");
        v1.SetComment("c");
        v1.SetTrack(7);
        v1.SetGenreID(17);
        ASSERT_TRUE(v1.SaveToFile(path)) << v1.LastError();
    }
    const std::map<std::string, std::string> expected = {
        {"version", "2.3"},
        {"TIT2", "Звезда по имени Солнце"}, {"TPE1", "Кино"}, {"TALB", "Zvezda"}, {"TRCK", "7"},
        {"TYER", "1989"}, {"TCON", "Rock"}, {"COMM", "eng:Ленинград"},
        {"v1.TIT2", "Звезда"}, {"v1.TPE1", "Kino"}, {"v1.TALB", "Zvezda"}, {"v1.TDRC", "1989"},
        {"v1.COMM", "c"}, {"v1.TRCK", "7"}, {"v1.TCON", "Rock"},
    };
    EXPECT_EQ(Oracle("read", path), expected);
}

TEST_F(MutagenRoundTrip, AVersion24TagFromMutagenShowsAndKeepsItsPicture) {
    const std::string path = dir.Write("a.mp3", test::Audio());
    Oracle("tag24", path);
    {
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        EXPECT_EQ(tag.VersionID(), 4);
        EXPECT_EQ(tag.Title(), Cp("Звезда по имени Солнце"));
        EXPECT_EQ(tag.Artist(), Cp("Кино"));
        EXPECT_EQ(tag.Album(), Cp("Группа крови"));
        EXPECT_EQ(tag.Track(), 3);
        EXPECT_EQ(tag.Year(), "1988");
        EXPECT_EQ(tag.Genre(), "Rock");
        EXPECT_EQ(tag.Comment(), Cp("Ленинград"));
        tag.SetTitle(Cp("Группа крови"));
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();
    }
    const auto read = Oracle("read", path);
    EXPECT_EQ(read.at("version"), "2.3");
    EXPECT_EQ(read.at("TIT2"), "Группа крови");
    EXPECT_EQ(read.at("TPE1"), "Кино");
    EXPECT_EQ(read.at("TYER"), "1988");
    EXPECT_EQ(read.at("COMM"), "rus:Ленинград");  // the comment keeps its language
    EXPECT_EQ(read.at("APIC"), "image/png:3:2048");
    const std::string bytes = test::ReadAll(path);
    EXPECT_EQ(bytes.substr(bytes.size() - 600), test::Audio());
}

TEST_F(MutagenRoundTrip, SavingTheTitleKeepsAnUntouchedUtf16Artist) {
    const std::string path = dir.Write("a.mp3", test::Audio());
    Oracle("tag23", path);
    test::ScriptedPrompter prompter;
    const TagMessages messages{prompter, 0};
    TID3v2 tag;
    TagPanelHalf half;
    ASSERT_TRUE(ShowID3v2Tag(tag, messages, path, half));
    EXPECT_EQ(half.artist, Cp("Mot?rhead – Ace ?"));
    half.title = "Ace";
    ASSERT_TRUE(SaveID3v2FromPanel(tag, messages, path, half));
    EXPECT_TRUE(prompter.calls().empty());  // nothing is lost: no question
    const auto read = Oracle("read", path);
    EXPECT_EQ(read.at("TIT2"), "Ace");
    EXPECT_EQ(read.at("TPE1"), "Motörhead – Ace ☆");
    EXPECT_EQ(read.at("COMM"), "rus:Хорошая");

    // A changed comment keeps its language and its Unicode encoding.
    half.comment = Cp("Плохая");
    ASSERT_TRUE(SaveID3v2FromPanel(tag, messages, path, half));
    EXPECT_EQ(Oracle("read", path).at("COMM"), "rus:Плохая");
    EXPECT_EQ(Oracle("read", path).at("TPE1"), "Motörhead – Ace ☆");
}

TEST_F(MutagenRoundTrip, AVersion22TagKeepsItsPictureAndOtherFramesThroughASave) {
    auto frame22 = [](const std::string& id, const std::string& content) {
        return id + test::Be24(static_cast<std::uint32_t>(content.size())) + content;
    };
    const std::string frames = frame22("TT2", std::string("\0Old", 4)) +
                               frame22("PIC", std::string("\0PNG\3\0", 6) + std::string(300, 'p')) +
                               frame22("TXX", std::string("\0key\0value", 10)) +
                               frame22("ULT", std::string("\0eng\0la la", 10)) +
                               frame22("COM", std::string("\0rus\0old", 8)) +
                               frame22("CRM", std::string("me\0x\0secret", 11));  // no 2.3 twin
    const std::string path = dir.Write("a.mp3", std::string("ID3\2\0\0", 6) +
                                                    test::Syncsafe(static_cast<std::uint32_t>(frames.size())) + frames +
                                                    test::Audio());
    {
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        tag.SetArtist("Kino");
        tag.SetComment("new");
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();
        EXPECT_EQ(tag.DroppedFrames(), std::vector<std::string>{"CRM"});
    }
    const std::map<std::string, std::string> expected = {
        {"version", "2.3"}, {"TPE1", "Kino"}, {"TIT2", "Old"}, {"APIC", "image/png:3:300"},
        {"TXXX", "value"}, {"USLT", "eng:la la"}, {"COMM", "rus:new"},  // the comment keeps its language
    };
    EXPECT_EQ(Oracle("read", path), expected);
}

}  // namespace
}  // namespace tandrel
