// INI files (code-page-1251 bytes): reading one string, writing keys and sections.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Which entry of a key a look-up finds.
enum class IniDuplicates : std::uint8_t {
    kFirstWins,  // later entries of a key are dropped
    kLastWins,   // a later entry replaces the value, in the place of the first
    kKeepAll,    // every entry stays in pairs(); Find gives the first
};

// How a file is read. The defaults are the usual INI rules; the rename log and
// the synonyms file take theirs as written (see the constants below).
struct IniReadOptions {
    bool sectionCase = false;          // section names compared with regard to case
    bool trim = true;                  // blanks around keys and values dropped
    bool unquote = true;               // one pair of quotes around a value removed
    bool comments = true;              // lines beginning with ";" skipped
    bool headerHoldsNoEquals = false;  // a "[" line that holds "=" is an entry, not a header
    bool noSections = false;           // no headers: every line belongs to the one section
    bool bareLines = false;            // a line without "=" is an entry with empty key and value
    IniDuplicates duplicates = IniDuplicates::kFirstWins;
    std::size_t maxBytes = kMaxIniFileBytes;
    std::size_t maxEntries = kMaxIniEntries;
};

// The rename log: records taken exactly as the engine wrote them (names may
// begin with "[" or hold "="), every one kept, no limit but the memory's.
inline constexpr IniReadOptions kIniAsWritten{.trim = false,
                                              .unquote = false,
                                              .comments = false,
                                              .headerHoldsNoEquals = true,
                                              .duplicates = IniDuplicates::kKeepAll,
                                              .maxBytes = static_cast<std::size_t>(-1),
                                              .maxEntries = static_cast<std::size_t>(-1)};

// Takes one line apart as ReadIniSection does: false for a line the options
// skip (blank, comment, no "="), else its key and value.
bool ParseIniEntry(const std::string& line, std::string& key, std::string& value, const IniReadOptions& options = {});

// One section as read: its entries in file order, and a look-up by key without
// regard to case.
class IniSection {
public:
    const IniPairs& pairs() const { return pairs_; }
    const std::string* Find(const std::string& key) const;
    // False (and nothing added) when the key is there already.
    bool Add(std::string key, std::string value);
    void Put(std::string key, std::string value, IniDuplicates duplicates);
    void Clear();

private:
    IniPairs pairs_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-cased key -> index in pairs_
};

// Reads the first section of that name in one pass, by the options (by
// default: section and keys without regard to case, blanks around keys and
// values dropped, one pair of surrounding quotes removed, comments and lines
// without "=" skipped, the first entry of a key counts). A missing section is
// empty. A file that is no regular file, or is beyond the limits of the
// options, is refused.
FileResult ReadIniSection(const std::string& file, const std::string& section, IniSection& out,
                          const IniReadOptions& options = {});

// Sets one key, creating the file or section when needed; other content kept.
FileResult WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value);
// Replaces the whole section by the given pairs; other sections kept.
FileResult WriteIniSection(const std::string& file, const std::string& section, const IniPairs& pairs);

}  // namespace tandrel
