// The output document of the main window: its two views, opening, saving,
// finding, sorting, and "Add" to the editor window.
#include <QApplication>
#include <algorithm>
#include <QClipboard>
#include <QItemSelectionModel>

#include "app/messages.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "ui/editform.h"
#include "ui/finddialog.h"
#include "ui/mainform.h"
#include "ui/tagpanelview.h"

namespace tandrel {

namespace {

const char* kSaveFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";

}  // namespace

void TMainForm::WireOutputCommands() {
    output->clbOutput->setModel(&checkList_);
    output->clbOutput->setUniformItemSizes(true);
    connect(output->rgEditMode, &TRadioGroup::itemClicked, this, [this] { rgEditModeClick(); });
    connect(output->cbAddFileName, &QCheckBox::clicked, this, &TMainForm::cbAddFileNameClick);
    connect(output->cbAddFilePath, &QCheckBox::clicked, this, &TMainForm::cbAddFilePathClick);
    connect(fileManager->filesListBox, &QListView::doubleClicked, this, [this] { FilesListBoxDblClick(); });
    connect(output->clbOutput, &QListView::clicked, this, [this] { clbOutputClick(); });

    struct ButtonWire { QPushButton* button; void (TMainForm::*handler)(); };
    for (const ButtonWire& w : {ButtonWire{output->bbtnAddToFile, &TMainForm::bbtnAddToFileClick},
                                ButtonWire{output->bbtnShowWindow, &TMainForm::bbtnShowWindowClick},
                                ButtonWire{output->bbtnCheckAll, &TMainForm::bbtnCheckAllClick},
                                ButtonWire{output->bbtnUnCheckAll, &TMainForm::bbtnUnCheckAllClick},
                                ButtonWire{output->bbtnFindInWindow, &TMainForm::mnFindClick}}) {
        connect(w.button, &QPushButton::clicked, this, w.handler);
    }
    struct ActionWire { const char* name; void (TMainForm::*handler)(); bool enabled; };
    const ActionWire actions[] = {
        {"mnOpen", &TMainForm::mnOpenClick, true},
        {"mnOpenWin", &TMainForm::mnOpenWinClick, true},
        {"mnSave", &TMainForm::mnSaveClick, false},  // enabled once a document is open
        {"mnSaveAs", &TMainForm::mnSaveAsClick, false},
        {"mnSortLines", &TMainForm::mnSortLinesClick, true},
        {"mnFind", &TMainForm::mnFindClick, true},
        {"pmToClipBoard", &TMainForm::pmToClipBoardClick, true},
        {"pmCheckedToClipBoard", &TMainForm::pmCheckedToClipBoardClick, false},
        {"pmShowID3tags", &TMainForm::pmShowID3tagsClick, true},
    };
    for (const ActionWire& w : actions) WireEntry(w.name, this, w.handler, w.enabled);
}

std::string TMainForm::outputText() const {
    const LineList lines = EditorLines();
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += lines[i];
    }
    return text;
}

std::vector<std::string> TMainForm::outputLines() const { return EditorLines().ToVector(); }

// The editor shares the lines; it copies only the lines it edits.
void TMainForm::SetEditorLines(LineList lines) { output->reOutput->setLines(std::move(lines)); }

LineList TMainForm::EditorLines() const { return output->reOutput->lines(); }

bool TMainForm::EditorEmpty() const { return output->reOutput->isEmpty(); }

void TMainForm::EnableM3UCommands(bool enable) {
    for (const char* name : {"mnGetM3Uinf", "mnGetM3Unames", "mnGetM3UnamesAndSaveToFile"})
        menus_[name]->setEnabled(enable);
    QAction* find = menus_["mnFindM3Unames"];
    // With its dialog box on, the find command keeps its state.
    if (!settings_.m3uDlgBox) find->setEnabled(enable);
}

std::string TMainForm::OpenOutputDocument(OpenMode mode, const std::string& fileName) {
    menus_["mnSave"]->setEnabled(true);
    menus_["mnSaveAs"]->setEnabled(true);
    EnableM3UCommands(false);
    checkList_.setLines(LineList());
    SetEditorLines(LineList());

    const std::string name = OpenedDocumentName(mode, fileName, fileManager->filesListBox->currentName());
    LineList lines;
    outputOrigin_ = TextOrigin{};
    if (mode == OpenMode::SearchResults) {
        lines = LineList(searchResults_);
    } else {
        if (NamesPlaylist(name)) EnableM3UCommands(true);
        if (FileExists(name)) {
            auto read = std::make_shared<TextLines>();
            if (FileResult result = ReadTextDocument(name, *read, outputOrigin_); !result)
                setStatusText(name + ": " + Utf8ToCp1251(result.error).text);
            lines = LineList(std::move(read));
        }
    }
    // Both views show the one copy of the lines.
    SetEditorLines(lines);
    checkList_.setLines(std::move(lines));

    documentName_ = name;
    savePath_ = name;
    ShowDocumentName();
    findPosition_ = 0;
    return name;
}

