#include "ui/renamecommands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/messages.h"
#include "app/prompts.h"
#include "rename/renameengine.h"
#include "rename/structural.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/progresspump.h"
#include "ui/renamedialogs.h"
#include "ui/renamepreview.h"

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

TRenameCommands::TRenameCommands(CommandContext& context, QLineEdit& renameBox, QObject* parent)
    : QObject(parent), context_(context), renameBox_(renameBox) {
    setObjectName("RenameCommands");
    FileListBox& list = context_.fileList();
    renameBox_.installEventFilter(this);
    connect(list.selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { MirrorCurrentFile(); });
    connect(&list, &FileListBox::contentsChanged, this, [this] { MirrorCurrentFile(); });

    struct Wire {
        const char* name;
        void (TRenameCommands::*handler)();
    };
    const Wire wires[] = {
        {"mnRenameToTranslit", &TRenameCommands::mnRenameToTranslitClick},
        {"mnRenameToLowerCase", &TRenameCommands::mnRenameToLowerCaseClick},
        {"mnRenameToUpperCase", &TRenameCommands::mnRenameToUpperCaseClick},
        {"mnRenameToUpLoCase", &TRenameCommands::mnRenameToUpLoCaseClick},
        {"mnRenameToUpFirstLettersOfArtistAndTitleLoCase",
         &TRenameCommands::mnRenameToUpFirstLettersOfArtistAndTitleLoCaseClick},
        {"mnRenameToUpFirstLetterLoCase", &TRenameCommands::mnRenameToUpFirstLetterLoCaseClick},
        {"mnRenameFromIniFileRen", &TRenameCommands::mnRenameFromIniFileRenClick},
        {"mnRenameFromIniFileDel", &TRenameCommands::mnRenameFromIniFileDelClick},
        {"mnAddCountStrToFileNames", &TRenameCommands::mnAddCountStrToFileNamesClick},
        {"mnDelFrstSymFromFileNames", &TRenameCommands::mnDelFrstSymFromFileNamesClick},
        {"mnSortDateAddCountToFileNames", &TRenameCommands::mnSortDateAddCountToFileNamesClick},
        {"mnRenExtToLowCase", &TRenameCommands::mnRenExtToLowCaseClick},
        {"mnExtChange", &TRenameCommands::mnExtChangeClick},
        {"mnSubStrChange", &TRenameCommands::mnSubStrChangeClick},
        {"pmRename", &TRenameCommands::pmRenameClick},
        {"pmRenameToTranslit", &TRenameCommands::pmRenameToTranslitClick},
        {"pmRenameToLowerCase", &TRenameCommands::pmRenameToLowerCaseClick},
        {"pmRenameToUpperCase", &TRenameCommands::pmRenameToUpperCaseClick},
        {"pmRenameToUpLoCase", &TRenameCommands::pmRenameToUpLoCaseClick},
        {"pmRenameToUpFirstLettersOfArtistAndTitleLoCase",
         &TRenameCommands::pmRenameToUpFirstLettersOfArtistAndTitleLoCaseClick},
        {"pmRenameToUpFirstLetterLoCase", &TRenameCommands::pmRenameToUpFirstLetterLoCaseClick},
    };
    for (const Wire& w : wires) context_.WireEntry(w.name, this, w.handler);
}

std::string TRenameCommands::Directory() const { return context_.currentDirectory(); }

std::string TRenameCommands::Mask() const { return context_.fileMask(); }

std::optional<RenameStats> TRenameCommands::RunPlan(const std::function<RenamePlan(WalkProgress&)>& build) {
    std::optional<RenamePlan> plan = PlanForRename(context_, build);
    if (!plan) return std::nullopt;
    ProgressPump prompter(context_.prompter());
    WaitCursor wait(prompter);
    return ExecuteRenamePlan(*plan, prompter);
}

void TRenameCommands::RunAndReport(const std::function<RenamePlan(WalkProgress&)>& build) {
    if (std::optional<RenameStats> stats = RunPlan(build)) ReportBatch(*stats, context_.prompter());
}

void TRenameCommands::ReportBatch(const RenameStats& stats, Prompter& prompter) {
    const std::string summary = BatchSummary(stats, context_.language());
    prompter.SetStatusText(summary);
    if (stats.failures.size() > 1) {
        std::string details = summary + "\n\nDetails:";
        for (const std::string& failure : stats.failures) details += "\n" + failure;
        prompter.ShowMessage(details);
    }
    context_.fileList().reload();
}

bool TRenameCommands::Confirmed(const char* item) {
    if (!context_.settings().showRenameWarning) return true;
    const QString caption = WithoutAccelerators(context_.menuEntry(item)->text());
    return ConfirmDlg(context_.prompter(), context_.language(), kAskTo, FromQt(caption));
}

void TRenameCommands::RenameDirectoryCommand(RenameKind kind, const char* item) {
    if (!Confirmed(item)) return;
    RenameOptions options = RenameOptionsFrom(context_.settings());
    options.oldSubStr = oldSubStr_;
    options.newSubStr = newSubStr_;
    RunAndReport([&](WalkProgress& p) { return PlanRenameDirectory(Directory(), Mask(), kind, options, &p); });
}

