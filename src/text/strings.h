// Cut, split, replace, count and mask operations on code-page-1251 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

using StringList = std::vector<std::string>;

std::string CopyBeforeChar(std::string s, char ch);
std::string CopyBeforeSubStr(std::string s, const std::string& sub);
std::string CopyAfterLastChar(std::string s, char ch);
std::string CopyBeforeLastChar(std::string s, char ch);
std::string CopyAfterFirstChar(std::string s, char ch);
std::string CopyBetweenLastChars(std::string s, char openCh, char closeCh);

// True when ext equals one of the tokens of maskText, scanned from its end.
bool ExtInMaskList(const std::string& maskText, const std::string& ext);

std::string CollapseCharRuns(std::string s, char ch);
std::string CollapseSpaces(std::string s);
std::string DeleteChar(std::string s, char ch);
std::string DeleteQuotes(std::string s);
std::string TrimChar(std::string s, char ch);
// The text without the spaces and tabs at its ends.
std::string TrimBlanks(std::string_view s);
// The text without one pair of double quotes around it, when it has them.
std::string Unquote(std::string s);
std::string TrimLeadingSeparators(std::string s);
std::string DeleteSubStr(const std::string& sub, std::string s);
std::string LineBreaksToSpaces(std::string s);
std::string ReplaceChar(char from, char to, std::string s);
std::string ReplaceSubStr(const std::string& oldSub, const std::string& newSub, std::string s);

void SplitByChar(const std::string& s, char ch, StringList& list);
void SplitToWords(const std::string& s, StringList& list);

int CountChar(char ch, const std::string& s);
std::string JoinNonEmpty(const std::string& a, const std::string& b, const std::string& sep);

}  // namespace tandrel
