#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "ui/editform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using test::PromptKind;
using OutputTest = test::WindowTest;

TEST_F(OutputTest, DoubleClickOpensAListOnlyUnderTheTextAndPlaylistMasks) {
    tmp.Write("music/list.txt", "Rock - One.mp3\r\nPop - Two.mp3\r\n");
    Start();
    FileListBox* list = form().fileManager->filesListBox;
    list->setCurrentName("list.txt");
    form().fileManager->edMask->setEditText("*.TXT");
    list->setCurrentName("list.txt");
    form().FilesListBoxDblClick();
    EXPECT_TRUE(form().documentName().empty());

    form().fileManager->edMask->setEditText("*.txt");
    list->setCurrentName("list.txt");
    form().FilesListBoxDblClick();
    EXPECT_EQ(form().documentName(), "list.txt");
    EXPECT_EQ(form().outputLines(), (std::vector<std::string>{"Rock - One.mp3", "Pop - Two.mp3"}));
    EXPECT_EQ(form().windowTitle(), "Tandrel - list.txt");
    EXPECT_EQ(form().output->title(), "Edit File: list.txt");
    EXPECT_TRUE(Action("mnSave")->isEnabled());
}

TEST_F(OutputTest, FilteringTheCheckListLeavesOnlyTheFilteredLinesInTheEditor) {
    tmp.Write("music/list.txt", "Rock - One\r\nPop - Two\r\nrock - Three\r\n");
    Start();
    form().OpenOutputDocument(OpenMode::FileList, "list.txt");
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    EXPECT_FALSE(form().output->clbOutput->isHidden());
    EXPECT_TRUE(Control<QPushButton>("bbtnCheckAll")->isEnabled());
    prompter.Text("ROCK");
    Action("mnFind")->trigger();
    EXPECT_EQ(prompter.calls().back().args.at(0), "Finding Parameters");
    EXPECT_EQ(form().checkList().lines(), (std::vector<std::string>{"Rock - One", "rock - Three"}));
    Control<TRadioGroup>("rgEditMode")->button(0)->click();
    EXPECT_EQ(form().outputLines(), (std::vector<std::string>{"Rock - One", "rock - Three"}));
    EXPECT_FALSE(Control<QPushButton>("bbtnCheckAll")->isEnabled());
    EXPECT_EQ(form().settings().currentEditMode, 0);
}

TEST_F(OutputTest, AddAppendsCheckedLinesToTheEditorWindowUnderTheNextFreeName) {
    tmp.Write("music/file_001.txt", "");
    tmp.Write("music/file_002.txt", "");
    tmp.Write("music/list.txt", "a.mp3\r\nb.mp3 [old.txt]\r\nc.mp3\r\n");
    Start();
    form().OpenOutputDocument(OpenMode::FileList, "list.txt");
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    form().checkList().setChecked(0, true);
    form().checkList().setChecked(1, true);
    Control<QCheckBox>("cbAddFileName")->click();
    Control<QCheckBox>("cbAddFilePath")->click();
    EXPECT_FALSE(Control<QCheckBox>("cbAddFileName")->isChecked());  // the adding modes exclude each other
    Control<QCheckBox>("cbAddFileName")->click();
    Control<QPushButton>("bbtnAddToFile")->click();
    TEditForm& edit = *windows->editForm;
    EXPECT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.fileName(), "file_003.txt");
    EXPECT_EQ(edit.windowTitle(), "Edit File: file_003.txt");
    EXPECT_EQ(edit.lines(), (std::vector<std::string>{"a.mp3 \t[list.txt]", "b.mp3 [old.txt]"}));
    EXPECT_FALSE(edit.saved());

    // Saving the editor window writes CR LF lines under its file name.
    edit.mnSaveClick();
    EXPECT_TRUE(edit.saved());
    EXPECT_EQ(test::ReadAll(music + "/file_003.txt"), "a.mp3 \t[list.txt]\r\nb.mp3 [old.txt]\r\n");
}

TEST_F(OutputTest, SaveAsksBeforeReplacingAndCancelWritesNothing) {
    tmp.Write("music/list.txt", "old\r\n");
    Start();
    form().OpenOutputDocument(OpenMode::FileList, "list.txt");
    form().output->reOutput->setPlainText("new");
    prompter.Cancel();
    Action("mnSave")->trigger();
    EXPECT_EQ(prompter.Texts(PromptKind::YesNoCancel).at(0),
              "File \"list.txt\" already exist.\nDo You want to replace this file?");
    EXPECT_EQ(test::ReadAll(music + "/list.txt"), "old\r\n");
    prompter.Yes();
    Action("mnSave")->trigger();
    EXPECT_EQ(test::ReadAll(music + "/list.txt"), "new\r\n");
}

