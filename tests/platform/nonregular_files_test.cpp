// FIFOs, devices and killed saves: every read refuses what is no regular file
// instead of hanging or reading forever, and every whole-file save leaves
// nothing behind when its process dies.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/files.h"
#include "platform/ini.h"
#include "platform/posix_file.h"
#include "platform/registry.h"
#include "platform/textfile.h"
#include "support/child_process.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::set<std::string> Names(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

// Special files named like the files the program reads.
struct Special {
    const char* kind;
    std::function<void(const std::string&)> make;
};

const std::vector<Special>& Specials() {
    static const std::vector<Special> specials = {
        {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"link to /dev/null", [](const std::string& p) { fs::create_symlink("/dev/null", p); }},
    };
    return specials;
}

// Each reader returns true when it refused the file as it should.
struct Reader {
    const char* name;
    std::function<bool(const std::string&)> refuses;
};

const std::vector<Reader>& Readers() {
    static const std::vector<Reader> readers = {
        {"ReadFileBytes", [](const std::string& p) { std::string b; return !ReadFileBytes(p, b).ok; }},
        {"ReadTextLines", [](const std::string& p) { std::vector<std::string> l; return !ReadTextLines(p, l).ok; }},
        {"TextLineReader", [](const std::string& p) { TextLineReader r; return !r.Open(p).ok; }},
        {"ReadIniSection", [](const std::string& p) { IniSection s; return !ReadIniSection(p, "Settings", s).ok; }},
        {"ReadIniString", [](const std::string& p) { return ReadIniString(p, "Settings", "Key").empty(); }},
        {"RegistryStore::Load", [](const std::string& p) { RegistryStore s(p); return !s.Load().ok && !s.Save().ok; }},
        {"CopyFileOver", [](const std::string& p) { return !CopyFileOver(p, p + ".copy").ok; }},
    };
    return readers;
}

TEST(SpecialFiles, ReadsRefuseFifosAndDevicesInsteadOfHangingOrReadingForever) {
    for (const Special& special : Specials()) {
        for (const Reader& reader : Readers()) {
            TempDir dir;
            const std::string path = dir / "notes.txt";
            special.make(path);
            const ChildOutcome outcome =
                RunInChild([&] { return reader.refuses(path) ? 0 : 1; }, std::chrono::seconds(5));
            EXPECT_TRUE(outcome.finished) << reader.name << " hangs on a " << special.kind;
            EXPECT_EQ(outcome.exitCode, 0) << reader.name << " reads a " << special.kind;
        }
    }
}

TEST(SpecialFiles, RefusalNamesTheReasonAndARegularFileStillReads) {
    TempDir dir;
    const std::string fifo = dir / "rename.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string bytes;
    const FileResult r = ReadFileBytes(fifo, bytes);
    EXPECT_NE(r.error.find("not a regular file"), std::string::npos) << r.error;

    const std::string text = dir.Write("a.txt", "one\r\ntwo");
    ASSERT_TRUE(ReadFileBytes(text, bytes).ok);
    EXPECT_EQ(bytes, "one\r\ntwo");
    fs::create_symlink(text, dir / "link.txt");  // a link to a regular file is read through
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir / "link.txt", lines).ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
}

TEST(SpecialFiles, SaveRefusesToReplaceAFifoByAFile) {
    TempDir dir;
    const std::string fifo = dir / "TdSettings.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(ReplaceFileContents(fifo, "[Settings]\r\n").ok);
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Names(dir.str()), (std::set<std::string>{"TdSettings.ini"}));
}

TEST(TextLineReader, CutsALineBeyondTheLimitAndGoesOnWithTheNext) {
    TempDir dir;
    const std::string path = dir.Write("long.txt", std::string(10, 'a') + "\r\n" + std::string(25, 'b') + "\nend");
    TextLineReader reader;
    ASSERT_TRUE(reader.Open(path).ok);
    reader.SetMaxLineLength(10);
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{std::string(10, 'a'), std::string(10, 'b'), "end"}));
    EXPECT_EQ(reader.CutLines(), 1u);
}

