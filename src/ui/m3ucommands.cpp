#include "ui/m3ucommands.h"

#include "app/messages.h"
#include "catalog/m3u.h"
#include "catalog/m3ufind.h"
#include "catalog/outputdoc.h"
#include "search/searchplaces.h"
#include "text/paths.h"
#include "text/strings.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/progresspump.h"
#include "ui/regions.h"

namespace tandrel {

namespace {

constexpr int kPlaylistFilter = 1;  // "Play List (*.m3u)" of the open dialog
constexpr const char* kResultName = "file_001.txt";

}  // namespace

TM3UCommands::TM3UCommands(CommandContext& context, OutputRegion& output, SearchBoxRegion& box,
                           AdvancedSearchRegion& advanced, QObject* parent)
    : QObject(parent), context_(context), box_(box), adv_(advanced) {
    setObjectName("M3UCommands");
    // Off until a playlist is opened into the output; the find command is on
    // from the start while its dialog box is (the loaded settings decide).
    context_.WireEntry("mnGetM3Uinf", this, &TM3UCommands::mnGetM3UinfClick, false);
    context_.WireEntry("mnGetM3Unames", this, &TM3UCommands::mnGetM3UnamesClick, false);
    context_.WireEntry("mnGetM3UnamesAndSaveToFile", this, &TM3UCommands::mnGetM3UnamesAndSaveToFileClick, false);
    context_.WireEntry("mnFindM3Unames", this, &TM3UCommands::mnFindM3UnamesClick, false);
    // Enabled by a media mask of the file list.
    context_.WireEntry("mnGetMP3files", this, &TM3UCommands::mnGetMP3filesClick, false);
    connect(output.bbtnGetMP3files, &QPushButton::clicked, this, &TM3UCommands::mnGetMP3filesClick);
}

void TM3UCommands::ShowResult(const std::vector<std::string>& lines) {
    context_.ReplaceVisibleOutputLines(lines);
    context_.NameOutputDocument(kResultName);
}

void TM3UCommands::mnGetM3UinfClick() { ShowResult(PlaylistTitles(context_.visibleOutputLines())); }

void TM3UCommands::mnGetM3UnamesClick() { ShowResult(PlaylistBareNames(context_.visibleOutputLines())); }

void TM3UCommands::mnGetM3UnamesAndSaveToFileClick() {
    // The editor's lines, whichever view is visible.
    context_.ReplaceOutputLines(PlaylistBareNames(context_.outputLines()));
    context_.NameOutputDocument(BareNamesFileName(context_.documentName()));
    context_.SaveOutput();
}

void TM3UCommands::mnGetMP3filesClick() {
    std::vector<std::string>& results = context_.searchResults();
    results = MediaNames(context_.fileList().names());
    context_.OpenOutputDocument(OpenMode::SearchResults, "");
    context_.RefreshCheckList();
}

bool TM3UCommands::OpenPlaylist() {
    const std::optional<std::string> chosen = context_.prompter().OpenFileDialogWithFilter(
        "", context_.currentDirectory(), kOutputOpenFilter, kPlaylistFilter);
    if (!chosen) return false;
    context_.setFileMask("*.m3u");
    // The file list moves to the playlist, which opens by its name there.
    const std::string dir = ExtractDirPart(*chosen);
    const bool moved = context_.GoToDirectory(dir.empty() ? std::string(1, kPathDelim) : dir);
    context_.OpenOutputDocument(OpenMode::FileList, moved ? CopyAfterLastChar(*chosen, kPathDelim) : *chosen);
    return true;
}

void TM3UCommands::mnFindM3UnamesClick() {
    if (context_.settings().m3uDlgBox && !OpenPlaylist()) return;
    WaitCursor busy(context_.prompter());
    const std::vector<std::string> lines = context_.visibleOutputLines();
    if (!HasPlaylistEntries(lines)) return;

    M3UFindOptions o;
    o.searchAll = context_.settings().m3uSearchAll;
    o.anyMask = context_.settings().anyMask;
    o.useMask = adv_.cbUseMask->isChecked() && adv_.cbUseMask->isEnabled();
    o.searchMask = FromQt(adv_.cboxMask->currentText());
    o.addFileName = context_.outputAddsFileName();
    const std::vector<std::string> roots = adv_.cbFindOnDrives->isChecked()
                                               ? ParseDriveList(FromQt(adv_.edFindDrv->text()))
                                               : std::vector<std::string>{context_.fileList().directory()};

    // The directory being listed shows in the progress text while the window keeps painting.
    box_.stFindInd->clear();
    box_.stFindInd->show();
    M3UFindResult result;
    {
        ProgressPump pump(context_.prompter());
        result = FindPlaylistFiles(lines, roots, o, pump, [&pump] { pump.Pump(); });
    }
    box_.stFindInd->hide();
    ShowResult(result.lines);
    // Entries not found by then stay as they were in the playlist.
    if (result.cancelled)
        context_.setStatusText(Message(context_.language(), MessageId::SearchFound) + std::to_string(result.found) +
                               " / " + std::to_string(result.entries) +
                               Message(context_.language(), MessageId::Cancelled));
}

}  // namespace tandrel
