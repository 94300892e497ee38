// Case-insensitive, locale-aware comparison of code-page-1251 text for sorting.
#pragma once

#include <string>

namespace tandrel {

// Negative, zero or positive as a sorts before, equal to or after b.
int CompareTextLocale(const std::string& a, const std::string& b);

}  // namespace tandrel
