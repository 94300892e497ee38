#include "catalog/m3u.h"

#include <algorithm>

#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/encoding.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

bool IsEntrySeparator(char c) { return c == '\\' || c == '/'; }

// The position after the last "\" or "/" before end, 0 when there is none.
std::size_t NameStart(const std::string& s, std::size_t end) {
    for (std::size_t i = end; i > 0; --i)
        if (IsEntrySeparator(s[i - 1])) return i;
    return 0;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start);
    return lines;
}

}  // namespace

bool IsExtInfLine(const std::string& line) { return line.find("#EXTINF") != std::string::npos; }

bool IsPlaylistEntry(const std::string& line) { return !line.empty() && line[0] != '#'; }

bool HasPlaylistEntries(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), IsPlaylistEntry);
}

std::string ExtInfTitle(const std::string& line) { return CopyAfterFirstChar(line, ','); }

std::string EntryFileName(const std::string& entry) { return entry.substr(NameStart(entry, entry.size())); }

std::string EntryBareName(const std::string& entry) {
    const std::size_t dot = entry.rfind('.');
    if (dot == std::string::npos) return {};
    const std::size_t start = NameStart(entry, dot);
    return entry.substr(start, dot - start);
}

std::vector<std::string> PlaylistTitles(const std::vector<std::string>& lines) {
    std::vector<std::string> titles;
    for (const std::string& line : lines)
        if (IsExtInfLine(line)) titles.push_back(ExtInfTitle(line));
    return titles;
}

std::vector<std::string> PlaylistBareNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    for (const std::string& line : lines)
        if (IsPlaylistEntry(line)) names.push_back(EntryBareName(line));
    return names;
}

std::vector<std::string> MediaNames(const std::vector<std::string>& fileNames) {
    std::vector<std::string> names;
    names.reserve(fileNames.size());
    for (const std::string& name : fileNames) names.push_back(CopyBeforeLastChar(name, '.'));
    return names;
}

std::string BareNamesFileName(const std::string& outputName) {
    const std::size_t slash = outputName.rfind(kPathDelim);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return outputName.substr(0, nameStart) + CopyBeforeChar(outputName.substr(nameStart), '.') + ".txt";
}

std::vector<std::string> PlaylistLinesFromBytes(std::string_view bytes, bool utf8ByName) {
    return SplitLines(TextToCp1251(bytes, utf8ByName));
}

FileResult ReadPlaylist(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    if (FileResult read = ReadFileBytes(path, bytes); !read) return read;
    lines = PlaylistLinesFromBytes(bytes, NameMeansUtf8(path));
    return FileResult::Success();
}

}  // namespace tandrel