// A character code page 1251 cannot hold (the guitar) is kept while its line
// is not edited, and Save asks before an edit would lose it.
TEST_F(OutputTest, AUtf8DocumentIsSavedBackInUtf8AndSaveAsksBeforeLosingACharacter) {
    tmp.Write("music/song.txt", "Кино\nЗвезда \xF0\x9F\x8E\xB8\nконец\n");
    Start();
    form().OpenOutputDocument(OpenMode::FileList, "song.txt");
    const QString shown = form().output->reOutput->toPlainText();
    EXPECT_EQ(shown, QString::fromUtf8("Кино\nЗвезда \xEF\xBF\xBD\nконец"));
    form().output->reOutput->setPlainText(QString(shown).replace(QString::fromUtf8("конец"), QString::fromUtf8("Конец")));
    prompter.Yes();  // replace the file
    Action("mnSave")->trigger();
    EXPECT_EQ(prompter.Count(PromptKind::YesNo), 0u);
    EXPECT_EQ(test::ReadAll(music + "/song.txt"), "Кино\nЗвезда \xF0\x9F\x8E\xB8\nКонец\n");

    form().output->reOutput->setPlainText(QString(shown).replace(QString::fromUtf8("Звезда"), QString::fromUtf8("Звёзды")));
    prompter.Yes().No();  // replace the file, then refuse to lose the character
    Action("mnSave")->trigger();
    ASSERT_EQ(prompter.Count(PromptKind::YesNo), 1u);
    EXPECT_NE(prompter.Texts(PromptKind::YesNo)[0].find("lines 2\n"), std::string::npos);
    EXPECT_EQ(test::ReadAll(music + "/song.txt"), "Кино\nЗвезда \xF0\x9F\x8E\xB8\nКонец\n");

    // The editor window saves the same way.
    TEditForm& edit = *windows->editForm;
    ASSERT_TRUE(edit.loadFile(music + "/song.txt"));
    edit.appendLine(Cp("ещё"));
    prompter.Text(music + "/copy.txt");
    edit.mnSaveAsClick();
    EXPECT_EQ(test::ReadAll(music + "/copy.txt"), "Кино\nЗвезда \xF0\x9F\x8E\xB8\nКонец\nещё\n");
}

TEST_F(OutputTest, AFailedWriteIsReportedAndTheEditorStaysUnsaved) {
    Start();
    TEditForm& edit = *windows->editForm;
    std::filesystem::create_directory(music + "/taken.txt");  // a directory where the file should go
    edit.setFileName("taken.txt");
    edit.show();
    edit.appendLine("line");
    prompter.Text(music + "/taken.txt");
    edit.mnSaveAsClick();
    ASSERT_EQ(prompter.Count(PromptKind::Message), 1u);
    EXPECT_NE(prompter.Texts(PromptKind::Message)[0].find("taken.txt"), std::string::npos);
    EXPECT_FALSE(edit.saved());
    // The close check asks about the unsaved text.
    prompter.No();
    edit.close();
    EXPECT_EQ(prompter.Texts(PromptKind::YesNo).back(), "File not Saved! Save File?");
}

TEST_F(OutputTest, FindInTheEditorSelectsEachOccurrenceThenStartsOver) {
    Start();
    form().OpenOutputDocument(OpenMode::SearchResults, "");
    form().output->reOutput->setPlainText("abc x abc");
    form().FindDialogFind("ABC", false);
    EXPECT_EQ(form().output->reOutput->selectionStart(), 0);
    form().FindDialogFind("ABC", false);
    EXPECT_EQ(form().output->reOutput->selectionStart(), 6);
    form().FindDialogFind("ABC", false);
    EXPECT_EQ(prompter.Texts(PromptKind::Message).back(), "Searching is notorized.");
    form().FindDialogFind("ABC", false);
    EXPECT_EQ(form().output->reOutput->selectionStart(), 0);
}

TEST_F(OutputTest, SearchResultsOpenAsTheFirstCatalogueName) {
    tmp.Write("music/file_001.txt", "kept\r\n");
    Start();
    form().searchResults() = {"one", "two"};
    EXPECT_EQ(form().OpenOutputDocument(OpenMode::SearchResults, ""), "file_001.txt");
    EXPECT_EQ(form().outputLines(), (std::vector<std::string>{"one", "two"}));
    prompter.Cancel();
    Action("mnSave")->trigger();  // the existing file is not replaced without asking
    EXPECT_EQ(prompter.Count(PromptKind::YesNoCancel), 1u);
    EXPECT_EQ(test::ReadAll(music + "/file_001.txt"), "kept\r\n");
}

