// Repair of legacy file names: entries whose names on disk are not valid
// UTF-8 (code page 1251, CP866 or KOI8-R bytes from old disks and archives)
// get the readable UTF-8 name their most likely encoding gives. The repair
// is a plan first (one row per such name, files and directories alike),
// which the window previews and the terminal prints; executing it moves with
// the no-replace move and records each rename in the directory's rename log,
// section "names" (new name = the old bytes), from which the rename back
// gives the entries their old bytes again.
#pragma once

#include <string>
#include <vector>

#include "app/prompts.h"
#include "platform/rawnames.h"
#include "rename/renameengine.h"
#include "text/legacytext.h"

namespace tandrel {

inline constexpr const char* kRepairedNamesSection = "names";

enum class NameRepairStatus {
    kReady,    // will be renamed
    kUnclear,  // no encoding gives a plausible name that code page 1251 holds
    kExists,   // an entry of the new name exists
    kTwice,    // an earlier row of the directory gives the same new name
    kSkipped,  // its directory was not repaired, so it cannot be reached
    kDone,
    kFailed,
};

struct NameRepairRow {
    // The directory (code page 1251) as it is named once the rows before are done.
    std::string dir;
    std::string rawName;  // the name's bytes on disk
    LegacyEncoding encoding = LegacyEncoding::kCp1251;
    std::string newName;  // code page 1251; the best reading even when unclear
    bool directory = false;
    NameRepairStatus status = NameRepairStatus::kReady;
    std::string reason;  // why a row failed (code page 1251)
};

struct NameRepairPlan {
    std::vector<NameRepairRow> rows;  // a directory's rows before those of its sub-directories
    std::vector<std::string> failures;  // directories that could not be listed
};

// The plan for the entries of dir (and of its sub-directories when recursive,
// those with legacy names included; links are not followed).
NameRepairPlan PlanNameRepair(const std::string& dir, bool recursive);

// Renames the ready rows in order, each recorded in its directory's log
// first; sets each row's status to done or failed. A log that cannot be
// written stops the run before another entry moves.
RenameStats RepairNames(NameRepairPlan& plan, Prompter& prompter);

// Gives the entries named in the "names" section of each directory's log
// their old bytes again, the last rename first, sub-directories before their
// parent. The logs stay as they are.
RenameStats RenameRepairedNamesBack(const std::string& dir, bool recursive, Prompter& prompter);
// "ready", "unclear", "exists", "twice", "skipped", "done", "failed".
const char* NameRepairStatusText(NameRepairStatus status);

}  // namespace tandrel
