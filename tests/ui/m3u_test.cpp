#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

#include "window_fixture.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;
using test::PromptKind;

// A playlist written on Windows, in code page 1251.
const std::string kPlaylist = Cp("#EXTM3U\r\n#EXTINF:215,Рок - Ночь\r\nD:\\Music\\Рок - Ночь.mp3\r\n"
                                 "#EXTINF:60\r\n\r\nD:\\Music\\two.wav\r\n");

class M3UWindowTest : public test::WindowTest {
protected:
    // The key as a person presses it in the active window, through its shortcuts.
    void Press(Qt::Key key) {
        form().show();
        QApplication::setActiveWindow(&form());
        QTest::keyClick(&form(), key);
    }
    void OpenPlaylist(const char* name = "rock.m3u") {
        form().OpenOutputDocument(OpenMode::FileList, name);
        ASSERT_TRUE(Action("mnGetM3Uinf")->isEnabled());
    }
    void ShowCheckList() { Control<TRadioGroup>("rgEditMode")->button(1)->click(); }
    void ExpectNamedResult() {
        EXPECT_EQ(form().documentName(), "file_001.txt");
        EXPECT_EQ(form().savePath(), "file_001.txt");
        EXPECT_EQ(form().windowTitle(), "Tandrel - file_001.txt");
        EXPECT_EQ(form().output->title(), "Edit File: file_001.txt");
    }
};

TEST_F(M3UWindowTest, F5AndF6FillTheVisibleViewOfAnOpenedPlaylist) {
    tmp.Write("music/rock.m3u", kPlaylist);
    Start();
    // At the first start (no settings) the find command's dialog box is off too.
    for (const char* name : {"mnGetM3Uinf", "mnGetM3Unames", "mnGetM3UnamesAndSaveToFile", "mnFindM3Unames"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;  // until a playlist is opened
    OpenPlaylist();
    Press(Qt::Key_F5);
    EXPECT_EQ(form().outputLines(), (Lines{Cp("Рок - Ночь"), ""}));  // the line without a comma is empty
    ExpectNamedResult();

    OpenPlaylist();
    ShowCheckList();
    Press(Qt::Key_F6);
    EXPECT_EQ(form().checkList().lines(), (Lines{Cp("Рок - Ночь"), "two"}));
    EXPECT_EQ(form().outputLines().size(), 6u);  // the hidden editor keeps the playlist
    ExpectNamedResult();

    form().OpenOutputDocument(OpenMode::FileList, "rock.txt");  // another extension
    EXPECT_FALSE(Action("mnGetM3Unames")->isEnabled());
}

TEST_F(M3UWindowTest, F8SavesTheBareNamesBesideThePlaylistAskingBeforeReplacing) {
    tmp.Write("music/my.list.m3u", kPlaylist);
    tmp.Write("music/my.txt", "old\r\n");
    Start();
    OpenPlaylist("my.list.m3u");
    ShowCheckList();  // works on the editor's lines whatever view is visible
    prompter.Yes();
    Press(Qt::Key_F8);
    EXPECT_EQ(prompter.Count(PromptKind::YesNoCancel), 1u);
    EXPECT_EQ(test::ReadAll(music + "/my.txt"), Cp("Рок - Ночь\r\ntwo\r\n"));
    EXPECT_EQ(form().windowTitle(), "Tandrel - my.txt");
    EXPECT_EQ(form().checkList().lines().size(), 6u);
}

TEST_F(M3UWindowTest, FindAsksForThePlaylistAndReplacesItsEntriesByTheFilesFound) {
    tmp.Write("lists/rock.m3u", kPlaylist);
    tmp.Write("lists/sub/рок - ночь.MP3", "");
    tmp.Write("lists/sub/Two.wav", "");
    tmp.Write("music/two.wav", "");  // outside the playlist's directory
    WriteRegistry("\"M3UDlgBox\"=dword:00000001\r\n");
    Start();
    ASSERT_TRUE(Action("mnFindM3Unames")->isEnabled());
    prompter.Cancel();
    Action("mnFindM3Unames")->trigger();
    EXPECT_TRUE(form().documentName().empty());

    prompter.Text(tmp / "lists/rock.m3u");
    Action("mnFindM3Unames")->trigger();
    const std::vector<test::PromptCall>& calls = prompter.calls();
    const auto dialog = std::find_if(calls.rbegin(), calls.rend(),
                                     [](const test::PromptCall& c) { return c.kind == PromptKind::OpenFile; });
    ASSERT_NE(dialog, calls.rend());
    EXPECT_EQ(dialog->args.at(3), "1");  // "Play List (*.m3u)" preselected
    const std::string lists = tmp / "lists";
    EXPECT_EQ(form().fileManager->dirListBox->directory(), lists);
    EXPECT_EQ(form().fileMask(), "*.m3u");
    EXPECT_EQ(form().fileManager->filesListBox->names(), Lines{"rock.m3u"});
    EXPECT_EQ(form().outputLines(), (Lines{"#EXTM3U", Cp("#EXTINF:215,Рок - Ночь"), Cp(lists + "/sub/рок - ночь.MP3"),
                                           "#EXTINF:60", lists + "/sub/Two.wav"}));
    ExpectNamedResult();
    EXPECT_FALSE(prompter.busy());
}

TEST_F(M3UWindowTest, FindWithoutItsDialogFollowsThePlaylistExtensionAndSearchesTheFileListsDirectory) {
    WriteRegistry("\"M3UDlgBox\"=dword:00000000\r\n");
    tmp.Write("music/rock.m3u", kPlaylist);
    tmp.Write("music/sub/Two.wav", "");
    Start();
    EXPECT_FALSE(Action("mnFindM3Unames")->isEnabled());
    OpenPlaylist();
    ASSERT_TRUE(Action("mnFindM3Unames")->isEnabled());
    ShowCheckList();
    Action("mnFindM3Unames")->trigger();
    EXPECT_EQ(form().checkList().lines(), (Lines{"#EXTM3U", Cp("#EXTINF:215,Рок - Ночь"), Cp("D:\\Music\\Рок - Ночь.mp3"),
                                                 "#EXTINF:60", music + "/sub/Two.wav"}));
    ExpectNamedResult();
    EXPECT_EQ(prompter.Count(PromptKind::OpenFile), 0u);
}

TEST_F(M3UWindowTest, MediaNamesOfTheFileListUnderAMediaMask) {
    for (const char* name : {"b.mp3", "a.mp3", "c.txt"}) tmp.Write(std::string("music/") + name, "");
    Start();
    form().setFileMask("*.mp3");
    ASSERT_TRUE(Action("mnGetMP3files")->isEnabled());
    Control<QPushButton>("bbtnGetMP3files")->click();
    EXPECT_EQ(form().outputLines(), (Lines{"a", "b"}));
    ExpectNamedResult();
}

}  // namespace
}  // namespace tandrel
