#include "tags/tagpanel.h"

#include <gtest/gtest.h>

#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "tagbytes.h"
#include "tags/tagtext.h"

namespace tandrel {
namespace {

using namespace test;

class TagPanelTest : public ::testing::Test {
protected:
    // An MP3 file with an ID3v1 tag written by the tag object.
    std::string Mp3WithID3v1(const std::string& name, const std::string& title, std::uint8_t genre,
                             std::uint8_t track = 0, std::size_t audio = 600) {
        const std::string path = dir.Write(name, Audio(audio));
        TID3v1 tag;
        tag.SetTitle(title);
        tag.SetYear("1999");
        tag.SetGenreID(genre);
        tag.SetTrack(track);
        EXPECT_TRUE(tag.SaveToFile(path));
        return path;
    }
    TID3v1 ReadV1(const std::string& path) {
        TID3v1 tag;
        EXPECT_TRUE(tag.ReadFromFile(path));
        return tag;
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    TagMessages messages{prompter, 0};
    TID3v1 v1;
    TID3v2 v2;
};

TEST_F(TagPanelTest, ShowingFillsOnlyWhatTheFileHas) {
    TagPanelHalf half;
    ShowID3v1Tag(v1, messages, Mp3WithID3v1("small.mp3", "Small", 1, 0, 300 - 128), half);
    ShowID3v1Tag(v1, messages, dir / "missing.mp3", half);
    EXPECT_FALSE(half.tagChecked);  // below 512 bytes or missing: nothing, no message
    EXPECT_TRUE(prompter.calls().empty());

    half.track = "kept";
    ShowID3v1Tag(v1, messages, Mp3WithID3v1("a.mp3", "Song", kNoGenre), half);
    EXPECT_TRUE(half.tagChecked);
    EXPECT_EQ(half.version, "1.0");
    EXPECT_EQ(half.track, "kept");  // track 0 leaves the edit as it was
    EXPECT_EQ(half.title, "Song");
    EXPECT_EQ(half.genrePosition, 0);  // genre 255 leaves the empty entry

    ShowID3v1Tag(v1, messages, Mp3WithID3v1("b.mp3", "Song", 17, 4), half);
    EXPECT_EQ(half.version, "1.1");
    EXPECT_EQ(half.track, "4");
    EXPECT_EQ(half.genrePosition, 18);

    TagPanelHalf second;
    ShowID3v2Tag(v2, messages, dir.Write("v24.mp3", "ID3\x04" + test::Zeros(6) + Audio()), second);
    EXPECT_TRUE(second.tagChecked);
    EXPECT_EQ(second.version, "2.4");
}

TEST_F(TagPanelTest, SavingTheID3v1HalfTakesTrackAndGenreFromTheControls) {
    struct Case { const char* track; int genrePosition; int version; int track_; int genre; };
    const Case cases[] = {
        {"7", 1, 2, 7, 0},          // "Blues" is genre 0
        {"x7", 0, 1, 0, 255},       // not a number: no track; the empty entry: no genre
        {"", -1, 1, 0, 255},        // nothing selected
        {"256", 148, 1, 0, 147},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Write("a.mp3", Audio());
        TagPanelHalf half;
        half.track = c.track;
        half.title = "Title";
        half.comment = std::string(30, 'c');
        half.genrePosition = c.genrePosition;
        ASSERT_TRUE(SaveID3v1FromPanel(v1, messages, path, half));
        const TID3v1 saved = ReadV1(path);
        EXPECT_EQ(saved.VersionID(), c.version) << c.track;
        EXPECT_EQ(saved.Track(), c.track_) << c.track;
        EXPECT_EQ(saved.GenreID(), c.genre) << c.track;
        EXPECT_EQ(saved.Comment().size(), c.version == 2 ? 28u : 30u);
    }
    EXPECT_FALSE(SaveID3v2FromPanel(v2, messages, dir / "gone.mp3", TagPanelHalf{}));
    EXPECT_EQ(prompter.Texts(PromptKind::Message),
              std::vector<std::string>{"Can not save tag to the file: " + dir / "gone.mp3"});
}

TEST_F(TagPanelTest, CopyingBetweenTheHalvesCarriesTheGenre) {
    TagPanelHalf v2half;
    v2half.track = "1234";
    v2half.genreText = "Rock";
    TagPanelHalf v1half;
    CopyID3v2ToID3v1(v2half, v1half);
    EXPECT_EQ(v1half.track, "123");
    EXPECT_EQ(v1half.genrePosition, 18);
    v2half.genreText = "Not a genre";
    CopyID3v2ToID3v1(v2half, v1half);
    EXPECT_EQ(v1half.genrePosition, 18);  // no entry matches: the list stays

    v1half.genrePosition = 1;
    CopyID3v1ToID3v2(v1half, v2half);
    EXPECT_EQ(v2half.genreText, "Blues");
}

TEST_F(TagPanelTest, TagSearchLooksAtTextFieldsAndTheGenreName) {
    const std::string path = Mp3WithID3v1("a.mp3", "\xC7\xC2\xC5\xC7\xC4\xC0", 17, 12);  // "ЗВЕЗДА"
    struct Case { const char* query; bool match; };
    const Case cases[] = {{"rock", true}, {"\xE7\xE2\xE5\xE7", true}, {"99", true}, {"12", false}, {"", false}};
    for (const Case& c : cases) EXPECT_EQ(MatchID3v1Tag(v1, messages, c.query, path), c.match) << c.query;
    EXPECT_FALSE(MatchID3v2Tag(v2, messages, "rock", path));  // no ID3v2 tag
    EXPECT_TRUE(prompter.calls().empty());

    EXPECT_FALSE(MatchID3v1Tag(v1, messages, "rock", dir / "gone.mp3"));
    EXPECT_FALSE(MatchID3v2Tag(v2, messages, "rock", dir.Write("tiny.mp3", "ID3")));
    EXPECT_EQ(prompter.Texts(PromptKind::Message),
              (std::vector<std::string>{"The file does not exist: " + dir / "gone.mp3",
                                        "Can not read tag from the file: " + dir / "tiny.mp3"}));
}

TEST_F(TagPanelTest, UpdatesChangeOnlyTheGivenFields) {
    const std::string path = Mp3WithID3v1("a.mp3", "Title", 17, 3);
    struct Case { const char* track; int genrePosition; int expectedTrack; int expectedGenre; };
    const Case cases[] = {
        {"", 0, 3, 17},     // nothing given
        {"5", 1, 5, 0},
        {"5x", -1, 5, 0},   // the same leading number: unchanged
        {"7x", 0, 0, 0},    // another leading number, not a whole number: no track
    };
    for (const Case& c : cases) {
        TagFieldUpdate update;
        update.track = c.track;
        update.genrePosition = c.genrePosition;
        update.album = "Album";
        ASSERT_TRUE(UpdateID3v1Fields(v1, messages, path, update));
        const TID3v1 saved = ReadV1(path);
        EXPECT_EQ(saved.Track(), c.expectedTrack) << c.track;
        EXPECT_EQ(saved.GenreID(), c.expectedGenre) << c.track;
        EXPECT_EQ(saved.Title(), "Title");
        EXPECT_EQ(saved.Album(), "Album");
    }

    TagFieldUpdate update;
    update.genre = "Jazz";
    ASSERT_TRUE(UpdateID3v2Fields(v2, messages, path, update));
    update = TagFieldUpdate{};
    update.title = "New";
    ASSERT_TRUE(UpdateID3v2Fields(v2, messages, path, update));
    TID3v2 saved;
    ASSERT_TRUE(saved.ReadFromFile(path));
    EXPECT_EQ(saved.Title(), "New");
    EXPECT_EQ(saved.Genre(), "Jazz");
    EXPECT_EQ(ReadV1(path).Title(), "Title");  // the ID3v1 tag at the end came along

    EXPECT_FALSE(UpdateID3v2Fields(v2, messages, dir / "gone.mp3", update));
    EXPECT_EQ(prompter.Texts(PromptKind::Message),
              (std::vector<std::string>{"The file does not exist: " + dir / "gone.mp3",
                                        "Can not save tag to the file: " + dir / "gone.mp3"}));
}

// The panel shows "?" for characters a UTF-16 frame holds outside code page
// 1251; a save that would lose them, or characters typed into the panel that
// no tag can hold, names them and asks first.
TEST_F(TagPanelTest, SavingChangedTextThatLosesCharactersAsksFirst) {
    const std::string artist = test::Bytes({1, 0xFF, 0xFE, 'M', 0, 0xF6, 0, 0x06, 0x26});  // "Mö☆" in UTF-16
    const std::string frames = "TPE1" + test::Be32(uint32_t(artist.size())) + test::Zeros(2) + artist;
    const std::string original = "ID3" + test::Bytes({3, 0, 0}) + test::Syncsafe(uint32_t(frames.size())) + frames + Audio();
    const std::string path = dir.Write("a.mp3", original);
    const std::string question = "The tag cannot hold these characters, they become \"?\": U+00F6, U+2606.\n"
                                 "Save the tag anyway?";
    struct Case { const char* what; std::string artist; std::string title; std::u32string typed; const char* named; };
    const Case cases[] = {
        {"untouched artist", "M??", "T", U"", nullptr},
        {"changed artist", "M?? x", "", U"", "U+00F6, U+2606"},
        {"typed characters", "M??", "\x98\x98", U"\u00F6\u2606", "U+00F6, U+2606"},
    };
    for (const Case& c : cases) {
        for (bool yes : {false, true}) {
            dir.Write("a.mp3", original);
            TagPanelHalf half;
            half.artist = c.artist;
            half.title = c.title;
            half.unmappable = c.typed;
            test::ScriptedPrompter asked;
            if (c.named) yes ? asked.Yes() : asked.No();
            const TagMessages m{asked, 0};
            const bool saved = SaveID3v2FromPanel(v2, m, path, half);
            EXPECT_EQ(saved, !c.named || yes) << c.what;
            EXPECT_EQ(asked.Texts(PromptKind::YesNo),
                      c.named ? std::vector<std::string>{question} : std::vector<std::string>{}) << c.what;
            if (!saved) {
                EXPECT_EQ(test::ReadAll(path), original) << c.what;
                EXPECT_EQ(asked.statusText(), "Tag not saved: " + path);
                continue;
            }
            // An artist left as shown keeps its UTF-16 frame byte for byte.
            EXPECT_EQ(test::ReadAll(path).find(frames) != std::string::npos, c.artist == "M??") << c.what;
            TID3v2 back;
            ASSERT_TRUE(back.ReadFromFile(path));
            EXPECT_EQ(back.Artist(), TrimTrailingTagText(c.artist)) << c.what;
            EXPECT_EQ(back.Title(), c.typed.empty() ? c.title : "??") << c.what;
        }
    }
}

}  // namespace
}  // namespace tandrel
