#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "ui/directoryform.h"
#include "ui/settingsform.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using namespace test;
using DialogTest = test::WindowTest;

TEST_F(DialogTest, AddingAMaskThatDiffersOnlyInCaseIsRefused) {
    Start();
    WhenOpen<TSettingsForm>(&form(), [](TSettingsForm* d) {
        d->edMask->setText("*.MP3");
        d->btnAddMask->click();
        d->edMask->setText("*.ogg");
        d->btnAddMask->click();
        d->bbtnOk->click();
    });
    Action("mnSettings")->trigger();
    ASSERT_EQ(prompter.Texts(PromptKind::Message).size(), 1u);
    EXPECT_EQ(prompter.Texts(PromptKind::Message)[0], "*.MP3\n\rThis Mask already exists!!!");
    // The file list's mask box and the search mask box follow the dialog's list.
    EXPECT_EQ(Control<QComboBox>("edMask")->count(), 11);
    EXPECT_EQ(Control<QComboBox>("edMask")->itemText(10), "*.ogg");
    EXPECT_EQ(Control<QComboBox>("cboxMask")->itemText(10), "*.ogg");
}

TEST_F(DialogTest, CancelKeepsTheImmediateOptions) {
    Start();
    WhenOpen<TSettingsForm>(&form(), [](TSettingsForm* d) {
        d->cbConfirmationOnExit->click();
        d->cbDisablePlayListBtn->click();
        d->bbtnCancel->click();
    });
    Action("mnSettings")->trigger();
    EXPECT_TRUE(form().settings().confirmationOnExit);
    EXPECT_FALSE(form().settings().disablePlayListButton);
}

TEST_F(DialogTest, UnknownRenameModeShowsDefaultAndOkStoresZero) {
    WriteRegistry("\"RenameMode\"=dword:00000005\r\n");
    Start();
    EXPECT_EQ(form().settings().renameMode, 5);
    WhenOpen<TSettingsForm>(&form(), [](TSettingsForm* d) {
        EXPECT_EQ(d->rgMode->itemIndex(), 0);
        EXPECT_EQ(d->rgMode->itemText(0), "Default");
        d->bbtnOk->click();
    });
    Action("mnSettings")->trigger();
    EXPECT_EQ(form().settings().renameMode, 0);
    EXPECT_NE(Exit().find("\"RenameMode\"=dword:00000000"), std::string::npos);
}

TEST_F(DialogTest, RenameOnlyModeLeavesOnlyTheRenameTab) {
    Start();
    std::vector<std::string> masks = form().MaskList();
    TSettingsForm d({form().prompter(), *registry, form().settings(), masks, music, 1}, kSettingsModeRenameOnly,
                    &form());
    d.show();
    for (QWidget* page : {d.tsOptions, d.tsFindOptions, d.tsPrograms})
        EXPECT_FALSE(d.tabs->isTabEnabled(d.tabs->indexOf(page)));
    EXPECT_TRUE(d.tabs->isTabEnabled(d.tabs->indexOf(d.tsRenameOptions)));
    EXPECT_EQ(d.tabs->currentWidget(), d.tsRenameOptions);
    EXPECT_EQ(d.tabs->tabText(d.tabs->indexOf(d.tsRenameOptions)), QString::fromUtf8("Переименование"));
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Настройки"));
}

TEST_F(DialogTest, MissingSearchHomeDirectoryKeepsTheDialogOpen) {
    WriteRegistry("");
    Start();
    std::vector<std::string> masks = form().MaskList();
    TSettingsForm d({form().prompter(), *registry, form().settings(), masks, music, 0}, kSettingsModeMain, &form());
    d.show();
    EXPECT_EQ(d.deFindFileNameHomeDir->text().toStdString(), music);  // absent: the current directory
    d.deFindFileNameHomeDir->setText("/no/such/dir");
    d.meFindInsideFile->setText("*.txt");
    d.bbtnOkClick();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(prompter.Texts(PromptKind::Message).at(0), "/no/such/dir\n\rThis Directory not exists!!!");
    EXPECT_NE(RegistryText().find("\"MaskFindInsideFile\"=\"*.txt\""), std::string::npos);
    EXPECT_EQ(RegistryText().find("HomeDirFindFileName"), std::string::npos);
}

