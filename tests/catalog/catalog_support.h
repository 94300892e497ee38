// Helpers of the tree and description tests: the listing order of a folder,
// and the lines of a written file checked for CR LF line ends.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/tempdir.h"

namespace tandrel::test {

// The names of dir in the file system's listing order (what the walk sees).
inline std::vector<std::string> ListingOrder(const std::string& dir) {
    std::vector<std::string> names;
    FileFind find;
    FindData e;
    for (bool more = find.FindFirst(dir + "/*.*", e); more; more = find.FindNext(e))
        if (e.name != "." && e.name != "..") names.push_back(e.name);
    return names;
}

// The lines of a file whose every line ends in CR LF; a bare CR or LF fails the test.
inline std::vector<std::string> CrLfLines(const std::string& path) {
    const std::string bytes = ReadAll(path);
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << path << " does not end with CR LF";
            break;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << path << ": a lone CR or LF in " << line;
    return lines;
}

}  // namespace tandrel::test
