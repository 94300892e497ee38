#include "ui/tagbatchcommands.h"

#include <QPushButton>

#include "app/messages.h"
#include "app/progress.h"
#include "app/prompts.h"
#include "tags/tagmatch.h"
#include "text/paths.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/progresspump.h"
#include "ui/regions.h"

namespace tandrel {

TTagBatchCommands::TTagBatchCommands(CommandContext& context, TagPanelRegion& panel, QObject* parent)
    : QObject(parent), context_(context), fromFileName_(*panel.bbtnFromFileNameToID3) {
    setObjectName("TagBatchCommands");
    // The mask rule enables them under an audio mask.
    connect(panel.bbtnFromFileNameToID3, &QPushButton::clicked, this, &TTagBatchCommands::bbtnFromFileNameToID3Click);
    connect(panel.bbtnChangeID3, &QPushButton::clicked, this, &TTagBatchCommands::bbtnChangeID3Click);
}

void TTagBatchCommands::ForEachSelectedFile(ProgressPump& pump, const std::function<void(const std::string&)>& each) {
    const std::vector<std::string> paths = SelectedPaths();
    ProgressInfo progress;
    progress.total = static_cast<std::int64_t>(paths.size());
    for (const std::string& path : paths) {
        if (pump.StopRequested()) {
            context_.setStatusText(DoneOfText(progress.files, progress.total, context_.language()) +
                                   Message(context_.language(), MessageId::Cancelled));
            return;
        }
        ++progress.files;
        progress.entry = path;
        pump.ReportProgress(progress);
        each(path);
    }
}

std::vector<std::string> TTagBatchCommands::SelectedPaths() const {
    const std::string dir = context_.currentDirectory();
    std::vector<std::string> paths;
    for (const std::string& name : context_.fileList().selectedNames()) paths.push_back(JoinPath(dir, name));
    return paths;
}

void TTagBatchCommands::bbtnFromFileNameToID3Click() {
    FileListBox& list = context_.fileList();
    if (list.count() == 0) return;
    const int selected = list.selectedCount();
    if (selected == 0) {
        context_.prompter().ShowMessage(Message(context_.language(), MessageId::ChooseFile));
        return;
    }
    if (selected == 1) {
        // The panel only: the user checks it and saves each half.
        std::string file = list.currentPath();
        if (file.empty()) file = SelectedPaths().front();
        context_.FileNameToTags(file, false);
        return;
    }
    {
        ProgressPump prompter(context_.prompter());
        WaitCursor wait(prompter);
        fromFileName_.setEnabled(false);
        ForEachSelectedFile(prompter, [this](const std::string& path) { context_.FileNameToTags(path, true); });
        fromFileName_.setEnabled(true);
    }
    list.reload();
}

void TTagBatchCommands::bbtnChangeID3Click() {
    FileListBox& list = context_.fileList();
    if (list.count() == 0) return;
    if (list.selectedCount() < 2) {
        context_.prompter().ShowMessage(Message(context_.language(), MessageId::ChooseFile));
        return;
    }
    TUpdateID3tagsForm dialog(context_.dialogParent());
    dialog.Execute(context_.language(),
                   [this](const TagFieldUpdate& update, TagUpdateMode mode) { UpdateSelectedFiles(update, mode); });
}

void TTagBatchCommands::UpdateSelectedFiles(const TagFieldUpdate& update, TagUpdateMode mode) {
    if (context_.fileList().selectedCount() < 2) return;
    ProgressPump prompter(context_.prompter());
    WaitCursor wait(prompter);
    const TagMessages messages{prompter, context_.language()};
    ForEachSelectedFile(prompter, [&](const std::string& path) {
        switch (mode) {
            case TagUpdateMode::Both:
                // One replacement of the file for both tags.
                UpdateID3Fields(context_.id3v1(), context_.id3v2(), messages, path, update);
                break;
            case TagUpdateMode::ID3v1:
                UpdateID3v1Fields(context_.id3v1(), messages, path, update);
                break;
            case TagUpdateMode::ID3v2:
                UpdateID3v2Fields(context_.id3v2(), messages, path, update);
                break;
        }
    });
}

}  // namespace tandrel
