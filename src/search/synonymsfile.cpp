#include "search/synonymsfile.h"

#include "platform/ini.h"
#include "platform/textfile.h"
#include "text/strings.h"
#include "text/synonyms.h"
#include "text/transforms.h"

namespace tandrel {

FileResult LoadSynonymGroups(const std::string& path, std::vector<SynonymGroup>& groups) {
    groups.clear();
    // Every line as written, none dropped: the dialog saves them all back.
    IniReadOptions lines;
    lines.trim = lines.unquote = lines.comments = false;
    lines.noSections = lines.bareLines = true;
    lines.duplicates = IniDuplicates::kKeepAll;
    IniSection entries;
    if (FileResult r = ReadIniSection(path, {}, entries, lines); !r) return r;
    for (const auto& [name, list] : entries.pairs()) groups.push_back({name, list});
    return FileResult::Success();
}

FileResult SaveSynonymGroups(const std::string& path, const std::vector<SynonymGroup>& groups) {
    std::vector<std::string> lines;
    lines.reserve(groups.size());
    for (const SynonymGroup& g : groups) lines.push_back(g.name + "=" + g.list);
    return RewriteTextFile(path, lines);
}

std::string NewSynonymGroupName(std::size_t groupCount) { return "Syn" + std::to_string(groupCount); }

std::vector<std::string> SynonymMembers(const std::string& query, const std::string& synonymsPath) {
    // A file that cannot be read holds no group.
    std::vector<SynonymGroup> groups;
    (void)LoadSynonymGroups(synonymsPath, groups);
    StringList members;
    for (const SynonymGroup& g : groups) {
        if (!SynonymsHold(g.list, query)) continue;
        SplitByChar(ToLowerCase(g.list), ',', members);
        break;
    }
    return members;
}

}  // namespace tandrel
