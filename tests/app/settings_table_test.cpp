#include "app/settings_table.h"

#include <set>

#include <gtest/gtest.h>

#include "platform/ini.h"
#include "text/transforms.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::ReadAll;
using test::TempDir;

// A value away from the row's default: another number, the other truth
// value, a code-page-1251 text.
SettingValue Chosen(const SettingRow& row) {
    switch (row.type) {
        case SettingType::kString: return std::string("\xC0\xE1 ") + row.name;
        case SettingType::kBoolean: return std::int32_t{row.number == 0 ? 1 : 0};
        case SettingType::kInteger: break;
    }
    return row.number + 3;
}

// The value as the member holds it (cut to its width, the window state as maximized or not).
SettingValue AsHeld(const SettingField& field, const SettingValue& v) {
    TAppSettings s;
    MainControlValues c;
    field.set(s, c, v);
    return field.get(s, c);
}

std::string IniTextOf(const SettingRow& row, const SettingValue& v) {
    if (row.type == SettingType::kString) return std::get<std::string>(v);
    if (row.type == SettingType::kBoolean) return std::get<std::int32_t>(v) != 0 ? "1" : "0";
    return std::to_string(std::get<std::int32_t>(v));
}

std::optional<SettingValue> Stored(RegistryStore& r, const SettingRow& row) {
    switch (row.type) {
        case SettingType::kString:
            if (auto v = r.ReadString(row.name)) return SettingValue(*v);
            return std::nullopt;
        case SettingType::kBoolean:
            if (auto v = r.ReadBool(row.name)) return SettingValue(std::int32_t{*v});
            return std::nullopt;
        case SettingType::kInteger: break;
    }
    if (auto v = r.ReadInteger(row.name)) return SettingValue(*v);
    return std::nullopt;
}

TEST(SettingsTable, RowsAreConsistentAndTheRecordStartsAtTheirDefaults) {
    const TAppSettings s;
    const MainControlValues c;
    std::set<std::string> names;
    std::set<int> load, save, ini;
    auto unique = [](std::set<int>& seen, std::int16_t at) { return at == kNotDone || seen.insert(at).second; };
    for (const SettingRow& row : SettingsTable()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(names.insert(ToLowerCase(row.name)).second);
        EXPECT_TRUE(unique(load, row.order.load) && unique(save, row.order.save) && unique(ini, row.order.ini));
        ASSERT_TRUE(row.field.get && row.field.set);
        const SettingValue held = row.field.get(s, c);
        EXPECT_EQ(held.index() == 1, row.type == SettingType::kString);
        EXPECT_EQ(held, row.Default());
    }
}

TEST(SettingsTable, FirstStartRecordIsAllZeroWhateverTheDefaultsButThePreview) {
    const TAppSettings first = FirstStartSettings();
    const MainControlValues c;
    int record = 0;
    for (const SettingRow& row : SettingsTable()) {
        if (!row.field.inRecord || row.name == std::string("ShowRenamePreview")) continue;
        ++record;
        const SettingValue zero = row.type == SettingType::kString ? SettingValue(std::string()) : std::int32_t{0};
        EXPECT_EQ(row.field.get(first, c), zero) << row.name;
    }
    EXPECT_GT(record, 0);
    EXPECT_FALSE(first.recursiveRename);  // its table default is true
    EXPECT_TRUE(first.showRenamePreview);  // a new user sees a rename's plan first
}

// The documented orders differ between the operations; these are the places
// where they do, each pair in the order the operation takes it.
TEST(SettingsTable, EachOperationKeepsItsOwnDocumentedOrder) {
    auto before = [](std::int16_t SettingOrder::* op, const char* a, const char* b) {
        const std::int16_t x = FindSetting(a)->order.*op, y = FindSetting(b)->order.*op;
        return x != kNotDone && y != kNotDone && x < y;
    };
    struct Pair { std::int16_t SettingOrder::* op; const char* first; const char* then; };
    for (const Pair& p : std::initializer_list<Pair>{
             {&SettingOrder::load, "AddFilePathMode", "RenameMode"},
             {&SettingOrder::save, "RenameMode", "AddFileNameMode"},
             {&SettingOrder::ini, "RenameMode", "AddFileNameMode"},
             {&SettingOrder::load, "DisablePlayListButton", "SaveMaskPosition"},
             {&SettingOrder::save, "MaskPosition", "DisablePlayListButton"},
             {&SettingOrder::ini, "DisablePlayListButton", "SaveMaskPosition"},
             {&SettingOrder::load, "AdvancedShow", "MainWinState"},
             {&SettingOrder::save, "FindText", "ID3Show"},
             {&SettingOrder::ini, "NumberSplit", "AnyMask"},
             {&SettingOrder::ini, "ConfirmationOnExit", "AudioProgramMode"},
         }) {
        EXPECT_TRUE(before(p.op, p.first, p.then)) << p.first << " before " << p.then;
    }
    for (const char* name : {"EndingNumber", "ID3Show", "AdvancedShow", "MainWinState", "MainTop", "FTPlocal"})
        EXPECT_EQ(FindSetting(name)->order.ini, kNotDone) << name << " is not in TdSettings.ini";
}

