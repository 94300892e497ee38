// Path joining and splitting with the platform's path delimiter.
#pragma once

#include <string>

namespace tandrel {

inline constexpr char kPathDelim = '/';

std::string ExtractDirPart(const std::string& path);
std::string JoinPath(const std::string& dir, const std::string& name);
// mode 1 joins with "/", any other mode with the platform delimiter.
std::string JoinPathSep(const std::string& dir, const std::string& name, int mode);

}  // namespace tandrel
