// The list of file masks offered by the main window's mask box, kept in the
// text file TdMasks.ini in the program directory, one entry per line.
#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

inline constexpr const char* kMaskListFileName = "TdMasks.ini";

// The list used when TdMasks.ini is missing; its first entry is selected.
std::vector<std::string> BuiltInMaskList();

// Replaces masks by the entries of the file. Blank lines are skipped. A missing
// file, a file without any entry and an unreadable file leave masks as they are;
// only the last is reported as a failure.
FileResult LoadMaskList(const std::string& file, std::vector<std::string>& masks);

// Writes the entries, one per line, replacing the file as a whole.
FileResult SaveMaskList(const std::string& file, const std::vector<std::string>& masks);

}  // namespace tandrel
