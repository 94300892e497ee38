#include "text/encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/cp1251_text.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

std::string Repeat(const std::string& s, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += s;
    return out;
}

// Feeds bytes to a decoder in pieces of the given size, as a block reader does.
std::string DecodeInPieces(const std::string& bytes, std::size_t piece, bool utf8ByName = false) {
    TextDecoder decoder(utf8ByName);
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::string_view block = std::string_view(bytes).substr(at, piece);
        if (!decoder.Decode(block, out)) out.append(block);
    }
    decoder.Finish(out);
    return out;
}

struct DetectionCase {
    const char* what;
    std::string bytes;
    TextEncoding encoding;
    std::size_t markSize;
};

TEST(TextEncoding, DetectionFollowsMarksThenUtf8ValidityThenCodePage1251) {
    const DetectionCase cases[] = {
        {"empty file", "", TextEncoding::Cp1251, 0},
        {"ASCII only", "rock\r\njazz\r\n", TextEncoding::Cp1251, 0},
        {"UTF-8, one Cyrillic word", "track 01 - \xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\r\n", TextEncoding::Utf8, 0},
        {"code page 1251 Cyrillic", Cp("Группа крови\r\n"), TextEncoding::Cp1251, 0},
        // "Т«" (D2 AB) and "Р°" (D0 B0) are valid UTF-8 pairs; the word after them is not.
        {"code page 1251, valid UTF-8 in short runs", Cp("Т« Р° и Кино"), TextEncoding::Cp1251, 0},
        {"UTF-8 mark", "\xEF\xBB\xBFplain", TextEncoding::Utf8, 3},
        {"UTF-8 mark on code page 1251 bytes", "\xEF\xBB\xBF" + Cp("Кино"), TextEncoding::Utf8, 3},
        {"UTF-16 LE mark", std::string("\xFF\xFEK\0", 4), TextEncoding::Utf16LE, 2},
        {"UTF-16 BE mark", std::string("\xFE\xFF\0K", 4), TextEncoding::Utf16BE, 2},
        {"overlong form", "a\xC0\xAF", TextEncoding::Cp1251, 0},
        {"encoded surrogate", "a\xED\xA0\x80", TextEncoding::Cp1251, 0},
        {"sequence cut by the end", "a\xD0", TextEncoding::Cp1251, 0},
    };
    for (const DetectionCase& c : cases) {
        const DetectedEncoding d = DetectTextEncoding(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding) << c.what;
        EXPECT_EQ(d.markSize, c.markSize) << c.what;
    }
    // A first block may end inside a sequence; by its name a file is UTF-8 whatever its bytes.
    EXPECT_EQ(DetectTextEncoding("a\xD0\x9A\xD0", false, true).encoding, TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding(Cp("Кино"), true).encoding, TextEncoding::Utf8);
    EXPECT_TRUE(NameMeansUtf8("/music/list.M3U8"));
    EXPECT_FALSE(NameMeansUtf8("/music/list.m3u"));
}

TEST(TextEncoding, LongSamplesAreConvertedAlikeInEveryBlockSize) {
    const std::string cyrillic = "Группа крови на рукаве \xF0\x9F\x8E\xB8 ё\r\n";  // a guitar outside the page
    const std::string utf8 = Repeat("ascii only line\r\n", 5000) + Repeat(cyrillic, 3000);
    const std::string expected = Repeat("ascii only line\r\n", 5000) + Repeat(Cp(cyrillic), 3000);
    const std::string utf16le = "\xFF\xFE" + Utf8ToUtf16(Repeat(cyrillic, 500), false);
    const std::string utf16be = "\xFE\xFF" + Utf8ToUtf16(Repeat(cyrillic, 500), true);
    const std::string cp1251 = Repeat("ascii\r\n", 20000) + Repeat(Cp("Кино\r\n"), 1000);
    for (std::size_t piece : {1, 2, 3, 5, 4096, 65536, 1 << 20}) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(DecodeInPieces(utf8, piece), expected);
        EXPECT_EQ(DecodeInPieces(cp1251, piece), cp1251);
        if (piece < 2) continue;  // the first block holds the mark
        EXPECT_EQ(DecodeInPieces(utf16le, piece), Repeat(Cp(cyrillic), 500));
        EXPECT_EQ(DecodeInPieces(utf16be, piece), Repeat(Cp(cyrillic), 500));
    }
    // The first Cyrillic letter of a code-page-1251 file cut off at the end of a block.
    EXPECT_EQ(DecodeInPieces("ab" + Cp("Кино"), 3), "ab" + Cp("Кино"));
    EXPECT_EQ(TextToCp1251(utf8), expected);
    EXPECT_EQ(TextToCp1251(utf16be), Repeat(Cp(cyrillic), 500));
}

TEST(TextEncoding, QuickConversionAgreesWithTheConverterOnMalformedText) {
    const std::string samples[] = {
        "plain ascii text longer than eight",
        "Ёлка ёж Ђ № € \xF0\x9F\x8E\xB8 конец",
        "\xD0",                      // cut
        "\xD0" "Aabcdefgh",         // a lead byte without its continuation
        "\xC0\xAF\xE0\x80\xAF",  // overlong forms
        "\xED\xA0\x80 surrogate",
        "\xF4\x90\x80\x80 above U+10FFFF",
        "\x80\xBF stray continuations",
    };
    for (const std::string& s : samples) EXPECT_EQ(TextToCp1251(s, true), Utf8ToCp1251(s).text) << s;
}

