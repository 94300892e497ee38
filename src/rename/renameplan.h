// A batch rename computed before anything moves: one row per file the
// command looked at, the name it would get and whether it can have it. The
// window previews a plan, the terminal prints it, and executing a plan is the
// only code that moves the files of a batch rename.
//
// Directories and names are code-page-1251 text, as the walk built them.
#pragma once

#include <string>
#include <vector>

namespace tandrel {

enum class PlanStatus {
    WillRename,       // "will rename"
    Unchanged,        // "unchanged": the command leaves the name as it is
    TargetExists,     // "target exists": another file already has the new name
    SameTarget,       // "same target as another file in this plan"
    OutsideCodePage,  // "name outside code page 1251"
    NotAllowed,       // "not allowed": empty, ".", "..", a path delimiter, the log's names
};

// The status's words as above (English; the terminal prints them).
const char* PlanStatusText(PlanStatus status);
// True for the statuses that keep a file from being renamed although the
// command would rename it.
bool IsPlanProblem(PlanStatus status);

struct PlanRow {
    std::string dir;
    std::string oldName;
    std::string newName;  // oldName when unchanged
    PlanStatus status = PlanStatus::Unchanged;
    bool included = true;  // false: the user left the file out; executing leaves it alone
};

struct RenamePlan {
    std::vector<PlanRow> rows;  // in the order the command moves the files
};

struct PlanCounts {
    int willRename = 0;
    int unchanged = 0;
    int problems = 0;
    int leftOut = 0;  // rows that would rename but are not included
};
PlanCounts CountPlan(const RenamePlan& plan);

}  // namespace tandrel
