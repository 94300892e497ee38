// The batch rename engine: gives files new names by one of the name
// transforms, in a whole directory tree, in a list of chosen files or one file
// at a time, keeps the per-directory rename log "rename.ini" and renames files
// back from it. Also the moves and the log that the structural renames share.
//
// Names and directories are code-page-1251 text. Nothing here shows a dialog:
// every failure goes to the prompter's status text and the run goes on; the
// path of each file examined goes to its progress text. No rename ever
// replaces an existing file.
#pragma once

#include <string>
#include <vector>

#include "app/prompts.h"
#include "app/settings.h"
#include "platform/result.h"
#include "rename/renamekind.h"

namespace tandrel {

inline constexpr const char* kRenameLogName = "rename.ini";
inline constexpr const char* kRenamedSection = "renamed";
inline constexpr const char* kDeletedSection = "deleted";

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
};

// The name the kind and the rename mode give to a name.
std::string TransformName(const std::string& name, RenameKind kind, const RenameOptions& options);

// One file of dir, without the lower-case extension rule: transform, rename
// mode, nothing when the name stays, for rkTranslit a refusal when the target
// exists, then the move. A success adds "new=old" to log when the log is kept.
bool RenameOneFile(const std::string& dir, const std::string& oldName, RenameKind kind,
                   const RenameOptions& options, std::vector<std::string>& log, Prompter& prompter);

// The chosen files of dir, in the order given, then dir's log (when kept and
// not empty) is replaced.
RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                const RenameOptions& options, Prompter& prompter);

// Every file of dir that the mask admits (and of its sub-directories when
// recursive); one log per directory that had a rename. The log file itself is
// never renamed by a walk.
RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                            const RenameOptions& options, Prompter& prompter);

// Renames each admitted file whose current name is a key of the section
// ("renamed" or "deleted") of its directory's log back to the key's value.
// The logs stay as they are. Uses recursive and makeLowercaseExt.
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

// Moves oldName of dir to newName of dir. Refuses (with NotRenamedText on the
// status bar) a new name that is empty, "." or "..", or holds the path
// delimiter, and a name with a character outside code page 1251 (the status
// text then says why). Never replaces an existing file.
bool MoveInDirectory(const std::string& dir, const std::string& oldName, const std::string& newName,
                     Prompter& prompter);

// Replaces dir's log by "[section]" and the lines, through a temporary file.
// Nothing is written for no lines. A failure is reported on the status bar.
FileResult WriteRenameLog(const std::string& dir, const std::string& section, const std::vector<std::string>& lines,
                          Prompter& prompter);

// The file's path as the progress text: a window keeps painting with it.
void ReportProgress(Prompter& prompter, const std::string& dir, const std::string& name);

// True for the name of the rename log, which the walks leave alone.
bool IsRenameLog(const std::string& name);

}  // namespace tandrel