std::vector<std::string> TMainForm::visibleOutputLines() const {
    return output->clbOutput->isHidden() ? outputLines() : checkList_.lines();
}

std::vector<std::string> TMainForm::selectedOutputLines() const {
    std::vector<std::string> lines;
    const QItemSelectionModel* selection = output->clbOutput->selectionModel();
    if (!selection) return lines;
    QModelIndexList rows = selection->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows) lines.push_back(checkList_.line(row.row()));
    return lines;
}

void TMainForm::ReplaceOutputLines(const std::vector<std::string>& lines) { SetEditorLines(LineList(lines)); }

void TMainForm::ReplaceVisibleOutputLines(const std::vector<std::string>& lines) {
    if (output->clbOutput->isHidden()) {
        ReplaceOutputLines(lines);
    } else {
        checkList_.setLines(lines);
        RefreshCheckList();
    }
}

void TMainForm::NameOutputDocument(const std::string& name) {
    outputOrigin_ = TextOrigin{};
    documentName_ = name;
    savePath_ = name;
    findPosition_ = 0;
    ShowDocumentName();
}

void TMainForm::ShowDocumentName() {
    if (documentName_.empty()) return;
    setWindowTitle(ToQt("Tandrel - " + documentName_));
    output->setTitle(ToQt(Message(language(), MessageId::EditFilePrefix) + documentName_));
}

void TMainForm::ClearOutputText() { SetEditorLines(LineList()); }

void TMainForm::ShowOutputLines(const std::vector<std::string>& lines) {
    const LineList shown(lines);
    SetEditorLines(shown);
    checkList_.setLines(shown);
    RefreshCheckList();
}

bool TMainForm::outputAddsFileName() const { return output->cbAddFileName->isChecked(); }

void TMainForm::RefreshCheckList() {
    if (!output->clbOutput->isHidden()) output->clbOutput->viewport()->update();
}

void TMainForm::rgEditModeClick() {
    // Decided by the view that is visible now, not by the item clicked.
    if (output->clbOutput->isHidden()) {
        output->reOutput->hide();
        output->clbOutput->show();
        checkList_.setLines(EditorLines());
    } else {
        output->reOutput->show();
        output->clbOutput->hide();
        // Unchanged in the check list, the lines keep the editor's caret and history.
        SetEditorLines(checkList_.lineList());
    }
    settings_.currentEditMode = static_cast<std::int8_t>(std::max(0, output->rgEditMode->itemIndex()));
    EnableCheckListCommands();
}

void TMainForm::cbAddFileNameClick() {
    if (output->cbAddFileName->isChecked()) output->cbAddFilePath->setChecked(false);
}

void TMainForm::cbAddFilePathClick() {
    if (output->cbAddFilePath->isChecked()) output->cbAddFileName->setChecked(false);
}

void TMainForm::bbtnAddToFileClick() {
    if (!editForm_) return;
    if (editForm_->isVisible()) {
        editForm_->activateWindow();
    } else {
        editForm_->setFileName(NextCatalogName(fileManager->dirListBox->directory()));
        editForm_->clearText();
        editForm_->show();
    }
    const std::string source = FilePathSource(fileManager->filesListBox->currentPath(), documentName_);
    for (const std::string& line : checkList_.checkedLines())
        editForm_->appendLine(AddedLine(line, output->cbAddFilePath->isChecked(), output->cbAddFileName->isChecked(),
                                        documentName_, source));
}

void TMainForm::bbtnShowWindowClick() {
    if (editForm_ && editForm_->isVisible()) editForm_->activateWindow();
}

void TMainForm::bbtnCheckAllClick() { checkList_.setAllChecked(true); }

void TMainForm::bbtnUnCheckAllClick() { checkList_.setAllChecked(false); }

void TMainForm::mnOpenClick() {
    const std::optional<std::string> chosen = prompter().OpenFileDialog("", CurrentDirectory(), kOutputOpenFilter);
    if (!chosen) return;
    // The open dialog makes the chosen file's directory current.
    if (const std::string dir = ExtractDirPart(*chosen); !dir.empty()) MakeCurrent(dir);
    OpenOutputDocument(OpenMode::OpenDialog, *chosen);
}

void TMainForm::mnOpenWinClick() {
    const std::optional<std::string> chosen = prompter().OpenFileDialog("", CurrentDirectory(), kOutputOpenFilter);
    if (!chosen || !editForm_) return;
    if (const std::string dir = ExtractDirPart(*chosen); !dir.empty()) MakeCurrent(dir);
    editForm_->setFileName(CopyAfterLastChar(*chosen, kPathDelim));
    editForm_->loadFile(*chosen);
    editForm_->show();
}

