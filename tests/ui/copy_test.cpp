#include <QListView>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/recording_launcher.h"
#include "ui/checklist.h"
#include "ui/copycommands.h"
#include "ui/directoryform.h"
#include "ui/filelists.h"
#include "ui/regions.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;


class CopyWindowTest : public test::WindowTest {
protected:
    void ShowCheckListWith(const Lines& lines) {
        form().ShowOutputLines(lines);
        Control<TRadioGroup>("rgEditMode")->button(1)->click();
    }
    // Answers the save-directory dialog with dir once it opens.
    void ChooseDirectory(const std::string& dir) {
        test::WhenOpen<TDirectoryForm>(&form(), [dir](TDirectoryForm* d) {
            d->DirectoryEdit->setText(QString::fromStdString(dir));
            d->bbtnOk->click();
        });
    }
    std::string target = tmp / "target";
};

TEST_F(CopyWindowTest, CopyFilesCopiesTheCheckedLinesFilesIntoTheChosenDirectory) {
    tmp.Write("music/one.mp3", "1");
    tmp.Write("music/two.wav", "2");
    tmp.Write("music/three.mp3", "3");
    tmp.Write("target/one.mp3", "old");
    Start();
    Control<QCheckBox>("cbAddFileName")->setChecked(false);
    ShowCheckListWith({"one", music + "/two.wav", "three", music + "/gone.mp3"});
    for (int row : {0, 1, 3}) form().checkList().setChecked(row, true);
    ChooseDirectory(target);
    Action("pmCopyFiles")->trigger();
    EXPECT_EQ(test::ReadAll(target + "/one.mp3"), "1");  // replaced without a question
    EXPECT_EQ(test::ReadAll(target + "/two.wav"), "2");
    EXPECT_FALSE(std::filesystem::exists(target + "/three.mp3"));  // not checked
    EXPECT_EQ(form().statusText(), "Copied: 2 file(s), failed: 0, not found: 1");
    EXPECT_EQ(prompter.PendingAnswers(), 0u);
}

TEST_F(CopyWindowTest, CopyFilesWithNamesAndDirectoriesAndCancelledDialog) {
    tmp.Write("music/Song.mp3", "s");
    tmp.Write("music/notes.txt", "t");
    std::filesystem::create_directories(target);
    Start();
    Control<QCheckBox>("cbAddFileName")->setChecked(true);
    ShowCheckListWith({"Song.mp3 \t[" + music + "]", "notes.txt \t[" + music + "]"});
    form().checkList().setAllChecked(true);
    // Cancelled: nothing is copied.
    test::WhenOpen<TDirectoryForm>(&form(), [](TDirectoryForm* d) { d->bbtnCancel->click(); });
    Action("pmCopyFiles")->trigger();
    EXPECT_FALSE(std::filesystem::exists(target + "/Song.mp3"));

    ChooseDirectory(target);
    Action("pmCopyFiles")->trigger();
    EXPECT_EQ(test::ReadAll(target + "/Song.mp3"), "s");
    EXPECT_FALSE(std::filesystem::exists(target + "/notes.txt"));  // no audio extension
}

TEST_F(CopyWindowTest, CopyingIntoTheSourceDirectorySkipsTheFileWithANote) {
    tmp.Write("music/one.mp3", "keep");
    Start();
    Control<QCheckBox>("cbAddFileName")->setChecked(false);
    ShowCheckListWith({music + "/one.mp3"});
    form().checkList().setChecked(0, true);
    ChooseDirectory(music);
    Action("pmCopyFiles")->trigger();
    EXPECT_EQ(test::ReadAll(music + "/one.mp3"), "keep");
    EXPECT_EQ(form().statusText().rfind("Copied: 0 file(s), failed: 0, skipped (the same file): 1", 0), 0u)
        << form().statusText();
}

TEST_F(CopyWindowTest, CopyFileCopiesTheSelectedFilesOfTheFileList) {
    tmp.Write("music/a.mp3", "a");
    tmp.Write("music/b.mp3", "b");
    tmp.Write("music/c.mp3", "c");
    std::filesystem::create_directories(target);
    Start();
    form().fileManager->edMask->setEditText("*.mp3");
    FileListBox* list = form().fileManager->filesListBox;
    list->clearSelection();
    Action("pmCopyFile")->trigger();
    EXPECT_EQ(prompter.Texts(test::PromptKind::Message), Lines{"Please, choose file for searching!"});
    const std::vector<std::string> names = list->names();
    for (const char* name : {"c.mp3", "a.mp3"}) {
        const auto row = std::find(names.begin(), names.end(), name) - names.begin();
        list->selectionModel()->select(list->model()->index(static_cast<int>(row), 0), QItemSelectionModel::Select);
    }
    ChooseDirectory(target);
    Action("pmCopyFile")->trigger();
    EXPECT_EQ(test::ReadAll(target + "/a.mp3"), "a");
    EXPECT_EQ(test::ReadAll(target + "/c.mp3"), "c");
    EXPECT_FALSE(std::filesystem::exists(target + "/b.mp3"));
    EXPECT_EQ(form().statusText(), "Copied: 2 file(s), failed: 0");
}

TEST_F(CopyWindowTest, DownloadHandsOverOnlyTheFirstSelectedLine) {
    Start();
    auto recording = std::make_unique<test::RecordingLauncher>();
    const Lines& opened = recording->opened;
    form().setLauncher(std::move(recording));
    ShowCheckListWith({"ftp://a/x.mp3", "ftp://b/y.mp3", "ftp://c/z.mp3"});
    Action("pmDownloadFile")->trigger();
    EXPECT_TRUE(opened.empty());  // nothing selected
    auto* view = Control<QListView>("clbOutput");
    for (int row : {2, 1})
        view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
    Action("pmDownloadFile")->trigger();
    EXPECT_EQ(opened, Lines{"ftp://b/y.mp3"});
}

}  // namespace
}  // namespace tandrel
