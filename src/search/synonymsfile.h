// The synonyms file "Synonyms.ini" of the program directory: lines
// name=member,member,... (no sections). The dialog edits the groups; the
// selected-files search replaces a query by the members of its group.
#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

inline constexpr const char* kSynonymsFileName = "Synonyms.ini";

struct SynonymGroup {
    std::string name;  // the text before the first "="
    std::string list;  // the text after it, as written
    bool operator==(const SynonymGroup&) const = default;
};

// Every line is a group; a line without "=" one with an empty name and list.
// A file that is no regular file, or is beyond the INI limits, is refused.
FileResult LoadSynonymGroups(const std::string& path, std::vector<SynonymGroup>& groups);
// Replaces the file with one line name=list per group (CR LF), atomically.
FileResult SaveSynonymGroups(const std::string& path, const std::vector<SynonymGroup>& groups);

// The name of a newly added group: "Syn" + the number of groups after adding.
std::string NewSynonymGroupName(std::size_t groupCount);

// The members of the first group whose lower-cased list contains the
// lower-cased query: the list lower-cased and cut at commas (spaces kept). A
// list without a comma, or no such group, gives no members.
std::vector<std::string> SynonymMembers(const std::string& query, const std::string& synonymsPath);

}  // namespace tandrel
