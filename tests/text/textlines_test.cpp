#include "text/textlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/encoding.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, SplitsAtEveryLineEndInItsOwnBuffer) {
    struct Case {
        const char* what;
        std::string text;
        Lines lines;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"nothing", "", {}},
             {"no final end", "a", {"a"}},
             {"CR LF", "a\r\nb\r\n", {"a", "b"}},
             {"LF only (no CR anywhere)", "a\nbb\n\nc", {"a", "bb", "", "c"}},
             {"CR only", "a\rb\r", {"a", "b"}},
             {"mixed, LF CR is two ends", "a\r\nb\nc\rd\n\re", {"a", "b", "c", "d", "", "e"}},
             {"empty lines only", "\r\n\r\n", {"", ""}},
             {"a lone end", "\n", {""}},
             {"code page 1251 and NUL bytes", std::string("\xC0\xE1\0x\r\n", 6), {std::string("\xC0\xE1\0x", 4)}},
         }) {
        const TextLines lines = TextLines::Split(c.text);
        EXPECT_EQ(lines.ToVector(), c.lines) << c.what;
        EXPECT_EQ(lines.size(), c.lines.size()) << c.what;
    }
    EXPECT_EQ(TextLines(Lines{"x", "", "yz"}).ToVector(), (Lines{"x", "", "yz"}));
}

TEST(LineList, PickingReordersAndFiltersWithoutCopyingText) {
    const LineList all(Lines{"zero", "one", "two", "three"});
    const LineList picked = all.Pick({3, 1, 1});
    EXPECT_EQ(picked.ToVector(), (Lines{"three", "one", "one"}));
    EXPECT_EQ(picked[0].data(), all[3].data());  // the same bytes, shared
    EXPECT_EQ(picked.Pick({1}).ToVector(), (Lines{"one"}));
    EXPECT_TRUE(LineList().empty());
    EXPECT_THROW(all.Pick({4}), std::out_of_range);
}

// Decodes bytes both ways and checks that the buffer gives the lines and the
// origin the line-by-line reading gives, and writes them back alike, in the
// lines' order and reversed (kept lines follow their text), whole and in
// small blocks.
// largestBlock receives the size of the largest block written.
void ExpectDecodedAndEncodedAsLineByLine(const std::string& bytes, bool utf8ByName, const std::string& what,
                                         std::size_t* largestBlock = nullptr) {
    SCOPED_TRACE(what);
    TextOrigin byLine, inBuffer;
    const Lines expected = DecodeTextDocument(bytes, utf8ByName, byLine);
    const TextLines lines = DecodeTextDocumentLines(bytes, utf8ByName, inBuffer);
    ASSERT_EQ(lines.ToVector(), expected);
    EXPECT_EQ(inBuffer.encoding, byLine.encoding);
    EXPECT_EQ(inBuffer.byteOrderMark, byLine.byteOrderMark);
    EXPECT_EQ(inBuffer.lineBreak, byLine.lineBreak);
    EXPECT_EQ(inBuffer.finalBreak, byLine.finalBreak);
    EXPECT_EQ(inBuffer.keptLines, byLine.keptLines);

    const LineList list(std::make_shared<const TextLines>(lines));
    std::vector<std::uint32_t> reversed(list.size());
    for (std::uint32_t i = 0; i < reversed.size(); ++i) reversed[i] = static_cast<std::uint32_t>(list.size() - 1 - i);
    for (const LineList& order : {list, list.Pick(reversed)}) {
        const std::string written = EncodeTextDocument(order.ToVector(), byLine);
        EXPECT_EQ(EncodeTextDocument(order, inBuffer), written);
        std::string inBlocks;
        std::size_t largest = 0;
        EXPECT_TRUE(EncodeTextDocument(order, inBuffer, 100, [&](std::string_view block) {
            inBlocks += block;
            largest = std::max(largest, block.size());
            return true;
        }));
        EXPECT_EQ(inBlocks, written);
        if (largestBlock) *largestBlock = std::max(*largestBlock, largest);
    }
}

// Reading and writing a document held in one buffer gives what reading and
// writing it line by line gives, encoding and line ends included.
TEST(LineList, DocumentsDecodeAndEncodeAsLineByLine) {
    for (const std::string& bytes : {std::string("Rock\r\n\xCA\xE8\xED\xEE\r\n"), std::string("a\nb"),
                                     std::string("\xEF\xBB\xBF\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\n\xF0\x9F\x8E\xB8\n"),
                                     std::string("\xFF\xFE" "a\0\r\0\n\0", 8), std::string()}) {
        ExpectDecodedAndEncodedAsLineByLine(bytes, false, testing::PrintToString(bytes));
    }
    // Code page 1251 lines that would read back as UTF-8 are written as UTF-8.
    EXPECT_EQ(EncodeTextDocument(LineList(Lines{"\xD0\xB8"}), TextOrigin{}), "\xD0\xA0\xD1\x91\r\n");  // "Рё"
    EXPECT_EQ(EncodeTextDocument(LineList(Lines{"\xEF\xBB\xBFx", "\xC0"}), TextOrigin{}),
              "\xD0\xBF\xC2\xBB\xD1\x97" "x\r\n\xD0\x90\r\n");  // "п»ї" reads as a byte-order mark; "А"
}

