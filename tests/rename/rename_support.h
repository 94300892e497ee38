// Helpers of the rename tests: code-page-1251 text from UTF-8 literals, the
// names a folder holds, and a prompter that expects no questions.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/cp1251_text.h"
#include "text/cp1251.h"

namespace tandrel::test {


// The names of the files (not folders) in dir, UTF-8, sorted bytewise.
inline std::vector<std::string> FileNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (!e.is_directory()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every entry below root by its path relative to root (UTF-8): a file's
// bytes, a link's target after "link:", a directory as "dir". Links are not
// followed. Names for which skip is true are left out.
inline std::map<std::string, std::string> ReadTree(const std::string& root,
                                                   bool (*skip)(const std::string& name) = nullptr) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> tree;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& p = it->path();
        if (skip && skip(p.filename().string())) continue;
        const std::string rel = fs::relative(p, root).string();
        if (it->is_symlink()) {
            tree[rel] = "link:" + fs::read_symlink(p).string();
        } else if (it->is_directory()) {
            tree[rel] = "dir";
        } else {
            std::ifstream in(p, std::ios::binary);
            tree[rel] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return tree;
}

// The log, its journal and the temporary files of whole-file writes.
inline bool IsLogOrTemporary(const std::string& name) {
    return name == "rename.ini" || name == "rename.ini.journal" || name.rfind(".tandrel-", 0) == 0;
}

inline std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tandrel::test
