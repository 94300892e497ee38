#include "platform/registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/posix_file.h"
#include "text/cp1251.h"
#include "text/strings.h"

namespace tandrel {

namespace {

constexpr const char* kHive = "HKEY_CURRENT_USER";
constexpr const char* kHeader = "REGEDIT4";

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names of keys and values compare without regard to (ASCII) letter case.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool StartsWithName(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

std::string FullKeyPath(const std::string& key) {
    std::string rel = Cp1251ToUtf8(key);
    std::size_t b = rel.find_first_not_of('\\');
    if (b == std::string::npos) return kHive;
    std::size_t e = rel.find_last_not_of('\\');
    return std::string(kHive) + "\\" + rel.substr(b, e - b + 1);
}

// Reads a quoted text starting at s[i] == '"'; i ends after the closing quote.
bool ParseQuoted(const std::string& s, std::size_t& i, std::string& out) {
    out.clear();
    ++i;
    while (i < s.size()) {
        char c = s[i++];
        if (c == '"') return true;
        if (c != '\\' || i >= s.size()) {
            out += c;
            continue;
        }
        char d = s[i++];
        switch (d) {
            case '\\':
            case '"': out += d; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default:
                out += '\\';
                out += d;
        }
    }
    return false;
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

bool OnlyBlanksFrom(const std::string& s, std::size_t i) { return s.find_first_not_of(" \t", i) == std::string::npos; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

struct ParsedValue {
    std::string name;
    bool typed = false;  // a string or dword this store understands
    bool isString = false;
    std::string text;  // UTF-8
    std::uint32_t number = 0;
};

// Parses `"Name"="text"`, `"Name"=dword:0000000a`, or any other `"Name"=...` /
// `@=...` line (a value of a type this store does not handle). False for a
// line that is no value at all.
bool ParseValueLine(const std::string& line, ParsedValue& v) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos) return false;
    if (line[i] == '@') {
        v.name.clear();
        ++i;
    } else if (line[i] == '"') {
        if (!ParseQuoted(line, i, v.name)) return false;
    } else {
        return false;
    }
    i = line.find_first_not_of(" \t", i);
    if (i == std::string::npos || line[i] != '=') return false;
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos) return true;  // a value with nothing after "=": not understood
    if (line[i] == '"') {
        std::string text;
        if (ParseQuoted(line, i, text) && OnlyBlanksFrom(line, i)) {
            v.typed = v.isString = true;
            v.text = std::move(text);
        }
        return true;
    }
    static const std::string kDword = "dword:";
    if (line.size() - i > kDword.size() && SameName(line.substr(i, kDword.size()), kDword)) {
        std::size_t j = i + kDword.size();
        std::uint32_t n = 0;
        std::size_t digits = 0;
        for (int d; j < line.size() && (d = HexDigit(line[j])) >= 0; ++j, ++digits) n = (n << 4) | static_cast<unsigned>(d);
        if (digits >= 1 && digits <= 8 && OnlyBlanksFrom(line, j)) {
            v.typed = true;
            v.number = n;
        }
    }
    return true;
}

bool EndsWithContinuation(const std::string& line) {
    std::size_t e = line.find_last_not_of(" \t");
    return e != std::string::npos && line[e] == '\\';
}

// A line that goes on the hex data of the line before: "  03,04,\".
bool IsHexContinuation(const std::string& line) {
    return !TrimBlanks(line).empty() && line.find_first_not_of("0123456789abcdefABCDEF, \t\\") == std::string::npos;
}

}  // namespace

RegistryStore::RegistryStore(std::string filePath) : filePath_(std::move(filePath)) {}

void RegistryStore::Parse(const std::string& bytes) {
    std::vector<std::string> lines;
    detail::SplitTextLines(bytes, lines);
    std::size_t i = 0;
    if (!lines.empty()) {
        std::string first = lines[0];
        if (first.compare(0, 3, "\xEF\xBB\xBF") == 0) first.erase(0, 3);
        if (SameName(TrimBlanks(first), kHeader)) i = 1;
    }
    Key* key = nullptr;
    for (; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::string t = TrimBlanks(line);
        if (t.empty()) continue;
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            keys_.push_back(Key{t.substr(1, t.size() - 2), {}});
            key = &keys_.back();
            continue;
        }
        if (!key) {
            preamble_.push_back(line);
            continue;
        }
        Entry entry;
        entry.raw.push_back(line);
        ParsedValue v;
        if (ParseValueLine(line, v)) {
            entry.isValue = true;
            entry.name = v.name;
            if (v.typed && v.isString) {
                entry.value.kind = Value::String;
                entry.value.text = Utf8ToCp1251(v.text).text;
            } else if (v.typed) {
                entry.value.kind = Value::Dword;
                entry.value.number = v.number;
            } else {
                // Other types (hex:, hex(2):...) may go on over lines ending with "\".
                while (EndsWithContinuation(entry.raw.back()) && i + 1 < lines.size() &&
                       IsHexContinuation(lines[i + 1]))
                    entry.raw.push_back(lines[++i]);
            }
        }
        key->entries.push_back(std::move(entry));
    }
}

