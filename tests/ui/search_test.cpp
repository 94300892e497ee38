#include <QTimer>

#include "tags/id3v1.h"
#include "ui/searchcommands.h"
#include "ui/synonymsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

class SearchWindowTest : public test::WindowTest {
protected:
    QLineEdit* edFind() { return Control<QLineEdit>("edFind"); }
    // Types the query into the empty search box and presses Enter.
    void Find(const QString& query, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        edFind()->clear();
        Type(edFind(), query);
        Key(edFind(), Qt::Key_Return, modifiers);
    }
    void Select(const std::string& name) { form().fileManager->filesListBox->setCurrentName(name); }
};

TEST_F(SearchWindowTest, EnterFindsLinesAndTheCheckListShowsThemAsFile001) {
    WriteRegistry("\"RecursiveSearch\"=dword:00000001\r\n");
    tmp.Write("music/a.txt", "first song\r\nnothing\r\n");
    tmp.Write("music/sub/b.txt", "Song two\r\n");
    Start();
    Control<QCheckBox>("cbScanDir")->click();
    Find("song");
    EXPECT_EQ(form().documentName(), "file_001.txt");
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    EXPECT_EQ(Sorted(form().checkList().lines()),
              (Lines{"Song two \t[" + music + "/sub/b.txt]", "first song \t[" + music + "/a.txt]"}));
    // The window is back to normal: button, indicator, cursor.
    EXPECT_TRUE(Control<QPushButton>("bbtnFind")->isEnabled());
    EXPECT_TRUE(Control<QLabel>("stFindInd")->isHidden());
    EXPECT_EQ(prompter.Texts(PromptKind::WaitCursor), (Lines{"busy", "idle"}));
    EXPECT_FALSE(prompter.Texts(PromptKind::Progress).empty());
}

TEST_F(SearchWindowTest, OneSpaceStartsNothingTwoSpacesSearchAndNoSelectionAsksForAFile) {
    tmp.Write("music/a.txt", "a b\r\n");
    Start();
    Find(" ");
    EXPECT_TRUE(form().documentName().empty());
    EXPECT_EQ(prompter.Count(PromptKind::WaitCursor), 0u);
    Find("a");  // "Scan Directorys" is off and no file is selected
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Lines{"Please, choose file for searching!"});
    EXPECT_TRUE(form().documentName().empty());
    EXPECT_TRUE(Control<QPushButton>("bbtnFind")->isEnabled());

    Select("a.txt");
    Find("A");
    EXPECT_EQ(form().outputLines(), Lines{"a b"});
    Control<QCheckBox>("cbScanDir")->click();
    Find("  ");
    EXPECT_EQ(form().documentName(), "file_001.txt");
    EXPECT_TRUE(form().outputLines().empty());

    edFind()->setText(QString::fromUtf8("Привет"));
    Control<QToolButton>("sbtnFindTextToTranslit")->click();
    EXPECT_EQ(edFind()->text(), "Privet");
}

