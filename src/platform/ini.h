// INI files (code-page-1251 bytes): reading one string, writing keys and sections.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace tandrel {

// The key's value; section and key matched without regard to case. "" when the
// key or section is missing, and "" without opening anything when the file does
// not exist. Reads the file at each call: to read many keys, use ReadIniSection.
std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key);

using IniPairs = std::vector<std::pair<std::string, std::string>>;

// Limits of an INI file that is read: a larger file, or one with more entries,
// is refused as hostile rather than read for minutes.
inline constexpr std::size_t kMaxIniFileBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxIniEntries = 100000;

// One section as read: its entries in file order, and a look-up by key without
// regard to case (the first entry of a key counts; later ones are dropped).
class IniSection {
public:
    const IniPairs& pairs() const { return pairs_; }
    const std::string* Find(const std::string& key) const;
    // False (and nothing added) when the key is there already.
    bool Add(std::string key, std::string value);
    void Clear();

private:
    IniPairs pairs_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-cased key -> index in pairs_
};

// Reads the first section of that name (without regard to case) in one pass:
// blanks around keys and values dropped, one pair of surrounding quotes removed,
// comments and lines without "=" skipped. A missing section is empty. A file
// that is no regular file, or is beyond the limits above, is refused.
FileResult ReadIniSection(const std::string& file, const std::string& section, IniSection& out);

// Sets one key, creating the file or section when needed; other content kept.
FileResult WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value);
// Replaces the whole section by the given pairs; other sections kept.
FileResult WriteIniSection(const std::string& file, const std::string& section, const IniPairs& pairs);

}  // namespace tandrel
