// The settings registry: a small typed store of keys under a hive, each holding
// string and 32-bit number values, kept in one REGEDIT4 file (UTF-8) that a
// person can read and edit. Strings are code-page-1251 in memory. Unknown keys,
// values and lines are kept on save; every save is atomic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

inline constexpr const char* kSettingsKey = "\\Software\\Velmora Software\\Tandrel";

class RegistryStore {
public:
    explicit RegistryStore(std::string filePath);  // UTF-8 file path

    // A settings file larger than this, or of more lines, is refused as hostile.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;
    static constexpr std::size_t kMaxLines = 200000;

    // Reads the file (a missing file is an empty store). A file that is no
    // regular file, or is beyond the limits, is refused: the store is empty
    // then, and Save refuses to replace the file.
    FileResult Load();
    // Writes the file through a temporary file renamed over the old one.
    FileResult Save() const;
    // The outcome of the last Load and of the last Save (success before any).
    const FileResult& LastLoad() const { return lastLoad_; }
    const FileResult& LastSave() const { return lastSave_; }

    // Key paths are relative to HKEY_CURRENT_USER; a leading backslash is allowed.
    // Without create, opening fails when the key is absent.
    bool OpenKey(const std::string& key, bool create);
    void CloseKey();
    bool KeyIsOpen() const { return !current_.empty(); }

    // Values of the open key; a value that is missing or of another type is absent.
    std::optional<std::string> ReadString(const std::string& name) const;
    std::optional<std::int32_t> ReadInteger(const std::string& name) const;
    std::optional<bool> ReadBool(const std::string& name) const;  // any nonzero number is true
    bool ValueExists(const std::string& name) const;

    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);
    void WriteBool(const std::string& name, bool value);  // stored as 0 or 1
    bool DeleteValue(const std::string& name);

    const std::string& FilePath() const { return filePath_; }

private:
    struct Value {
        enum Kind { String, Dword, Other } kind = Other;
        std::string text;          // String: code-page-1251 value
        std::uint32_t number = 0;  // Dword
    };
    // One item of a key in file order: a value, or a line kept as it was read
    // (comments, lines not understood).
    struct Entry {
        bool isValue = false;
        std::string name;               // UTF-8 value name as written ("" for "@")
        Value value;
        std::vector<std::string> raw;   // lines as read; cleared when the value is changed
    };
    struct Key {
        std::string path;               // UTF-8 full path as written between the brackets
        std::vector<Entry> entries;
    };

    void Parse(const std::string& bytes);
    std::string Serialize() const;
    const Key* FindKey(const std::string& fullPath) const;
    Key* FindKey(const std::string& fullPath);
    Key* KeyForWrite();
    const Entry* FindEntry(const std::string& name) const;
    Entry* FindEntryForWrite(const std::string& name);

    std::string filePath_;
    std::vector<Key> keys_;
    std::vector<std::string> preamble_;  // lines before the first key, after the header
    std::string current_;                // UTF-8 full path of the open key, empty when none
    bool unreadable_ = false;            // the last Load failed: Save must not replace the file
    FileResult lastLoad_;
    mutable FileResult lastSave_;
};

// $XDG_CONFIG_HOME/Tandrel/registry.reg (default ~/.config/Tandrel/registry.reg), UTF-8.
std::string DefaultRegistryPath();

}  // namespace tandrel