TEST_F(SearchWindowTest, AdvancedPanelInterlocksAndTheDriveList) {
    Start();
    auto* scan = Control<QCheckBox>("cbScanDir");
    auto* drives = Control<QCheckBox>("cbFindOnDrives");
    auto* useMask = Control<QCheckBox>("cbUseMask");
    auto* home = Control<QCheckBox>("cbUseHomeDirMask");
    auto* mask = Control<QComboBox>("cboxMask");
    auto* driveBox = Control<QComboBox>("FindDrvBox");
    auto enabled = [](std::initializer_list<QWidget*> ws) {
        std::string flags;
        for (QWidget* w : ws) flags += w->isEnabled() ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(enabled({Control<QWidget>("rgFindMode"), drives, useMask, home, mask, driveBox}), "000000");
    scan->click();
    EXPECT_EQ(enabled({Control<QWidget>("rgFindMode"), drives, useMask, home, mask, driveBox}), "111110");
    drives->click();
    EXPECT_EQ(enabled({driveBox, Control<QWidget>("edFindDrv")}), "11");
    home->click();  // takes the place of the mask and the drives
    EXPECT_FALSE(useMask->isChecked() || drives->isChecked());
    EXPECT_EQ(enabled({mask, driveBox}), "00");
    useMask->click();
    EXPECT_FALSE(home->isChecked());
    drives->click();
    scan->click();  // off: the drives go off with it
    EXPECT_FALSE(drives->isChecked());
    EXPECT_EQ(enabled({mask, driveBox}), "00");
    scan->click();
    Control<QCheckBox>("cbFTPlocal")->click();
    EXPECT_EQ(enabled({scan, home, useMask, mask, drives, Control<QWidget>("bbtnFindDir")}), "000000");
    Control<QCheckBox>("cbFTPlocal")->click();
    EXPECT_EQ(enabled({scan, home, useMask, mask, drives, Control<QWidget>("bbtnFindDir"), driveBox}), "1111110");

    // Insert and Delete in the drive box edit the drive list.
    drives->click();
    auto* list = Control<QLineEdit>("edFindDrv");
    ASSERT_EQ(driveBox->itemText(0), "/");
    list->setText("/media/x");
    Key(driveBox, Qt::Key_Insert);
    Key(driveBox, Qt::Key_Insert);  // already in the list
    EXPECT_EQ(list->text(), "/media/x,/");
    Key(driveBox, Qt::Key_Delete);
    EXPECT_EQ(list->text(), "/media/x");
    list->clear();
    // An empty drive list searches nothing and still gives the output.
    Find("x");
    EXPECT_EQ(form().documentName(), "file_001.txt");
    EXPECT_TRUE(form().outputLines().empty());
    EXPECT_EQ(form().statusText(), "Nothing was searched: no directory to search in.");
}

TEST_F(SearchWindowTest, CtrlEnterFindsDirectoriesAndKeepsTheDocumentName) {
    tmp.Write("music/Rock/Rock Ballads/x.txt", "");
    tmp.Write("music/Pop/y.txt", "");
    tmp.Write("music/list.txt", "one\r\n");
    Start();
    form().OpenOutputDocument(OpenMode::FileList, "list.txt");
    Find("rock", Qt::ControlModifier);
    EXPECT_EQ(Sorted(form().outputLines()), (Lines{music + "/Rock", music + "/Rock/Rock Ballads"}));
    EXPECT_EQ(Sorted(form().checkList().lines()), Sorted(form().outputLines()));
    EXPECT_EQ(form().documentName(), "list.txt");
    EXPECT_TRUE(Control<QLabel>("stFindInd")->isHidden());
    Find("jazz", Qt::ControlModifier);  // no hit: the editor is cleared, the check list keeps its lines
    EXPECT_TRUE(form().outputLines().empty());
    EXPECT_EQ(form().checkList().lines().size(), 2u);
}

TEST_F(SearchWindowTest, FileNameWordsCopiedAndSearched) {
    tmp.Write("music/Artist_-_Song (Live).txt", "");
    tmp.Write("music/other/Live at home.txt", "");
    WriteRegistry("\"RecursiveSearch\"=dword:00000001\r\n\"FindMode\"=dword:00000000\r\n"
                  "\"FullString\"=dword:00000000\r\n\"ScanDir\"=dword:00000001\r\n");
    Start();
    Select("Artist_-_Song (Live).txt");
    Action("pmCopyWordsToFind")->trigger();
    EXPECT_EQ(edFind()->text(), "Artist Song Live ");
    Action("pmWordsSearch")->trigger();  // any word: Artist, Song and Live in turn, each a whole walk
    EXPECT_EQ(Sorted(form().outputLines()), Sorted({music + "/Artist_-_Song (Live).txt", music +
                                                     "/Artist_-_Song (Live).txt", music + "/Artist_-_Song (Live).txt",
                                                     music + "/other/Live at home.txt"}));
}

TEST_F(SearchWindowTest, AMediaSearchMaskTurnsInsideSearchesIntoTagSearches) {
    const std::string mp3 = tmp.Write("music/song.mp3", std::string(600, 'U'));
    tmp.Write("music/song.txt", "Big Band");
    TID3v1 tag;
    tag.SetArtist("Big Band");
    ASSERT_TRUE(tag.SaveToFile(mp3));
    Start();
    Control<QCheckBox>("cbScanDir")->click();
    auto* mask = Control<QComboBox>("cboxMask");
    mask->lineEdit()->clear();
    Type(mask->lineEdit(), "*.mp3");
    EXPECT_EQ(Control<QComboBox>("edMask")->currentText(), "*.mp3");
    EXPECT_TRUE(form().findChild<TSearchCommands*>()->advancedMaskIsMedia());
    Find("band");
    EXPECT_EQ(form().outputLines(), Lines{music + "/song.mp3"});
}

TEST_F(SearchWindowTest, SynonymsDialogEditsAndAlwaysSaves) {
    Start();
    TSynonymsForm dialog(form().programDirectory(), form().prompter(), 0, &form());
    dialog.show();
    QTreeWidget* list = dialog.StringListView;
    QLineEdit* edit = dialog.edString4ListView;
    for (const char* members : {"rock,рок", "pop,поп", "jazz,джаз"}) {
        Key(list, Qt::Key_F5);
        ASSERT_TRUE(edit->isVisible());
        edit->setText(QString::fromUtf8(members));
        Key(edit, Qt::Key_Return);  // commits; the default button does not close the dialog
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(edit->isVisible());
    }
    EXPECT_EQ(dialog.groups().at(0), (SynonymGroup{"Syn1", Cp("rock,рок")}));
    list->setCurrentItem(list->topLevelItem(0));
    Key(list, Qt::Key_F8);
    Key(list, Qt::Key_F5);
    EXPECT_EQ(edit->text(), QString::fromUtf8("jazz,джаз"));  // a copy of the last group
    edit->setText("blues");
    Key(edit, Qt::Key_F2);
    list->setCurrentItem(list->topLevelItem(0));
    Key(list, Qt::Key_F4);
    edit->setText("changed");
    Key(edit, Qt::Key_Escape);  // cancels the edit, not the dialog
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.groups().at(0).list, Cp("pop,поп"));
    dialog.bbtnOk->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(test::ReadAll(form().programDirectory() + "/Synonyms.ini"),
              Cp("Syn2=pop,поп\r\nSyn3=jazz,джаз\r\nSyn3=blues\r\n"));
}

