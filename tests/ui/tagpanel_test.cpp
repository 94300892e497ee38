#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "text/cp1251.h"
#include "ui/mainform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

class TagPanelTest : public test::WindowTest {
protected:
    // song.mp3 with both tags, listed under the mask "*.mp3" and clicked.
    std::string StartOnTaggedSong() {
        const std::string path = tmp.Write("music/song.mp3", std::string(1000, '\x55'));
        TID3v2 v2;
        v2.SetTitle(Utf8ToCp1251("Звезда по имени Солнце").text);
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
    void Type(QLineEdit* edit, int key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
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
    EXPECT_EQ(saved.Title(), Utf8ToCp1251("Группа крови").text);
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
    Type(title, Qt::Key_B, "b");
    EXPECT_EQ(title->text(), QString(30, 'a'));
    Type(title, Qt::Key_Backspace);
    Type(title, Qt::Key_B, "b");
    EXPECT_EQ(title->text(), QString(29, 'a') + "b");
}

}  // namespace
}  // namespace tandrel
