#include "platform/textfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/child_process.h"
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
