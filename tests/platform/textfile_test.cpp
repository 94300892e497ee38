#include "platform/textfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/child_process.h"
#include "support/cp1251_text.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

std::vector<std::string> ReadWithReader(const std::string& path) {
    TextLineReader reader;
    EXPECT_TRUE(reader.Open(path).ok);
    Lines lines;
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    EXPECT_FALSE(reader.Failed());
    return lines;
}

TEST(TextLines, EndAtCrLfOrCrLfInBothReaders) {
    struct Row { std::string bytes; Lines lines; };
    const std::vector<Row> rows = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb\n", {"a", "", "b"}},
    };
    TempDir dir;
    for (const Row& row : rows) {
        std::string path = dir.Write("t.txt", row.bytes);
        Lines lines;
        ASSERT_TRUE(ReadTextLines(path, lines).ok);
        EXPECT_EQ(lines, row.lines) << testing::PrintToString(row.bytes);
        EXPECT_EQ(ReadWithReader(path), row.lines) << testing::PrintToString(row.bytes);
    }
    Lines lines;
    EXPECT_FALSE(ReadTextLines(dir / "missing.txt", lines).ok);
    EXPECT_FALSE(TextLineReader().Open(dir.str()).ok);
}

TEST(TextLines, AreWrittenWithCrLf) {
    TempDir dir;
    ASSERT_TRUE(WriteTextLines(dir / "out.txt", {"a", "", "\xEF\xF0\xE8"}).ok);
    EXPECT_EQ(ReadAll(dir / "out.txt"), "a\r\n\r\n\xEF\xF0\xE8\r\n");
}

TEST(TextLineReader, HandlesLineEndsAcrossBufferBoundaries) {
    const std::size_t n = TextLineReader::kBufferSize;
    TempDir dir;
    // The CR of a CR LF falls on the last byte of a buffer, on the first, and after it.
    for (std::size_t at : {n - 1, n, n + 1}) {
        std::string first(at, 'x');
        std::string path = dir.Write("b.txt", first + "\r\nnext\r");
        EXPECT_EQ(ReadWithReader(path), (Lines{first, "next"})) << at;
    }
    std::string longLine(2 * n + 5, 'y');
    std::string path = dir.Write("long.txt", "s\n" + longLine + "\nz");
    EXPECT_EQ(ReadWithReader(path), (Lines{"s", longLine, "z"}));
}

// Also the failed save of the settings registry file, which writes the same way.
// Every reader of a user's text file used to take its bytes as code page
// 1251: a UTF-8 file showed mojibake and a UTF-16 one read as binary.
TEST(TextLines, AreReadByTheFileEncodingInBothReaders) {
    TempDir dir;
    const Lines expected = {Cp("Кино"), Cp("Группа крови") + kUnmappableChar};
    const std::string text = "Кино\r\nГруппа крови\xE2\x99\xAB\r\n";
    const std::string files[] = {
        dir.Write("utf8.txt", text),
        dir.Write("mark.txt", "\xEF\xBB\xBF" + text),
        dir.Write("le.txt", "\xFF\xFE" + Utf8ToUtf16(text, false)),
        dir.Write("be.txt", "\xFE\xFF" + Utf8ToUtf16(text, true)),
        dir.Write("cp.txt", Cp("Кино\r\nГруппа крови") + "\x98\r\n"),
    };
    for (const std::string& path : files) {
        Lines lines;
        ASSERT_TRUE(ReadTextLines(path, lines).ok);
        EXPECT_EQ(lines, expected) << path;
        EXPECT_EQ(ReadWithReader(path), expected) << path;
        TextLineReader reader;
        ASSERT_TRUE(reader.Open(path).ok);
        EXPECT_FALSE(reader.FirstBlockHoldsNul()) << path;
    }
    // A ".m3u8" playlist is UTF-8 by its name: its undecodable bytes are not taken as code page 1251.
    const std::string m3u8 = dir.Write("list.m3u8", Cp("Кино") + "\r\n");
    EXPECT_EQ(ReadWithReader(m3u8), Lines{std::string(4, kUnmappableChar)});
}

