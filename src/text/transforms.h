// Name transforms on code-page-1251 text: transliteration, keyboard layout,
// case operations and the capitalisation modes the rename commands offer.
#pragma once

#include <string>

namespace tandrel {

// The 22 characters that separate words for every word-aware transform.
bool IsSeparator(char ch);

std::string ToTranslit(std::string s);
std::string ToTranslitShort(std::string s);
std::string SwitchKeyLayout(std::string s);

char LowerChar(char ch);
char UpperChar(char ch);
// The one normaliser of case-insensitive comparisons: lower case, ё folded to е.
std::string ToLowerCase(std::string s);
std::string ToUpperCase(std::string s);

std::string UpFirstLettersOfWords(std::string s);
std::string UpFirstLetter(std::string s);
// mode 0: only the artist's first letter, 1: every word of the artist,
// 2: the first letter and letters after a full stop (initials).
std::string UpFirstLettersOfArtistAndTitle(std::string s, int mode);

}  // namespace tandrel