void TRenameCommands::RenameFromLogCommand(const char* section, const char* item) {
    if (!Confirmed(item)) return;
    RunAndReport([&](WalkProgress& p) {
        return PlanRenameFromLog(Directory(), "*.*", section, RenameOptionsFrom(context_.settings()), &p);
    });
}

void TRenameCommands::RenameSelectedCommand(RenameKind kind) {
    FileListBox* list = &context_.fileList();
    if (list->count() == 0) return;
    const std::vector<std::string> names = list->selectedNames();
    if (names.empty()) {
        context_.prompter().ShowMessage(Message(context_.language(), MessageId::ChooseFile));
        return;
    }
    RunAndReport([&](WalkProgress&) {
        return PlanRenameSelectedFiles(Directory(), names, kind, RenameOptionsFrom(context_.settings()));
    });
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
    TFileAddNumForm dialog(context_.dialogParent());
    if (!dialog.Execute(context_.language(), context_.settings())) return;
    RunAndReport([&](WalkProgress& p) {
        return PlanAddNumbering(Directory(), Mask(), NumberingOptionsFrom(context_.settings()), &p);
    });
}

void TRenameCommands::mnDelFrstSymFromFileNamesClick() {
    TAppSettings& s = context_.settings();
    TFileDelSymForm dialog(context_.dialogParent());
    if (!dialog.Execute(context_.language(), deleteCount_, s.recursiveRename)) return;
    RunAndReport([&](WalkProgress& p) {
        return PlanDeleteFirstSymbols(Directory(), Mask(), deleteCount_, s.recursiveRename, s.writeRenameInfo, &p);
    });
}

void TRenameCommands::mnSortDateAddCountToFileNamesClick() {
    TSortFileAddNumForm dialog(context_.dialogParent());
    if (!dialog.Execute(context_.language(), context_.settings(), startName_, startNumber_)) return;
    RunAndReport([&](WalkProgress& p) {
        return PlanSortByDateAndNumber(Directory(), Mask(), NumberingOptionsFrom(context_.settings()), startName_,
                                       startNumber_, &p);
    });
}

void TRenameCommands::mnRenExtToLowCaseClick() {
    if (!Confirmed("mnRenExtToLowCase")) return;
    RunAndReport([&](WalkProgress& p) {
        return PlanLowerCaseExtensions(Directory(), Mask(), context_.settings().recursiveRename, &p);
    });
}

void TRenameCommands::mnExtChangeClick() {
    TAppSettings& s = context_.settings();
    std::string source, target;
    TExtChangerForm dialog(TExtChangerForm::Mode::Extension, context_.dialogParent());
    const std::vector<std::string> masks = context_.MaskList();
    if (!dialog.Execute(context_.language(), masks, Mask(), s.recursiveRename, source, target)) return;
    SetMask(source);
    if (target.empty()) return;
    std::optional<RenameStats> stats = RunPlan(
        [&](WalkProgress& p) { return PlanChangeExtensions(Directory(), source, target, s.recursiveRename, &p); });
    if (!stats) return;
    // The list then shows the changed files, and the status line the summary.
    SetMask(target);
    ReportBatch(*stats, context_.prompter());
}

void TRenameCommands::mnSubStrChangeClick() {
    std::string source, target;
    TExtChangerForm dialog(TExtChangerForm::Mode::Substring, context_.dialogParent());
    if (!dialog.Execute(context_.language(), {}, {}, context_.settings().recursiveRename, source, target)) return;
    oldSubStr_ = source;
    newSubStr_ = target;
    RenameOptions options = RenameOptionsFrom(context_.settings());
    options.oldSubStr = oldSubStr_;
    options.newSubStr = newSubStr_;
    RunAndReport([&](WalkProgress& p) { return PlanRenameDirectory(Directory(), Mask(), rkSubStr, options, &p); });
}

void TRenameCommands::SetMask(const std::string& mask) { context_.setFileMask(mask); }

void TRenameCommands::MirrorCurrentFile() {
    // The box shows the current file's name, or the list's mask while no file is current.
    QLineEdit* box = &renameBox_;
    if (box->isVisible()) return;
    FileListBox* list = &context_.fileList();
    const std::string name = list->currentName();
    box->setText(ToQt(name.empty() ? list->mask() : name));
}

void TRenameCommands::pmRenameClick() {
    FileListBox* list = &context_.fileList();
    QLineEdit* box = &renameBox_;
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
        FileListBox* list = &context_.fileList();
        const std::string oldName = list->currentName();
        const std::string newName = FromQt(renameBox_.text());
        if (!oldName.empty() && RenameInPlace(list->directory(), oldName, newName, context_.prompter())) {
            list->reload();
            list->setCurrentName(newName);
        }
        HideEditBox();
    } else if (key == Qt::Key_Escape) {
        HideEditBox();
    }
}

void TRenameCommands::edFile4FileListBoxExit() { renameBox_.hide(); }

void TRenameCommands::HideEditBox() {
    renameBox_.hide();
    context_.fileList().setFocus();
    MirrorCurrentFile();
}

bool TRenameCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &renameBox_) {
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