TEST(TextDocument, IsWrittenBackInItsEncodingAndNewFilesInCodePage1251) {
    TempDir dir;
    const std::string original = "Кино\nЗвезда \xF0\x9F\x8E\xB8\nконец\n";
    const std::string path = dir.Write("song.txt", original);
    Lines lines;
    TextOrigin origin;
    ASSERT_TRUE(ReadTextDocument(path, lines, origin).ok);
    lines[2] = Cp("Конец");
    ASSERT_TRUE(WriteTextDocument(path, lines, origin).ok);
    EXPECT_EQ(ReadAll(path), "Кино\nЗвезда \xF0\x9F\x8E\xB8\nКонец\n");

    // Rewritten whole, a file keeps its encoding; a new one is code page 1251.
    ASSERT_TRUE(RewriteTextFile(path, {Cp("рок")}).ok);
    EXPECT_EQ(ReadAll(path), "рок\n");
    ASSERT_TRUE(RewriteTextFile(dir / "new.txt", {Cp("рок")}).ok);
    EXPECT_EQ(ReadAll(dir / "new.txt"), Cp("рок") + "\r\n");
    std::filesystem::create_directory(dir / "folder.txt");
    EXPECT_FALSE(RewriteTextFile(dir / "folder.txt", {"x"}).ok);
}

// A document held in one buffer is written a block at a time: the file is the
// one the lines give line by line, and a write that fails part way leaves the
// old file and no temporary one.
TEST(TextDocument, HeldInOneBufferIsWrittenInBlocksAndAFailedWriteKeepsTheOriginal) {
    TempDir dir;
    std::string original = "\xFF\xFE" + Utf8ToUtf16("Кино \xF0\x9F\x8E\xB8\r\n", false);
    for (int i = 0; i < 200000; ++i) original += Utf8ToUtf16("Звезда по имени Солнце " + std::to_string(i) + "\r\n", false);
    const std::string path = dir.Write("big.txt", original);
    auto lines = std::make_shared<TextLines>();
    TextOrigin origin;
    ASSERT_TRUE(ReadTextDocument(path, *lines, origin).ok);
    ASSERT_EQ(lines->size(), 200001u);
    const LineList list(lines);
    ASSERT_TRUE(WriteTextDocument(dir / "copy.txt", list, origin).ok);
    EXPECT_TRUE(ReadAll(dir / "copy.txt") == original);

    const test::ChildOutcome outcome = test::RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{kEncodeBlockSize + 4096, kEncodeBlockSize + 4096};  // the second block fails
        setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<std::uint32_t> reversed(list.size());
        for (std::uint32_t i = 0; i < reversed.size(); ++i) reversed[i] = static_cast<std::uint32_t>(list.size() - 1 - i);
        const FileResult r = WriteTextDocument(path, list.Pick(reversed), origin);
        return !r.ok && !r.error.empty() ? 0 : 1;
    });
    EXPECT_EQ(outcome.exitCode, 0) << "the failed write was not reported";
    EXPECT_TRUE(ReadAll(path) == original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), {}), 2) << "temporary file left";
    std::filesystem::create_directory(dir / "folder.txt");
    EXPECT_FALSE(WriteTextDocument(dir / "folder.txt", list, origin).ok);
}

TEST(ReplaceFileContents, FailedWriteKeepsTheOriginal) {
    TempDir dir;
    std::string path = dir.Write("tags.mp3", "original");
    const test::ChildOutcome outcome = test::RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const FileResult r = ReplaceFileContents(path, std::string(100000, 'n'));
        return !r.ok && !r.error.empty() ? 0 : 1;
    });
    EXPECT_EQ(outcome.exitCode, 0) << "the failed write was not reported";
    EXPECT_EQ(ReadAll(path), "original");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), {}), 1) << "temporary file left";

    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    EXPECT_FALSE(ReplaceFileContents(path, "new").ok);
    EXPECT_EQ(ReadAll(path), "original");
}

}  // namespace
}  // namespace tandrel
