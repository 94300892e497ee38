#include "text/legacytext.h"

#include <array>
#include <cmath>

#include "text/cp1251.h"

namespace tandrel {

namespace {

unsigned Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// The length of the well-formed UTF-8 sequence at i and its code point, or 0.
std::size_t Utf8Sequence(std::string_view s, std::size_t i, char32_t& cp) {
    const unsigned b0 = Byte(s, i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) len = 2, min = 0x80, cp = b0 & 0x1F;
    else if (b0 >= 0xE0 && b0 <= 0xEF) len = 3, min = 0x800, cp = b0 & 0x0F;
    else if (b0 >= 0xF0 && b0 <= 0xF4) len = 4, min = 0x10000, cp = b0 & 0x07;
    else return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned b = Byte(s, i + k);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Unicode of the bytes 0x80-0xFF.
constexpr std::array<char16_t, 128> kKoi8R = {
    0x2500, 0x2502, 0x250C, 0x2510, 0x2514, 0x2518, 0x251C, 0x2524,  // 80
    0x252C, 0x2534, 0x253C, 0x2580, 0x2584, 0x2588, 0x258C, 0x2590,  // 88
    0x2591, 0x2592, 0x2593, 0x2320, 0x25A0, 0x2219, 0x221A, 0x2248,  // 90
    0x2264, 0x2265, 0x00A0, 0x2321, 0x00B0, 0x00B2, 0x00B7, 0x00F7,  // 98
    0x2550, 0x2551, 0x2552, 0x0451, 0x2553, 0x2554, 0x2555, 0x2556,  // A0
    0x2557, 0x2558, 0x2559, 0x255A, 0x255B, 0x255C, 0x255D, 0x255E,  // A8
    0x255F, 0x2560, 0x2561, 0x0401, 0x2562, 0x2563, 0x2564, 0x2565,  // B0
    0x2566, 0x2567, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x00A9,  // B8
    0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433,  // C0
    0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E,  // C8
    0x043F, 0x044F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0436, 0x0432,  // D0
    0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A,  // D8
    0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413,  // E0
    0x0425, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E,  // E8
    0x041F, 0x042F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0416, 0x0412,  // F0
    0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A,  // F8
};

constexpr std::array<char16_t, 128> kCp866 = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 80
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 88
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 90
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 98
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // A0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // E0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // E8
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,  // F8
};

char32_t Cp1251CodePoint(unsigned char b) {
    const std::u32string one = Utf8CodePoints(Cp1251ToUtf8(std::string(1, static_cast<char>(b))));
    return one.empty() ? 0xFFFD : one[0];
}

bool IsRussianLetter(char32_t c) { return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451; }
bool IsRussianUpper(char32_t c) { return (c >= 0x0410 && c <= 0x042F) || c == 0x0401; }
bool IsAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// How often each letter а..я occurs in Russian text, per mille (ё counts as е).
constexpr std::array<double, 32> kRussianFrequency = {
    80.1, 15.9, 45.4, 17.0, 29.8, 84.5, 9.4, 16.5, 73.5, 12.1, 34.9, 44.0, 32.1, 67.0, 109.7, 28.1,  // а..п
    47.3, 54.7, 62.6, 26.2, 2.6, 9.7, 4.8, 14.4, 7.3, 3.6, 0.4, 19.0, 17.4, 3.2, 6.4, 20.1,          // р..я
};

double LetterScore(char32_t c) {
    char32_t lower = IsRussianUpper(c) ? (c == 0x0401 ? 0x0451 : c + 0x20) : c;
    const double perMille = lower == 0x0451 ? 2.0 : kRussianFrequency[lower - 0x0430];
    return std::log(perMille / 15.0);
}

bool IsUkrainianOrBelarusian(char32_t c) {
    switch (c) {
        case 0x0406: case 0x0456: case 0x0407: case 0x0457: case 0x0404: case 0x0454: case 0x0490: case 0x0491:
        case 0x040E: case 0x045E: return true;
        default: return false;
    }
}

// Non-ASCII punctuation that names and titles do hold.
bool IsCommonPunctuation(char32_t c) {
    switch (c) {
        case 0x00A0: case 0x00AB: case 0x00BB: case 0x00B7: case 0x2013: case 0x2014: case 0x2116:
        case 0x2026: case 0x2018: case 0x2019: case 0x201C: case 0x201D: case 0x201E: return true;
        default: return false;
    }
}

// How much a reading looks like Russian names and titles: common letters
// score, rare ones cost, a capital inside a lower-case word and anything
// that is neither a letter nor common punctuation cost much.
struct Reading {
    double score = 0;
    bool symbols = false;  // box drawing, mathematical signs and the like
    bool mixed = false;    // a word of Latin and Cyrillic letters
};

Reading Judge(const std::u32string& text) {
    Reading r;
    bool latin = false, cyrillic = false, lowerBefore = false;
    auto endWord = [&] {
        if (latin && cyrillic) {
            r.mixed = true;
            r.score -= 4;
        }
        latin = cyrillic = lowerBefore = false;
    };
    for (char32_t c : text) {
        if (IsRussianLetter(c)) {
            r.score += LetterScore(c);
            const bool upper = IsRussianUpper(c);
            if (upper && lowerBefore) r.score -= 4;
            lowerBefore = !upper;
            cyrillic = true;
        } else if (IsAsciiLetter(c)) {
            latin = true;
            lowerBefore = c >= 'a';
        } else if ((c >= 0x0400 && c <= 0x045F) || c == 0x0490 || c == 0x0491) {
            r.score -= IsUkrainianOrBelarusian(c) ? 2 : 4;  // Serbian and Macedonian letters are rarer here
            cyrillic = true;
            lowerBefore = false;
        } else if (c < 0x80 || IsCommonPunctuation(c)) {
            if (c >= 0x80) r.score -= 1;
            endWord();
        } else {
            r.symbols = true;
            r.score -= 6;
            endWord();
        }
    }
    endWord();
    return r;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = Utf8Sequence(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::u32string Utf8CodePoints(std::string_view utf8) {
    std::u32string out;
    char32_t cp = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t len = Utf8Sequence(utf8, i, cp);
        out += len ? cp : char32_t{0xFFFD};
        i += len ? len : 1;
    }
    return out;
}

std::string CodePointsToUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t cp : text) AppendUtf8(out, cp);
    return out;
}

std::u32string Latin1CodePoints(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (char c : bytes) out += static_cast<char32_t>(static_cast<unsigned char>(c));
    return out;
}

bool LooksLikeCp1251Cyrillic(std::string_view bytes) {
    // Letters of a Cyrillic reading: А..я and Ё, ё.
    auto cyrillicLetter = [](unsigned b) { return b >= 0xC0 || b == 0xA8 || b == 0xB8; };
    auto latinLetter = [](unsigned b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); };
    std::size_t inWholeWords = 0, amongLatin = 0;
    std::size_t high = 0;
    bool latin = false;
    auto endWord = [&] {
        if (latin) amongLatin += high;
        else if (high >= 2) inWholeWords += high;
        high = 0;
        latin = false;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned b = Byte(bytes, i);
        if (b == 0x98) return false;  // undefined in code page 1251
        if (cyrillicLetter(b)) ++high;
        else if (latinLetter(b)) latin = true;
        else endWord();
    }
    endWord();
    return inWholeWords >= 2 && inWholeWords > amongLatin;
}

