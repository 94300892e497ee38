// The text of a settings registry file whose settings key holds the given
// value lines (REGEDIT4 syntax, CR LF).
#pragma once

#include <string>

namespace tandrel::test {

inline std::string SettingsFileText(const std::string& values) {
    return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmora Software\\Tandrel]\r\n" + values;
}

}  // namespace tandrel::test