TEST(TextEncoding, TruncatedSequencesAtTheEndBecomeTheUnmappableByte) {
    EXPECT_EQ(DecodeInPieces("\xD0\x9A\xD0", 2), Cp("К") + kUnmappableChar);
    EXPECT_EQ(DecodeInPieces(std::string("\xFF\xFE\x1A\x04K", 5), 4), Cp("К") + kUnmappableChar);
    // A high surrogate without its pair.
    EXPECT_EQ(Utf16ToCp1251(std::string("\x3D\xD8K\0", 4), false).text, std::string(1, kUnmappableChar) + "K");
}

TEST(TextEncoding, Utf16RoundTripsThroughUtf8) {
    const std::string text = "Кино \xF0\x9F\x8E\xB8 end";
    for (bool bigEndian : {false, true}) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text, bigEndian), bigEndian), text);
}

// A UTF-8 document with a character code page 1251 cannot hold (the guitar),
// LF line breaks and no break after its last line.
const std::string kUtf8Document =
    "Кино\n"
    "Звезда по имени Солнце \xF0\x9F\x8E\xB8\n"
    "Aquarium\n"
    "последняя";

TEST(TextDocument, EditingAnotherLineKeepsTheUnmappableLineByteForByte) {
    TextOrigin origin;
    Lines lines = DecodeTextDocument(kUtf8Document, false, origin);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(origin.encoding, TextEncoding::Utf8);
    EXPECT_EQ(lines[1], Cp("Звезда по имени Солнце ") + kUnmappableChar);
    // Unedited, the document comes back exactly.
    EXPECT_EQ(EncodeTextDocument(lines, origin), kUtf8Document);
    EXPECT_TRUE(LinesLosingCharacters(lines, origin).empty());

    lines[2] = Cp("Аквариум");
    EXPECT_EQ(EncodeTextDocument(lines, origin),
              "Кино\n"
              "Звезда по имени Солнце \xF0\x9F\x8E\xB8\n"
              "Аквариум\n"
              "последняя");
    EXPECT_TRUE(LinesLosingCharacters(lines, origin).empty());

    // Sorted, the kept line moves with its text.
    std::swap(lines[0], lines[1]);
    EXPECT_TRUE(EncodeTextDocument(lines, origin).starts_with("Звезда по имени Солнце \xF0\x9F\x8E\xB8\nКино\n"));
}

TEST(TextDocument, EditingTheUnmappableLineIsReportedBeforeItLosesTheCharacter) {
    TextOrigin origin;
    Lines lines = DecodeTextDocument(kUtf8Document, false, origin);
    lines[1] += "!";
    EXPECT_EQ(LinesLosingCharacters(lines, origin), std::vector<std::size_t>{1});
    EXPECT_NE(EncodeTextDocument(lines, origin).find("Солнце \xEF\xBF\xBD!"), std::string::npos);
    // A copy of the line uses the kept text once; the second copy would lose it.
    lines[1] = lines[1].substr(0, lines[1].size() - 1);
    lines.push_back(lines[1]);
    EXPECT_EQ(LinesLosingCharacters(lines, origin), std::vector<std::size_t>{4});
}

TEST(TextDocument, CodePage1251TextThatLooksLikeUnicodeReadsBackAsWritten) {
    // "Рё" is also the UTF-8 form of "и"; "яю" begins like a UTF-16 mark.
    for (const auto& lines : {std::vector<std::string>{"\xD0\xB8"}, std::vector<std::string>{"\xFF\xFEtext", "x"},
                              std::vector<std::string>{"key\xEF\xBB\xBF=1"}}) {
        TextOrigin origin;
        EXPECT_EQ(DecodeTextDocument(EncodeTextDocument(lines, TextOrigin{}), false, origin), lines);
    }
    // Ordinary code-page-1251 text stays code page 1251.
    EXPECT_EQ(EncodeTextDocument({"\xCA\xE8\xED\xEE"}, TextOrigin{}), "\xCA\xE8\xED\xEE\r\n");
}

TEST(TextDocument, EncodingMarkAndLineBreaksAreKept) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8 with mark, CR LF", "\xEF\xBB\xBF" "Кино\r\nрок \xE2\x99\xAB\r\n"},
        {"UTF-8, CR", "Кино\rрок\r"},
        {"UTF-16 LE", "\xFF\xFE" + Utf8ToUtf16("Кино\r\nрок \xF0\x9F\x8E\xB8\r\n", false)},
        {"UTF-16 BE", "\xFE\xFF" + Utf8ToUtf16("Кино\nрок", true)},
        {"code page 1251, CR LF", Cp("Кино\r\nрок\r\n")},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        TextOrigin origin;
        const Lines lines = DecodeTextDocument(c.bytes, false, origin);
        EXPECT_EQ(EncodeTextDocument(lines, origin), c.bytes) << c.what;
    }
    // A code-page-1251 document is written with CR LF, as every file of the program.
    TextOrigin origin;
    const Lines lines = DecodeTextDocument(Cp("Кино\nрок"), false, origin);
    EXPECT_EQ(EncodeTextDocument(lines, origin), Cp("Кино\r\nрок\r\n"));
    EXPECT_TRUE(LinesLosingCharacters({std::string(1, kUnmappableChar)}, origin).empty());
}

}  // namespace
}  // namespace tandrel