const char* LegacyEncodingName(LegacyEncoding encoding) {
    switch (encoding) {
        case LegacyEncoding::kCp866: return "cp866";
        case LegacyEncoding::kKoi8R: return "koi8-r";
        default: return "cp1251";
    }
}

std::u32string DecodeLegacy(std::string_view bytes, LegacyEncoding encoding) {
    static const std::array<char32_t, 128> cp1251 = [] {
        std::array<char32_t, 128> table{};
        for (unsigned b = 0; b < 128; ++b) table[b] = Cp1251CodePoint(static_cast<unsigned char>(0x80 + b));
        return table;
    }();
    std::u32string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned b = Byte(bytes, i);
        if (b < 0x80) out += static_cast<char32_t>(b);
        else if (encoding == LegacyEncoding::kCp866) out += kCp866[b - 0x80];
        else if (encoding == LegacyEncoding::kKoi8R) out += kKoi8R[b - 0x80];
        else out += cp1251[b - 0x80];
    }
    return out;
}

LegacyGuess GuessLegacyEncoding(std::string_view bytes) {
    LegacyGuess best;
    double bestScore = 0;
    bool first = true;
    for (LegacyEncoding e : {LegacyEncoding::kCp1251, LegacyEncoding::kCp866, LegacyEncoding::kKoi8R}) {
        std::u32string text = DecodeLegacy(bytes, e);
        const Reading r = Judge(text);
        if (first || r.score > bestScore) {
            best = {e, std::move(text), !r.symbols && !r.mixed};
            bestScore = r.score;
            first = false;
        }
    }
    return best;
}

}  // namespace tandrel