TEST_F(SearchWindowTest, UseSynonymsSearchesTheSelectedFileByEveryMember) {
    tmp.Write("music/a.txt", Cp("rock\r\nрок\r\njazz\r\n"));
    Start();
    // The menu opens the dialog modally; closing it saves the groups.
    QTimer::singleShot(0, &form(), [this] {
        auto* dialog = form().findChild<TSynonymsForm*>();
        ASSERT_NE(dialog, nullptr);
        dialog->pmAddCopyClick();
        dialog->edString4ListView->setText(QString::fromUtf8("Rock,Рок"));
        dialog->edString4ListViewKeyUp(Qt::Key_Return);
        dialog->bbtnOk->click();
    });
    Action("mnSynonyms")->trigger();
    Control<QCheckBox>("cbUseSynonyms")->click();
    Select("a.txt");
    Find(QString::fromUtf8("рок"));
    EXPECT_EQ(form().outputLines(), (Lines{"rock", Cp("рок")}));
}

// The Enter that closes a message box goes down in the box and comes up in
// the search box behind it: that release must not start the search again.
TEST_F(SearchWindowTest, EnterThatClosedAMessageBoxDoesNotRunTheSearchAgain) {
    tmp.Write("music/a.txt", "a b\r\n");
    Start();
    Find("a");  // "Scan Directorys" off and no file selected
    ASSERT_EQ(prompter.Count(PromptKind::Message), 1u);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edFind(), &release);
    EXPECT_EQ(prompter.Count(PromptKind::Message), 1u);
    Find("a");  // a whole key stroke in the box still searches
    EXPECT_EQ(prompter.Count(PromptKind::Message), 2u);
}

