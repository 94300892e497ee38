#include "platform/dirid.h"

#include <sys/stat.h>

#include "text/cp1251.h"

namespace tandrel {

bool GetDirectoryId(const std::string& path, DirectoryId& id) {
    if (path.find(kUnmappableChar) != std::string::npos) return false;
    struct stat st {};
    if (::stat(Cp1251ToUtf8(path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    return true;
}

}  // namespace tandrel