// Every row of the table goes through the registry and TdSettings.ini: a value
// added to the table alone is loaded, saved, exported and imported.
TEST(SettingsTable, EveryRowIsLoadedSavedExportedAndImportedInItsOrder) {
    TempDir tmp;
    RegistryStore written(tmp / "in.reg");
    ASSERT_TRUE(written.OpenKey(kSettingsKey, true));
    for (const SettingRow& row : SettingsTable()) {
        const SettingValue v = Chosen(row);
        if (row.type == SettingType::kString) written.WriteString(row.name, std::get<std::string>(v));
        if (row.type == SettingType::kInteger) written.WriteInteger(row.name, std::get<std::int32_t>(v));
        if (row.type == SettingType::kBoolean) written.WriteBool(row.name, std::get<std::int32_t>(v) != 0);
    }
    written.CloseKey();
    ASSERT_TRUE(written.Save().ok);

    TAppSettings s = FirstStartSettings();
    MainControlValues c;
    RegistryStore in(tmp / "in.reg");
    ASSERT_TRUE(LoadSettings(in, s, c));
    for (const SettingRow* row : SettingsInOrder(&SettingOrder::load))
        EXPECT_EQ(row->field.get(s, c), AsHeld(row->field, Chosen(*row))) << "loaded " << row->name;

    // The language and view shown now differ from those loaded, so they are saved.
    for (const SettingRow& row : SettingsTable())
        if (row.current.set) row.current.set(s, c, std::get<std::int32_t>(row.field.get(s, c)) + 1);
    RegistryStore out(tmp / "out.reg");
    ASSERT_TRUE(SaveSettings(out, tmp / "TdMasks.ini", {"*.*"}, s, c).ok);
    RegistryStore saved(tmp / "out.reg");
    ASSERT_TRUE(saved.Load().ok && saved.OpenKey(kSettingsKey, false));
    const std::string savedText = ReadAll(tmp / "out.reg");
    std::size_t previous = 0;
    for (const SettingRow* row : SettingsInOrder(&SettingOrder::save)) {
        const SettingField& written = row->current.get ? row->current : row->field;
        EXPECT_EQ(Stored(saved, *row), written.get(s, c)) << "saved " << row->name;
        const std::size_t at = savedText.find("\"" + std::string(row->name) + "\"=");
        EXPECT_TRUE(at != std::string::npos && at >= previous) << "saved out of order: " << row->name;
        previous = at;
    }

    tmp.Write("TdSettings.ini", "[Settings]\r\n");
    ASSERT_TRUE(ExportSettings(tmp.str(), out, s, c).result.ok);
    IniSection entries;
    ASSERT_TRUE(ReadIniSection(tmp / "TdSettings.ini", "Settings", entries).ok);
    const std::vector<const SettingRow*> iniRows = SettingsInOrder(&SettingOrder::ini);
    ASSERT_EQ(entries.pairs().size(), iniRows.size() + 1);
    EXPECT_EQ(entries.pairs()[0].first, "HomeDir");
    for (std::size_t i = 0; i < iniRows.size(); ++i) {
        EXPECT_EQ(entries.pairs()[i + 1].first, iniRows[i]->name);
        EXPECT_EQ(entries.pairs()[i + 1].second, IniTextOf(*iniRows[i], iniRows[i]->field.get(s, c)));
    }

    TAppSettings imported = FirstStartSettings();
    MainControlValues importedControls;
    ASSERT_TRUE(ImportSettings(tmp.str(), out, imported, importedControls).result.ok);
    for (const SettingRow* row : iniRows)
        EXPECT_EQ(row->field.get(imported, importedControls), row->field.get(s, c)) << "imported " << row->name;
}

}  // namespace
}  // namespace tandrel
