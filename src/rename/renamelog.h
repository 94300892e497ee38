// The rename log of a directory: the file "rename.ini", one section
// ("[renamed]" or "[deleted]") of lines new name + "=" + old name, and its
// journal "rename.ini.journal" beside it.
//
// A run records each rename in the journal before the file moves (appended at
// once, synced in batches); when the directory is done the journal is folded
// into "rename.ini" and removed (a journal that holds exactly the new log,
// every recorded rename done, is synced and renamed to "rename.ini", which
// replaces the old log as a whole-file write would). A journal that a killed
// run left behind is the log of that run: the rename back reads it, and the
// next command that uses the log there folds it in (or, for a run of the
// same section, goes on with it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/appendfile.h"
#include "platform/result.h"

namespace tandrel {

inline constexpr const char* kRenameLogName = "rename.ini";
inline constexpr const char* kRenameJournalName = "rename.ini.journal";
inline constexpr const char* kRenamedSection = "renamed";
inline constexpr const char* kDeletedSection = "deleted";

// True for the names of the log and its journal, which the walks leave alone
// and no rename gives to a file.
bool IsRenameLog(std::string_view name);

// Why the log cannot hold the rename of oldName to newName (a line break in a
// name), "" when it can.
std::string LogRefusal(const std::string& newName, const std::string& oldName);

// The lines of one section of a directory's log as the last run left them:
// the journal when one is left, otherwise "rename.ini" read as an INI reader
// does (section names without regard to case, the first such section).
// found tells whether the directory has a log or a journal at all.
struct LogLines {
    bool found = false;
    std::vector<std::string> lines;  // "new=old" as written, in the order of renaming
};
FileResult ReadLogSection(const std::string& dir, const std::string& section, LogLines& out);

// Folds a journal left in dir into "rename.ini" and removes it; nothing when
// there is none.
FileResult RecoverJournal(const std::string& dir);

// The log of one directory during one run.
class DirectoryLog {
public:
    // A disabled log records nothing and never fails.
    DirectoryLog(std::string dir, std::string section, bool enabled);

    bool enabled() const { return enabled_; }
    // Records the rename before the file moves. A failure means the log
    // cannot be kept: the file must not move and the batch stops.
    FileResult Record(const std::string& newName, const std::string& oldName);
    // The move recorded last did not happen: its record is taken back.
    void Cancel();
    // Records the renames of a batch (new name, old name) before any of its
    // files moves, in one write and one sync; each rename that is then done
    // is confirmed, and only the confirmed ones reach "rename.ini". A record
    // whose move never happened does no harm: the rename back finds no file
    // of its new name. On a failure the journal is as it was before.
    FileResult RecordBatch(const std::vector<std::pair<std::string_view, std::string_view>>& renames);
    void Confirm(std::string_view newName, std::string_view oldName);
    // Folds the journal into "rename.ini" and removes it. Nothing is written
    // when no rename was recorded (an older log stays). On a failure the
    // journal stays, so the renames can still be undone.
    FileResult Finish();

private:
    FileResult Start();

    std::string dir_;
    std::string section_;
    bool enabled_;
    AppendFile journal_;
    // The records that reach "rename.ini", each "new=old" and CR LF, in the
    // order of renaming; the last one Record added begins at lastLine_.
    std::string records_;
    std::size_t lastLine_ = 0;
    std::int64_t lastRecord_ = 0;
    int unsynced_ = 0;
};

// A seam for crash tests: called after each step that a killed process must
// be able to stop at (a record written, a file moved, a log folded).
using RenameStepHook = void (*)();
void SetRenameStepHook(RenameStepHook hook);
void RenameStep();

}  // namespace tandrel
