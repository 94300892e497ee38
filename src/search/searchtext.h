// The comparisons of the file search: normalising a text, the substring and
// star-pattern tests of a needle, the word tests, and the forms of the result
// lines. Every text is code-page-1251.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tandrel {

// The line a word search adds for each file examined while the tags would
// have to be tested.
inline constexpr const char* kUseAnotherMode = "Sorry! Use another Mode";

// ToLowerCase, then ToTranslitShort under Over Search. The needle and the
// tested text always pass through the same normalising.
std::string NormaliseForSearch(std::string text, bool overSearch);

// NormaliseForSearch as a table of the 256 characters: each one's normal form,
// or kSearchDrop for a character that is left out. Null when some character
// would become more than one (then only NormaliseForSearch applies).
inline constexpr int kSearchDrop = -1;
const int* SearchNormalTable(bool overSearch);

// The needle occurs in the text; an empty needle never occurs.
bool ContainsNeedle(const std::string& text, const std::string& needle);

// A pattern without "*" matches nothing; "*" alone matches every text.
// Otherwise the pieces between stars are looked for in order, not anchored;
// after a piece is found the search goes on one character after the start of
// that occurrence, so "ab*b" matches "ab".
bool MatchStarPattern(const std::string& pattern, const std::string& text);

// The needle test of a whole-query search: the substring test and the star
// pattern, each one that succeeds counting one result line (0, 1 or 2).
int NeedleHits(const std::string& needle, const std::string& text);

// 1-based position of the first occurrence of word in text; 0 when absent
// (an empty word never occurs).
std::size_t WordPosition(const std::string& text, const std::string& word);

// The word test of the word modes on an already normalised text: mode 1 all
// words present, mode 2 present in list order (first occurrences only); any
// other mode never matches.
bool MatchWords(const std::string& text, int searchMode, const std::vector<std::string>& words);

// "name \t[dir]" with the File Name adding mode, else the joined path.
std::string NameLine(const std::string& dir, const std::string& name, bool addFileName);
// "line \t[path]".
std::string LineHit(const std::string& line, const std::string& path);

}  // namespace tandrel
