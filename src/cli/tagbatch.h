// Tag commands over many files from a terminal: each file's operation talks
// to a prompter that collects what it says (every question answered No). A
// file that failed gives one line on err with all of that; what a file that
// was written says (the frames a save left out) stays one line per text.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace tandrel {

// The operation on one file; true when it succeeded.
using FileOperation = std::function<bool(const std::string& file, Prompter& prompter)>;

// Runs the operation on every file in order; kExitFailed when any failed,
// kExitOk otherwise.
int RunFileBatch(const std::vector<std::string>& files, std::ostream& err, const FileOperation& operation);

}  // namespace tandrel
