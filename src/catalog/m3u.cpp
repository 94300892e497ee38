#include "catalog/m3u.h"

#include <algorithm>

#include "platform/textfile.h"
#include "text/cp1251.h"
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

// Structurally valid UTF-8: no stray continuation byte, no truncated or
// overlong sequence, no surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s, bool& nonAscii) {
    nonAscii = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        nonAscii = true;
        std::size_t length;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) { length = 2; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { length = 3; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { length = 4; cp = c & 0x07; }
        else return false;
        if (s.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// UTF-16 without its byte-order mark; an unpaired surrogate or an odd last
// byte becomes the byte for "no such character".
std::string Utf16ToCp1251(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? static_cast<char32_t>((a << 8) | b) : static_cast<char32_t>((b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        out += cp >= 0xD800 && cp <= 0xDFFF ? kUnmappableChar : CodePointToCp1251(cp);
    }
    if (i < bytes.size()) out += kUnmappableChar;
    return out;
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
    if (bytes.starts_with("\xEF\xBB\xBF")) return SplitLines(Utf8ToCp1251(bytes.substr(3)).text);
    if (bytes.starts_with("\xFF\xFE")) return SplitLines(Utf16ToCp1251(bytes.substr(2), false));
    if (bytes.starts_with("\xFE\xFF")) return SplitLines(Utf16ToCp1251(bytes.substr(2), true));
    bool nonAscii = false;
    const bool utf8 = IsValidUtf8(bytes, nonAscii);
    if (utf8ByName || (utf8 && nonAscii)) return SplitLines(Utf8ToCp1251(bytes).text);
    return SplitLines(std::string(bytes));
}

FileResult ReadPlaylist(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    if (FileResult read = ReadFileBytes(path, bytes); !read) return read;
    lines = PlaylistLinesFromBytes(bytes, ToLowerCase(CopyAfterLastChar(path, '.')) == "m3u8");
    return FileResult::Success();
}

}  // namespace tandrel
