#include "text/textlines.h"

#include <gtest/gtest.h>

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

// Reading and writing a document held in one buffer gives what reading and
// writing it line by line gives, encoding and line ends included.
TEST(LineList, DocumentsDecodeAndEncodeAsLineByLine) {
    for (const std::string& bytes : {std::string("Rock\r\n\xCA\xE8\xED\xEE\r\n"), std::string("a\nb"),
                                     std::string("\xEF\xBB\xBF\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\n\xF0\x9F\x8E\xB8\n"),
                                     std::string("\xFF\xFE" "a\0\r\0\n\0", 8), std::string()}) {
        TextOrigin byLine, inBuffer;
        const Lines expected = DecodeTextDocument(bytes, false, byLine);
        const TextLines lines = DecodeTextDocumentLines(bytes, false, inBuffer);
        EXPECT_EQ(lines.ToVector(), expected);
        EXPECT_EQ(inBuffer.encoding, byLine.encoding);
        EXPECT_EQ(inBuffer.keptLines, byLine.keptLines);
        const LineList list(std::make_shared<const TextLines>(lines));
        EXPECT_EQ(EncodeTextDocument(list, inBuffer), EncodeTextDocument(expected, byLine));
    }
    // Code page 1251 lines that would read back as UTF-8 are written as UTF-8.
    EXPECT_EQ(EncodeTextDocument(LineList(Lines{"\xD0\xB8"}), TextOrigin{}), "\xD0\xA0\xD1\x91\r\n");  // "Рё"
}

}  // namespace
}  // namespace tandrel