std::string RegistryStore::Serialize() const {
    std::string out = std::string(kHeader) + "\r\n\r\n";
    for (const std::string& line : preamble_) out += line + "\r\n";
    if (!preamble_.empty()) out += "\r\n";
    for (const Key& key : keys_) {
        out += "[" + key.path + "]\r\n";
        for (const Entry& e : key.entries) {
            if (!e.raw.empty()) {
                for (const std::string& line : e.raw) out += line + "\r\n";
                continue;
            }
            out += Quote(e.name) + "=";
            if (e.value.kind == Value::String) {
                out += Quote(Cp1251ToUtf8(e.value.text));
            } else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(e.value.number));
                out += buf;
            }
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

FileResult RegistryStore::Load() {
    keys_.clear();
    preamble_.clear();
    unreadable_ = false;
    auto refuse = [&](FileResult r) {
        keys_.clear();
        preamble_.clear();
        unreadable_ = true;
        return lastLoad_ = std::move(r);
    };
    std::string bytes;
    int err = 0;
    if (FileResult r = detail::ReadWholeFile(filePath_, bytes, &err, kMaxFileBytes); !r) {
        if (err == ENOENT) return lastLoad_ = FileResult::Success();
        return refuse(std::move(r));
    }
    std::size_t lines = 0;
    for (std::size_t at = bytes.find('\n'); at != std::string::npos && lines <= kMaxLines; at = bytes.find('\n', at + 1))
        ++lines;
    if (lines > kMaxLines)
        return refuse(detail::Fail("read", filePath_,
                                   "it holds more than " + std::to_string(kMaxLines) + " lines, too many to be read"));
    Parse(bytes);
    return lastLoad_ = FileResult::Success();
}

FileResult RegistryStore::Save() const {
    auto done = [&](FileResult r) { return lastSave_ = std::move(r); };
    if (unreadable_) return done(detail::Fail("write", filePath_, "the file could not be read, so it is not replaced"));
    std::size_t slash = filePath_.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (FileResult r = detail::MakeDirectories(filePath_.substr(0, slash)); !r) return done(std::move(r));
    }
    return done(detail::WriteFileAtomic(filePath_, Serialize()));
}

const RegistryStore::Key* RegistryStore::FindKey(const std::string& fullPath) const {
    for (const Key& key : keys_)
        if (SameName(key.path, fullPath)) return &key;
    return nullptr;
}

RegistryStore::Key* RegistryStore::FindKey(const std::string& fullPath) {
    return const_cast<Key*>(std::as_const(*this).FindKey(fullPath));
}