bool TMainForm::WriteOutput(const std::string& path) {
    const LineList lines = EditorLines();
    if (outputOrigin_.Unicode() && !ConfirmCharacterLoss(prompter(), language(), lines.ToVector(), outputOrigin_))
        return false;
    if (FileResult written = WriteTextDocument(path, lines, outputOrigin_); !written) {
        prompter().ShowMessage(path + ": " + Utf8ToCp1251(written.error).text);
        return false;
    }
    return true;
}

void TMainForm::mnSaveClick() {
    if (EditorEmpty()) return;
    if (!FileExists(savePath_)) {
        WriteOutput(savePath_);
        return;
    }
    switch (prompter().AskYesNoCancel(ReplaceQuestion(language(), savePath_))) {
        case YesNoCancel::Yes:
            WriteOutput(savePath_);
            break;
        case YesNoCancel::No:
            documentName_ = savePath_;
            mnSaveAsClick();
            break;
        case YesNoCancel::Cancel:
            break;
    }
}

void TMainForm::mnSaveAsClick() {
    const std::optional<std::string> chosen =
        prompter().SaveFileDialog("", CurrentDirectory(), documentName_, kSaveFilter);
    if (!chosen) return;
    savePath_ = *chosen;
    WriteOutput(savePath_);
}

void TMainForm::mnSortLinesClick() {
    if (output->clbOutput->isHidden())
        SetEditorLines(SortLines(EditorLines()));
    else
        checkList_.setLines(SortLines(checkList_.lineList()));
}

void TMainForm::mnFindClick() {
    if (output->rgEditMode->itemIndex() != 1) {
        if (!findDialog_) {
            findDialog_ = new FindDialog(this);
            connect(findDialog_, &FindDialog::find, this, &TMainForm::FindDialogFind);
        }
        findDialog_->show();
        findDialog_->raise();
        return;
    }
    const std::string query = InputDlg(prompter(), language(), kInputFind, FromQt(searchBox->edFind->text()));
    if (query.empty()) return;
    checkList_.keepRows(FilterLines(checkList_.lineList(), query, advancedSearch->cbOverSearch->isChecked()));
}

void TMainForm::FindDialogFind(const QString& text, bool matchCase) {
    // Line by line from the previous hit, as FindStep searches the whole text.
    TLineEditor* editor = output->reOutput;
    const EditLines& lines = editor->editLines();
    const LinePlace from = lines.PlaceAt(static_cast<std::uint64_t>(std::max(findPosition_, 0)));
    if (const auto hit = FindInLines(lines, FromQt(text), matchCase, from)) {
        findPosition_ = static_cast<int>(lines.OffsetOf(hit->second));
        editor->setSelection(hit->first, hit->second);
        editor->setFocus();
    } else {
        findPosition_ = 0;
        prompter().ShowMessage(Message(language(), MessageId::SearchFinished));
    }
}

void TMainForm::pmToClipBoardClick() {
    if (!output->clbOutput->isHidden()) {
        const int row = output->clbOutput->currentIndex().row();
        if (row >= 0 && row < checkList_.rowCount())
            QApplication::clipboard()->setText(ToQt(checkList_.line(row)));
    } else if (!EditorEmpty()) {
        QApplication::clipboard()->setText(output->reOutput->selectedText());
    }
}

void TMainForm::pmCheckedToClipBoardClick() {
    std::string text;
    for (const std::string& line : checkList_.checkedLines()) text += line + "\r\n";
    if (!text.empty()) QApplication::clipboard()->setText(ToQt(text));
}

void TMainForm::FilesListBoxDblClick() {
    if (MaskOpensDocuments(fileManager->filesListBox->mask())) OpenOutputDocument(OpenMode::FileList, "");
}

}  // namespace tandrel

namespace tandrel {

std::optional<std::string> TMainForm::ChosenOutputLine() const {
    if (!output->clbOutput->isHidden()) {
        const int row = output->clbOutput->currentIndex().row();
        if (row < 0 || row >= checkList_.rowCount()) return std::nullopt;
        return checkList_.line(row);
    }
    if (EditorEmpty()) return std::nullopt;
    return output->reOutput->currentLine();
}

void TMainForm::clbOutputClick() {
    const std::optional<std::string> line = ChosenOutputLine();
    if (line && line->find(".mp3") != std::string::npos) {
        pmShowID3tagsClick();
        return;
    }
    ClearTagPanel();
}

void TMainForm::pmShowID3tagsClick() {
    const std::optional<std::string> line = ChosenOutputLine();
    if (!line) return;
    ClearTagPanel();
    for (const std::string& path :
         OutputLineFiles(*line, output->cbAddFileName->isChecked(), fileManager->dirListBox->directory())) {
        if (!FileExists(path)) continue;
        tagView_->ShowID3v1Tag(path);
        tagView_->ShowID3v2Tag(path);
        return;
    }
}

}  // namespace tandrel
