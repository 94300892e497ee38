#include "ui/copycommands.h"

#include <algorithm>

#include "app/messages.h"
#include "media/copyfiles.h"
#include "platform/launcher.h"
#include "text/cp1251.h"
#include "ui/commandcontext.h"
#include "ui/directoryform.h"
#include "ui/filelists.h"
#include "ui/progresspump.h"

namespace tandrel {

TCopyCommands::TCopyCommands(CommandContext& context, QObject* parent)
    : QObject(parent), context_(context) {
    setObjectName("CopyCommands");
    // pmCopyFile stays as the file-mask logic shows or hides it.
    context_.WireEntry("pmCopyFile", this, &TCopyCommands::pmCopyFileClick);
    context_.WireEntry("pmCopyFiles", this, &TCopyCommands::pmCopyFilesClick);
    context_.WireEntry("pmDownloadFile", this, &TCopyCommands::pmDownloadFileClick);
}

std::string TCopyCommands::AskTargetDirectory() {
    return ShowSaveDirDialog(context_.prompter(), context_.settingsStore(), context_.currentDirectory(),
                             context_.language(), context_.dialogParent());
}

void TCopyCommands::CopyWithProgress(const std::vector<CopySource>& sources, std::size_t asked,
                                     const std::string& targetDir) {
    CopyStats stats;
    {
        WaitCursor busy(context_.prompter());
        ProgressPump pump(context_.prompter());
        ProgressInfo shown;
        stats = CopyFilesInto(
            sources, targetDir,
            [&](const CopyProgressInfo& info) {
                shown.files = static_cast<std::int64_t>(info.filesDone);
                shown.total = static_cast<std::int64_t>(info.files);
                shown.bytesDone = info.bytesDone;
                shown.bytes = info.bytes;
                shown.entry = info.current;
                pump.ReportProgress(shown);
            },
            [&pump] { return pump.StopRequested(); });
        context_.prompter().SetProgressText("");
    }
    // Entries that named no file copied nothing; the summary says how many.
    stats.notFound = static_cast<int>(asked - std::min(asked, sources.size()));
    // The first failure or note names its file; the summary counts them all.
    std::string status = CopySummary(stats);
    if (stats.cancelled) status += Message(context_.language(), MessageId::Cancelled);
    if (!stats.failures.empty()) status += ". " + stats.failures.front();
    else if (!stats.notes.empty()) status += ". " + stats.notes.front();
    context_.setStatusText(status);
}

void TCopyCommands::pmCopyFileClick() {
    FileListBox& list = context_.fileList();
    if (list.count() == 0) return;
    if (list.selectedCount() == 0) {
        context_.prompter().ShowMessage(Message(context_.language(), MessageId::ChooseFile));
        return;
    }
    const std::string target = AskTargetDirectory();
    if (target.empty()) return;
    std::vector<CopySource> sources;
    if (list.selectedCount() == 1) {
        sources = SelectedFileSources(list.directory(), {list.currentName()});
    } else {
        sources = SelectedFileSources(context_.currentDirectory(), list.selectedNames());
    }
    CopyWithProgress(sources, static_cast<std::size_t>(list.selectedCount()), target);
}

void TCopyCommands::pmCopyFilesClick() {
    // The directory is asked for first, even with no line checked.
    const std::string target = AskTargetDirectory();
    if (target.empty()) return;
    const std::vector<std::string> lines = context_.checkedOutputLines();
    CopyWithProgress(OutputLineSources(lines, context_.outputAddsFileName(), context_.currentDirectory()),
                     lines.size(), target);
}

void TCopyCommands::pmDownloadFileClick() {
    const std::vector<std::string> selected = context_.selectedOutputLines();
    if (selected.empty()) return;
    if (FileResult r = context_.launcher().OpenDocument(selected.front()); !r)
        context_.setStatusText(Utf8ToCp1251(r.error).text);
}

}  // namespace tandrel
