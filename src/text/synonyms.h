// Look-up of a word in the synonyms file (lines key=value).
#pragma once

#include <string>

namespace tandrel {

// The stored value of the first line whose value contains word
// (compared through ToLowerCase); empty when none does or the file is unreadable.
// path is code-page-1251 text.
std::string FindSynonyms(const std::string& word, const std::string& path);

// True when the value of a synonyms line contains word, compared through
// ToLowerCase. An empty word is contained in no value.
bool SynonymsHold(const std::string& value, const std::string& word);

}  // namespace tandrel
