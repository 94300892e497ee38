#include "support/cp1251_text.h"
#include "text/transforms.h"

#include <gtest/gtest.h>

#include <string_view>

#include "text/cp1251.h"

namespace tandrel {
namespace {

// Test texts are written in UTF-8 and handed to the functions in code page 1251.

TEST(Translit, BothTablesCoverEveryLetterInBothCases) {
    struct Row { const char* upper; const char* lower; const char* full; const char* brief; };
    const Row rows[] = {
        {"А", "а", "A", "A"},   {"Б", "б", "B", "B"},   {"В", "в", "V", "V"},  {"Г", "г", "G", "G"},
        {"Д", "д", "D", "D"},   {"Е", "е", "E", "E"},   {"Ё", "ё", "E", "E"},  {"Ж", "ж", "Zh", "Z"},
        {"З", "з", "Z", "Z"},   {"И", "и", "I", "I"},   {"Й", "й", "Yi", "Y"}, {"К", "к", "K", "K"},
        {"Л", "л", "L", "L"},   {"М", "м", "M", "M"},   {"Н", "н", "N", "N"},  {"О", "о", "O", "O"},
        {"П", "п", "P", "P"},   {"Р", "р", "R", "R"},   {"С", "с", "S", "S"},  {"Т", "т", "T", "T"},
        {"У", "у", "U", "U"},   {"Ф", "ф", "F", "F"},   {"Х", "х", "H", "H"},  {"Ц", "ц", "C", "C"},
        {"Ч", "ч", "Ch", "C"},  {"Ш", "ш", "Sh", "S"},  {"Щ", "щ", "Sh", "S"}, {"Ъ", "ъ", "'", ""},
        {"Ы", "ы", "Y", "Y"},   {"Ь", "ь", "", ""},     {"Э", "э", "E", "E"},  {"Ю", "ю", "Yu", "U"},
        {"Я", "я", "Ya", "A"},
    };
    const auto lowered = [](std::string s) {
        if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] + 32);
        return s;
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ToTranslit(Cp(r.upper)), r.full) << r.upper;
        EXPECT_EQ(ToTranslit(Cp(r.lower)), lowered(r.full)) << r.lower;
        EXPECT_EQ(ToTranslitShort(Cp(r.upper)), r.brief) << r.upper;
        EXPECT_EQ(ToTranslitShort(Cp(r.lower)), lowered(r.brief)) << r.lower;
    }
}

TEST(Translit, WholeTextsKeepEverythingButCyrillicLetters) {
    EXPECT_EQ(ToTranslit(Cp("Щука и Ёж")), "Shuka i Ezh");
    EXPECT_EQ(ToTranslitShort(Cp("Щука и Ёж")), "Suka i Ez");
    EXPECT_EQ(ToTranslit(Cp("Объявление")), "Ob'yavlenie");
    EXPECT_EQ(ToTranslitShort(Cp("Объявление")), "Obavlenie");
    EXPECT_EQ(ToTranslit(Cp("Юрий")), "Yuriyi");
    EXPECT_EQ(ToTranslit(Cp("01 - Track №5 «live».mp3")), Cp("01 - Track №5 «live».mp3"));
    EXPECT_EQ(ToTranslit(""), "");
}

TEST(KeyLayout, SwapsEveryPairBothWaysAndKeepsAllOtherCodes) {
    const std::string us = "qwertyuiop[]asdfghjkl;'zxcvbnm,.QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>";
    const std::string ru = Cp("йцукенгшщзхъфывапролджэячсмитьбюЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ");
    ASSERT_EQ(us.size(), 64u);
    ASSERT_EQ(ru.size(), 64u);
    EXPECT_EQ(SwitchKeyLayout(us), ru);
    EXPECT_EQ(SwitchKeyLayout(ru), us);
    for (int code = 0; code < 256; ++code) {
        const char ch = static_cast<char>(code);
        if (us.find(ch) != std::string::npos || ru.find(ch) != std::string::npos) continue;
        EXPECT_EQ(SwitchKeyLayout(std::string(1, ch)), std::string(1, ch)) << "code " << code;
    }
    EXPECT_EQ(SwitchKeyLayout("ghbdtn"), Cp("привет"));
    EXPECT_EQ(SwitchKeyLayout(Cp("руддщ")), "hello");
}

