#include "platform/ini.h"

#include <cerrno>

#include "platform/files.h"
#include "platform/posix_file.h"
#include "platform/textfile.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

// The section name of a "[name]" line, or false for any other line.
bool SectionName(const std::string& line, std::string& name, bool headerHoldsNoEquals = false) {
    std::string t = TrimBlanks(line);
    if (t.empty() || t[0] != '[') return false;
    if (headerHoldsNoEquals && t.find('=') != std::string::npos) return false;
    std::size_t close = t.find(']');
    name = TrimBlanks(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// The key of a "key=value" line, or false for lines the options skip: blank
// lines, comments and lines without "=".
bool KeyOf(const std::string& line, std::string& key, std::string* value = nullptr,
           const IniReadOptions& options = {}) {
    const std::string t = options.trim ? TrimBlanks(line) : line;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) {
        if (!options.bareLines) return false;
        key.clear();
        if (value) value->clear();
        return true;
    }
    if (options.comments && TrimBlanks(t).starts_with(';')) return false;
    key = options.trim ? TrimBlanks(t.substr(0, eq)) : t.substr(0, eq);
    if (value) {
        *value = options.trim ? TrimBlanks(t.substr(eq + 1)) : t.substr(eq + 1);
        if (options.unquote) *value = Unquote(std::move(*value));
    }
    return true;
}

struct SectionSpan {
    std::size_t header = std::string::npos;  // index of the "[name]" line
    std::size_t end = 0;                     // index after the last line of the section
};

// The first section of that name (compared without regard to case).
SectionSpan FindSection(const std::vector<std::string>& lines, const std::string& section) {
    SectionSpan span;
    const std::string wanted = ToLowerCase(TrimBlanks(section));
    std::string name;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!SectionName(lines[i], name)) continue;
        if (span.header != std::string::npos) {
            span.end = i;
            return span;
        }
        if (ToLowerCase(name) == wanted) span.header = i;
    }
    span.end = lines.size();
    return span;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

FileResult CheckNames(const std::string& file, const std::string& section, const std::string& key, bool checkKey) {
    auto refuse = [&](const char* why) { return detail::Fail("write", detail::NativePath(file), why); };
    if (HasLineBreak(section) || section.find(']') != std::string::npos || TrimBlanks(section).empty())
        return refuse("the section name is not valid in an INI file");
    if (checkKey && (HasLineBreak(key) || key.find('=') != std::string::npos || TrimBlanks(key).empty()))
        return refuse("the key is not valid in an INI file");
    return FileResult::Success();
}

// Reads the lines of an existing file, and how it was written so that the
// write keeps its encoding; a missing file gives no lines.
FileResult LoadLines(const std::string& file, std::vector<std::string>& lines, TextOrigin& origin) {
    lines.clear();
    origin = TextOrigin{};
    if (FileResult r = detail::CheckMappable("write", file); !r) return r;
    std::string bytes;
    int err = 0;
    FileResult r = detail::ReadWholeFile(detail::NativePath(file), bytes, &err, kMaxIniFileBytes);
    if (!r) return err == ENOENT ? FileResult::Success() : r;
    lines = DecodeTextDocument(bytes, false, origin);
    return FileResult::Success();
}

FileResult TooManyEntries(const std::string& file, std::size_t limit) {
    return detail::Fail("read", detail::NativePath(file),
                        "it holds more than " + std::to_string(limit) + " entries, too many to be read");
}

// Index after the last non-blank line of the section, where new keys go.
std::size_t InsertionPoint(const std::vector<std::string>& lines, const SectionSpan& span) {
    std::size_t at = span.end;
    while (at > span.header + 1 && TrimBlanks(lines[at - 1]).empty()) --at;
    return at;
}

}  // namespace

bool ParseIniEntry(const std::string& line, std::string& key, std::string& value, const IniReadOptions& options) {
    return KeyOf(line, key, &value, options);
}

const std::string* IniSection::Find(const std::string& key) const {
    auto it = index_.find(ToLowerCase(key));
    return it == index_.end() ? nullptr : &pairs_[it->second].second;
}

bool IniSection::Add(std::string key, std::string value) {
    if (!index_.emplace(ToLowerCase(key), pairs_.size()).second) return false;
    pairs_.emplace_back(std::move(key), std::move(value));
    return true;
}

