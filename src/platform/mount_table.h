// The drive rule of DriveRoots applied to the text of a mount table (the format
// of /proc/self/mounts), so that it can be checked on a table made up in a test.
#pragma once

#include <string>
#include <vector>

namespace tandrel {

// "/" first, then, sorted, each once, as code-page-1251: the mount points of
// network and user-space (fuse) file systems, of volumes mounted under /media,
// /run/media or /mnt, and the one that holds the home folder (UTF-8). File
// systems of the kernel and containers (proc, sysfs, cgroup, overlay, the
// system's tmpfs) are never drives.
std::vector<std::string> DriveRootsFromMountTable(const std::string& mounts, const std::string& home = {});

}  // namespace tandrel
