#include "ui/fromtagscommands.h"

#include <QPushButton>

#include "app/messages.h"
#include "app/progress.h"
#include "platform/registry.h"
#include "tags/tagrename.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/fromid3renameoptionsform.h"
#include "ui/progresspump.h"
#include "ui/settingsform.h"

namespace tandrel {

TFromTagsCommands::TFromTagsCommands(CommandContext& context, QPushButton& renameButton, QObject* parent)
    : QObject(parent), context_(context), renameButton_(renameButton) {
    setObjectName("FromTagsCommands");
    connect(&renameButton_, &QPushButton::clicked, this, &TFromTagsCommands::bbtnFromID3RenameClick);
    context_.WireEntry("mnFromID3RenameOptions", this, &TFromTagsCommands::mnFromID3RenameOptionsClick);
}

bool TFromTagsCommands::ReadOptions(TagNameOptions& options) {
    RegistryStore& store = context_.settingsStore();
    if (FileResult loaded = store.Load(); !loaded) {
        context_.setStatusText(Utf8ToCp1251(loaded.error).text);
        return false;
    }
    options = ReadTagNameOptions(store, context_.settings());
    return true;
}

void TFromTagsCommands::bbtnFromID3RenameClick() {
    FileListBox& list = context_.fileList();
    if (list.count() == 0) return;
    const std::vector<std::string> names = list.selectedNames();
    if (names.empty()) {
        context_.prompter().ShowMessage(Message(context_.language(), MessageId::ChooseFile));
        return;
    }
    TagNameOptions options;
    if (!ReadOptions(options)) return;
    const std::string dir = list.directory();
    TID3v1 v1;
    TID3v2 v2;
    if (names.size() == 1) {
        const TagMessages messages{context_.prompter(), context_.language()};
        const TagNamePlanRow row = RenameFromTags(dir, names.front(), options, v1, v2, messages);
        if (row.status == TagNameStatus::Renamed) {
            list.reload();
            list.setCurrentName(row.newName);
            // The status line named the file by its old name.
            context_.setStatusText(JoinPath(dir, row.newName));
        }
        return;
    }
    {
        ProgressPump prompter(context_.prompter());
        WaitCursor wait(prompter);
        renameButton_.setEnabled(false);
        const TagMessages messages{prompter, context_.language()};
        std::vector<TagNameFile> files;
        for (const std::string& name : names) files.push_back({dir, name});
        std::vector<TagNamePlanRow> rows = PlanTagNames(files, options, v1, v2, &prompter);
        RenamePlan plan = TagNamesAsPlan(rows);
        if (context_.settings().showRenamePreview && !context_.PreviewRenamePlan(plan)) {
            renameButton_.setEnabled(true);
            context_.setStatusText(Message(context_.language(), MessageId::RenameNotStarted));
            return;
        }
        ProgressInfo progress;
        progress.total = static_cast<std::int64_t>(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            TagNamePlanRow& row = rows[i];
            // The files renamed so far keep their names, the rest stay as they were.
            if (prompter.StopRequested()) {
                context_.setStatusText(DoneOfText(progress.files, progress.total, context_.language()) +
                                       Message(context_.language(), MessageId::Cancelled));
                break;
            }
            ++progress.files;
            progress.entry = JoinPath(row.dir, row.oldName);
            prompter.ReportProgress(progress);
            // A file the user left out keeps its name.
            if (plan.rows[i].included) ExecuteTagName(row);
            ReportTagNameRow(row, messages);
        }
        renameButton_.setEnabled(true);
        list.reload();
    }
}

void TFromTagsCommands::ShowRenameSettings(QWidget* parent) {
    // The mask list is on a page that stays disabled: it comes back unchanged.
    std::vector<std::string> masks = context_.MaskList();
    const SettingsDialogContext settings{context_.prompter(), context_.settingsStore(), context_.settings(),
                                         masks, context_.currentDirectory(), context_.language()};
    ShowSettingsDialog(settings, kSettingsModeRenameOnly, parent);
}

void TFromTagsCommands::mnFromID3RenameOptionsClick() {
    TFromID3RenameOptionsForm dialog(context_.settingsStore(), context_.prompter(),
                                     [this](QWidget* parent) { ShowRenameSettings(parent); }, context_.dialogParent());
    dialog.Execute(context_.language());
}

}  // namespace tandrel
