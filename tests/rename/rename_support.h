// Helpers of the rename tests: code-page-1251 text from UTF-8 literals, the
// names a folder holds, and a prompter that expects no questions.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "text/cp1251.h"

namespace tandrel::test {

inline std::string C(const std::string& utf8) { return Utf8ToCp1251(utf8).text; }

// The names of the files (not folders) in dir, UTF-8, sorted bytewise.
inline std::vector<std::string> FileNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (!e.is_directory()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tandrel::test
