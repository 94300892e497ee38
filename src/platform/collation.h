// Case-insensitive, locale-aware comparison of code-page-1251 text for sorting.
#pragma once

#include <string>
#include <vector>

namespace tandrel {

// Negative, zero or positive as a sorts before, equal to or after b.
int CompareTextLocale(const std::string& a, const std::string& b);

// Sorts ascending by CompareTextLocale, equal texts keeping their order. Each
// text is prepared for comparison once, so long lists sort fast.
void SortTextLocale(std::vector<std::string>& texts);

}  // namespace tandrel
