#include "search/searchtext.h"

#include "text/paths.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

// Lower case and the short transliteration map each character on its own to
// at most one character, so the normalising of a text is a table of the 256
// single characters, built from the text operations themselves. kDrop marks a
// character that is left out; the tables are not used if any character would
// become more than one.
constexpr int kDrop = kSearchDrop;

struct NormalTable {
    int to[256];
    bool usable = true;

    explicit NormalTable(bool overSearch) {
        for (int c = 0; c < 256; ++c) {
            std::string one = ToLowerCase(std::string(1, static_cast<char>(c)));
            if (overSearch) one = ToTranslitShort(std::move(one));
            if (one.size() > 1) usable = false;
            to[c] = one.empty() ? kDrop : static_cast<unsigned char>(one[0]);
        }
    }
};

const NormalTable& TableFor(bool overSearch) {
    static const NormalTable plain(false);
    static const NormalTable translit(true);
    return overSearch ? translit : plain;
}

}  // namespace

const int* SearchNormalTable(bool overSearch) {
    const NormalTable& table = TableFor(overSearch);
    return table.usable ? table.to : nullptr;
}

std::string NormaliseForSearch(std::string text, bool overSearch) {
    const NormalTable& table = TableFor(overSearch);
    if (!table.usable) {
        text = ToLowerCase(std::move(text));
        if (overSearch) text = ToTranslitShort(std::move(text));
        return text;
    }
    std::size_t out = 0;
    for (const char ch : text) {
        const int to = table.to[static_cast<unsigned char>(ch)];
        if (to != kDrop) text[out++] = static_cast<char>(to);
    }
    text.resize(out);
    return text;
}

bool ContainsNeedle(const std::string& text, const std::string& needle) {
    return !needle.empty() && text.find(needle) != std::string::npos;
}

bool MatchStarPattern(const std::string& pattern, const std::string& text) {
    if (pattern.find('*') == std::string::npos) return false;
    std::size_t from = 0;  // where the remaining text starts
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == '*') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(pattern.find('*', i), pattern.size());
        const std::size_t at = text.find(pattern.data() + i, from, end - i);
        if (at == std::string::npos) return false;
        from = at + 1;
        i = end;
    }
    return true;
}

int NeedleHits(const std::string& needle, const std::string& text) {
    return (ContainsNeedle(text, needle) ? 1 : 0) + (MatchStarPattern(needle, text) ? 1 : 0);
}

std::size_t WordPosition(const std::string& text, const std::string& word) {
    if (word.empty()) return 0;
    const std::size_t at = text.find(word);
    return at == std::string::npos ? 0 : at + 1;
}

bool MatchWords(const std::string& text, int searchMode, const std::vector<std::string>& words) {
    std::size_t count = 0;
    std::size_t last = 0;
    for (const std::string& word : words) {
        const std::size_t p = WordPosition(text, word);
        if (searchMode == 1 && p > 0) {
            ++count;
        } else if (searchMode == 2 && p > last) {
            last = p;
            ++count;
        }
    }
    return !words.empty() && count == words.size();
}

std::string NameLine(const std::string& dir, const std::string& name, bool addFileName) {
    if (addFileName) return name + " \t[" + dir + "]";
    return JoinPath(dir, name);
}

std::string LineHit(const std::string& line, const std::string& path) {
    std::string hit;
    hit.reserve(line.size() + path.size() + 4);
    hit += line;
    hit += " \t[";
    hit += path;
    hit += ']';
    return hit;
}

}  // namespace tandrel
