// The batch rename engine: gives files new names by one of the name
// transforms, in a whole directory tree, in a list of chosen files or one file
// at a time, keeps the per-directory rename log "rename.ini" and renames files
// back from it. Also the moves and the log that the structural renames share.
//
// Names and directories are code-page-1251 text. Nothing here shows a dialog:
// every failure goes to the prompter's status text and to the run's list of
// failures, and the run goes on, except when a log cannot be written: then
// the run stops before another file moves. The path of each file examined
// goes to the progress text. No rename ever replaces an existing file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/dirwalk.h"
#include "app/prompts.h"
#include "app/settings.h"
#include "platform/result.h"
#include "rename/renamekind.h"
#include "rename/renamelog.h"

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
};

// The status line after a run: how many renamed, how many failed and the
// first failure (or that no log was found).
std::string BatchSummary(const RenameStats& stats);
// "No rename log (rename.ini) found in " + dir.
std::string NoLogText(const std::string& dir);

// The name the kind and the rename mode give to a name.
std::string TransformName(const std::string& name, RenameKind kind, const RenameOptions& options);

// One file of dir, without the lower-case extension rule: transform, rename
// mode, nothing when the name stays, for rkTranslit a refusal when the target
// exists, then the move, recorded in log first.
bool RenameOneFile(const std::string& dir, const std::string& oldName, RenameKind kind,
                   const RenameOptions& options, DirectoryLog& log, RenameStats& stats, Prompter& prompter);

// The chosen files of dir, in the order given; dir's log (when kept) is
// replaced when a file was renamed.
RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                const RenameOptions& options, Prompter& prompter);

// Every file of dir that the mask admits (and of its sub-directories when
// recursive); one log per directory that had a rename. The log file itself is
// never renamed by a walk.
RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                            const RenameOptions& options, Prompter& prompter);

// Renames the files of each directory's log section ("renamed" or "deleted")
// back: the file named exactly by a line's new name (for a line with several
// "=", the split whose new name exists, preferring one a documented transform
// gives), otherwise the one file whose name matches it without regard to
// case; the last rename first. A journal left by a killed run is folded into
// the log first (or read in its place when that fails); the logs stay as they
// are otherwise. Uses recursive and makeLowercaseExt.
RenameStats RenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                          const RenameOptions& options, Prompter& prompter);

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
bool LoggedMove(const std::string& dir, const std::string& oldName, const std::string& newName, DirectoryLog& log,
                Prompter& prompter, RenameStats& stats, bool secondAttempt = false);

// Ends a directory's log; a log that cannot be written is reported and counted.
void FinishLog(DirectoryLog& log, const std::string& dir, Prompter& prompter, RenameStats& stats);

// Sets the walk to report each directory it cannot read and to stop when the
// run has stopped.
void WatchWalk(WalkHandler& handler, Prompter& prompter, RenameStats& stats);

// The file's path as the progress text: a window keeps painting with it.
void ReportProgress(Prompter& prompter, const std::string& dir, const std::string& name);

// One file met during a listing: true when it was renamed, to newName. log
// is the directory's.
using ListingRename =
    std::function<bool(const std::string& dir, const std::string& name, DirectoryLog& log, std::string& newName)>;

// What a caller of RenameDuringListing learns of each directory: before its
// listing begins, and after its log has been ended.
struct ListingHooks {
    std::function<void(const std::string& dir)> onDirectoryBegin;
    std::function<void(const std::string& dir)> onDirectoryEnd;
};

// Renames during the walk's listing: rename is asked for each admitted file
// but the log, and a name it gave is not renamed again when the listing meets
// it. Each directory has its own log of section, kept when logged, ended when
// its listing ends.
void RenameDuringListing(const std::string& dir, bool recursive, const FileFilter& filter, const std::string& section,
                         bool logged, Prompter& prompter, RenameStats& stats, const ListingRename& rename,
                         const ListingHooks& hooks = {});

// One listed file of a whole-directory rename: the transform and rename mode,
// nothing when the name stays, for rkTranslit a refusal when the target
// exists, the lower-case extension when asked for, then the logged move.
// True when the file now has newName.
bool RenameListedFile(const std::string& dir, const std::string& name, RenameKind kind, const RenameOptions& options,
                      DirectoryLog& log, RenameStats& stats, Prompter& prompter, std::string& newName);

}  // namespace tandrel
