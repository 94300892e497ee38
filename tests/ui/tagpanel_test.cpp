#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "ui/tagpanelview.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

class TagPanelTest : public test::WindowTest {
protected:
    // song.mp3 with both tags, listed under the mask "*.mp3" and clicked.
    std::string StartOnTaggedSong() {
        const std::string path = tmp.Write("music/song.mp3", std::string(1000, '\x55'));
        TID3v2 v2;
        v2.SetTitle(Cp("Звезда по имени Солнце"));
        v2.SetArtist("Kino");
        v2.SetYear("1989");
        v2.SetGenre("Rock");
        EXPECT_TRUE(v2.SaveToFile(path));
        TID3v1 v1;
        v1.SetTitle("Zvezda");
        v1.SetTrack(3);
        v1.SetGenreID(17);
        EXPECT_TRUE(v1.SaveToFile(path));
        Start();
        form().fileManager->edMask->setEditText("*.mp3");
        FileListBox* list = form().fileManager->filesListBox;
        list->setCurrentName("song.mp3");
        emit list->clicked(list->currentIndex());
        return path;
    }
};

TEST_F(TagPanelTest, ClickingAnMp3ShowsBothTagsAndUpdateID3v2SavesTheEditedTitle) {
    const std::string path = StartOnTaggedSong();
    EXPECT_TRUE(Control<QCheckBox>("cbID3v1Tag")->isChecked());
    EXPECT_EQ(Control<QLabel>("stID3v1TagVer")->text(), "1.1");
    EXPECT_EQ(Control<QLineEdit>("edID3v1Title")->text(), "Zvezda");
    EXPECT_EQ(Control<QLineEdit>("edID3v1TrackNum")->text(), "3");
    EXPECT_EQ(Control<QComboBox>("cbID3v1Genre")->currentText(), "Rock");
    EXPECT_TRUE(Control<QCheckBox>("cbID3v2Tag")->isChecked());
    EXPECT_EQ(Control<QLabel>("stID3v2TagVer")->text(), "2.3");
    EXPECT_EQ(Control<QLineEdit>("edID3v2Title")->text(), QString::fromUtf8("Звезда по имени Солнце"));
    EXPECT_EQ(Control<QComboBox>("cbID3v2Genre")->currentText(), "Rock");

    Control<QLineEdit>("edID3v2Title")->setText(QString::fromUtf8("Группа крови"));
    Control<QPushButton>("bbtnSaveID3v2")->click();
    TID3v2 saved;
    ASSERT_TRUE(saved.ReadFromFile(path));
    EXPECT_EQ(saved.Title(), Cp("Группа крови"));
    EXPECT_EQ(saved.Artist(), "Kino");
    TID3v1 v1;
    ASSERT_TRUE(v1.ReadFromFile(path));
    EXPECT_EQ(v1.Title(), "Zvezda");  // the other half was not saved
    EXPECT_EQ(prompter.Count(test::PromptKind::Message), 0u);
}

TEST_F(TagPanelTest, CopyingFromID3v2CutsToTheID3v1WidthsAndTheTitleTakesNo31stCharacter) {
    StartOnTaggedSong();
    Control<QLineEdit>("edID3v2Title")->setText(QString(35, 'a'));
    Control<QLineEdit>("edID3v2Year")->setText("2003-05");
    Control<QPushButton>("bbtnCopyFromID3v2")->click();
    QLineEdit* title = Control<QLineEdit>("edID3v1Title");
    EXPECT_EQ(title->text(), QString(30, 'a'));
    EXPECT_EQ(Control<QLineEdit>("edID3v1Year")->text(), "3-05");

    title->setFocus();
    title->end(false);
    test::Key(title, Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(title->text(), QString(30, 'a'));
    test::Key(title, Qt::Key_Backspace);
    test::Key(title, Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(title->text(), QString(29, 'a') + "b");
}

// Under the mask "*.*" a click reads no tags: the first file's tags stayed on
// screen beside the second file's name, and "Update ID3v2" wrote nothing and
// said nothing.
TEST_F(TagPanelTest, AClickThatReadsNoTagsClearsThePanelAndASaveThatWritesNothingSaysWhy) {
    const std::string song = StartOnTaggedSong();
    const std::string other = tmp.Write("music/other.mp3", std::string(1000, '\x66'));
    QPushButton* save = Control<QPushButton>("bbtnSaveID3v2");
    EXPECT_TRUE(save->isEnabled());
    form().fileManager->edMask->setEditText("*.*");
    FileListBox* list = form().fileManager->filesListBox;
    list->setCurrentName("other.mp3");
    emit list->clicked(list->currentIndex());
    EXPECT_EQ(Control<QLineEdit>("edID3v2Title")->text(), "");
    EXPECT_EQ(Control<QLineEdit>("edID3v1Title")->text(), "");
    EXPECT_FALSE(Control<QCheckBox>("cbID3v2Tag")->isChecked());
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("bbtnSaveID3v1")->isEnabled());

    // The handler run anyway (a key, a script) writes nothing and says why.
    Control<QLineEdit>("edID3v2Title")->setText("Stale");
    form().findChild<TagPanelView*>()->bbtnSaveID3v2Click();
    EXPECT_EQ(prompter.statusText(), "Tag not saved: no file of a media file list is selected");
    EXPECT_EQ(test::ReadAll(other), std::string(1000, '\x66'));

    // Under a media mask again, the panel shows the tags of the file saved into, and only those.
    form().fileManager->edMask->setEditText("*.mp3");
    list->setCurrentName("song.mp3");
    emit list->clicked(list->currentIndex());
    EXPECT_TRUE(save->isEnabled());
    list->setCurrentName("other.mp3");
    form().findChild<TagPanelView*>()->bbtnSaveID3v2Click();
    EXPECT_EQ(prompter.statusText(), "Tag not saved: the tag panel does not show the tags of " + other);
    EXPECT_EQ(test::ReadAll(other), std::string(1000, '\x66'));
    TID3v2 kept;
    ASSERT_TRUE(kept.ReadFromFile(song));
    EXPECT_EQ(kept.Title(), Cp("Звезда по имени Солнце"));
}

// Typed text the tag cannot hold was saved as byte 0x98 without a word.
TEST_F(TagPanelTest, TypingCharactersOutsideCp1251AsksBeforeSaving) {
    const std::string path = StartOnTaggedSong();
    Control<QLineEdit>("edID3v2Artist")->setText(QString::fromUtf8("Motörhead ☆"));
    prompter.No();
    Control<QPushButton>("bbtnSaveID3v2")->click();
    ASSERT_EQ(prompter.Count(test::PromptKind::YesNo), 1u);
    EXPECT_NE(prompter.Texts(test::PromptKind::YesNo)[0].find("U+00F6, U+2606"), std::string::npos);
    TID3v2 saved;
    ASSERT_TRUE(saved.ReadFromFile(path));
    EXPECT_EQ(saved.Artist(), "Kino");

    prompter.Yes();
    Control<QPushButton>("bbtnSaveID3v2")->click();
    ASSERT_TRUE(saved.ReadFromFile(path));
    EXPECT_EQ(saved.Artist(), "Mot?rhead ?");
}

}  // namespace
}  // namespace tandrel
