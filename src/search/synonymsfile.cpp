#include "search/synonymsfile.h"

#include "platform/textfile.h"
#include "text/strings.h"
#include "text/synonyms.h"
#include "text/transforms.h"

namespace tandrel {

SynonymGroup ParseSynonymLine(const std::string& line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return {};
    return {line.substr(0, eq), line.substr(eq + 1)};
}

FileResult LoadSynonymGroups(const std::string& path, std::vector<SynonymGroup>& groups) {
    groups.clear();
    std::vector<std::string> lines;
    if (FileResult r = ReadTextLines(path, lines); !r) return r;
    for (const std::string& line : lines) groups.push_back(ParseSynonymLine(line));
    return FileResult::Success();
}

FileResult SaveSynonymGroups(const std::string& path, const std::vector<SynonymGroup>& groups) {
    std::vector<std::string> lines;
    lines.reserve(groups.size());
    for (const SynonymGroup& g : groups) lines.push_back(g.name + "=" + g.list);
    return WriteTextLines(path, lines);
}

std::string NewSynonymGroupName(std::size_t groupCount) { return "Syn" + std::to_string(groupCount); }

std::vector<std::string> SynonymMembers(const std::string& query, const std::string& synonymsPath) {
    StringList members;
    SplitByChar(ToLowerCase(FindSynonyms(query, synonymsPath)), ',', members);
    return members;
}

}  // namespace tandrel