// Random documents of every encoding: Cyrillic with ё/Ё and №, characters
// code page 1251 cannot hold (lines kept as they were), every line break,
// malformed UTF-8 (read as UTF-8 for its mark or name), unpaired UTF-16
// surrogates and an odd last byte.
TEST(LineList, RandomDocumentsOfEveryEncodingDecodeAndEncodeAsLineByLine) {
    const std::string pieces[] = {"rock ", "Кино", " ёлка Ёж № ", "\xF0\x9F\x8E\xB8", "\xE2\x99\xAB", "\r", "\n",
                                  "\r\n", "\r\n", "\n", "123", "Звезда по имени Солнце ", "\xC2\xA0"};
    const std::string malformed[] = {"\xD0", "\xE2\x82", "\xFF", "\x80", "\xC0\xAF"};
    std::uint64_t seed = 5;
    auto next = [&seed](std::uint64_t n) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((seed >> 33) % n);
    };
    for (int round = 0; round < 40; ++round) {
        std::string text;  // UTF-8
        for (std::size_t n = next(120); n > 0; --n) text += pieces[next(std::size(pieces))];
        std::string broken = text;
        for (std::size_t n = 1 + next(3); n > 0; --n)
            broken.insert(next(broken.size() + 1), malformed[next(std::size(malformed))]);
        std::string utf16 = Utf8ToUtf16(text, round % 2 == 1);
        if (round % 3 == 0) utf16.insert(next(utf16.size() / 2 + 1) * 2, round % 2 ? "\xD8\x3D" : "\x3D\xD8");
        if (round % 4 == 0) utf16 += 'x';
        const std::string trace = "round " + std::to_string(round);
        ExpectDecodedAndEncodedAsLineByLine(text, false, trace + ", UTF-8");
        ExpectDecodedAndEncodedAsLineByLine(broken, false, trace + ", malformed UTF-8, so code page 1251");
        ExpectDecodedAndEncodedAsLineByLine(text + "\xD0", false, trace + ", UTF-8 cut by the end, so code page 1251");
        ExpectDecodedAndEncodedAsLineByLine("\xEF\xBB\xBF" + broken, false, trace + ", UTF-8 with mark, malformed");
        ExpectDecodedAndEncodedAsLineByLine(broken, true, trace + ", UTF-8 by name, malformed");
        ExpectDecodedAndEncodedAsLineByLine((round % 2 ? "\xFE\xFF" : "\xFF\xFE") + utf16, false, trace + ", UTF-16");
        ExpectDecodedAndEncodedAsLineByLine(Utf8ToCp1251(text).text, false, trace + ", code page 1251");
    }
}

// A file is converted kDecodeBlockSize bytes at a time: a character, a
// surrogate pair and a CR LF cut by a block's end at every offset.
TEST(LineList, BlockEndsInsideCharactersAndLineBreaksChangeNothing) {
    struct Case {
        const char* what;
        std::string mark;
        std::string cut;  // UTF-8, converted to the encoding
        bool utf16;
        bool bigEndian;
    };
    const Case cases[] = {
        {"UTF-8, a Cyrillic letter", "", "\xD0\x9A", false, false},
        {"UTF-8, a character outside the page", "", "\xF0\x9F\x8E\xB8", false, false},
        {"UTF-8, CR LF", "\xEF\xBB\xBF", "\xD0\x9A\r\n", false, false},
        {"malformed UTF-8 in the second block, so code page 1251", "", "\xD0\x9A\xD0", false, false},
        {"UTF-16 LE, a surrogate pair", "\xFF\xFE", "\xF0\x9F\x8E\xB8", true, false},
        {"UTF-16 BE, a surrogate pair", "\xFE\xFF", "\xF0\x9F\x8E\xB8", true, true},
        {"UTF-16 LE, CR LF", "\xFF\xFE", "\xD0\x9A\r\n", true, false},
    };
    for (const Case& c : cases) {
        const std::string cut = c.utf16 ? Utf8ToUtf16(c.cut, c.bigEndian) : c.cut;
        for (std::size_t before = kDecodeBlockSize - c.mark.size() - cut.size();
             before < kDecodeBlockSize - c.mark.size() + 1; before += c.utf16 ? 2 : 1) {
            const std::string head = "Кино \xF0\x9F\x8E\xB8\n";  // a kept line
            std::string bytes = c.mark + (c.utf16 ? Utf8ToUtf16(head, c.bigEndian) : head);
            const std::size_t fill = (before - (bytes.size() - c.mark.size())) / (c.utf16 ? 2 : 1);
            std::string lines;  // short lines up to the cut
            while (lines.size() < fill) lines += "abcdefg\n";
            lines.resize(fill);
            bytes += c.utf16 ? Utf8ToUtf16(lines, c.bigEndian) : lines;
            bytes += cut;
            bytes += c.utf16 ? Utf8ToUtf16("tail\xF0\x9F\x8E\xB8", c.bigEndian) : "tail\xF0\x9F\x8E\xB8";
            std::size_t largest = 0;
            ExpectDecodedAndEncodedAsLineByLine(bytes, false, std::string(c.what) + ", " + std::to_string(before),
                                                &largest);
            EXPECT_LE(largest, 200u) << "the file was not written in blocks";
        }
    }
}

}  // namespace
}  // namespace tandrel
