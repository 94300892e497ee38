// The batch rename engine: gives files new names by one of the name
// transforms, in a whole directory tree, in a list of chosen files or one file
// at a time, keeps the per-directory rename log "rename.ini" and renames files
// back from it. Also the moves and the log that the structural renames share.
//
// Every batch is a plan first (Plan...: each directory listed once, every new
// name decided, nothing moved), then executed by ExecuteRenamePlan, the one
// code that moves the files of a batch; the command functions do both.
//
// Names and directories are code-page-1251 text. Nothing here shows a dialog:
// every failure goes to the prompter's status text and to the run's list of
// failures, and the run goes on, except when a log cannot be written: then
// the run stops before another file moves. The path of each file examined
// goes to the progress text. No rename ever replaces an existing file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dirwalk.h"
#include "app/prompts.h"
#include "app/settings.h"
#include "platform/result.h"
#include "rename/renamekind.h"
#include "rename/nametable.h"
#include "rename/renamelog.h"
#include "rename/renameplan.h"

namespace tandrel {

struct RenameOptions {
    int renameMode = 0;             // 1: spaces to underscores, 2: underscores to spaces
    bool makeLowercaseExt = false;  // directory walks: the new name gets a lower-case extension
    bool writeRenameInfo = false;   // keep the rename log
    bool recursive = false;         // walk sub-directories
    int artistMode = 0;             // mode of rkArtistAndTitle
    std::string oldSubStr;          // rkSubStr: replaced, case-sensitively, by newSubStr
    std::string newSubStr;
};

// The options as the settings give them; the substring pair stays empty.
RenameOptions RenameOptionsFrom(const TAppSettings& settings);

// What one run did.
struct RenameStats {
    int renamed = 0;
    int refused = 0;  // the target existed, the name was not acceptable or the move failed
    // Each failure's text with its reason, in order: refused files, logs not
    // written, directories that could not be read, a missing log.
    std::vector<std::string> failures;
    bool stopped = false;  // a log could not be written, so the run stopped
    bool noLog = false;    // rename back: no directory of the walk has a log
    bool cancelled = false;  // the user asked the run to stop; what it did is kept and logged
    int staleRows = 0;  // rows of a saved plan refused before any move, reported where they were read
};

// The status line after a run: how many renamed, how many failed and the
// first failure (or that no log was found); for a run the user stopped, in
// the language given, how many files were renamed before the stop.
std::string BatchSummary(const RenameStats& stats, int language = 0);
// "No rename log (rename.ini) found in " + dir.
std::string NoLogText(const std::string& dir);

// The name the kind and the rename mode give to a name.
std::string TransformName(const std::string& name, RenameKind kind, const RenameOptions& options);

// The chosen files of dir, in the order given; dir's log (when kept) is
// replaced when a file was renamed.
RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                const RenameOptions& options, Prompter& prompter);

// Every file of dir that the mask admits (and of its sub-directories when
// recursive); one log per directory that had a rename. The log file itself is
// never renamed by a walk.
RenamePlan PlanRenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                   const RenameOptions& options);
RenamePlan PlanRenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                               const RenameOptions& options, WalkProgress* progress = nullptr);
// The same over the files a filter admits (the translit run of the descriptions).
RenamePlan PlanRenameDirectory(const std::string& dir, const FileFilter& filter, RenameKind kind,
                               const RenameOptions& options, WalkProgress* progress = nullptr);
RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                            const RenameOptions& options, Prompter& prompter);

// Renames the files of each directory's log section ("renamed" or "deleted")
// back: the file named exactly by a line's new name (for a line with several
// "=", the split whose new name exists, preferring one a documented transform
// gives), otherwise the one file whose name matches it without regard to
// case; the last rename first. A journal left by a killed run is folded into
// the log first (or read in its place when that fails); the logs stay as they
// are otherwise. Uses recursive and makeLowercaseExt.
RenamePlan PlanRenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                             const RenameOptions& options, WalkProgress* progress = nullptr);
RenameStats RenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                          const RenameOptions& options, Prompter& prompter);

// What a caller of ExecuteRenamePlan learns as the run goes: a directory's
// listing begins, a file was renamed, a directory is done (its log ended).
// A hook's failure goes into the run's failures where it happens.
struct PlanHooks {
    std::function<void(const std::string& dir, RenameStats& stats)> onDirectoryBegin;
    std::function<void(const PlanRow& row)> onRenamed;
    std::function<void(const std::string& dir, RenameStats& stats)> onDirectoryEnd;
};

// Executes a plan in its order, as the command that built it does: each
// examined file's path to the progress text, a problem row's refusal, each
// included "will rename" row moved (recorded in its directory's log first
// when the plan is logged), the marks between them. Between two files the
// prompter is asked whether to stop; a stopped run ends every log it began.
RenameStats ExecuteRenamePlan(const RenamePlan& plan, Prompter& prompter, const PlanHooks& hooks = {});

