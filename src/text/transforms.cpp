#include "text/transforms.h"

#include <array>
#include <utility>

namespace tandrel {

namespace {

constexpr unsigned char kUpperYo = 168;  // Ё
constexpr unsigned char kLowerYo = 184;  // ё
constexpr unsigned char kUpperYe = 197;  // Е
constexpr unsigned char kLowerYe = 229;  // е

unsigned char U(char ch) { return static_cast<unsigned char>(ch); }

// Latin spellings of А..Я (both tables serve upper and lower case: the lower
// case spelling is the upper one with its first letter lowered).
constexpr const char* kTranslitFull[32] = {
    "A", "B", "V", "G", "D", "E", "Zh", "Z", "I", "Yi", "K", "L", "M", "N", "O", "P",
    "R", "S", "T", "U", "F", "H", "C", "Ch", "Sh", "Sh", "'", "Y", "", "E", "Yu", "Ya",
};
constexpr const char* kTranslitShort[32] = {
    "A", "B", "V", "G", "D", "E", "Z", "Z", "I", "Y", "K", "L", "M", "N", "O", "P",
    "R", "S", "T", "U", "F", "H", "C", "C", "S", "S", "", "Y", "", "E", "U", "A",
};

std::string Transliterate(const std::string& s, const char* const (&table)[32]) {
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        unsigned char c = U(ch);
        if (c == kUpperYo) c = kUpperYe;
        if (c == kLowerYo) c = kLowerYe;
        if (c < 192) {
            out += ch;
            continue;
        }
        const bool lower = c >= 224;
        const char* latin = table[(c - 192) % 32];
        for (const char* p = latin; *p; ++p) {
            // Only the first letter of a spelling carries the case.
            char l = *p;
            if (lower && p == latin && l >= 'A' && l <= 'Z') l = static_cast<char>(l + 32);
            out += l;
        }
    }
    return out;
}

// US key and the Russian letter on the same key, lower case then upper case.
constexpr std::pair<unsigned char, unsigned char> kKeyPairs[] = {
    // q-й w-ц e-у r-к t-е y-н u-г i-ш o-щ p-з [-х ]-ъ
    {'q', 0xE9}, {'w', 0xF6}, {'e', 0xF3}, {'r', 0xEA}, {'t', 0xE5}, {'y', 0xED},
    {'u', 0xE3}, {'i', 0xF8}, {'o', 0xF9}, {'p', 0xE7}, {'[', 0xF5}, {']', 0xFA},
    // a-ф s-ы d-в f-а g-п h-р j-о k-л l-д ;-ж '-э
    {'a', 0xF4}, {'s', 0xFB}, {'d', 0xE2}, {'f', 0xE0}, {'g', 0xEF}, {'h', 0xF0},
    {'j', 0xEE}, {'k', 0xEB}, {'l', 0xE4}, {';', 0xE6}, {'\'', 0xFD},
    // z-я x-ч c-с v-м b-и n-т m-ь ,-б .-ю
    {'z', 0xFF}, {'x', 0xF7}, {'c', 0xF1}, {'v', 0xEC}, {'b', 0xE8}, {'n', 0xF2},
    {'m', 0xFC}, {',', 0xE1}, {'.', 0xFE},
    // the same keys with Shift
    {'Q', 0xC9}, {'W', 0xD6}, {'E', 0xD3}, {'R', 0xCA}, {'T', 0xC5}, {'Y', 0xCD},
    {'U', 0xC3}, {'I', 0xD8}, {'O', 0xD9}, {'P', 0xC7}, {'{', 0xD5}, {'}', 0xDA},
    {'A', 0xD4}, {'S', 0xDB}, {'D', 0xC2}, {'F', 0xC0}, {'G', 0xCF}, {'H', 0xD0},
    {'J', 0xCE}, {'K', 0xCB}, {'L', 0xC4}, {':', 0xC6}, {'"', 0xDD},
    {'Z', 0xDF}, {'X', 0xD7}, {'C', 0xD1}, {'V', 0xCC}, {'B', 0xC8}, {'N', 0xD2},
    {'M', 0xDC}, {'<', 0xC1}, {'>', 0xDE},
};

constexpr std::array<unsigned char, 256> MakeKeyLayoutMap() {
    std::array<unsigned char, 256> map{};
    for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
    for (const auto& [us, ru] : kKeyPairs) {
        map[us] = ru;
        map[ru] = us;
    }
    return map;
}

constexpr std::array<unsigned char, 256> kKeyLayoutMap = MakeKeyLayoutMap();

}  // namespace

