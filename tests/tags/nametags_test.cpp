#include "tags/nametags.h"

#include <gtest/gtest.h>

#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "tagbytes.h"
#include "tags/tagpanel.h"

namespace tandrel {
namespace {

using namespace test;

TEST(FileNameToTags, TakesTrackArtistAndTitleApart) {
    struct Case { const char* fullName; const char* track; const char* artist; const char* title; };
    const Case cases[] = {
        {"/music/Artist - Title", "", "", ""},           // no ".": the name part is empty
        {"/music.d/Artist - Title", "", "", ""},         // a "." in the folder does not count
        {"/music/12.mp3", "12", "", ""},
        {"/music/Artist_-_Title.mp3", "", "Artist", "Title"},
        {"/music/My_Song.mp3", "", "My", "Song"},
        {"/music/Some Artist_Some Title.mp3", "", "Some Artist", "Some Title"},     // u 1 < s 2: "_"
        {"/music/Artist_Name Song_Title.mp3", "", "Artist Name", "Song Title"},     // u 2 > s 1: " "
        {"/music/A-B-C.mp3", "", "A", "C"},                  // what lies between is dropped
        {"/music/07 - Artist - Song.mp3", "07", "Artist", "Song"},
        {"/music/03_Artist_Name_Song.mp3", "03", "Artist", "Song"},
        {"/music/Artist_Name - Song_Title.mp3", "", "Artist_Name", "Song_Title"},  // a " - " keeps underscores
        {"/music/Artist_-Title.mp3", "", "Artist", "Title"},
        {"/music/Artist-_Title.mp3", "", "Artist", "Title"},
        {"/music/My Song.mp3", "", "", "My Song"},           // spaces alone: all title
        {"/music/Some.Band - Live.mp3", "", "Some.Band", "Live"},  // only the last "." ends the name
    };
    for (const Case& c : cases) {
        const NameTags tags = FileNameToTags(c.fullName);
        EXPECT_EQ(tags.track, c.track) << c.fullName;
        EXPECT_EQ(tags.artist, c.artist) << c.fullName;
        EXPECT_EQ(tags.title, c.title) << c.fullName;
    }
    const NameTags russian = FileNameToTags(Cp("/музыка/01 Кино - Звезда по имени Солнце.mp3"));
    EXPECT_EQ(russian.track, "01");
    EXPECT_EQ(russian.artist, Cp("Кино"));
    EXPECT_EQ(russian.title, Cp("Звезда по имени Солнце"));
}

class NameTagsSave : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    TagMessages messages{prompter, 0};
    TID3v1 v1;
    TID3v2 v2;
};

// The halves after a save from the name: the genre as the panel shows it.
void HalvesFor(const std::string& path, int genrePosition, const std::string& genreText, TagPanelHalf& h1,
               TagPanelHalf& h2) {
    h1.album = h2.album = "Old album";
    h1.genrePosition = h2.genrePosition = genrePosition;
    h1.genreText = h2.genreText = genreText;
    PutNameTags(FileNameToTags(path), true, h1, h2);
}

TEST_F(NameTagsSave, WritesBothTagsWithThePanelsGenreAndKeepsOtherFrames) {
    const std::string picture = "APIC" + Be32(1 + 10 + 1 + 1 + 4) + Zeros(2) + Bytes({0}) + "image/png" +
                                Bytes({0, 3, 0}) + "data";
    const std::string comment = "COMM" + Be32(1 + 3 + 1 + 3) + Zeros(2) + Bytes({0}) + "eng" + Bytes({0}) + "old";
    const std::string frames = picture + comment;
    const std::string path = dir.Write("07 - Kino - Zvezda.mp3", std::string("ID3") + Bytes({3, 0, 0}) +
                                                                   Syncsafe(uint32_t(frames.size())) + frames +
                                                                   Audio());
    TagPanelHalf h1, h2;
    HalvesFor(path, 18, "Rock", h1, h2);
    ASSERT_TRUE(SaveID3FromPanel(v1, v2, messages, path, h1, h2));
    EXPECT_TRUE(prompter.calls().empty());

    TID3v1 s1;
    ASSERT_TRUE(s1.ReadFromFile(path));
    EXPECT_EQ(s1.Track(), 7);
    EXPECT_EQ(s1.Artist(), "Kino");
    EXPECT_EQ(s1.Title(), "Zvezda");
    EXPECT_EQ(s1.Album(), "");
    EXPECT_EQ(s1.GenreID(), 17);
    TID3v2 s2;
    ASSERT_TRUE(s2.ReadFromFile(path));
    EXPECT_EQ(s2.Track(), 7);
    EXPECT_EQ(s2.Artist(), "Kino");
    EXPECT_EQ(s2.Title(), "Zvezda");
    EXPECT_EQ(s2.Comment(), "");
    EXPECT_EQ(s2.Genre(), "Rock");
    const std::string bytes = ReadAll(path);
    EXPECT_NE(bytes.find(picture), std::string::npos);  // the picture frame came through unchanged
    EXPECT_EQ(bytes.substr(bytes.size() - 128 - Audio().size(), Audio().size()), Audio());
}

// Saved one tag after the other, a file too short for an ID3v1 record got its
// new ID3v2 tag and then failed: one tag new, the other not written.
TEST_F(NameTagsSave, AFileThatCannotTakeBothTagsKeepsItsOldBytes) {
    const std::string old = std::string("ID3") + Bytes({3, 0, 0}) + Syncsafe(0) + Audio(100);
    const std::string path = dir.Write("01 - A - B.mp3", old);
    TagPanelHalf h1, h2;
    HalvesFor(path, 0, "", h1, h2);
    EXPECT_FALSE(SaveID3FromPanel(v1, v2, messages, path, h1, h2));
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(prompter.Texts(PromptKind::Message),
              std::vector<std::string>{"Can not save tag to the file: " + path});

    EXPECT_FALSE(SaveID3FromPanel(v1, v2, messages, dir / "gone.mp3", h1, h2));
    EXPECT_EQ(prompter.Texts(PromptKind::Message).back(), "Can not save tag to the file: " + dir / "gone.mp3");
}

}  // namespace
}  // namespace tandrel
