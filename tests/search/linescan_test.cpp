#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/textfile.h"
#include "search/linescan.h"
#include "search/searchtext.h"
#include "support/cp1251_text.h"
#include "support/tempdir.h"
#include "text/encoding.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

// The lines holding the query as the line-by-line reader finds them, and the
// number of lines it cut.
Lines ReadMatching(const std::string& path, const std::string& query, bool over, std::size_t maxLine,
                   std::size_t& cut) {
    const std::string needle = NormaliseForSearch(query, over);
    TextLineReader reader;
    reader.SetMaxLineLength(maxLine);
    EXPECT_TRUE(reader.Open(path));
    Lines lines;
    std::string line;
    while (reader.Next(line))
        if (ContainsNeedle(NormaliseForSearch(line, over), needle)) lines.push_back(line);
    cut = reader.CutLines();
    return lines;
}

// The lines the scanner gives out that hold the query (it may give out more).
Lines ScanMatching(const std::string& path, const std::string& query, bool over, std::size_t block,
                   std::size_t maxLine, LineScanReport& report) {
    const std::string needle = NormaliseForSearch(query, over);
    LineScanner scanner(needle, over);
    EXPECT_TRUE(scanner.Usable());
    scanner.SetBlockSize(block);
    scanner.SetMaxLineLength(maxLine);
    Lines lines;
    report = scanner.Scan(path, [&](const std::string& line) {
        if (ContainsNeedle(NormaliseForSearch(line, over), needle)) lines.push_back(line);
    });
    return lines;
}

struct Case {
    const char* what;
    std::string bytes;  // the file
    std::string query;  // code page 1251
    bool over;
    Lines expected;     // the result lines, code page 1251
};

std::string Utf16LE(const std::string& utf8) { return "\xFF\xFE" + Utf8ToUtf16(utf8, false); }
std::string Utf16BE(const std::string& utf8) { return "\xFE\xFF" + Utf8ToUtf16(utf8, true); }

// Every block size from one byte to past the file gives the result lines the
// line-by-line reader gives: hits cut by a block's end, lines longer than a
// block, every kind of line end and every encoding of a text file.
TEST(LineScannerTest, EveryBlockSizeFindsTheLinesTheLineReaderFinds) {
    const std::string utf8Text = "первая строка\r\nЁЛКА зелёная\r\nпросто ель\r\nничего\r\n";
    const std::vector<Case> cases = {
        {"hit across blocks", "alpha\r\nbeta QUASAR gamma\r\ndelta quasar\r\nomega\r\n", "quasar", false,
         {"beta QUASAR gamma", "delta quasar"}},
        {"no final line end", "one\nlast Quasar", "quasar", false, {"last Quasar"}},
        {"lone CR and CR LF", "a quasar\rb\r\nquasar c\n\nd quasar\r", "quasar", false,
         {"a quasar", "quasar c", "d quasar"}},
        {"line longer than blocks", std::string(100, 'x') + "quasar" + std::string(50, 'y') + "\nz\n", "quasar",
         false, {std::string(100, 'x') + "quasar" + std::string(50, 'y')}},
        {"needle at line starts and ends", "quasar\nquasar\r\nxquasar", "quasar", false,
         {"quasar", "quasar", "xquasar"}},
        {"Cyrillic case folding, yo as ye", Cp("ЁЛКА зелёная\r\nпросто ель\r\nЕЛЬ\r\nничего\r\n"), Cp("ёл"), false,
         Lines{Cp("ЁЛКА зелёная"), Cp("просто ель"), Cp("ЕЛЬ")}},
        {"UTF-8", utf8Text, Cp("ель"), false, Lines{Cp("просто ель")}},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8Text, Cp("ёлка"), false, Lines{Cp("ЁЛКА зелёная")}},
        {"UTF-16 LE", Utf16LE(utf8Text), Cp("зелен"), false, Lines{Cp("ЁЛКА зелёная")}},
        {"UTF-16 BE", Utf16BE(utf8Text), Cp("строка"), false, Lines{Cp("первая строка")}},
        {"UTF-8, one hit among lines left unconverted",
         [] {
             std::string many;
             for (int i = 0; i < 40; ++i) many += i == 23 ? "вот Квазар тут\r\n" : "ничего тут нет\r\n";
             return many;
         }(),
         Cp("квазар"), false, Lines{Cp("вот Квазар тут")}},
        {"Over Search drops hard and soft signs", Cp("ПОДЪЕЗД 5\r\nподезд\r\nпод езд\r\n"), Cp("подъезд"), true,
         Lines{Cp("ПОДЪЕЗД 5"), Cp("подезд")}},
        {"Over Search in UTF-8", "Подъезд\nPodezd\nнет\n", "podezd", true, Lines{Cp("Подъезд"), "Podezd"}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const std::string path = dir.Write("t.txt", c.bytes);
        std::size_t cut = 0;
        ASSERT_EQ(ReadMatching(path, c.query, c.over, 1024, cut), c.expected) << c.what;
        for (std::size_t block = 1; block <= c.bytes.size() + 1; ++block) {
            LineScanReport report;
            EXPECT_EQ(ScanMatching(path, c.query, c.over, block, 1024, report), c.expected)
                << c.what << ", block " << block;
            EXPECT_FALSE(report.binary || report.failed);
            EXPECT_EQ(report.cutLines, 0u);
        }
    }
}