bool IsSeparator(char ch) {
    switch (ch) {
        case ' ': case '"': case '(': case ')': case ',': case '-': case '.':
        case '[': case ']': case '_': case '{': case '}':
            return true;
        default:
            return ch >= '0' && ch <= '9';
    }
}

std::string ToTranslit(std::string s) { return Transliterate(s, kTranslitFull); }

std::string ToTranslitShort(std::string s) { return Transliterate(s, kTranslitShort); }

std::string SwitchKeyLayout(std::string s) {
    for (char& ch : s) ch = static_cast<char>(kKeyLayoutMap[U(ch)]);
    return s;
}

char LowerChar(char ch) {
    const unsigned char c = U(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 223)) return static_cast<char>(c + 32);
    if (c == kUpperYo) return static_cast<char>(kLowerYo);
    return ch;
}

char UpperChar(char ch) {
    const unsigned char c = U(ch);
    if ((c >= 'a' && c <= 'z') || c >= 224) return static_cast<char>(c - 32);
    if (c == kLowerYo) return static_cast<char>(kUpperYo);
    return ch;
}

std::string ToLowerCase(std::string s) {
    for (char& ch : s) {
        ch = LowerChar(ch);
        if (U(ch) == kLowerYo) ch = static_cast<char>(kLowerYe);
    }
    return s;
}

std::string ToUpperCase(std::string s) {
    for (char& ch : s) ch = UpperChar(ch);
    return s;
}

std::string UpFirstLettersOfWords(std::string s) {
    bool atWordStart = true;
    for (char& ch : s) {
        if (IsSeparator(ch)) {
            atWordStart = true;
        } else if (atWordStart) {
            ch = UpperChar(ch);
            atWordStart = false;
        } else {
            ch = LowerChar(ch);
        }
    }
    return s;
}

std::string UpFirstLetter(std::string s) {
    bool firstDone = false;
    for (char& ch : s) {
        if (!firstDone && !IsSeparator(ch)) {
            ch = UpperChar(ch);
            firstDone = true;
        } else {
            ch = LowerChar(ch);
        }
    }
    return s;
}

std::string UpFirstLettersOfArtistAndTitle(std::string s, int mode) {
    // The name is "artist - title": the title begins after the first hyphen
    // at the second position or later.
    bool firstDone = false;
    bool hyphenSeen = false;
    bool titleDone = false;
    bool afterStop = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const char prev = i > 0 ? s[i - 1] : '\0';  // case changes keep separators as they are
        // Separators pass through; the first other character is upper-cased.
        // Returns whether c was that character.
        const auto upFirstNonSeparator = [&] {
            if (IsSeparator(c)) {
                s[i] = LowerChar(c);
                return false;
            }
            s[i] = UpperChar(c);
            return true;
        };
        if (!firstDone) {
            firstDone = upFirstNonSeparator();
            continue;
        }
        if (titleDone) {
            s[i] = LowerChar(c);
            continue;
        }
        if (i > 1 && prev == '-') hyphenSeen = true;
        if (hyphenSeen) {
            titleDone = upFirstNonSeparator();
        } else if (mode == 1) {
            s[i] = (i > 0 && IsSeparator(prev) && !IsSeparator(c)) ? UpperChar(c) : LowerChar(c);
        } else if (mode == 2) {
            if (i > 1 && prev == '.') afterStop = true;
            if (afterStop) {
                afterStop = !upFirstNonSeparator();
            } else {
                s[i] = LowerChar(c);
            }
        } else {
            s[i] = LowerChar(c);
        }
    }
    return s;
}

}  // namespace tandrel
