// INI files (code-page-1251 bytes): reading one string, writing keys and sections.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace tandrel {

// The key's value; section and key matched without regard to case. "" when the
// key or section is missing, and "" without opening anything when the file does
// not exist.
std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key);

using IniPairs = std::vector<std::pair<std::string, std::string>>;

// Sets one key, creating the file or section when needed; other content kept.
FileResult WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value);
// Replaces the whole section by the given pairs; other sections kept.
FileResult WriteIniSection(const std::string& file, const std::string& section, const IniPairs& pairs);

}  // namespace tandrel
