// The file manager of the main window: mask, drives, directories, file list.
#include <QApplication>
#include <QClipboard>

#include "app/maskkinds.h"
#include "app/messages.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "ui/mainform.h"
#include "ui/tagpanelview.h"

namespace tandrel {

void TMainForm::edMaskChange() {
    FileManagerRegion* fm = fileManager;
    const std::string mask = FromQt(fm->edMask->currentText());
    fm->filesListBox->setMask(mask);
    const bool media = IsMediaMask(mask);
    const bool audio = IsAudioMask(mask);
    QAction* popupEntries[] = {menus_["pmPlay"], menus_["pmCopyFile"], menus_["pmLineFile00"], menus_["pmLineFile01"]};
    menus_["mnGetMP3files"]->setEnabled(media);
    output->bbtnGetMP3files->setEnabled(media);
    // Rename from tags and the two tag commands follow the audio rule; a video
    // mask leaves the pop-up entries as they were.
    const bool fromTags = media && audio;
    if (!media) {
        for (QAction* a : popupEntries) a->setVisible(false);
    } else if (audio) {
        output->bbtnGetMP3files->setText("mp3");
        for (QAction* a : popupEntries) a->setVisible(true);
    } else {
        output->bbtnGetMP3files->setText("mpeg");
    }
    for (QWidget* w : {static_cast<QWidget*>(fm->bbtnFromID3Rename), static_cast<QWidget*>(tagPanel->bbtnFromFileNameToID3),
                       static_cast<QWidget*>(tagPanel->bbtnChangeID3)})
        w->setEnabled(fromTags);
    ShowFolderInStatus(fm->dirListBox->directory());
}

int TMainForm::DriveIndexOf(const std::string& dir) const {
    // The drive of a directory is the longest root that holds it.
    int best = -1;
    size_t bestLength = 0;
    for (int i = 0; i < fileManager->DrvComboBox->count(); ++i) {
        const std::string root = FromQt(fileManager->DrvComboBox->itemText(i));
        const bool holds = root == "/" || dir == root || dir.rfind(root + kPathDelim, 0) == 0;
        if (holds && root.size() >= bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

void TMainForm::DrvComboBoxChange(int index) {
    // DrvComboBoxClick: the drive being left remembers its directory.
    if (previousDriveIndex_ >= 0 && previousDriveIndex_ < static_cast<int>(driveMemory_.size()))
        driveMemory_[static_cast<size_t>(previousDriveIndex_)] = fileManager->dirListBox->directory();
    if (index >= 0 && index < static_cast<int>(driveMemory_.size())) {
        const std::string& target = driveMemory_[static_cast<size_t>(index)];
        if (!fileManager->dirListBox->setDirectory(target)) {
            setStatusText(target + ": this drive cannot be read");
            const std::string& root = FromQt(fileManager->DrvComboBox->itemText(index));
            fileManager->dirListBox->setDirectory(root);
        }
    }
}

void TMainForm::DirListBoxChange() {
    FileManagerRegion* fm = fileManager;
    const std::string& dir = fm->dirListBox->directory();
    const int drive = DriveIndexOf(dir);
    if (drive >= 0 && drive != fm->DrvComboBox->currentIndex()) {
        QSignalBlocker block(fm->DrvComboBox);
        fm->DrvComboBox->setCurrentIndex(drive);
    }
    previousDriveIndex_ = fm->DrvComboBox->currentIndex();
    // The shown directory is the process's current directory.
    MakeCurrent(dir);
    fm->filesListBox->setDirectory(dir);
    ShowFolderInStatus(dir);
}

void TMainForm::MakeCurrent(const std::string& dir) {
    if (FileResult r = SetCurrentDirectory(dir); !r) setStatusText(Utf8ToCp1251(r.error).text);
}

void TMainForm::FilesListBoxClick() {
    const std::string path = fileManager->filesListBox->currentPath();
    if (!path.empty()) setStatusText(path);
    tagView_->FilesListBoxClick();
}

void TMainForm::FilesListBoxKeyUp(int key, Qt::KeyboardModifiers) {
    FileListBox* list = fileManager->filesListBox;
    if (!list->currentPath().empty()) setStatusText(list->currentPath());
    if (key == Qt::Key_Return || key == Qt::Key_Enter) FilesListBoxDblClick();
    if (key != Qt::Key_Delete) return;
    const std::vector<std::string> selected = list->selectedNames();
    if (selected.empty()) return;
    if (!prompter().AskYesNo(Message(language(), MessageId::DeleteQuestion))) return;
    for (const std::string& name : selected) {
        const std::string path = JoinPath(list->directory(), name);
        if (!FileExists(path) && !PathIsUnmappable(path)) continue;
        if (FileResult r = DeleteFileChecked(path); !r) {
            prompter().ShowMessage(Message(language(), MessageId::DeleteFailed) + name);
            setStatusText(name + ": " + Utf8ToCp1251(r.error).text);
        }
    }
    list->reload();
}

void TMainForm::bbtnSelAllClick() { fileManager->filesListBox->selectAllEntries(); }

void TMainForm::pmGoToDirClick() {
    const std::string answer =
        prompter().InputBox("Input Next Directory to Open", "Directory", "..").value_or("..");
    const std::string target = JoinPath(fileManager->dirListBox->directory(), answer);
    if (DirectoryExists(target)) fileManager->dirListBox->setDirectory(target);
}

void TMainForm::mnPasteFromClipboardClick() {
    searchBox->edFind->insert(QApplication::clipboard()->text());
}

}  // namespace tandrel