bool RegistryStore::OpenKey(const std::string& key, bool create) {
    std::string full = FullKeyPath(key);
    current_.clear();
    bool exists = FindKey(full) != nullptr;
    // A key also exists when only its subkeys are written out.
    for (std::size_t i = 0; !exists && i < keys_.size(); ++i) exists = StartsWithName(keys_[i].path, full + "\\");
    if (!exists && !create) return false;
    if (!FindKey(full) && create) keys_.push_back(Key{full, {}});
    current_ = full;
    return true;
}

void RegistryStore::CloseKey() { current_.clear(); }

RegistryStore::Key* RegistryStore::KeyForWrite() {
    if (current_.empty()) return nullptr;
    if (Key* key = FindKey(current_)) return key;
    keys_.push_back(Key{current_, {}});
    return &keys_.back();
}

const RegistryStore::Entry* RegistryStore::FindEntry(const std::string& name) const {
    if (current_.empty()) return nullptr;
    const Key* key = FindKey(current_);
    if (!key) return nullptr;
    const std::string wanted = Cp1251ToUtf8(name);
    for (const Entry& e : key->entries)
        if (e.isValue && SameName(e.name, wanted)) return &e;
    return nullptr;
}

RegistryStore::Entry* RegistryStore::FindEntryForWrite(const std::string& name) {
    Key* key = KeyForWrite();
    if (!key) return nullptr;
    const std::string wanted = Cp1251ToUtf8(name);
    // The first value of the name is the one read and written; later duplicates
    // go, in one pass however many there are.
    std::vector<Entry>& entries = key->entries;
    std::size_t first = entries.size();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool same = entries[i].isValue && SameName(entries[i].name, wanted);
        if (same && first != entries.size()) continue;
        if (same) first = kept;
        if (kept != i) entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.resize(kept);
    if (first < entries.size()) return &entries[first];
    Entry e;
    e.isValue = true;
    e.name = wanted;
    key->entries.push_back(std::move(e));
    return &key->entries.back();
}

std::optional<std::string> RegistryStore::ReadString(const std::string& name) const {
    const Entry* e = FindEntry(name);
    if (!e || e->value.kind != Value::String) return std::nullopt;
    return e->value.text;
}

std::optional<std::int32_t> RegistryStore::ReadInteger(const std::string& name) const {
    const Entry* e = FindEntry(name);
    if (!e || e->value.kind != Value::Dword) return std::nullopt;
    return static_cast<std::int32_t>(e->value.number);
}

std::optional<bool> RegistryStore::ReadBool(const std::string& name) const {
    std::optional<std::int32_t> n = ReadInteger(name);
    if (!n) return std::nullopt;
    return *n != 0;
}

bool RegistryStore::ValueExists(const std::string& name) const { return FindEntry(name) != nullptr; }

void RegistryStore::WriteString(const std::string& name, const std::string& value) {
    // Writing needs an open key; without one there is nowhere to write.
    Entry* e = FindEntryForWrite(name);
    if (!e) return;
    e->value = Value{Value::String, value, 0};
    e->raw.clear();
}

void RegistryStore::WriteInteger(const std::string& name, std::int32_t value) {
    Entry* e = FindEntryForWrite(name);
    if (!e) return;
    e->value = Value{Value::Dword, {}, static_cast<std::uint32_t>(value)};
    e->raw.clear();
}

void RegistryStore::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

bool RegistryStore::DeleteValue(const std::string& name) {
    if (current_.empty()) return false;
    Key* key = FindKey(current_);
    if (!key) return false;
    const std::string wanted = Cp1251ToUtf8(name);
    std::size_t before = key->entries.size();
    std::erase_if(key->entries, [&](const Entry& e) { return e.isValue && SameName(e.name, wanted); });
    return key->entries.size() != before;
}

std::string DefaultRegistryPath() {
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home && home[0]) {
            base = home;
        } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
            base = pw->pw_dir;
        }
        base += "/.config";
    }
    return base + "/Tandrel/registry.reg";
}

}  // namespace tandrel
