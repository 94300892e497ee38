#include "text/cp1251.h"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

TEST(Cp1251, EveryDefinedByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string byte(1, static_cast<char>(b));
        const Cp1251Text back = Utf8ToCp1251(Cp1251ToUtf8(byte));
        EXPECT_TRUE(back.lossless) << "byte " << b;
        EXPECT_EQ(back.text, byte) << "byte " << b;
    }
}

TEST(Cp1251, MapsTheNamedCharactersOfTheUpperHalf) {
    struct Case { unsigned char byte; const char* utf8; };
    const Case cases[] = {
        {0x80, "Ђ"}, {0x82, "‚"}, {0x88, "€"}, {0x8E, "Ћ"}, {0x97, "—"}, {0x99, "™"},
        {0xA0, "\u00A0"}, {0xA5, "Ґ"}, {0xA8, "Ё"}, {0xAD, "\u00AD"}, {0xB2, "І"}, {0xB8, "ё"},
        {0xB9, "№"}, {0xBF, "ї"}, {0xC0, "А"}, {0xDF, "Я"}, {0xE0, "а"}, {0xFF, "я"},
    };
    for (const Case& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(Cp1251ToUtf8(byte), c.utf8) << "byte " << int(c.byte);
        EXPECT_EQ(Utf8ToCp1251(c.utf8).text, byte) << c.utf8;
    }
}

TEST(Cp1251, CharactersOutsideThePageAndMalformedBytesBecomeTheUnmappableByte) {
    struct Case { std::string utf8; std::string expected; };
    const std::string x(1, kUnmappableChar);
    const Case cases[] = {
        {"a\U0001F600b", "a" + x + "b"},       // outside the page: one byte per character
        {"\u00FC\u4E2D", x + x},               // Latin-1 letter, CJK
        {"\uFFFD", x},
        {"a\xE2\x82", "a" + x + x},            // truncated sequence: one per byte
        {"\xC0\xAF", x + x},                   // overlong
        {"\xED\xA0\x80", x + x + x},           // surrogate
        {"\x80z", x + "z"},                    // stray continuation byte
    };
    for (const Case& c : cases) {
        const Cp1251Text got = Utf8ToCp1251(c.utf8);
        EXPECT_FALSE(got.lossless);
        EXPECT_EQ(got.text, c.expected);
    }
    EXPECT_EQ(Cp1251ToUtf8("a" + x), "a\uFFFD");
    EXPECT_TRUE(Utf8ToCp1251("").lossless);
}

}  // namespace
}  // namespace tandrel
