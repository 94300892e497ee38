#include "text/paths.h"

namespace tandrel {

namespace {

std::string JoinWith(const std::string& dir, const std::string& name, char delim) {
    if (!dir.empty() && dir.back() == delim) return dir + name;
    return dir + delim + name;
}

}  // namespace

std::string ExtractDirPart(const std::string& path) {
    const size_t pos = path.rfind(kPathDelim);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    return JoinWith(dir, name, kPathDelim);
}

std::string JoinPathSep(const std::string& dir, const std::string& name, int mode) {
    return JoinWith(dir, name, mode == 1 ? '/' : kPathDelim);
}

}  // namespace tandrel
