// tandrel-cli commands of the file search:
//   search QUERY DIR [--by-name|--inside] [--mask M] [--full-string|--words]
//          [--mode 0|1|2|3] [--over-search|--no-over-search]
//          [--recursive|--no-recursive] [--add-file-name|--no-add-file-name]
//   find-dir QUERY DIR [--add-file-name|--no-add-file-name]
// `search` walks the tree DIR as the window's Find does with "Scan Directorys"
// checked; `find-dir` finds directories by name. The result lines are printed
// one a line in UTF-8. Options not given come from the settings registry (the
// search mask: FindMask when FindUseMask is set, else "*.*"); under a media
// mask the inside search tests ID3 tags. Status notes and messages go to err.
// The result is 0 when the search ran, 1 when the settings or DIR cannot be
// used and 2 for a command line that is not acceptable.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// args are the command's arguments, without the command's name.
int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunFindDirCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
