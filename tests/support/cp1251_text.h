// Test texts are written in UTF-8; the core takes code-page-1251 bytes.
#pragma once

#include <string>
#include <string_view>

#include "text/cp1251.h"

namespace tandrel {

inline std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8).text; }

}  // namespace tandrel
