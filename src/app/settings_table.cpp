// The settings table and the walks over it.
#include "app/settings_table.h"

#include <algorithm>
#include <type_traits>

namespace tandrel {

namespace {

using enum SettingType;
using enum SettingRule;
using Rec = TAppSettings;
using Ctl = MainControlValues;

template <class M>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
    using Class = C;
    using Type = T;
};

template <class C, class S, class V>
auto& Holder(S& s, V& c) {
    if constexpr (std::is_same_v<C, TAppSettings>)
        return s;
    else
        return c;
}

// The field of a member of TAppSettings or MainControlValues: numbers widened
// to 32 bits when read and cut to the member's width when set.
template <auto Member>
SettingField Field() {
    using C = typename MemberOf<decltype(Member)>::Class;
    using T = typename MemberOf<decltype(Member)>::Type;
    SettingField f;
    f.inRecord = std::is_same_v<C, TAppSettings>;
    f.get = [](const TAppSettings& s, const MainControlValues& c) -> SettingValue {
        const T& v = Holder<C>(s, c).*Member;
        if constexpr (std::is_same_v<T, std::string>)
            return v;
        else
            return static_cast<std::int32_t>(v);
    };
    f.set = [](TAppSettings& s, MainControlValues& c, const SettingValue& v) {
        T& m = Holder<C>(s, c).*Member;
        if constexpr (std::is_same_v<T, std::string>)
            m = std::get<std::string>(v);
        else if constexpr (std::is_same_v<T, bool>)
            m = std::get<std::int32_t>(v) != 0;
        else
            m = static_cast<T>(std::get<std::int32_t>(v));
    };
    return f;
}

// MainWinState: 1 for a maximized window, 0 for a normal one; the value as
// loaded is kept, since without it the placement is left alone.
SettingField WindowStateField() {
    SettingField f;
    f.get = [](const TAppSettings&, const MainControlValues& c) -> SettingValue {
        return std::int32_t{c.maximized ? 1 : 0};
    };
    f.set = [](TAppSettings&, MainControlValues& c, const SettingValue& v) {
        c.mainWinState = std::get<std::int32_t>(v);
        c.maximized = *c.mainWinState == 1;
    };
    return f;
}

// HomeDir is not a row: it is read before the rows, only applied when it names
// an existing directory, exported from the key itself and never saved.
// clang-format off
const SettingRow kSettings[] = {
    // name, type, default number, default text, rule, {load, save, ini}, member, member saved
    {"LangIndex", kInteger, 0, "", kAlways, {0, 0, 0}, Field<&Rec::loadedLanguage>(), Field<&Rec::currentLanguage>()},
    {"MainEditMode", kInteger, 0, "", kAlways, {1, 1, 1}, Field<&Rec::loadedEditMode>(), Field<&Rec::currentEditMode>()},
    {"AddFileNameMode", kBoolean, 0, "", kAlways, {2, 4, 4}, Field<&Ctl::addFileName>()},
    {"AddFilePathMode", kBoolean, 0, "", kAlways, {3, 5, 5}, Field<&Ctl::addFilePath>()},
    {"RenameMode", kInteger, 0, "", kAlways, {4, 2, 2}, Field<&Rec::renameMode>()},
    {"MakeLowercaseExt", kBoolean, 0, "", kAlways, {5, 6, 6}, Field<&Rec::makeLowercaseExt>()},
    {"UpCaseFirstLettersOfArtistMode", kInteger, 0, "", kAlways, {6, 3, 3}, Field<&Rec::artistMode>()},
    {"DisablePlayListButton", kBoolean, 0, "", kAlways, {7, 9, 7}, Field<&Rec::disablePlayListButton>()},
    {"SaveMaskPosition", kBoolean, 0, "", kAlways, {8, 7, 8}, Field<&Rec::saveMaskPosition>()},
    {"MaskPosition", kInteger, 0, "", kWhileMaskPositionSaved, {9, 8, 9}, Field<&Ctl::maskPosition>()},
    {"ShowRenameWarning", kBoolean, 0, "", kAlways, {10, 10, 10}, Field<&Rec::showRenameWarning>()},
    {"WriteRenameInfo", kBoolean, 0, "", kAlways, {11, 11, 11}, Field<&Rec::writeRenameInfo>()},
    {"TreeMode", kInteger, 0, "", kAlways, {12, 12, 12}, Field<&Rec::treeMode>()},
    {"TreeNameMode", kInteger, 0, "", kAlways, {13, 13, 13}, Field<&Rec::treeNameMode>()},
    {"AddingDate", kBoolean, 0, "", kAlways, {14, 14, 14}, Field<&Rec::addingDate>()},
    {"AddingNumber", kBoolean, 0, "", kAlways, {15, 15, 15}, Field<&Rec::addingNumber>()},
    {"EndingNumber", kBoolean, 0, "", kAlways, {16, 16, -1}, Field<&Rec::endingNumber>()},
    {"RecursiveRename", kBoolean, 1, "", kAlways, {17, 17, 16}, Field<&Rec::recursiveRename>()},
    {"RecursiveSearch", kBoolean, 1, "", kAlways, {18, 18, 17}, Field<&Rec::recursiveSearch>()},
    {"use_m3u", kBoolean, 1, "", kAlways, {19, 19, 18}, Field<&Rec::useM3u>()},
    {"AnyMask", kBoolean, 1, "", kAlways, {20, 20, 21}, Field<&Rec::anyMask>()},
    {"M3USearchAll", kBoolean, 0, "", kKeepWhenAbsent, {21, 21, 22}, Field<&Rec::m3uSearchAll>()},
    {"M3UDlgBox", kBoolean, 1, "", kAlways, {22, 22, 23}, Field<&Rec::m3uDlgBox>()},
    {"NumberFormat", kInteger, 2, "", kAlways, {23, 23, 19}, Field<&Rec::numberFormat>()},
    {"NumberSplit", kString, 0, "_", kAlways, {24, 24, 20}, Field<&Rec::numberSplit>()},
    {"AudioProgramMode", kInteger, 0, "", kAlways, {25, 25, 35}, Field<&Rec::audioProgramMode>()},
    {"AudioProgram", kString, 0, "", kKeepWhenAbsent, {26, 26, 36}, Field<&Rec::audioProgram>()},
    {"VideoProgram", kString, 0, "", kKeepWhenAbsent, {27, 27, 37}, Field<&Rec::videoProgram>()},
    {"FTPlocalFileMode", kInteger, 0, "", kAlways, {28, 28, 38}, Field<&Rec::ftpLocalFileMode>()},
    {"FTPlocalFile", kString, 0, "", kKeepWhenAbsent, {29, 29, 39}, Field<&Rec::ftpLocalFile>()},
    {"FTPChangeAddFTPpath", kBoolean, 0, "", kKeepWhenAbsent, {30, 30, 40}, Field<&Rec::ftpChangeAddFtpPath>()},
    {"FTPSourcePath", kString, 0, "", kKeepWhenAbsent, {31, 31, 41}, Field<&Rec::ftpSourcePath>()},
    {"FTPTargetPath", kString, 0, "", kKeepWhenAbsent, {32, 32, 42}, Field<&Rec::ftpTargetPath>()},
    {"ID3Show", kBoolean, 0, "", kAlways, {33, 49, -1}, Field<&Ctl::id3Show>()},
    {"AdvancedShow", kBoolean, 0, "", kAlways, {34, 50, -1}, Field<&Ctl::advancedShow>()},
    {"MainWinState", kInteger, 0, "", kKeepWhenAbsent, {35, 33, -1}, WindowStateField()},
    {"MainTop", kInteger, 0, "", kWhileWindowNormal, {36, 34, -1}, Field<&Ctl::top>()},
    {"MainLeft", kInteger, 0, "", kWhileWindowNormal, {37, 35, -1}, Field<&Ctl::left>()},
    {"MainHeight", kInteger, 0, "", kWhileWindowNormal, {38, 36, -1}, Field<&Ctl::height>()},
    {"MainWidth", kInteger, 0, "", kWhileWindowNormal, {39, 37, -1}, Field<&Ctl::width>()},
    {"SearchMode", kInteger, 0, "", kAlways, {40, 38, 24}, Field<&Rec::searchMode>()},
    {"FindMode", kInteger, 1, "", kAlways, {41, 39, 25}, Field<&Ctl::findMode>()},
    {"ScanDir", kBoolean, 0, "", kAlways, {42, 40, 26}, Field<&Ctl::scanDir>()},
    {"FindMask", kString, 0, "*.*", kKeepWhenAbsent, {43, 41, 27}, Field<&Ctl::findMask>()},
    {"FindOnDrives", kBoolean, 0, "", kAlways, {44, 42, 28}, Field<&Ctl::findOnDrives>()},
    {"FindDrives", kString, 0, "", kKeepWhenAbsent, {45, 43, 29}, Field<&Ctl::findDrives>()},
    {"FindUseMask", kBoolean, 1, "", kAlways, {46, 44, 30}, Field<&Ctl::findUseMask>()},
    {"OverSearch", kBoolean, 1, "", kAlways, {47, 45, 31}, Field<&Ctl::overSearch>()},
    {"FullString", kBoolean, 1, "", kAlways, {48, 46, 32}, Field<&Ctl::fullString>()},
    {"FTPlocal", kBoolean, 0, "", kKeepWhenAbsent, {49, 47, -1}, Field<&Ctl::ftpLocal>()},
    {"FindText", kString, 0, "", kKeepWhenAbsent, {50, 48, 33}, Field<&Ctl::findText>()},
    {"ConfirmationOnExit", kBoolean, 0, "", kAlways, {51, 51, 34}, Field<&Rec::confirmationOnExit>()},
    {"WriteID3v2Unicode", kBoolean, 0, "", kAlways, {52, 52, 43}, Field<&Rec::writeID3v2Unicode>()},
    {"ShowRenamePreview", kBoolean, 0, "", kAlways, {53, 53, 44}, Field<&Rec::showRenamePreview>()},
};
// clang-format on

}  // namespace

SettingValue SettingRow::Default() const {
    if (type == kString) return std::string(text);
    return number;
}

std::span<const SettingRow> SettingsTable() { return kSettings; }

const SettingRow* FindSetting(std::string_view name) {
    for (const SettingRow& row : kSettings)
        if (name == row.name) return &row;
    return nullptr;
}

std::vector<const SettingRow*> SettingsInOrder(std::int16_t SettingOrder::* operation) {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : kSettings)
        if (row.order.*operation != kNotDone) rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(), [operation](const SettingRow* a, const SettingRow* b) {
        return a->order.*operation < b->order.*operation;
    });
    return rows;
}

}  // namespace tandrel