TEST_F(DialogTest, EveryOptionReachesTheRegistryAndComesBack) {
    WriteRegistry("");
    Start();
    WhenOpen<TSettingsForm>(&form(), [](TSettingsForm* d) {
        for (QCheckBox* c : {d->cbDisablePlayListBtn, d->cbConfirmationOnExit, d->cbWriteRenameInfo,
                             d->cbSaveMaskPosition, d->cbM3USearchAll, d->cbAnyMask, d->cbM3UDlgBox, d->cbRecursive,
                             d->cbShowRenameWarning, d->cbMakeLowercaseExt, d->cdRecursive, d->cbFTPChangeAddFTPpath})
            c->click();
        d->rmTreeMode->button(3)->click();
        d->rgSearchMode->button(2)->click();
        d->rgUpCaseFirstLettersOfArtistName->button(2)->click();
        d->rgMode->button(1)->click();
        d->rgAudioProgramPath->button(1)->click();
        d->rgFTPlocalFilePath->button(1)->click();
        d->feAudioProgram->setText("/usr/bin/player");
        d->feVideoProgram->setText("/usr/bin/video");
        d->feFTPlocalFile->setText("/srv/list.txt");
        d->edFTPSourcePath->setText("/srv");
        d->edFTPTargetPath->setText("ftp://host");
        d->bbtnOk->click();
    });
    Action("mnSettings")->trigger();
    const TAppSettings before = form().settings();
    Exit();
    Start();
    TAppSettings after = form().settings();
    after.currentLanguage = before.currentLanguage;
    EXPECT_EQ(after, before);
    EXPECT_TRUE(after.confirmationOnExit);
    EXPECT_EQ(after.treeMode, 3);
    EXPECT_EQ(after.searchMode, 2);
    EXPECT_EQ(after.artistMode, 2);
    EXPECT_EQ(after.renameMode, 1);
    EXPECT_EQ(after.audioProgram, "/usr/bin/player");
    EXPECT_EQ(after.ftpTargetPath, "ftp://host");
    EXPECT_FALSE(after.recursiveSearch);  // was on by default, clicked off
}

TEST_F(DialogTest, HomeDirectoryUnchangedWritesNothingAndAnExistingOneIsStored) {
    WriteRegistry("\"HomeDir\"=\"" + music + "\"\r\n");
    Start();
    const std::string before = RegistryText();
    TDirectoryForm unchanged(DirectoryMode::Home, prompter, *registry, music, 0);
    EXPECT_EQ(unchanged.DirectoryEdit->text().toStdString(), music);
    unchanged.bbtnOkClick();
    EXPECT_EQ(unchanged.result(), QDialog::Accepted);
    EXPECT_EQ(RegistryText(), before);

    TDirectoryForm changed(DirectoryMode::Home, prompter, *registry, music, 0);
    changed.DirectoryEdit->setText("/no/such/dir");
    changed.bbtnOkClick();
    EXPECT_EQ(prompter.Texts(PromptKind::Message).at(0), "This Directory not exists!!!");
    changed.DirectoryEdit->setText(QString::fromStdString(tmp.str()));
    changed.bbtnOkClick();
    EXPECT_NE(RegistryText().find("\"HomeDir\"=\"" + tmp.str() + "\""), std::string::npos);
    EXPECT_EQ(form().fileManager->dirListBox->directory(), music);  // applies at the next start
}

TEST_F(DialogTest, SaveDirectoryCreatesEveryMissingLevelWhenAnsweredYes) {
    WriteRegistry("");
    Start();
    const std::string target = tmp / "Out/New";
    TDirectoryForm d(DirectoryMode::Save, prompter, *registry, music, 0);
    d.DirectoryEdit->setText(QString::fromStdString(target));
    prompter.No();
    d.bbtnOkClick();
    EXPECT_FALSE(std::filesystem::exists(target));
    prompter.Yes();
    d.bbtnOkClick();
    EXPECT_EQ(prompter.Texts(PromptKind::YesNo).back(),
              "This Directory not exists!!!\n\rCreate specified Directory?");
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(d.chosen(), target);
    EXPECT_NE(RegistryText().find("\"SaveDir\"=\"" + target + "\""), std::string::npos);
}

}  // namespace
}  // namespace tandrel
