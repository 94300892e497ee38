// The drive rule of DriveRoots applied to the text of a mount table (the format
// of /proc/self/mounts), so that it can be checked on a table made up in a test.
#pragma once

#include <string>
#include <vector>

namespace tandrel {

// "/" first, then the mount points of network file systems and of volumes
// mounted under /media, /run/media or /mnt, sorted, each once, as code-page-1251.
std::vector<std::string> DriveRootsFromMountTable(const std::string& mounts);

}  // namespace tandrel