void IniSection::Put(std::string key, std::string value, IniDuplicates duplicates) {
    auto [it, added] = index_.emplace(ToLowerCase(key), pairs_.size());
    if (added || duplicates == IniDuplicates::kKeepAll)
        pairs_.emplace_back(std::move(key), std::move(value));
    else if (duplicates == IniDuplicates::kLastWins)
        pairs_[it->second].second = std::move(value);
}

void IniSection::Clear() {
    pairs_.clear();
    index_.clear();
}

FileResult ReadIniSection(const std::string& file, const std::string& section, IniSection& out,
                          const IniReadOptions& options) {
    out.Clear();
    if (FileResult r = detail::CheckMappable("read", file); !r) return r;
    std::string bytes;
    if (FileResult r = detail::ReadWholeFile(detail::NativePath(file), bytes, nullptr, options.maxBytes); !r)
        return r;
    TextOrigin origin;
    const std::vector<std::string> lines = DecodeTextDocument(bytes, false, origin);
    bytes.clear();
    auto fold = [&](const std::string& name) { return options.sectionCase ? name : ToLowerCase(name); };
    const std::string wanted = fold(TrimBlanks(section));
    bool inside = options.noSections;
    std::size_t entries = 0;
    std::string name, key, value;
    for (const std::string& line : lines) {
        if (!options.noSections && SectionName(line, name, options.headerHoldsNoEquals)) {
            if (inside) break;
            inside = fold(name) == wanted;
            continue;
        }
        if (!KeyOf(line, key, &value, options)) continue;
        // Entries of the sections before count too: a file of a million keys
        // is refused whichever section holds them.
        if (++entries > options.maxEntries) {
            out.Clear();
            return TooManyEntries(file, options.maxEntries);
        }
        if (inside) out.Put(std::move(key), std::move(value), options.duplicates);
    }
    return FileResult::Success();
}

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key) {
    if (!FileExists(file)) return {};
    IniSection entries;
    if (!ReadIniSection(file, section, entries)) return {};
    const std::string* value = entries.Find(TrimBlanks(key));
    return value ? *value : std::string();
}

FileResult WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) {
    if (FileResult r = CheckNames(file, section, key, true); !r) return r;
    if (HasLineBreak(value)) return detail::Fail("write", detail::NativePath(file), "the value holds a line break");
    std::vector<std::string> lines;
    TextOrigin origin;
    if (FileResult r = LoadLines(file, lines, origin); !r) return r;

    const std::string entry = TrimBlanks(key) + "=" + value;
    SectionSpan span = FindSection(lines, section);
    if (span.header == std::string::npos) {
        if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + TrimBlanks(section) + "]");
        lines.push_back(entry);
        return WriteTextDocument(file, lines, origin);
    }
    const std::string wanted = ToLowerCase(TrimBlanks(key));
    std::string k;
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (KeyOf(lines[i], k) && ToLowerCase(k) == wanted) {
            lines[i] = entry;
            return WriteTextDocument(file, lines, origin);
        }
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(InsertionPoint(lines, span)), entry);
    return WriteTextDocument(file, lines, origin);
}

FileResult WriteIniSection(const std::string& file, const std::string& section, const IniPairs& pairs) {
    if (FileResult r = CheckNames(file, section, {}, false); !r) return r;
    for (const auto& [key, value] : pairs) {
        if (FileResult r = CheckNames(file, section, key, true); !r) return r;
        if (HasLineBreak(value))
            return detail::Fail("write", detail::NativePath(file), "the value holds a line break");
    }
    std::vector<std::string> lines;
    TextOrigin origin;
    if (FileResult r = LoadLines(file, lines, origin); !r) return r;

    std::vector<std::string> body;
    body.push_back("[" + TrimBlanks(section) + "]");
    for (const auto& [key, value] : pairs) body.push_back(TrimBlanks(key) + "=" + value);

    SectionSpan span = FindSection(lines, section);
    if (span.header == std::string::npos) {
        if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
        lines.insert(lines.end(), body.begin(), body.end());
    } else {
        // Blank lines that separate the section from the next one stay.
        std::size_t bodyEnd = InsertionPoint(lines, span);
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span.header),
                    lines.begin() + static_cast<std::ptrdiff_t>(bodyEnd));
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(span.header), body.begin(), body.end());
    }
    return WriteTextDocument(file, lines, origin);
}

}  // namespace tandrel
