// Identity of a directory on disk, so that a walk can tell when a linked
// directory leads back to one it is already inside.
#pragma once

#include <cstdint>
#include <string>

namespace tandrel {

struct DirectoryId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const DirectoryId&) const = default;
};

// False when the path (code-page-1251 text) cannot be examined.
bool GetDirectoryId(const std::string& path, DirectoryId& id);

}  // namespace tandrel
