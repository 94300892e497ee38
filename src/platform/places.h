// Where the program keeps its files, and the drive roots the machine mounts.
#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

// $XDG_DATA_HOME/Tandrel (default ~/.local/share/Tandrel) as code-page-1251
// text; created when missing.
std::string ProgramDirectory();
// "/" first, then removable and network volumes by mount point.
std::vector<std::string> DriveRoots();

}  // namespace tandrel
