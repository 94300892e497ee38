// Look-up of a word in the synonyms file (lines key=value).
#pragma once

#include <string>

namespace tandrel {

// The stored value of the first line whose value contains word
// (compared through ToLowerCase); empty when none does or the file is unreadable.
// path is code-page-1251 text.
std::string FindSynonyms(const std::string& word, const std::string& path);

}  // namespace tandrel