// Opened in the check list, the document is not copied into the hidden editor,
// yet the editor's text, Sort Lines, Check All, Save and the switch between the
// views behave as they always did.
TEST_F(OutputTest, TheCheckListAndTheEditorShareTheDocumentAndSaveWritesTheEditorsLines) {
    const std::string file = Cp("b\r\nЁж\r\nA\r\nеж\r\na\r\nL·x\r\nLy\r\n");
    tmp.Write("music/list.txt", file);
    Start();
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    form().OpenOutputDocument(OpenMode::FileList, "list.txt");
    // The hidden editor shares the lines of the check list: nothing is copied.
    EXPECT_EQ(form().output->reOutput->lines()[1].data(), form().checkList().lineList()[1].data());
    const std::vector<std::string> opened = {"b", Cp("Ёж"), "A", Cp("еж"), "a", Cp("L·x"), "Ly"};
    EXPECT_EQ(form().outputLines(), opened);
    EXPECT_EQ(form().checkList().lines(), opened);

    Control<QPushButton>("bbtnCheckAll")->click();
    EXPECT_EQ(form().checkedOutputLines(), opened);
    Action("mnSortLines")->trigger();
    // Case is ignored (equal lines keep their order), ё follows е, "L·" sorts as the collator weighs it.
    const std::vector<std::string> sorted = {"A", "a", "b", Cp("L·x"), "Ly", Cp("еж"), Cp("Ёж")};
    EXPECT_EQ(form().checkList().lines(), sorted);
    EXPECT_TRUE(form().checkedOutputLines().empty());
    EXPECT_EQ(form().outputLines(), opened);  // the editor's text is not sorted

    prompter.Text(music + "/copy.txt");
    Action("mnSaveAs")->trigger();
    EXPECT_EQ(test::ReadAll(music + "/copy.txt"), file);

    Control<TRadioGroup>("rgEditMode")->button(0)->click();
    EXPECT_EQ(form().output->reOutput->toPlainText(), QString::fromUtf8("A\na\nb\nL·x\nLy\nеж\nЁж"));
    form().output->reOutput->setPlainText("edited\nlines");
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    EXPECT_EQ(form().checkList().lines(), (std::vector<std::string>{"edited", "lines"}));
    EXPECT_EQ(form().outputLines(), (std::vector<std::string>{"edited", "lines"}));
}

// A document ending in blank lines is saved back whole from either view.
TEST_F(OutputTest, ADocumentEndingInBlankLinesIsSavedBackWhole) {
    const std::string file = "a\r\n\r\n\r\n";
    tmp.Write("music/list.txt", file);
    Start();
    for (int view : {0, 1}) {
        Control<TRadioGroup>("rgEditMode")->button(view)->click();
        form().OpenOutputDocument(OpenMode::FileList, "list.txt");
        prompter.Text(music + "/copy.txt");
        Action("mnSaveAs")->trigger();
        EXPECT_EQ(test::ReadAll(music + "/copy.txt"), file) << "view " << view;
    }
}

// A long document goes to the editor and back whole; an edit made in the
// editor reaches the check list, and coming back the editor still undoes it.
TEST_F(OutputTest, ALongDocumentSwitchesToTheEditorAndBackKeepingItsEditsAndTheirUndo) {
    constexpr int kLines = 200000;
    std::string file;
    for (int i = 0; i < kLines; ++i) file += "line " + std::to_string(i) + "\r\n";
    tmp.Write("music/long.txt", file);
    Start();
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    form().OpenOutputDocument(OpenMode::FileList, "long.txt");
    Control<TRadioGroup>("rgEditMode")->button(0)->click();
    TLineEditor* editor = form().output->reOutput;
    ASSERT_EQ(editor->lineCount(), kLines);
    EXPECT_EQ(editor->editLines().line(kLines - 1), "line 199999");
    EXPECT_FALSE(editor->isUndoAvailable());

    editor->setSelection({100000, 5}, {100000, 11});
    EXPECT_EQ(editor->selectedText(), "100000");
    test::Type(editor, "edited");
    QTest::keyClick(editor, Qt::Key_Return);
    Control<TRadioGroup>("rgEditMode")->button(1)->click();
    ASSERT_EQ(form().checkList().rowCount(), kLines + 1);
    EXPECT_EQ(form().checkList().line(100000), "line edited");
    EXPECT_EQ(form().checkList().line(100001), "");
    EXPECT_EQ(form().checkList().line(kLines), "line 199999");

    Control<TRadioGroup>("rgEditMode")->button(0)->click();
    ASSERT_TRUE(editor->isUndoAvailable());
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(editor->isUndoAvailable());
    const std::vector<std::string> lines = form().outputLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kLines));
    for (int i : {0, 99999, 100000, 100001, kLines - 1}) EXPECT_EQ(lines[i], "line " + std::to_string(i));
    prompter.Text(music + "/copy.txt");
    Action("mnSaveAs")->trigger();
    EXPECT_EQ(test::ReadAll(music + "/copy.txt"), file);
}

}  // namespace
}  // namespace tandrel
