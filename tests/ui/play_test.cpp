#include <QCheckBox>
#include <QItemSelectionModel>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>

#include "support/recording_launcher.h"
#include "ui/checklist.h"
#include "ui/filelists.h"
#include "ui/mediaplayer.h"
#include "ui/regions.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

// A mono 8-bit PCM wave file of the given length at 8000 samples a second.
std::string WaveFile(int milliseconds) {
    const std::uint32_t samples = 8000u * static_cast<std::uint32_t>(milliseconds) / 1000u;
    auto u32 = [](std::uint32_t v) {
        return std::string{char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
    };
    auto u16 = [](std::uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; };
    std::string wav = "RIFF" + u32(36 + samples) + "WAVE";
    wav += "fmt " + u32(16) + u16(1) + u16(1) + u32(8000) + u32(8000) + u16(1) + u16(8);
    wav += "data" + u32(samples);
    for (std::uint32_t i = 0; i < samples; ++i) wav += static_cast<char>(i % 16 < 8 ? 0x60 : 0xA0);
    return wav;
}

class PlayWindowTest : public test::WindowTest {
protected:
    void Start() {
        WindowTest::Start();
        auto recording = std::make_unique<test::RecordingLauncher>();
        launcher = recording.get();
        form().setLauncher(std::move(recording));
    }
    void ShowCheckListWith(const Lines& lines) {
        form().ShowOutputLines(lines);
        Control<TRadioGroup>("rgEditMode")->button(1)->click();
    }
    std::string program() { return form().programDirectory(); }
    test::RecordingLauncher* launcher = nullptr;
};

TEST_F(PlayWindowTest, PlayListButtonsHandTheCheckedLinesToThePlayers) {
    tmp.Write("music/one.mp3", "1");
    tmp.Write("music/two.mp3", "2");
    const std::string player = tmp.Write("bin/player", "#!/bin/sh\n");
    Start();
    form().setFileMask("*.mp3");
    Control<QCheckBox>("cbAddFileName")->setChecked(false);
    auto* playList = Control<QPushButton>("bbtnPlayList");
    auto* addPlayList = Control<QPushButton>("bbtnAddPlayList");
    EXPECT_FALSE(playList->isEnabled());  // only in the check list view
    EXPECT_FALSE(Action("pmAddPlayList")->isEnabled());
    ShowCheckListWith({"one", music + "/two.mp3", "three"});
    EXPECT_TRUE(playList->isEnabled());
    EXPECT_TRUE(addPlayList->isEnabled());
    for (int row : {0, 1, 2}) form().checkList().setChecked(row, true);

    playList->click();
    const std::string m3u = program() + "/playlist.m3u";
    EXPECT_EQ(test::ReadAll(m3u), music + "/one.mp3\r\n" + music + "/two.mp3\r\n");
    EXPECT_EQ(launcher->opened, Lines{m3u});
    EXPECT_EQ(form().statusText(), "Playlist " + m3u + ": 2 file(s), 1 line(s) named no file, handed to the desktop");

    form().settings().audioProgramMode = 1;
    form().settings().audioProgram = "\"" + player + "\"";
    addPlayList->click();
    ASSERT_EQ(launcher->started.size(), 1u);
    EXPECT_EQ(launcher->started[0].program, player);
    EXPECT_EQ(launcher->started[0].args, (Lines{"/ADD", m3u}));

    // The setting that disables the button leaves the menu entry.
    form().settings().disablePlayListButton = true;
    Control<TRadioGroup>("rgEditMode")->button(0)->click();
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    EXPECT_FALSE(playList->isEnabled());
    EXPECT_TRUE(Action("pmPlayList")->isEnabled());
}

TEST_F(PlayWindowTest, PlayOpensTheCurrentFileWithTheDesktopsProgram) {
    tmp.Write("music/a.mp3", "1");
    tmp.Write("music/b.mp3", "2");
    Start();
    form().setFileMask("*.mp3");
    FileListBox* list = form().fileManager->filesListBox;
    Action("pmPlay")->trigger();
    EXPECT_TRUE(launcher->opened.empty());  // nothing selected
    list->setCurrentIndex(list->model()->index(1, 0));
    Action("pmPlay")->trigger();
    EXPECT_EQ(launcher->opened, Lines{music + "/" + list->currentName()});
    launcher->failStarts = true;
    Action("pmPlay")->trigger();
    EXPECT_NE(form().statusText().find("no program opens it"), std::string::npos);
}

TEST_F(PlayWindowTest, BuiltInPlayerPlaysTheChosenLineOrSaysWhyNot) {
    tmp.Write("music/tone.wav", WaveFile(1500));
    Start();
    auto* player = form().output->MediaPlayer;
    auto* play = player->findChild<QToolButton*>("MediaPlayerPlay");
    ShowCheckListWith({"nothing", "tone"});
    auto* view = Control<QListView>("clbOutput");

    view->setCurrentIndex(view->model()->index(0, 0));
    play->click();
    EXPECT_EQ(player->fileName(), "");
    EXPECT_EQ(form().statusText(), "No file to play: no device is open");

    // A bare line is the current directory's wave file.
    view->setCurrentIndex(view->model()->index(1, 0));
    play->click();
    EXPECT_EQ(player->fileName(), music + "/tone.wav");
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->isPlaying() || !player->errorText().empty(); }, 10000));
    if (player->isPlaying()) {
        std::cout << "[ note ] the built-in player reached the playing state\n";
        EXPECT_EQ(form().statusText(), "Playing " + music + "/tone.wav");
        player->findChild<QToolButton*>("MediaPlayerStop")->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !player->isPlaying(); }, 5000));
    } else {
        std::cout << "[ note ] no audio device: the player said \"" << player->errorText() << "\"\n";
        EXPECT_EQ(form().statusText(), player->errorText());
    }
}

TEST_F(PlayWindowTest, AboutBoxSpeaksTheCurrentLanguage) {
    Start();
    form().ApplyLanguage(1);
    Action("mnAbout")->trigger();
    auto* box = form().findChild<QMessageBox*>("AboutBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("О программе Tandrel"));
    EXPECT_TRUE(box->text().contains(QString::fromUtf8("Каталоги, поиск")));
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form().ApplyLanguage(0);
    Action("mnAbout")->trigger();
    box = form().findChild<QMessageBox*>("AboutBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Tandrel");
}

}  // namespace
}  // namespace tandrel
