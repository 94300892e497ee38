#include "text/strings.h"

#include <algorithm>
#include <utility>

#include "text/transforms.h"

namespace tandrel {

std::string CopyBeforeChar(std::string s, char ch) {
    const size_t pos = s.find(ch);
    if (pos != std::string::npos) s.resize(pos);
    return s;
}

std::string CopyBeforeSubStr(std::string s, const std::string& sub) {
    const size_t pos = s.find(sub);
    if (pos == std::string::npos) return {};
    s.resize(pos);
    return s;
}

std::string CopyAfterLastChar(std::string s, char ch) {
    const size_t pos = s.rfind(ch);
    if (pos == std::string::npos) return s;
    return s.substr(pos + 1);
}

std::string CopyBeforeLastChar(std::string s, char ch) {
    const size_t pos = s.rfind(ch);
    if (pos == std::string::npos) return {};
    s.resize(pos);
    return s;
}

std::string CopyAfterFirstChar(std::string s, char ch) {
    const size_t pos = s.find(ch);
    if (pos == std::string::npos) return {};
    return s.substr(pos + 1);
}

std::string CopyBetweenLastChars(std::string s, char openCh, char closeCh) {
    const size_t close = s.rfind(closeCh);
    if (close == std::string::npos) return {};
    size_t begin = 0;
    if (close > 0) {
        const size_t open = s.rfind(openCh, close - 1);
        if (open != std::string::npos) begin = open + 1;
    }
    return s.substr(begin, close - begin);
}

bool ExtInMaskList(const std::string& maskText, const std::string& ext) {
    // Tokens end (reading backwards) at each delimiter; what precedes the first
    // delimiter is not a token. An empty token (two delimiters in a row, as in
    // "*.") names no extension and matches nothing.
    size_t tokenEnd = maskText.size();
    for (size_t i = maskText.size(); i-- > 0;) {
        const char c = maskText[i];
        if (c != '.' && c != ';' && c != ' ' && c != '*') continue;
        const size_t len = tokenEnd - (i + 1);
        if (len > 0 && maskText.compare(i + 1, len, ext) == 0) return true;
        tokenEnd = i;
    }
    return false;
}

std::string CollapseCharRuns(std::string s, char ch) {
    const auto last = std::unique(s.begin(), s.end(), [ch](char a, char b) { return a == ch && b == ch; });
    s.erase(last, s.end());
    return s;
}

std::string CollapseSpaces(std::string s) { return CollapseCharRuns(std::move(s), ' '); }

std::string DeleteChar(std::string s, char ch) {
    std::erase(s, ch);
    return s;
}

std::string DeleteQuotes(std::string s) { return DeleteChar(std::move(s), '"'); }

std::string TrimChar(std::string s, char ch) {
    if (!s.empty() && s.front() == ch) s.erase(0, 1);
    if (!s.empty() && s.back() == ch) s.pop_back();
    return s;
}

std::string TrimBlanks(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

std::string Unquote(std::string s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

std::string TrimLeadingSeparators(std::string s) {
    const size_t first = s.find_first_not_of("- _");
    s.erase(0, first == std::string::npos ? s.size() : first);
    return s;
}

std::string DeleteSubStr(const std::string& sub, std::string s) {
    const size_t pos = s.find(sub);
    if (pos != std::string::npos) s.erase(pos, sub.size());
    return s;
}

std::string LineBreaksToSpaces(std::string s) {
    for (char& c : s) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return s;
}

std::string ReplaceChar(char from, char to, std::string s) {
    std::replace(s.begin(), s.end(), from, to);
    return s;
}

std::string ReplaceSubStr(const std::string& oldSub, const std::string& newSub, std::string s) {
    // An empty pattern occurs nowhere (replacing it would never end).
    if (oldSub.empty()) return s;
    std::string out;
    size_t from = 0;
    for (size_t pos; (pos = s.find(oldSub, from)) != std::string::npos; from = pos + oldSub.size()) {
        out.append(s, from, pos - from);
        out += newSub;
    }
    if (from == 0) return s;
    out.append(s, from, std::string::npos);
    return out;
}

void SplitByChar(const std::string& s, char ch, StringList& list) {
    if (s.find(ch) == std::string::npos) return;
    size_t from = 0;
    for (size_t pos; (pos = s.find(ch, from)) != std::string::npos; from = pos + 1) {
        list.push_back(s.substr(from, pos - from));
    }
    if (from < s.size()) list.push_back(s.substr(from));
}

void SplitToWords(const std::string& s, StringList& list) {
    size_t i = 0;
    while (i < s.size()) {
        if (IsSeparator(s[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < s.size() && !IsSeparator(s[i])) ++i;
        list.push_back(s.substr(start, i - start));
    }
    std::erase_if(list, [](const std::string& w) { return w.size() < 2; });
}

int CountChar(char ch, const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), ch));
}

std::string JoinNonEmpty(const std::string& a, const std::string& b, const std::string& sep) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + sep + b;
}

}  // namespace tandrel
