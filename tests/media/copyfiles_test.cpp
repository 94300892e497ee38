#include "media/copyfiles.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "platform/filecopy.h"
#include "platform/files.h"
#include "platform/posix_file.h"
#include "support/as_user.h"
#include "support/child_process.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::ReadAll;
namespace fs = std::filesystem;

class CopyFilesTest : public ::testing::Test {
protected:
    void TearDown() override { detail::SetKernelCopyAllowed(true); }
    // Entries of dir other than the given names: temporary files left behind.
    std::vector<std::string> Others(const std::string& dir, const std::vector<std::string>& expected) {
        std::vector<std::string> others;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) others.push_back(name);
        }
        return others;
    }
    test::TempDir tmp;
    std::string src = tmp / "src", dst = tmp / "dst";
};

TEST_F(CopyFilesTest, OutputLinesNameTheirFiles) {
    tmp.Write("src/Song.MP3", "a");
    tmp.Write("src/both.mp3", "m");
    tmp.Write("src/both.wav", "w");
    tmp.Write("src/only.wav", "w");
    tmp.Write("src/notes.txt", "t");
    tmp.Write("src/clip.wmv", "v");
    tmp.Write("src/a.wav.mp3", "x");
    struct Case {
        std::string line;
        bool names;
        std::optional<CopySource> expected;
    };
    const Case cases[] = {
        {"Song.MP3 \t[" + src + "]", true, CopySource{src + "/Song.MP3", "Song.MP3"}},
        {"clip.wmv \t[" + src + "]", true, CopySource{src + "/clip.wmv", "clip.wmv"}},
        // ".mp3" is tried before ".wav" wherever it stands.
        {"a.wav.mp3 \t[" + src + "]", true, CopySource{src + "/a.wav.mp3", "a.wav.mp3"}},
        // A line without an audio extension names nothing, even when the file is there.
        {"notes.txt \t[" + src + "]", true, std::nullopt},
        {"gone.mp3 \t[" + src + "]", true, std::nullopt},
        {src + "/notes.txt", false, CopySource{src + "/notes.txt", "notes.txt"}},
        {src + "/vanished.mp3", false, std::nullopt},
        // A bare name: ".mp3" first, then ".wav", in the current directory.
        {"both", false, CopySource{src + "/both.mp3", "both.mp3"}},
        {"only", false, CopySource{src + "/only.wav", "only.wav"}},
        {"nothing", false, std::nullopt},
        {"", false, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(OutputLineSource(c.line, c.names, src), c.expected) << c.line;
}

TEST_F(CopyFilesTest, ReplacesAnExistingTargetWithoutAQuestionAndSkipsVanishedFiles) {
    tmp.Write("src/a.mp3", "new bytes");
    tmp.Write("dst/a.mp3", "old");
    const std::vector<CopySource> sources =
        OutputLineSources({src + "/a.mp3", src + "/vanished.mp3"}, false, src);
    ASSERT_EQ(sources.size(), 1u);
    const CopyStats stats = CopyFilesInto(sources, dst);
    EXPECT_EQ(stats.copied, 1);
    EXPECT_EQ(stats.failed, 0);
    EXPECT_EQ(ReadAll(dst + "/a.mp3"), "new bytes");
    EXPECT_EQ(Others(dst, {"a.mp3"}), std::vector<std::string>{});
    EXPECT_EQ(CopySummary(stats), "Copied: 1 file(s), failed: 0");
}

// Both copy paths, at the chunk boundaries and an empty file; progress ends at the size.
TEST_F(CopyFilesTest, KernelAndPlainCopiesKeepEveryByte) {
    const std::size_t sizes[] = {0, 1, 16u * 1024 * 1024 - 1, 16u * 1024 * 1024 + 1};
    for (bool kernel : {true, false}) {
        detail::SetKernelCopyAllowed(kernel);
        for (std::size_t size : sizes) {
            std::string bytes(size, '\0');
            for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
            tmp.Write("src/f.mp3", bytes);
            fs::create_directories(dst);
            std::vector<CopyProgressInfo> seen;
            const CopyStats stats =
                CopyFilesInto({{src + "/f.mp3", "f.mp3"}}, dst, [&](const CopyProgressInfo& i) { seen.push_back(i); });
            EXPECT_EQ(stats.copied, 1) << kernel << " " << size;
            EXPECT_EQ(stats.bytes, static_cast<std::int64_t>(size));
            EXPECT_TRUE(ReadAll(dst + "/f.mp3") == bytes) << kernel << " " << size;
            ASSERT_FALSE(seen.empty());
            EXPECT_EQ(seen.back().filesDone, 1u);
            EXPECT_EQ(seen.back().bytesDone, static_cast<std::int64_t>(size));
        }
    }
}

TEST_F(CopyFilesTest, CopyOntoItselfNeverTruncatesTheFile) {
    tmp.Write("src/a.mp3", "keep me");
    fs::create_directory_symlink(src, tmp / "link");
    // The same directory, the same directory through a symlink.
    for (const std::string& target : {src, tmp / "link"}) {
        const CopyStats stats = CopyFilesInto({{src + "/a.mp3", "a.mp3"}}, target);
        EXPECT_EQ(stats.copied, 0) << target;
        EXPECT_EQ(stats.skipped, 1) << target;
        EXPECT_EQ(stats.failed, 0) << target;
        ASSERT_EQ(stats.notes.size(), 1u);
        EXPECT_EQ(ReadAll(src + "/a.mp3"), "keep me");
        EXPECT_EQ(CopySummary(stats), "Copied: 0 file(s), failed: 0, skipped (the same file): 1");
    }
    // The platform copy refuses it too, whoever calls it.
    EXPECT_FALSE(CopyFileOver(src + "/a.mp3", tmp / "link/a.mp3"));
    EXPECT_EQ(ReadAll(src + "/a.mp3"), "keep me");
    EXPECT_EQ(Others(src, {"a.mp3"}), std::vector<std::string>{});
}

// A write that fails part-way (here a file-size limit, as a full disk would)
// leaves the old target whole and no temporary file beside it.
TEST_F(CopyFilesTest, CopyFailingPartWayLeavesTheOldTargetWhole) {
    tmp.Write("src/big.mp3", std::string(1 << 20, 'b'));
    tmp.Write("dst/big.mp3", "old target");
    for (bool kernel : {true, false}) {
        const test::ChildOutcome outcome = test::RunInChild([&] {
            detail::SetKernelCopyAllowed(kernel);
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const CopyStats stats = CopyFilesInto({{src + "/big.mp3", "big.mp3"}}, dst);
            return stats.failed == 1 && stats.copied == 0 && stats.failures.size() == 1 ? 0 : 1;
        });
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.exitCode, 0) << "kernel " << kernel;
        EXPECT_EQ(ReadAll(dst + "/big.mp3"), "old target");
        EXPECT_EQ(Others(dst, {"big.mp3"}), std::vector<std::string>{});
    }
}

TEST_F(CopyFilesTest, UnreadableSourceOrReadOnlyTargetDirectoryFailsAndKeepsTheTarget) {
    tmp.Write("src/a.mp3", "secret");
    tmp.Write("src/b.mp3", "new b");
    tmp.Write("dst/a.mp3", "old a");
    tmp.Write("dst/b.mp3", "old b");
    ::chmod((src + "/a.mp3").c_str(), 0);
    const int failed = test::RunAsUser(tmp.str(), [&] {
        // b: the directory is read-only; a: the source cannot be read.
        ::chmod(dst.c_str(), 0555);
        const CopyStats stats = CopyFilesInto({{src + "/a.mp3", "a.mp3"}, {src + "/b.mp3", "b.mp3"}}, dst);
        ::chmod(dst.c_str(), 0755);
        return stats.failed * 10 + static_cast<int>(stats.failures.size());
    });
    EXPECT_EQ(failed, 22);
    EXPECT_EQ(ReadAll(dst + "/a.mp3"), "old a");
    EXPECT_EQ(ReadAll(dst + "/b.mp3"), "old b");
}

TEST_F(CopyFilesTest, SelectedFilesThatVanishedCopyNothing) {
    tmp.Write("src/a.mp3", "a");
    fs::create_directories(dst);
    const std::vector<CopySource> sources = SelectedFileSources(src, {"a.mp3", "gone.mp3"});
    EXPECT_EQ(sources, (std::vector<CopySource>{{src + "/a.mp3", "a.mp3"}}));
}

// A stop between two files ends the batch; a stop part way through a file
// abandons it: neither a partial target nor a temporary file is left, and an
// older target stays as it was.
TEST_F(CopyFilesTest, StoppedBatchLeavesOnlyWholeCopies) {
    const std::string big(3 * 1024 * 1024 + 5, 'x');  // several chunks of the plain copy
    tmp.Write("src/a.mp3", "aaa");
    tmp.Write("src/b.mp3", big);
    tmp.Write("src/c.mp3", "ccc");
    tmp.Write("dst/b.mp3", "old b");
    const std::vector<CopySource> sources{{src + "/a.mp3", "a.mp3"}, {src + "/b.mp3", "b.mp3"},
                                          {src + "/c.mp3", "c.mp3"}};
    // The plain copy asks before each file and after each megabyte: a, a's
    // chunk, b, b's first chunk, ...
    detail::SetKernelCopyAllowed(false);
    struct Case {
        int stopAtQuestion;  // the question (1-based) answered with stop
        int copied;
    } cases[] = {
        {1, 0},  // before the first file
        {3, 1},  // between a and b
        {4, 1},  // after b's first megabyte
    };
    for (const Case& c : cases) {
        fs::remove(dst + "/a.mp3");
        int questions = 0;
        const CopyStats stats = CopyFilesInto(sources, dst, {}, [&] { return ++questions >= c.stopAtQuestion; });
        EXPECT_TRUE(stats.cancelled) << c.stopAtQuestion;
        EXPECT_EQ(stats.copied, c.copied) << c.stopAtQuestion;
        EXPECT_EQ(stats.failed, 0) << c.stopAtQuestion;
        EXPECT_EQ(fs::exists(dst + "/a.mp3"), c.copied == 1) << c.stopAtQuestion;
        EXPECT_EQ(ReadAll(dst + "/b.mp3"), "old b") << c.stopAtQuestion;
        EXPECT_FALSE(fs::exists(dst + "/c.mp3"));
        EXPECT_EQ(Others(dst, {"a.mp3", "b.mp3"}), std::vector<std::string>{}) << c.stopAtQuestion;
    }
}

}  // namespace
}  // namespace tandrel
