#include "media/playlist.h"

#include <gtest/gtest.h>

#include "media/players.h"
#include "support/cp1251_text.h"
#include "support/recording_launcher.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::ReadAll;
using test::RecordingLauncher;
using Lines = std::vector<std::string>;

TEST(MediaExtensions, PositionsPlayableNamesAndLookUps) {
    // The first extension of the set that occurs anywhere wins, not the first in the text.
    EXPECT_EQ(AudioExtPos("a.wav.MP3"), 6);
    EXPECT_EQ(AudioExtPos("clip.avi"), 0);
    EXPECT_EQ(VideoExtPos("x.XVID \t[d]"), 2);
    EXPECT_EQ(VideoExtPos("song.mp3"), 0);

    struct Case { const char* name; MediaMode mode; bool playable; };
    const Case cases[] = {
        {"a.MP3", MediaMode::Audio, true},  {"a.mp2", MediaMode::Audio, false}, {"a.avi", MediaMode::Audio, false},
        {"a.DivX", MediaMode::Video, true}, {"a.mpeg", MediaMode::Video, true}, {"a.mp3", MediaMode::Video, false},
        {"a.mp3", MediaMode::None, false},  {"mp3", MediaMode::Audio, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsPlayableForMask(c.name, c.mode), c.playable) << c.name;

    EXPECT_EQ(MediaModeOfMask("*.MP3"), MediaMode::Audio);
    EXPECT_EQ(MediaModeOfMask("*.avi;*.mpg"), MediaMode::Video);
    EXPECT_EQ(MediaModeOfMask("*.avi;*.wav"), MediaMode::Audio);
    EXPECT_EQ(MediaModeOfMask("*.txt"), MediaMode::None);

    test::TempDir tmp;
    tmp.Write("song.mp2", "m");
    tmp.Write("song.wav", "w");
    tmp.Write("film.divx", "v");
    EXPECT_EQ(FindMediaFile(tmp / "song", MediaMode::Audio), tmp / "song.mp2");  // .mp2 before .wav
    EXPECT_EQ(FindMediaFile(tmp / "film", MediaMode::Video), tmp / "film.divx");
    EXPECT_EQ(FindMediaFile(tmp / "film", MediaMode::Audio), "");
    EXPECT_EQ(FindMediaFile(tmp / "song", MediaMode::None), "");
}

class PlayListTest : public ::testing::Test {
protected:
    std::string Named(const std::string& file) { return file + " \t[" + music + "]"; }
    test::TempDir tmp;
    std::string music = tmp / "music";
    std::string program = tmp / "program";
    RecordingLauncher launcher;
    TAppSettings settings;

    void SetUp() override {
        tmp.Write("program/.keep", "");
        for (const char* f : {"a.mp3", "b.avi", "c.xvid", "d.mp2", "e.avi"}) tmp.Write(std::string("music/") + f, "x");
    }
};

TEST_F(PlayListTest, LinesWithNamesDecideTheKindLineByLine) {
    // MP3 then AVI: the last line leaves video, and the list holds both.
    CollectedPlayList list =
        CollectPlayList({Named("a.mp3"), Named("b.avi")}, true, MediaMode::Audio, tmp / "elsewhere");
    EXPECT_EQ(list.files, (Lines{music + "/a.mp3", music + "/b.avi"}));
    EXPECT_EQ(list.kind, PlayListKind::Video);
    const PlayOutcome played = PlayPlayList(list, program, launcher);
    EXPECT_EQ(played.playlist, program + "/playlist.lap");
    EXPECT_EQ(ReadAll(program + "/playlist.lap"), music + "/a.mp3\r\n" + music + "/b.avi\r\n");
    EXPECT_EQ(launcher.opened, Lines{program + "/playlist.lap"});

    // ".xvid" is found whole; a line with no media extension, or a missing file, adds nothing.
    list = CollectPlayList({Named("c.xvid"), Named("notes.txt"), Named("gone.mp3")}, true, MediaMode::None, "");
    EXPECT_EQ(list.files, Lines{music + "/c.xvid"});
    EXPECT_EQ(list.missing, 2);
}

TEST_F(PlayListTest, FullNamesKeepTheKindAndBareNamesAreLookedUpByMode) {
    // Full names of ".avi" files in video mode are playable as they are; the kind stays audio.
    CollectedPlayList list = CollectPlayList({music + "/b.avi", music + "/e.avi"}, false, MediaMode::Video, "");
    EXPECT_EQ(list.files, (Lines{music + "/b.avi", music + "/e.avi"}));
    EXPECT_EQ(list.kind, PlayListKind::Audio);
    EXPECT_EQ(PlayPlayList(list, program, launcher).playlist, program + "/playlist.m3u");

    // A bare name in audio mode is found with ".mp2" in the shown directory;
    // a playable relative name means that directory too.
    list = CollectPlayList({"d", "a.mp3"}, false, MediaMode::Audio, music);
    EXPECT_EQ(list.files, (Lines{music + "/d.mp2", music + "/a.mp3"}));
    // Without a media mask a bare name finds nothing and there is nothing to play.
    list = CollectPlayList({"d"}, false, MediaMode::None, music);
    EXPECT_TRUE(list.files.empty());
    EXPECT_EQ(list.kind, PlayListKind::None);
    const PlayOutcome none = PlayPlayList(list, program, launcher);
    EXPECT_EQ(none.playlist, "");
    EXPECT_EQ(none.status, "No checked line names a file that exists");
}

TEST_F(PlayListTest, NamesAreWrittenAsTheFileSystemSpellsThemAndUnwritableOnesAreLeftOut) {
    tmp.Write("music/Кино.mp3", "x");
    const std::string unmappable = music + "/\x98.mp3";  // a name with a character outside code page 1251
    CollectedPlayList list =
        CollectPlayList({Cp(music + "/Кино.mp3"), unmappable}, false, MediaMode::Audio, music);
    ASSERT_EQ(list.files.size(), 1u);
    ASSERT_EQ(list.notes.size(), 1u);
    EXPECT_NE(list.notes[0].find("outside code page 1251"), std::string::npos);
    const PlayOutcome played = PlayPlayList(list, program, launcher);
    EXPECT_EQ(ReadAll(program + "/playlist.m3u"), music + "/Кино.mp3\r\n");  // UTF-8 bytes
    EXPECT_NE(played.status.find("outside code page 1251"), std::string::npos);

    // Running it again replaces the playlist.
    list = CollectPlayList({music + "/a.mp3"}, false, MediaMode::Audio, music);
    (void)PlayPlayList(list, program, launcher);
    EXPECT_EQ(ReadAll(program + "/playlist.m3u"), music + "/a.mp3\r\n");
}

TEST_F(PlayListTest, PlayersGetThePlaylistAndEveryFailureIsTold) {
    const CollectedPlayList audio = CollectPlayList({music + "/a.mp3"}, false, MediaMode::Audio, music);
    const CollectedPlayList video = CollectPlayList({Named("b.avi")}, true, MediaMode::Audio, music);
    const std::string player = tmp.Write("bin/player", "#!/bin/sh\n");
    const std::string m3u = program + "/playlist.m3u", lap = program + "/playlist.lap";

    // Mode 0 without a registered player: the playlist is written and nothing starts.
    PlayOutcome out = AddToPlayerList(audio, program, settings, launcher);
    EXPECT_EQ(ReadAll(m3u), music + "/a.mp3\r\n");
    EXPECT_FALSE(out.started);
    EXPECT_NE(out.status.find("No program is registered for M3U playlists"), std::string::npos);
    EXPECT_TRUE(launcher.opened.empty() && launcher.started.empty());
    // With one registered, the desktop opens the playlist with it.
    launcher.defaultApplication = "player.desktop";
    EXPECT_TRUE(AddToPlayerList(audio, program, settings, launcher).started);
    EXPECT_EQ(launcher.opened, Lines{m3u});

    // Mode 1: the stored path loses its quotes and gets "/ADD" and the playlist.
    settings.audioProgramMode = 1;
    settings.audioProgram = "\"" + player + "\"";
    EXPECT_TRUE(AddToPlayerList(audio, program, settings, launcher).started);
    settings.videoProgram = player;
    EXPECT_TRUE(AddToPlayerList(video, program, settings, launcher).started);
    EXPECT_EQ(launcher.started, (std::vector<RecordingLauncher::Started>{{player, {"/ADD", m3u}}, {player, {lap}}}));

    // A missing player, a failed start and an unwritable program folder all say so.
    settings.audioProgram = tmp / "bin/none";
    out = AddToPlayerList(audio, program, settings, launcher);
    EXPECT_FALSE(out.started);
    EXPECT_NE(out.status.find("The audio player " + settings.audioProgram + " was not found"), std::string::npos);
    settings.videoProgram.clear();
    EXPECT_NE(AddToPlayerList(video, program, settings, launcher).status.find("No video player is set"),
              std::string::npos);
    settings.audioProgram = player;
    launcher.failStarts = true;
    out = AddToPlayerList(audio, program, settings, launcher);
    EXPECT_FALSE(out.started);
    EXPECT_NE(out.status.find("cannot start"), std::string::npos);
    const std::string notAFolder = tmp.Write("plain", "");
    out = PlayPlayList(audio, notAFolder, launcher);
    EXPECT_EQ(out.playlist, "");
    EXPECT_NE(out.status.find("The playlist was not written"), std::string::npos);
}

}  // namespace
}  // namespace tandrel