// The rename of the file list's edit box: oldName of dir becomes newName,
// with no transform, no log and no existence test beyond the move's own.
bool RenameInPlace(const std::string& dir, const std::string& oldName, const std::string& newName,
                   Prompter& prompter);

// ---- Shared with the structural renames ----

// "File " + name + " already exists!!!" and name + " not renamed!!!".
std::string AlreadyExistsText(const std::string& name);
std::string NotRenamedText(const std::string& name);

// Moves oldName of dir to newName of dir and counts it in stats. Refuses
// (with NotRenamedText on the status bar) a new name that is empty, "." or
// "..", or holds the path delimiter, the names of the log, and a name with a
// character outside code page 1251 (the status text then says why). Never
// replaces an existing file.
bool MoveInDirectory(const std::string& dir, const std::string& oldName, const std::string& newName,
                     Prompter& prompter, RenameStats& stats);

// MoveInDirectory with the log: the rename is recorded before the file moves
// and taken back when the move fails. A name the log cannot hold is refused.
// When the log cannot be written the file stays and stats.stopped is set.
// secondAttempt: a failed move is tried once more by the checked rename.
// mover, when given, is the directory's, opened once for the batch.
bool LoggedMove(const std::string& dir, const std::string& oldName, const std::string& newName, DirectoryLog& log,
                Prompter& prompter, RenameStats& stats, bool secondAttempt = false, DirectoryMover* mover = nullptr);

// Ends a directory's log; a log that cannot be written is reported and counted.
void FinishLog(DirectoryLog& log, const std::string& dir, Prompter& prompter, RenameStats& stats);

// Sets the walk to report each directory it cannot read and to stop when the
// run has stopped.
void WatchWalk(WalkHandler& handler, Prompter& prompter, RenameStats& stats);

// The file's path as the progress text: a window keeps painting with it.
void ReportProgress(Prompter& prompter, const std::string& dir, const std::string& name);

// ---- Building plans ----

// The names of one directory while its plan is built, as the rows planned
// so far leave them.
class PlannedDirectory {
public:
    void Listed(const FindData& entry);
    void Reserve(std::size_t entries);
    bool HasFile(std::string_view name) const { return (names_.Flags(name) & kFile) != 0; }
    bool Has(std::string_view name) const { return (names_.Flags(name) & (kFile | kOther)) != 0; }
    // True when an earlier row of the plan gives the name.
    bool Given(std::string_view name) const { return (names_.Flags(name) & kGiven) != 0; }
    // A mark of the caller's on a listed name; a row that moves the name
    // moves its mark along.
    void Mark(std::string_view name) { names_.At(name) |= kMark; }
    bool Marked(std::string_view name) const { return (names_.Flags(name) & kMark) != 0; }
    // Each marked name, in no particular order.
    template <class F>
    void ForEachMarked(F&& f) const {
        names_.ForEach([&](std::string_view name, std::uint8_t flags) {
            if (flags & kMark) f(name);
        });
    }

private:
    friend bool PlanMove(RenamePlan&, PlannedDirectory&, const std::string&, const std::string&, const std::string&,
                         bool);
    enum : std::uint8_t { kFile = 1, kOther = 2, kGiven = 4, kMark = 8 };
    NameTable names_;
};

// The row of a move as LoggedMove (logged) or MoveInDirectory would go: a
// name the checks refuse, an existing target, or "will rename" (then the
// planned directory changes). True for "will rename".
bool PlanMove(RenamePlan& plan, PlannedDirectory& names, const std::string& dir, const std::string& oldName,
              const std::string& newName, bool logged);
void PlanUnchanged(RenamePlan& plan, const std::string& dir, const std::string& name);
// A row refused before the move: status text, the reason added in the failures.
void PlanRefusal(RenamePlan& plan, const std::string& dir, const std::string& oldName, const std::string& newName,
                 PlanStatus status, const std::string& text, const std::string& reason, bool showReason);
void PlanFailure(RenamePlan& plan, PlanMark::Kind kind, const std::string& text);

// A walk that builds a plan: each directory is listed whole (kinds from the
// listing itself unless detail is Full), then its admitted files (never the
// log) are handed on in listing order, sub-directories walked where the
// listing meets them; onEnd receives the admitted files after the listing.
struct PlanWalk {
    std::function<void(const std::string& dir, const FindData& file, PlannedDirectory& names)> onFile;
    std::function<void(const std::string& dir, std::vector<FindData>& files, PlannedDirectory& names)> onEnd;
    std::function<void(const std::string& dir, const std::vector<FindData>& entries)> onListed;
    // Counts the directories and files for the progress line; once the user
    // asks to stop, the walk ends and the plan is marked stopped.
    WalkProgress* progress = nullptr;
};
void WalkForPlan(const std::string& dir, bool recursive, const FileFilter& filter, RenamePlan& plan,
                 const PlanWalk& walk, FindDetail detail = FindDetail::NamesAndKinds);

}  // namespace tandrel
