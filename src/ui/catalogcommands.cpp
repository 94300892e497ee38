#include "ui/catalogcommands.h"

#include <ctime>

#include "app/messages.h"
#include "app/prompts.h"
#include "catalog/descriptions.h"
#include "catalog/dirtree.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/processdirform.h"
#include "ui/progresspump.h"
#include "ui/renamepreview.h"

namespace tandrel {

TCatalogCommands::TCatalogCommands(CommandContext& context, QObject* parent) : QObject(parent), context_(context) {
    setObjectName("CatalogCommands");
    context_.WireEntry("mnProcessDirs", this, &TCatalogCommands::mnProcessDirsClick);
    context_.WireEntry("mnProcessRenFiles", this, &TCatalogCommands::mnProcessRenFilesClick);
    context_.WireEntry("mnMakeTree", this, &TCatalogCommands::mnMakeTreeClick);
}

std::string TCatalogCommands::AskDirectories(int mode) {
    return ShowProcessDirDialog(static_cast<ProcessDirMode>(mode), context_.language(), context_.prompter(),
                                context_.settingsStore(), context_.settings(), context_.currentDirectory(),
                                // The dialog's OK checked that dir exists.
                                [this](const std::string& dir) { (void)context_.GoToDirectory(dir); },
                                context_.dialogParent());
}

void TCatalogCommands::Report(const std::string& summary, const std::vector<std::string>& failures,
                              Prompter& prompter) {
    prompter.SetStatusText(summary);
    if (failures.empty()) return;
    std::string details = summary + "\n\nDetails:";
    for (const std::string& failure : failures) details += "\n" + failure;
    prompter.ShowMessage(details);
}

std::string TCatalogCommands::CancelledNote(bool cancelled) const {
    return cancelled ? Message(context_.language(), MessageId::Cancelled) : std::string();
}

void TCatalogCommands::mnProcessDirsClick() {
    const std::string writeDir = AskDirectories(0);
    if (writeDir.empty()) return;
    const TAppSettings& s = context_.settings();
    DescriptionOptions o;
    o.addingNumber = s.addingNumber;
    o.numberFormat = s.numberFormat;
    o.numberSplit = s.numberSplit;
    o.driveRoots = context_.driveRoots();
    ProgressPump prompter(context_.prompter());
    WaitCursor wait(prompter);
    const CatalogStats stats = MakeDescriptions(context_.currentDirectory(), writeDir, context_.fileMask(), o, prompter);
    Report(CatalogSummary(stats) + CancelledNote(stats.cancelled), stats.failures, prompter);
}

void TCatalogCommands::mnProcessRenFilesClick() {
    const std::string writeDir = AskDirectories(1);
    if (writeDir.empty()) return;
    const RenameOptions options = RenameOptionsFrom(context_.settings());
    const std::optional<RenamePlan> plan = PlanForRename(context_, [&](WalkProgress& p) {
        return PlanTranslitRun(context_.currentDirectory(), context_.fileMask(), options, &p);
    });
    if (!plan) return;
    ProgressPump prompter(context_.prompter());
    WaitCursor wait(prompter);
    const CorrectionStats stats = ExecuteTranslitRun(*plan, writeDir, options, context_.driveRoots(), prompter);
    Report(BatchSummary(stats.renames, context_.language()) + "; descriptions written: " +
               std::to_string(stats.written.size()),
           stats.renames.failures, prompter);
    context_.fileList().reload();
}

void TCatalogCommands::mnMakeTreeClick() {
    const std::string writeDir = AskDirectories(2);
    if (writeDir.empty()) return;
    const TAppSettings& s = context_.settings();
    TreeOptions o;
    o.treeMode = s.treeMode;
    o.treeNameMode = s.treeNameMode;
    o.addingDate = s.addingDate;
    o.now = static_cast<std::int64_t>(std::time(nullptr));
    ProgressPump prompter(context_.prompter());
    WaitCursor wait(prompter);
    const CatalogStats stats = MakeTree(context_.currentDirectory(), writeDir, context_.fileMask(), o, prompter);
    Report((stats.written.empty() ? CatalogSummary(stats) : "Tree written: " + stats.written.front()) +
               CancelledNote(stats.cancelled),
           stats.failures, prompter);
}

}  // namespace tandrel
