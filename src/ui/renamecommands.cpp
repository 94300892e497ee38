#include "ui/renamecommands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include "app/messages.h"
#include "app/prompts.h"
#include "rename/renameengine.h"
#include "rename/structural.h"
#include "ui/mainform.h"
#include "ui/progresspump.h"
#include "ui/renamedialogs.h"

namespace tandrel {

namespace {

// A menu caption as the menu shows it: "&&" is one ampersand, a single "&"
// only marks the accelerator.
QString WithoutAccelerators(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') text += caption[i];
        else if (i + 1 < caption.size() && caption[i + 1] == '&') text += caption[++i];
    }
    return text;
}

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TRenameCommands::TRenameCommands(TMainForm& form) : QObject(&form), form_(form) {
    FileManagerRegion* fm = form_.fileManager;
    fm->edFile4FileListBox->installEventFilter(this);
    connect(fm->filesListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { MirrorCurrentFile(); });
    connect(fm->filesListBox, &FileListBox::contentsChanged, this, [this] { MirrorCurrentFile(); });
}

std::string TRenameCommands::Directory() const { return form_.fileManager->dirListBox->directory(); }

std::string TRenameCommands::Mask() const { return FromQt(form_.fileManager->edMask->currentText()); }

void TRenameCommands::ReportBatch(const RenameStats& stats, Prompter& prompter) {
    const std::string summary = BatchSummary(stats);
    prompter.SetStatusText(summary);
    if (stats.failures.size() > 1) {
        std::string details = summary + "\n\nDetails:";
        for (const std::string& failure : stats.failures) details += "\n" + failure;
        prompter.ShowMessage(details);
    }
    form_.fileManager->filesListBox->reload();
}

bool TRenameCommands::Confirmed(const char* item) {
    if (!form_.settings().showRenameWarning) return true;
    const QString caption = WithoutAccelerators(form_.menus()[item]->text());
    return ConfirmDlg(form_.prompter(), form_.language(), kAskTo, FromQt(caption));
}

void TRenameCommands::RenameDirectoryCommand(RenameKind kind, const char* item) {
    if (!Confirmed(item)) return;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    RenameOptions options = RenameOptionsFrom(form_.settings());
    options.oldSubStr = oldSubStr_;
    options.newSubStr = newSubStr_;
    ReportBatch(RenameDirectory(Directory(), Mask(), kind, options, prompter), prompter);
}

void TRenameCommands::RenameFromLogCommand(const char* section, const char* item) {
    if (!Confirmed(item)) return;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    ReportBatch(RenameFromLog(Directory(), "*.*", section, RenameOptionsFrom(form_.settings()), prompter), prompter);
}

void TRenameCommands::RenameSelectedCommand(RenameKind kind) {
    FileListBox* list = form_.fileManager->filesListBox;
    if (list->count() == 0) return;
    const std::vector<std::string> names = list->selectedNames();
    if (names.empty()) {
        form_.prompter().ShowMessage(Message(form_.language(), MessageId::ChooseFile));
        return;
    }
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    ReportBatch(RenameSelectedFiles(Directory(), names, kind, RenameOptionsFrom(form_.settings()), prompter), prompter);
}

void TRenameCommands::mnRenameToTranslitClick() { RenameDirectoryCommand(rkTranslit, "mnRenameToTranslit"); }
void TRenameCommands::mnRenameToLowerCaseClick() { RenameDirectoryCommand(rkLowerCase, "mnRenameToLowerCase"); }
void TRenameCommands::mnRenameToUpperCaseClick() { RenameDirectoryCommand(rkUpperCase, "mnRenameToUpperCase"); }
void TRenameCommands::mnRenameToUpLoCaseClick() { RenameDirectoryCommand(rkUpLoCase, "mnRenameToUpLoCase"); }
void TRenameCommands::mnRenameToUpFirstLettersOfArtistAndTitleLoCaseClick() {
    RenameDirectoryCommand(rkArtistAndTitle, "mnRenameToUpFirstLettersOfArtistAndTitleLoCase");
}
void TRenameCommands::mnRenameToUpFirstLetterLoCaseClick() {
    RenameDirectoryCommand(rkFirstLetter, "mnRenameToUpFirstLetterLoCase");
}
void TRenameCommands::mnRenameFromIniFileRenClick() { RenameFromLogCommand(kRenamedSection, "mnRenameFromIniFileRen"); }
void TRenameCommands::mnRenameFromIniFileDelClick() { RenameFromLogCommand(kDeletedSection, "mnRenameFromIniFileDel"); }

void TRenameCommands::pmRenameToTranslitClick() { RenameSelectedCommand(rkTranslit); }
void TRenameCommands::pmRenameToLowerCaseClick() { RenameSelectedCommand(rkLowerCase); }
void TRenameCommands::pmRenameToUpperCaseClick() { RenameSelectedCommand(rkUpperCase); }
void TRenameCommands::pmRenameToUpLoCaseClick() { RenameSelectedCommand(rkUpLoCase); }
void TRenameCommands::pmRenameToUpFirstLettersOfArtistAndTitleLoCaseClick() { RenameSelectedCommand(rkArtistAndTitle); }
void TRenameCommands::pmRenameToUpFirstLetterLoCaseClick() { RenameSelectedCommand(rkFirstLetter); }

void TRenameCommands::mnAddCountStrToFileNamesClick() {
    TFileAddNumForm dialog(&form_);
    if (!dialog.Execute(form_.language(), form_.settings())) return;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    ReportBatch(AddNumbering(Directory(), Mask(), NumberingOptionsFrom(form_.settings()), prompter), prompter);
}

void TRenameCommands::mnDelFrstSymFromFileNamesClick() {
    TAppSettings& s = form_.settings();
    TFileDelSymForm dialog(&form_);
    if (!dialog.Execute(form_.language(), deleteCount_, s.recursiveRename)) return;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    ReportBatch(DeleteFirstSymbols(Directory(), Mask(), deleteCount_, s.recursiveRename, s.writeRenameInfo, prompter),
                prompter);
}

void TRenameCommands::mnSortDateAddCountToFileNamesClick() {
    TSortFileAddNumForm dialog(&form_);
    if (!dialog.Execute(form_.language(), form_.settings(), startName_, startNumber_)) return;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    ReportBatch(SortByDateAndNumber(Directory(), Mask(), NumberingOptionsFrom(form_.settings()), startName_,
                                    startNumber_, prompter),
                prompter);
}

void TRenameCommands::mnRenExtToLowCaseClick() {
    if (!Confirmed("mnRenExtToLowCase")) return;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    ReportBatch(LowerCaseExtensions(Directory(), Mask(), form_.settings().recursiveRename, prompter), prompter);
}

void TRenameCommands::mnExtChangeClick() {
    TAppSettings& s = form_.settings();
    std::string source, target;
    TExtChangerForm dialog(TExtChangerForm::Mode::Extension, &form_);
    std::vector<std::string> masks;
    QComboBox* edMask = form_.fileManager->edMask;
    for (int i = 0; i < edMask->count(); ++i) masks.push_back(FromQt(edMask->itemText(i)));
    if (!dialog.Execute(form_.language(), masks, Mask(), s.recursiveRename, source, target)) return;
    SetMask(source);
    if (target.empty()) return;
    RenameStats stats;
    {
        ProgressPump prompter(form_.prompter());
        WaitCursor wait(prompter);
        stats = ChangeExtensions(Directory(), source, target, s.recursiveRename, prompter);
    }
    // The list then shows the changed files, and the status line the summary.
    SetMask(target);
    ReportBatch(stats, form_.prompter());
}

void TRenameCommands::mnSubStrChangeClick() {
    std::string source, target;
    TExtChangerForm dialog(TExtChangerForm::Mode::Substring, &form_);
    if (!dialog.Execute(form_.language(), {}, {}, form_.settings().recursiveRename, source, target)) return;
    oldSubStr_ = source;
    newSubStr_ = target;
    ProgressPump prompter(form_.prompter());
    WaitCursor wait(prompter);
    RenameOptions options = RenameOptionsFrom(form_.settings());
    options.oldSubStr = oldSubStr_;
    options.newSubStr = newSubStr_;
    ReportBatch(RenameDirectory(Directory(), Mask(), rkSubStr, options, prompter), prompter);
}

void TRenameCommands::SetMask(const std::string& mask) {
    {
        QSignalBlocker block(form_.fileManager->edMask);
        form_.fileManager->edMask->setEditText(ToQt(mask));
    }
    form_.edMaskChange();
}

void TRenameCommands::MirrorCurrentFile() {
    // The box shows the current file's name, or the list's mask while no file is current.
    QLineEdit* box = form_.fileManager->edFile4FileListBox;
    if (box->isVisible()) return;
    FileListBox* list = form_.fileManager->filesListBox;
    const std::string name = list->currentName();
    box->setText(ToQt(name.empty() ? list->mask() : name));
}

void TRenameCommands::pmRenameClick() {
    FileListBox* list = form_.fileManager->filesListBox;
    QLineEdit* box = form_.fileManager->edFile4FileListBox;
    const std::string name = list->currentName();
    if (name.empty()) return;
    if (box->text().contains('*')) box->setText(ToQt(name));
    const QRect row = list->visualRect(list->currentIndex());
    box->setGeometry(0, row.top(), list->viewport()->width(), std::max(row.height(), box->sizeHint().height()));
    box->show();
    box->setFocus();
}

void TRenameCommands::edFile4FileListBoxKeyUp(int key) {
    if (IsEnter(key)) {
        FileListBox* list = form_.fileManager->filesListBox;
        const std::string oldName = list->currentName();
        const std::string newName = FromQt(form_.fileManager->edFile4FileListBox->text());
        if (!oldName.empty() && RenameInPlace(list->directory(), oldName, newName, form_.prompter())) {
            list->reload();
            list->setCurrentName(newName);
        }
        HideEditBox();
    } else if (key == Qt::Key_Escape) {
        HideEditBox();
    }
}

void TRenameCommands::edFile4FileListBoxExit() { form_.fileManager->edFile4FileListBox->hide(); }

void TRenameCommands::HideEditBox() {
    form_.fileManager->edFile4FileListBox->hide();
    form_.fileManager->filesListBox->setFocus();
    MirrorCurrentFile();
}

bool TRenameCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.fileManager->edFile4FileListBox) {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (IsEnter(key->key()) || key->key() == Qt::Key_Escape) {
                // The keys act on release; their presses must not reach the list.
                if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) edFile4FileListBoxKeyUp(key->key());
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            edFile4FileListBoxExit();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tandrel
