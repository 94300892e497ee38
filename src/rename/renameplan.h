// A batch rename computed before anything moves: one row per file the
// command looked at, the name it would get and whether it can have it. The
// window previews a plan, the terminal prints it, and executing a plan is the
// only code that moves the files of a batch rename.
//
// Directories and names are code-page-1251 text, as the walk built them.
#pragma once

#include <cstddef>
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
    // A problem row: what executing it shows (the status text), the reason
    // added in the list of failures, and whether the status line shows it too.
    std::string problemText;
    std::string problemReason;
    bool showReason = false;
};

// Something the run does between two rows: a directory's listing begins or
// ends (its rename log is ended there), or a failure that is not one file's
// (a directory that cannot be read, a playlist that cannot be read).
struct PlanMark {
    enum Kind { DirectoryBegin, DirectoryEnd, Failure, Status };
    Kind kind = Failure;
    std::size_t beforeRow = 0;  // the number of rows executed before it
    std::string text;           // the directory, or the text shown
};

struct RenamePlan {
    std::vector<PlanRow> rows;  // in the order the command moves the files
    std::vector<PlanMark> marks;  // in order of beforeRow
    std::string section = "renamed";  // the section of the rename logs
    bool logged = false;              // each directory keeps its rename log
    bool secondAttempt = false;       // a failed move is tried once more (the chosen files' rename)
    // The rename back: the directories whose journal a killed run left are
    // folded into their logs first; noLogIn names the walk's directory when
    // none of its directories has a log.
    std::vector<std::string> journalDirs;
    std::string noLogIn;
    bool noLog = false;
    // The user stopped the walk that computed the plan: it is incomplete and
    // nothing of it is done.
    bool stopped = false;
};

// Appends a row with the names and status and returns it.
PlanRow& AddPlanRow(RenamePlan& plan, const std::string& dir, const std::string& oldName, const std::string& newName,
                    PlanStatus status);

struct PlanCounts {
    int willRename = 0;
    int unchanged = 0;
    int problems = 0;
    int leftOut = 0;  // rows that would rename but are not included
};
PlanCounts CountPlan(const RenamePlan& plan);

}  // namespace tandrel
