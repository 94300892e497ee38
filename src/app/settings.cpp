#include "app/settings.h"

#include "app/masklist.h"
#include "app/settings_table.h"
#include "platform/files.h"

namespace tandrel {

namespace {

// The stored value of a row, absent when missing or of another type.
std::optional<SettingValue> ReadValue(const RegistryStore& r, const SettingRow& row) {
    switch (row.type) {
        case SettingType::kString:
            if (std::optional<std::string> v = r.ReadString(row.name)) return SettingValue(std::move(*v));
            return std::nullopt;
        case SettingType::kInteger:
            if (std::optional<std::int32_t> v = r.ReadInteger(row.name)) return SettingValue(*v);
            return std::nullopt;
        case SettingType::kBoolean:
            if (std::optional<bool> v = r.ReadBool(row.name)) return SettingValue(std::int32_t{*v ? 1 : 0});
            return std::nullopt;
    }
    return std::nullopt;
}

void WriteValue(RegistryStore& w, const SettingRow& row, const SettingValue& v) {
    switch (row.type) {
        case SettingType::kString: w.WriteString(row.name, std::get<std::string>(v)); break;
        case SettingType::kInteger: w.WriteInteger(row.name, std::get<std::int32_t>(v)); break;
        case SettingType::kBoolean: w.WriteBool(row.name, std::get<std::int32_t>(v) != 0); break;
    }
}

}  // namespace

TAppSettings FirstStartSettings() {
    TAppSettings s;
    MainControlValues unused;
    for (const SettingRow& row : SettingsTable()) {
        const SettingValue zero = row.type == SettingType::kString ? SettingValue(std::string()) : std::int32_t{0};
        for (const SettingField& f : {row.field, row.current})
            if (f.inRecord) f.set(s, unused, zero);
    }
    // A new user sees what a batch rename will do before it moves anything.
    s.showRenamePreview = true;
    return s;
}

bool LoadSettings(RegistryStore& store, TAppSettings& s, MainControlValues& c) {
    if (!store.Load()) return false;
    if (!store.OpenKey(kSettingsKey, false)) return false;
    const RegistryStore& r = store;

    if (std::optional<std::string> home = r.ReadString("HomeDir"); home && DirectoryExists(*home)) c.homeDir = *home;

    for (const SettingRow* row : SettingsInOrder(&SettingOrder::load)) {
        if (row->rule == SettingRule::kWhileMaskPositionSaved && !s.saveMaskPosition) {
            row->field.set(s, c, row->Default());
            continue;
        }
        if (row->rule == SettingRule::kWhileWindowNormal) {
            const std::optional<std::int32_t> state = r.ReadInteger("MainWinState");
            if (!state || *state == 1) continue;
        }
        if (std::optional<SettingValue> v = ReadValue(r, *row))
            row->field.set(s, c, *v);
        else if (row->rule != SettingRule::kKeepWhenAbsent)
            row->field.set(s, c, row->Default());
    }

    store.CloseKey();
    return true;
}

FileResult SaveSettings(RegistryStore& store, const std::string& masksFile, const std::vector<std::string>& masks,
                        const TAppSettings& s, const MainControlValues& c) {
    FileResult maskResult = SaveMaskList(masksFile, masks);
    auto first = [&](FileResult registryResult) { return maskResult ? registryResult : maskResult; };

    // Values written meanwhile by dialogs or by another copy of the program stay.
    if (FileResult r = store.Load(); !r) return first(r);
    if (!store.OpenKey(kSettingsKey, true))
        return first(FileResult::Failure("Cannot open the settings key in " + store.FilePath()));

    for (const SettingRow* row : SettingsInOrder(&SettingOrder::save)) {
        if (row->rule == SettingRule::kWhileMaskPositionSaved && !s.saveMaskPosition) continue;
        // A maximized window keeps the bounds stored from its last normal state.
        if (row->rule == SettingRule::kWhileWindowNormal && c.maximized) continue;
        SettingValue v = row->field.get(s, c);
        if (row->current.get) {
            SettingValue now = row->current.get(s, c);
            if (now == v) continue;
            v = std::move(now);
        }
        WriteValue(store, *row, v);
    }

    store.CloseKey();
    return first(store.Save());
}

}  // namespace tandrel