// A UTF-8 text file, as editors here write them, showed mojibake in the output
// and a Cyrillic search missed it.
TEST_F(SearchWindowTest, AUtf8TextFileShowsCyrillicInTheOutputAndACyrillicSearchFindsIt) {
    tmp.Write("music/utf8.txt", "Группа крови на рукаве\nмой номер\n");
    tmp.Write("music/cp1251.txt", Cp("Группа крови\r\n"));
    Start();
    form().fileManager->edMask->setEditText("*.txt");
    Select("utf8.txt");
    form().FilesListBoxDblClick();
    EXPECT_EQ(form().documentName(), "utf8.txt");
    EXPECT_EQ(form().output->reOutput->toPlainText(), QString::fromUtf8("Группа крови на рукаве\nмой номер"));

    Control<QCheckBox>("cbScanDir")->click();
    Find(QString::fromUtf8("КРОВИ"));
    EXPECT_EQ(Sorted(form().outputLines()), (Lines{Cp("Группа крови \t[") + music + "/cp1251.txt]",
                                                   Cp("Группа крови на рукаве \t[") + music + "/utf8.txt]"}));
    EXPECT_NE(form().output->reOutput->toPlainText().indexOf(QString::fromUtf8("Группа крови на рукаве")), -1);
}

// A collection with the word in text files and in tags of nested
// sub-directories, searched from its top directory with "Scan Directorys".
TEST_F(SearchWindowTest, ScanningFromTheTopDirectoryFindsTextAndTagsInSubdirectories) {
    WriteRegistry("\"RecursiveSearch\"=dword:00000001\r\n");
    tmp.Write("music/Docs/sub/lyrics.txt", Cp("Группа крови на рукаве\r\nмой номер\r\n"));
    tmp.Write("music/Docs/notes.txt", Cp("нет крови\r\n"));
    TID3v1 tag;
    tag.SetTitle(Cp("Группа крови"));
    tag.SetArtist(Cp("Кино"));
    const std::string audio = std::string("\xFF\xFB\x90\x00", 4) + std::string(600, '\0');
    tmp.Write("music/Кино/Группа крови/01.mp3", audio);
    tmp.Write("music/Кино/Звезда.mp3", audio);
    ASSERT_TRUE(tag.SaveToFile(music + Cp("/Кино/Группа крови/01.mp3")));
    Start();
    Control<QCheckBox>("cbScanDir")->click();
    Find(QString::fromUtf8("крови"));
    // The summary first, then what the walk noted: the MP3 files are binary and not searched as text.
    EXPECT_EQ(form().statusText().rfind("Found: 2  " + music + "/*.*; ", 0), 0u) << form().statusText();
    EXPECT_NE(form().statusText().find("a binary file; not searched"), std::string::npos);
    EXPECT_EQ(Sorted(form().outputLines()),
              (Lines{Cp("Группа крови на рукаве \t[") + music + "/Docs/sub/lyrics.txt]",
                     Cp("нет крови \t[") + music + "/Docs/notes.txt]"}));

    auto* mask = Control<QComboBox>("cboxMask");
    mask->setEditText("*.mp3");
    form().findChild<TSearchCommands*>()->cboxMaskChange();  // as when the user picks the mask
    Find(QString::fromUtf8("крови"));
    EXPECT_EQ(form().outputLines(), Lines{music + Cp("/Кино/Группа крови/01.mp3")});

    Control<TRadioGroup>("rgFindMode")->button(0)->click();  // by name
    Find(QString::fromUtf8("Звезда"));
    EXPECT_EQ(form().outputLines(), Lines{music + Cp("/Кино/Звезда.mp3")});

    // Without "Recursive searching" nothing below the top is found, and the status line says why.
    form().settings().recursiveSearch = false;
    Find(QString::fromUtf8("Звезда"));
    EXPECT_TRUE(form().outputLines().empty());
    EXPECT_NE(form().statusText().find("\"Recursive searching\" is off"), std::string::npos);
}

}  // namespace
}  // namespace tandrel