TEST(Separators, AreExactlyTheTwentyTwoCharacters) {
    const std::string separators = " \"(),-.0123456789[]_{}";
    ASSERT_EQ(separators.size(), 22u);
    for (int code = 0; code < 256; ++code) {
        const char ch = static_cast<char>(code);
        EXPECT_EQ(IsSeparator(ch), separators.find(ch) != std::string::npos) << "code " << code;
    }
}

TEST(Case, CoversLatinAndCyrillicAndFoldsYo) {
    const std::string upper = Cp("ABCXYZАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁ");
    const std::string lower = Cp("abcxyzабвгдежзийклмнопрстуфхцчшщъыьэюяё");
    EXPECT_EQ(ToUpperCase(lower), upper);
    EXPECT_EQ(ToLowerCase(upper), Cp("abcxyzабвгдежзийклмнопрстуфхцчшщъыьэюяе"));
    EXPECT_EQ(LowerChar(Cp("Ё")[0]), Cp("ё")[0]);
    EXPECT_EQ(ToLowerCase(Cp("ЁЛКИ - ПАЛКИ.mp3")), Cp("елки - палки.mp3"));
    EXPECT_EQ(ToUpperCase(Cp("ёлка")), Cp("ЁЛКА"));
    const std::string others = Cp("@[`{ ЂђЎў№«»1");
    EXPECT_EQ(ToLowerCase(others), others);
    EXPECT_EQ(ToUpperCase(others), others);
}

TEST(Capitalisation, FollowsTheWordAndArtistRules) {
    struct Case { std::string (*fn)(std::string); const char* in; const char* out; };
    const auto artist0 = [](std::string s) { return UpFirstLettersOfArtistAndTitle(s, 0); };
    const auto artist1 = [](std::string s) { return UpFirstLettersOfArtistAndTitle(s, 1); };
    const auto artist2 = [](std::string s) { return UpFirstLettersOfArtistAndTitle(s, 2); };
    const Case cases[] = {
        {UpFirstLettersOfWords, "the beatles - let it be.mp3", "The Beatles - Let It Be.Mp3"},
        {UpFirstLettersOfWords, "2pac (LIVE) o'neil", "2Pac (Live) O'neil"},
        {UpFirstLettersOfWords, "ЖУК в_муравейнике", "Жук В_Муравейнике"},
        {UpFirstLetter, "THE BEATLES - LET IT BE.MP3", "The beatles - let it be.mp3"},
        {UpFirstLetter, "  01 - ёлка", "  01 - Ёлка"},
        {artist0, "the beatles - let it be.mp3", "The beatles - Let it be.mp3"},
        {artist1, "the beatles - let it be.mp3", "The Beatles - Let it be.mp3"},
        {artist0, "j.s. bach - air.mp3", "J.s. bach - Air.mp3"},
        {artist2, "j.s. bach - air.mp3", "J.S. Bach - Air.mp3"},
        {artist0, "jay-z - the song", "Jay-Z - the song"},
        {artist0, "o'neil - don't stop.mp3", "O'neil - Don't stop.mp3"},
        {artist1, "o'neil - don't stop.mp3", "O'neil - Don't stop.mp3"},
        {artist2, "o'neil - don't stop.mp3", "O'neil - Don't stop.mp3"},
        {artist1, "ДДТ - ОСЕНЬ", "Ддт - Осень"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.fn(Cp(c.in)), Cp(c.out)) << c.in;
    EXPECT_EQ(UpFirstLettersOfWords(""), "");
    EXPECT_EQ(UpFirstLettersOfArtistAndTitle("", 2), "");
}

}  // namespace
}  // namespace tandrel
