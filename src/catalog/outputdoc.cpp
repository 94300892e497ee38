#include "catalog/outputdoc.h"

#include <algorithm>

#include "app/messages.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

std::string OpenedDocumentName(OpenMode mode, const std::string& fileName, const std::string& selectedName) {
    switch (mode) {
        case OpenMode::SearchResults:
            return "file_001.txt";
        case OpenMode::OpenDialog:
            return CopyAfterLastChar(fileName, kPathDelim);
        case OpenMode::FileList:
            break;
    }
    if (!fileName.empty()) return fileName;
    if (!selectedName.empty()) return selectedName;
    return "file_0x";
}

bool NamesPlaylist(const std::string& name) { return CopyAfterLastChar(ToLowerCase(name), '.') == "m3u"; }

bool MaskOpensDocuments(const std::string& mask) { return mask == "*.txt" || mask == "*.m3u"; }

std::string CatalogName(int n) { return "file_" + IntToStrZero(n, 3) + ".txt"; }

std::string NextCatalogName(const std::string& dir) {
    for (int n = 1;; ++n) {
        std::string name = CatalogName(n);
        const std::string path = JoinPath(dir, name);
        if (!FileExists(path) && !DirectoryExists(path)) return name;
    }
}

std::string FilePathSource(const std::string& selectedFilePath, const std::string& documentName) {
    if (selectedFilePath.empty()) return documentName;
    return JoinPath(ExtractDirPart(selectedFilePath), documentName);
}

std::string AddedLine(const std::string& line, bool addFilePath, bool addFileName, const std::string& documentName,
                      const std::string& filePathSource) {
    if (line.find('[') != std::string::npos) return line;
    if (addFilePath) return line + " \t[" + filePathSource + "]";
    if (addFileName) return line + " \t[" + documentName + "]";
    return line;
}

std::optional<TextSelection> FindStep(const std::string& text, const std::string& findText, bool matchCase,
                                      int& findPosition) {
    const std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(std::max(findPosition, 0)), text.size());
    std::size_t at = std::string::npos;
    if (!findText.empty()) {
        at = matchCase ? text.find(findText, from) : ToLowerCase(text).find(ToLowerCase(findText), from);
    }
    if (at == std::string::npos) {
        findPosition = 0;
        return std::nullopt;
    }
    findPosition = static_cast<int>(at + findText.size());
    return TextSelection{static_cast<int>(at), static_cast<int>(findText.size())};
}

int FindTextPosition(const std::string& text, const std::string& findText) {
    const std::size_t at = ToLowerCase(text).find(ToLowerCase(findText));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

void SortLines(std::vector<std::string>& lines) { SortTextLocale(lines); }

LineList SortLines(const LineList& lines) {
    return lines.Pick(SortOrderLocale(lines.size(), [&lines](std::size_t i) { return lines[i]; }));
}

namespace {

template <class Index, class Lines>
std::vector<Index> FilterLineIndices(const Lines& lines, const std::string& query, bool overSearch) {
    auto normalise = [overSearch](const std::string& s) {
        return overSearch ? ToTranslitShort(ToLowerCase(s)) : ToLowerCase(s);
    };
    const std::string needle = normalise(query);
    std::vector<Index> kept;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (normalise(std::string(lines[i])).find(needle) != std::string::npos) kept.push_back(static_cast<Index>(i));
    return kept;
}

}  // namespace

std::vector<std::size_t> FilterLines(const std::vector<std::string>& lines, const std::string& query, bool overSearch) {
    return FilterLineIndices<std::size_t>(lines, query, overSearch);
}

std::vector<std::uint32_t> FilterLines(const LineList& lines, const std::string& query, bool overSearch) {
    return FilterLineIndices<std::uint32_t>(lines, query, overSearch);
}

std::vector<std::string> SortByPath(const std::vector<std::string>& lines) {
    struct Entry {
        std::string key;   // the content of the last bracket pair
        std::string rest;  // the text before the first "["
        std::string sortText;
    };
    std::vector<Entry> entries;
    entries.reserve(lines.size());
    for (const std::string& line : lines) {
        Entry e{CopyBetweenLastChars(line, '[', ']'), CopyBeforeChar(line, '['), {}};
        e.sortText = e.key + "=" + e.rest;
        entries.push_back(std::move(e));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return CompareTextLocale(a.sortText, b.sortText) < 0;
    });
    std::vector<std::string> out;
    out.reserve(entries.size());
    for (const Entry& e : entries) out.push_back(e.rest + "[" + e.key + "]");
    return out;
}

std::vector<std::string> OutputLineFiles(const std::string& line, bool nameAndPath, const std::string& currentDir) {
    if (!nameAndPath) return {line, JoinPath(currentDir, line + ".mp3"), JoinPath(currentDir, line + ".wav")};
    const std::string dir = CopyBetweenLastChars(line, '[', ']');
    const std::string lower = ToLowerCase(line);
    for (const char* ext : {".mp3", ".mp2", ".mp1", ".wav", ".wmv"}) {
        const std::size_t at = lower.find(ext);
        if (at != std::string::npos) return {JoinPath(dir, line.substr(0, at + 4))};
    }
    return {};
}

std::string ReplaceQuestion(int language, const std::string& path) {
    return Message(language, MessageId::FilePrefix) + "\"" + path + "\"" + Message(language, MessageId::AlreadyExists) +
           "\n" + Message(language, MessageId::ReplaceQuestion);
}

bool ConfirmCharacterLoss(Prompter& prompter, int language, const std::vector<std::string>& lines,
                          const TextOrigin& origin) {
    const std::vector<std::size_t> losing = LinesLosingCharacters(lines, origin);
    if (losing.empty()) return true;
    constexpr std::size_t kListed = 20;
    std::string list;
    for (std::size_t i = 0; i < losing.size() && i < kListed; ++i) {
        if (i) list += ", ";
        list += std::to_string(losing[i] + 1);
    }
    if (losing.size() > kListed) list += ", ...";
    return prompter.AskYesNo(Message(language, MessageId::SaveLosesCharacters) + list + "\n" +
                             Message(language, MessageId::SaveAnyway));
}

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) break;
        start = end + 1;
        if (start == text.size()) break;  // a final line end adds no empty line
    }
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += lines[i];
    }
    return text;
}

}  // namespace tandrel
