// How every renaming command of the terminal ends: --dry-run prints its plan,
// --plan FILE writes it, --apply FILE executes a plan saved that way, and
// without them the command executes its own plan. A plan is UTF-8 text, one
// row a line: status, directory, old name and new name, separated by tabs.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/cliargs.h"
#include "rename/renameengine.h"

namespace tandrel {

// The plan's rows as the terminal prints them.
std::string PlanText(const RenamePlan& plan);

// How a command that renames ends; report prints what a run did and gives
// the exit code. A saved plan is executed with the section and log of
// frame, the command's own, after each row's old name was found to exist
// and its new name not: a stale row is refused (one line on err), the rest
// still done, and the exit code is then 1.
int FinishRenameCommand(const CommandLine& line, std::string_view usage, const RenamePlan& frame,
                        const std::function<RenamePlan()>& build,
                        const std::function<int(const RenameStats&)>& report, Prompter& prompter, std::ostream& out,
                        std::ostream& err);

}  // namespace tandrel
