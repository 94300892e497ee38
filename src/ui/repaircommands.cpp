#include "ui/repaircommands.h"

#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "app/dirwalk.h"
#include "app/language.h"
#include "app/messages.h"
#include "app/progress.h"
#include "rename/namerepair.h"
#include "tags/tagrepair.h"
#include "text/cp1251.h"
#include "text/legacytext.h"
#include "text/paths.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/progresspump.h"
#include "ui/widgets.h"

namespace tandrel {

namespace {

// The texts of the commands, English and Russian.
enum Text {
    kTagsTitle, kFile, kFrame, kOldText, kNewText, kNamesTitle, kFolder, kOldName, kEncoding, kNewName, kState,
    kNoTagsToRepair, kNoNamesToRepair, kTagsRepaired, kCancel, kTextCount
};
constexpr const char* kTexts[kTextCount][2] = {
    {"Repair ID3v2 Tag Text", "Исправление текста тэгов ID3v2"},
    {"File", "Файл"},
    {"Frame", "Фрейм"},
    {"Shown now", "Сейчас видно"},
    {"After the repair", "После исправления"},
    {"Repair Legacy File Names", "Исправление имён файлов"},
    {"Folder", "Каталог"},
    {"Name now", "Имя сейчас"},
    {"Encoding", "Кодировка"},
    {"New name", "Новое имя"},
    {"State", "Состояние"},
    {"No ID3v2 text to repair", "Нет текста ID3v2 для исправления"},
    {"No legacy file names to repair", "Нет имён файлов в старых кодировках"},
    {"ID3v2 text repaired: frames %1, files %2, failed %3", "Исправлено фреймов: %1, файлов: %2, ошибок: %3"},
    {"Cancel", "Отмена"},
};

std::string Say(int language, Text text) { return kTexts[text][language == kRussian ? 1 : 0]; }

std::string Replace(std::string text, const char* mark, const std::string& value) {
    const std::size_t at = text.find(mark);
    return at == std::string::npos ? text : text.replace(at, std::string(mark).size(), value);
}

}  // namespace

bool ShowRepairPreview(const RepairPreview& preview, int language, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName("TRepairPreviewForm");
    dialog.setWindowTitle(QString::fromStdString(preview.title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* model = new QStandardItemModel(static_cast<int>(preview.rows.size()), static_cast<int>(preview.columns.size()),
                                         &dialog);
    for (std::size_t c = 0; c < preview.columns.size(); ++c)
        model->setHeaderData(static_cast<int>(c), Qt::Horizontal, QString::fromStdString(preview.columns[c]));
    for (std::size_t r = 0; r < preview.rows.size(); ++r)
        for (std::size_t c = 0; c < preview.rows[r].size(); ++c)
            model->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QStandardItem(QString::fromStdString(preview.rows[r][c])));
    auto* table = Named(new QTableView(&dialog), "tvPreview");
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnsToContents();
    layout->addWidget(table);
    QPushButton *ok = nullptr, *cancel = nullptr;
    layout->addLayout(OkCancelRow(&dialog, ok, cancel));
    cancel->setText(QString::fromStdString(Say(language, kCancel)));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.resize(760, 420);
    return dialog.exec() == QDialog::Accepted;
}

TRepairCommands::TRepairCommands(CommandContext& context, QObject* parent) : QObject(parent), context_(context) {
    setObjectName("RepairCommands");
    preview_ = [this](const RepairPreview& preview) {
        return ShowRepairPreview(preview, context_.language(), context_.dialogParent());
    };
    context_.WireEntry("mnRepairTags", this, &TRepairCommands::mnRepairTagsClick);
    context_.WireEntry("mnRepairNames", this, &TRepairCommands::mnRepairNamesClick);
    context_.WireEntry("mnRepairNamesBack", this, &TRepairCommands::mnRepairNamesBackClick);
}

std::vector<std::string> TRepairCommands::TagRepairFiles() {
    const std::string dir = context_.currentDirectory();
    std::vector<std::string> paths;
    for (const std::string& name : context_.fileList().selectedNames()) paths.push_back(JoinPath(dir, name));
    std::vector<std::string> failures;
    if (paths.empty())
        return FilesToRepair({dir}, MaskFilter(context_.fileMask()), context_.settings().recursiveRename, failures);
    return FilesToRepair(paths, MaskFilter("*.*"), false, failures);
}

void TRepairCommands::mnRepairTagsClick() {
    const int language = context_.language();
    ProgressPump prompter(context_.prompter());
    std::vector<std::pair<std::string, TagRepair>> plans;
    RepairPreview preview{Say(language, kTagsTitle),
                          {Say(language, kFile), Say(language, kFrame), Say(language, kOldText), Say(language, kNewText)},
                          {}};
    std::vector<std::string> failures;
    const std::string cancelled = Message(language, MessageId::Cancelled);
    {
        WaitCursor wait(prompter);
        const std::vector<std::string> files = TagRepairFiles();
        ProgressInfo progress;
        progress.total = static_cast<std::int64_t>(files.size());
        for (const std::string& file : files) {
            if (prompter.StopRequested()) {
                prompter.SetProgressText("");
                prompter.SetStatusText(DoneOfText(progress.files, progress.total, language) + cancelled);
                return;
            }
            ++progress.files;
            progress.entry = file;
            prompter.ReportProgress(progress);
            TagRepair plan;
            if (FileResult r = PlanTagRepair(file, plan); !r) {
                failures.push_back(Utf8ToCp1251(r.error).text);
                continue;
            }
            if (plan.frames.empty()) continue;
            for (const FrameTextRepair& f : plan.frames)
                preview.rows.push_back({Cp1251ToUtf8(file), f.frameId, CodePointsToUtf8(f.oldText),
                                        CodePointsToUtf8(f.newText)});
            plans.emplace_back(file, std::move(plan));
        }
        prompter.SetProgressText("");
    }
    if (plans.empty()) {
        prompter.SetStatusText(failures.empty() ? Utf8ToCp1251(Say(language, kNoTagsToRepair)).text : failures.front());
        return;
    }
    if (!preview_(preview)) return;
    int frames = 0, files = 0;
    bool stopped = false;
    {
        WaitCursor wait(prompter);
        ProgressInfo progress;
        progress.total = static_cast<std::int64_t>(plans.size());
        for (auto& [file, plan] : plans) {
            // The files repaired so far stay repaired.
            if (progress.files > 0 && prompter.StopRequested()) {
                stopped = true;
                break;
            }
            ++progress.files;
            progress.entry = file;
            prompter.ReportProgress(progress);
            if (FileResult r = RepairTag(file, plan); !r) {
                failures.push_back(Utf8ToCp1251(r.error).text);
                continue;
            }
            frames += static_cast<int>(plan.frames.size());
            files += plan.frames.empty() ? 0 : 1;
        }
        prompter.SetProgressText("");
    }
    std::string status = Say(language, kTagsRepaired);
    status = Replace(status, "%1", std::to_string(frames));
    status = Replace(status, "%2", std::to_string(files));
    status = Replace(status, "%3", std::to_string(failures.size()));
    prompter.SetStatusText(Utf8ToCp1251(status).text + (stopped ? cancelled : "") +
                           (failures.empty() ? "" : ". " + failures.front()));
}

void TRepairCommands::mnRepairNamesClick() {
    const int language = context_.language();
    ProgressPump prompter(context_.prompter());
    NameRepairPlan plan;
    {
        WaitCursor wait(prompter);
        plan = PlanNameRepair(context_.currentDirectory(), context_.settings().recursiveRename);
    }
    if (plan.rows.empty()) {
        prompter.SetStatusText(plan.failures.empty() ? Utf8ToCp1251(Say(language, kNoNamesToRepair)).text
                                                     : plan.failures.front());
        return;
    }
    RepairPreview preview{Say(language, kNamesTitle),
                          {Say(language, kFolder), Say(language, kOldName), Say(language, kEncoding),
                           Say(language, kNewName), Say(language, kState)},
                          {}};
    for (const NameRepairRow& row : plan.rows)
        preview.rows.push_back({Cp1251ToUtf8(row.dir), Cp1251ToUtf8(ShownRawName(row.rawName)),
                                LegacyEncodingName(row.encoding), Cp1251ToUtf8(row.newName),
                                NameRepairStatusText(row.status)});
    if (!preview_(preview)) return;
    RenameStats stats;
    {
        WaitCursor wait(prompter);
        stats = RepairNames(plan, prompter);
        prompter.SetProgressText("");
    }
    stats.failures.insert(stats.failures.end(), plan.failures.begin(), plan.failures.end());
    prompter.SetStatusText(BatchSummary(stats, language));
    context_.fileList().reload();
}

void TRepairCommands::mnRepairNamesBackClick() {
    ProgressPump prompter(context_.prompter());
    RenameStats stats;
    {
        WaitCursor wait(prompter);
        stats = RenameRepairedNamesBack(context_.currentDirectory(), context_.settings().recursiveRename, prompter);
        prompter.SetProgressText("");
    }
    prompter.SetStatusText(BatchSummary(stats));
    context_.fileList().reload();
}

}  // namespace tandrel
