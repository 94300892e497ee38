// Export and import of the settings through TdSettings.ini.
#include "app/settings.h"
#include "app/settings_table.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/textfile.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

// A value as written to the file: quoted where the reader would otherwise drop
// blanks at its ends or quotes around it, so that it reads back unchanged.
std::string IniValue(const std::string& v) {
    const bool blankEnds = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
    const bool quoted = v.size() >= 2 && v.front() == '"' && v.back() == '"';
    return blankEnds || quoted ? "\"" + v + "\"" : v;
}

// A value as the file holds it: integers in decimal, booleans as 1 or 0.
std::string IniText(const SettingRow& row, const SettingValue& v) {
    if (row.type == SettingType::kString) return IniValue(std::get<std::string>(v));
    const std::int32_t n = std::get<std::int32_t>(v);
    return row.type == SettingType::kBoolean ? (n != 0 ? "1" : "0") : std::to_string(n);
}

// The value of an entry; absent for an integer or boolean that is no integer.
std::optional<SettingValue> ParseIniText(const SettingRow& row, const std::string& text) {
    if (row.type == SettingType::kString) return SettingValue(text);
    std::optional<std::int32_t> n = IntegerValue(text);
    if (!n) return std::nullopt;
    return SettingValue(row.type == SettingType::kBoolean ? std::int32_t{*n != 0} : *n);
}

FileResult FirstFailure(const FileResult& a, const FileResult& b) { return a ? b : a; }

}  // namespace

SettingsFileOutcome ExportSettings(const std::string& programDir, RegistryStore& store, const TAppSettings& s,
                                   const MainControlValues& c) {
    const std::string file = JoinPath(programDir, kSettingsIniName);
    if (!FileExists(file)) return {};
    IniSection existing;
    if (FileResult r = ReadIniSection(file, kSettingsIniSection, existing); !r) return {true, r};

    IniPairs pairs;
    // The home directory comes from the settings key, of any type; none without the key.
    FileResult registryResult = store.Load();
    if (registryResult && store.OpenKey(kSettingsKey, false)) {
        pairs.emplace_back("HomeDir", IniValue(store.ReadString("HomeDir").value_or("")));
        store.CloseKey();
    }
    for (const SettingRow* row : SettingsInOrder(&SettingOrder::ini))
        pairs.emplace_back(row->name, IniText(*row, row->field.get(s, c)));

    // Entries of the section that are not exported stay in the file.
    const std::size_t exported = pairs.size();
    IniSection known;
    for (std::size_t i = 0; i < exported; ++i) known.Add(pairs[i].first, {});
    for (const auto& [key, value] : existing.pairs())
        if (!known.Find(key)) pairs.emplace_back(key, IniValue(value));
    return {true, FirstFailure(registryResult, WriteIniSection(file, kSettingsIniSection, pairs))};
}

SettingsFileOutcome ImportSettings(const std::string& programDir, RegistryStore& store, TAppSettings& s,
                                   MainControlValues& c) {
    const std::string file = JoinPath(programDir, kSettingsIniName);
    if (!FileExists(file)) return {};
    IniSection entries;
    if (FileResult r = ReadIniSection(file, kSettingsIniSection, entries); !r) return {true, r};

    FileResult registryResult;
    const std::string* home = entries.Find("HomeDir");
    if (home && DirectoryExists(*home)) {
        c.homeDir = *home;
        // Reloaded first so that values others wrote to the file meanwhile stay.
        registryResult = store.Load();
        if (registryResult && store.OpenKey(kSettingsKey, false)) {
            store.WriteString("HomeDir", *home);
            store.CloseKey();
            registryResult = store.Save();
        }
    }

    for (const SettingRow* row : SettingsInOrder(&SettingOrder::ini)) {
        const std::string* text = entries.Find(row->name);
        std::optional<SettingValue> v = text ? ParseIniText(*row, *text) : std::nullopt;
        if (row->rule == SettingRule::kWhileMaskPositionSaved && !s.saveMaskPosition) v.reset();
        row->field.set(s, c, v ? *v : row->Default());
    }
    return {true, registryResult};
}

}  // namespace tandrel