// A line longer than the limit is searched in its start only, as the line
// reader searches it, and counted once, whether it ends in the block where it
// began, several blocks later, or at the end of the file.
TEST(LineScannerTest, LinesLongerThanTheLimitAreCutAsTheLineReaderCutsThem) {
    const std::string text = "short quasar\n"
                             "0123quasar9\n"          // 11 characters: the needle inside the limit of 10
                             "0123456quasar\n"        // the needle across the cut
                             "quasar678901234567\r\n" // long, the needle at its start
                             "012345678901quasar\n"   // long, the needle after the cut
                             "0123456789\n"           // exactly the limit
                             "quasar tail 12345678";  // long and without a line end
    for (std::size_t block = 1; block <= text.size() + 1; ++block) {
        test::TempDir dir;
        const std::string path = dir.Write("long.txt", text);
        std::size_t cut = 0;
        const Lines expected = ReadMatching(path, "quasar", false, 10, cut);
        ASSERT_EQ(expected, (Lines{"0123quasar", "quasar6789", "quasar tai"}));
        ASSERT_EQ(cut, 6u);
        LineScanReport report;
        EXPECT_EQ(ScanMatching(path, "quasar", false, block, 10, report), expected) << "block " << block;
        EXPECT_EQ(report.cutLines, cut) << "block " << block;
    }
}

TEST(LineScannerTest, ABinaryFileIsReportedAndGivesNoLines) {
    test::TempDir dir;
    const std::string path = dir.Write("a.bin", std::string("quasar\0quasar\n", 14));
    LineScanReport report;
    EXPECT_TRUE(ScanMatching(path, "quasar", false, 4096, 1024, report).empty());
    EXPECT_TRUE(report.binary);

    // In UTF-8 the lines without the needle are not converted; a NUL among them still counts.
    const std::string utf8 = "ёлка\n" + std::string("a\0b\n", 4) + "ель quasar\n";
    const std::string utf8Path = dir.Write("u.txt", utf8);
    TextLineReader reader;
    ASSERT_TRUE(reader.Open(utf8Path));
    ASSERT_TRUE(reader.FirstBlockHoldsNul());
    EXPECT_TRUE(ScanMatching(utf8Path, "quasar", false, 4096, 1024, report).empty());
    EXPECT_TRUE(report.binary);

    LineScanner scanner("quasar", false);
    EXPECT_FALSE(scanner.Scan(dir / "missing.txt", [](const std::string&) {}).opened);
    EXPECT_FALSE(LineScanner("", false).Usable());
}

}  // namespace
}  // namespace tandrel
