// tandrel-cli commands of the rename engine and the structural renames:
//   rename KIND DIR [options]                  KIND: translit, lower, upper,
//                                              words, artist-title, first-letter, substr
//   rename-back renamed|deleted DIR [options]
//   number add DIR [options]
//   number delete-first COUNT DIR [options]
//   number by-date DIR [options]
//   ext lower DIR [options]
//   ext change DIR SOURCE-MASK TARGET-MASK [options]
// Options not given come from the settings registry (with their documented
// defaults). A batch prints its summary (renamed, failed, the first failure)
// on stdout and each failure on its own line on stderr; the result is 0 when
// nothing failed, 1 when a file, a log or a directory failed (or rename-back
// found no log) or the settings or the directory cannot be used, and 2 for a
// command line that is not acceptable.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// args are the command's arguments, without the command's name.
int RunRenameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRenameBackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunNumberCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunExtCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
