#include "text/legacytext.h"

#include <gtest/gtest.h>

#include "text/cp1251.h"

namespace tandrel {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

std::u32string U(std::string_view utf8) { return Utf8CodePoints(utf8); }

// A UTF-8 text in a single-byte encoding, through the decoder's own table
// turned round, so that each case states its text once.
std::string Encode(std::string_view utf8, LegacyEncoding encoding) {
    std::string out;
    for (char32_t c : U(utf8)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        for (int b = 0x80; b < 0x100; ++b) {
            if (DecodeLegacy(std::string(1, static_cast<char>(b)), encoding)[0] == c) {
                out += static_cast<char>(b);
                break;
            }
        }
    }
    return out;
}

TEST(LegacyText, ValidUtf8AtItsEdges) {
    struct Case { std::string bytes; bool valid; };
    const Case cases[] = {
        {"", true},
        {"plain", true},
        {"\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE", true},  // Кино
        {"\xF0\x9F\x8E\xB5", true},                  // a four-byte character
        {"\xCA\xE8\xED\xEE", false},                 // Кино in code page 1251
        {"Caf\xE9", false},                          // ISO-8859-1
        {"\xC0\x80", false},                         // overlong
        {"\xED\xA0\x80", false},                     // a surrogate
        {"\xD0", false},                             // cut short
        {"\xF4\x90\x80\x80", false},                 // above U+10FFFF
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
    EXPECT_EQ(CodePointsToUtf8(U("\xF0\x9F\x8E\xB5 Кино")), "\xF0\x9F\x8E\xB5 Кино");
}

// Tag text marked ISO-8859-1: Cyrillic code page 1251 is told from Western
// text by whether its letters make whole words.
TEST(LegacyText, Cp1251CyrillicIsToldFromWesternText) {
    struct Case { std::string bytes; bool cyrillic; };
    const Case cases[] = {
        {Utf8ToCp1251("Кино").text, true},
        {Utf8ToCp1251("Мумий Тролль").text, true},
        {Utf8ToCp1251("DJ Грув - Счастье").text, true},
        {Utf8ToCp1251("Ёж").text, true},
        {"Caf\xE9", false},
        {"M\xFCller", false},
        {"Sigur R\xF3s - \xC1g\xE6tis byrjun", false},
        {"Beyonc\xE9", false},
        {"\xE0 la carte", false},  // one-letter words say nothing
        {"Rock 2001", false},
        {"", false},
        {Utf8ToCp1251("Кино").text + "\x98", false},  // 0x98 is no character of code page 1251
    };
    for (const Case& c : cases) EXPECT_EQ(LooksLikeCp1251Cyrillic(c.bytes), c.cyrillic) << c.bytes;
}

// File names from old disks: each name in each of the three encodings is
// read back as it was written.
TEST(LegacyText, NamesAreReadInTheirEncoding) {
    const char* const names[] = {
        "Кино - Группа крови.mp3", "01 - Звезда по имени Солнце.mp3", "ДДТ - Осень.mp3", "Мумий Тролль - Утекай.mp3",
        "Письмо.txt", "Аквариум", "КИНО", "Шёпот", "Сплин - Выхода нет.mp3", "Жизнь.doc",
    };
    for (const char* name : names) {
        for (LegacyEncoding e : {LegacyEncoding::kCp1251, LegacyEncoding::kCp866, LegacyEncoding::kKoi8R}) {
            const std::string raw = Encode(name, e);
            ASSERT_FALSE(IsValidUtf8(raw)) << name;
            const LegacyGuess guess = GuessLegacyEncoding(raw);
            EXPECT_EQ(guess.encoding, e) << name << " in " << LegacyEncodingName(e);
            EXPECT_EQ(CodePointsToUtf8(guess.text), name) << LegacyEncodingName(e);
            EXPECT_TRUE(guess.plausible) << name << " in " << LegacyEncodingName(e);
        }
    }
}

TEST(LegacyText, NamesOfNoneOfTheEncodingsAreUnclear) {
    // Box drawing in every reading, and Latin letters among Cyrillic ones.
    for (const std::string& raw : {Bytes({0xB0, 0xB1, 0xB2, 0xDB, 0xDC}), std::string("Caf\xE9.mp3")})
        EXPECT_FALSE(GuessLegacyEncoding(raw).plausible) << raw;
}

}  // namespace
}  // namespace tandrel
