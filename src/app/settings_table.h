// The settings table: every value of the settings key that the main window
// reads and writes, with its registry name, type, default, the member of the
// settings record or of the control values it fills, and its place in each
// operation. Loading, saving, the export to TdSettings.ini and the import walk
// this table; a new value is one new row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/settings.h"

namespace tandrel {

enum class SettingType : std::uint8_t { kString, kInteger, kBoolean };

// When a value is read and written, beyond its place in the orders.
enum class SettingRule : std::uint8_t {
    kAlways,                  // absent when loading: the default applies
    kKeepWhenAbsent,          // absent when loading: the member keeps its content
    kWhileMaskPositionSaved,  // loaded, saved and imported only while SaveMaskPosition is true, else 0
    kWhileWindowNormal,       // loaded only after a stored MainWinState other than 1, saved only for a
                              // normal window; otherwise left as it is
};

// An integer or boolean (0 or 1) value, or a string.
using SettingValue = std::variant<std::int32_t, std::string>;

// Reads and sets the member a value fills.
struct SettingField {
    SettingValue (*get)(const TAppSettings&, const MainControlValues&) = nullptr;
    void (*set)(TAppSettings&, MainControlValues&, const SettingValue&) = nullptr;
    bool inRecord = false;  // a member of TAppSettings, not of the control values
};

// The place of a value in each operation; kNotDone when the operation leaves it out.
struct SettingOrder {
    std::int16_t load;
    std::int16_t save;
    std::int16_t ini;  // export and import
};
inline constexpr std::int16_t kNotDone = -1;

struct SettingRow {
    const char* name;
    SettingType type;
    std::int32_t number;  // default of an integer or boolean value
    const char* text;     // default of a string value
    SettingRule rule;
    SettingOrder order;
    SettingField field;
    // Saving writes this member instead, and only when it differs from field
    // (the language and the view shown now against those loaded).
    SettingField current = {};

    SettingValue Default() const;
};

std::span<const SettingRow> SettingsTable();
const SettingRow* FindSetting(std::string_view name);

// The rows an operation takes, in its order.
std::vector<const SettingRow*> SettingsInOrder(std::int16_t SettingOrder::* operation);

}  // namespace tandrel