TEST(TextLineReader, ALongSparseFileIsBinaryAndAShortTextIsNot) {
    TempDir dir;
    const std::string sparse = dir / "sparse.txt";
    fs::resize_file(dir.Write("sparse.txt", ""), 1ull << 30);
    TextLineReader reader;
    ASSERT_TRUE(reader.Open(sparse).ok);
    EXPECT_TRUE(reader.FirstBlockHoldsNul());

    // A NUL at the last byte of the first block counts; one just after it does not.
    const std::size_t block = TextLineReader::kBufferSize;
    for (const auto& [at, binary] : std::vector<std::pair<std::size_t, bool>>{{block - 1, true}, {block, false}}) {
        std::string bytes(block + 10, 'x');
        bytes[at] = '\0';
        ASSERT_TRUE(reader.Open(dir.Write("nul.txt", bytes)).ok);
        EXPECT_EQ(reader.FirstBlockHoldsNul(), binary) << at;
        std::string line;
        ASSERT_TRUE(reader.Next(line));  // the probe does not lose the first block
        EXPECT_EQ(line.size(), bytes.size());
    }
    ASSERT_TRUE(reader.Open(dir.Write("empty.txt", "")).ok);
    EXPECT_FALSE(reader.FirstBlockHoldsNul());
}

TEST(ReadWholeFile, RefusesAFileBeyondTheLimitAndReadsOneAtIt) {
    TempDir dir;
    const std::string path = dir.Write("a.ini", std::string(100, 'k'));
    std::string bytes;
    int err = 0;
    EXPECT_FALSE(detail::ReadWholeFile(path, bytes, &err, 99).ok);
    EXPECT_EQ(err, EFBIG);
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(detail::ReadWholeFile(path, bytes, &err, 100).ok);
    EXPECT_EQ(bytes.size(), 100u);
}

// ---- temporary files of killed saves

detail::WriteStep g_killAt;

void KillAtStep(detail::WriteStep step) {
    if (step == g_killAt) ::kill(::getpid(), SIGKILL);
}

// A save killed at the given step; the target holds the old or the new bytes.
void KilledSave(const std::string& target, detail::WriteStep step, bool unnamed) {
    g_killAt = step;
    const ChildOutcome outcome = RunInChild([&] {
        detail::SetUnnamedTemporariesAllowed(unnamed);
        detail::SetWriteStepHook(KillAtStep);
        return ReplaceFileContents(target, std::string(200000, 'n')).ok ? 0 : 1;
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.signal, SIGKILL);
    const std::string now = ReadAll(target);
    EXPECT_TRUE(now == "old" || now == std::string(200000, 'n')) << now.size() << " bytes";
}

TEST(AtomicFileWriter, TheNextSaveInTheFolderRemovesTemporaryFilesOfDeadWritersOnly) {
    TempDir dir;
    const std::string target = dir.Write("song.mp3", "old");
    KilledSave(target, detail::WriteStep::Wrote, false);
    std::set<std::string> left = Names(dir.str());
    ASSERT_EQ(left.size(), 2u) << "the named temporary file of the killed save";
    // Files of a live process (pid 1) and of other patterns are not ours to remove.
    const std::vector<std::string> kept = {".tandrel-1-abcdefgh.tmp", ".tandrel-x-abcdefgh.tmp", ".tandrel-abcdefgh.tmp",
                                           "tandrel-99999999-abcdefgh.tmp"};
    for (const std::string& name : kept) dir.Write(name, "keep");

    const ChildOutcome later = RunInChild([&] {
        detail::SetUnnamedTemporariesAllowed(false);
        return ReplaceFileContents(dir / "list.m3u", "a.mp3\r\n").ok ? 0 : 1;
    });
    ASSERT_TRUE(later.finished);
    EXPECT_EQ(later.exitCode, 0);
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert({"song.mp3", "list.m3u"});
    EXPECT_EQ(Names(dir.str()), expected);
}

}  // namespace
}  // namespace tandrel
