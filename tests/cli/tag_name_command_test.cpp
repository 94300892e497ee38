// The tag commands over many files: from-name and update, each file's
// failure one line on stderr while the others are written.
#include "support/cli_run.h"
#include "cli/tag_command.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "support/child_process.h"
#include "support/cp1251_text.h"
#include "support/tempdir.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagbytes.h"

namespace tandrel {
namespace {

using test::CliRun;

CliRun Tag(const std::vector<std::string>& args) { return test::RunCommand(RunTagCommand, args); }

struct Tags {
    TID3v1 v1;
    TID3v2 v2;
};

Tags Read(const std::string& path) {
    Tags t;
    EXPECT_TRUE(t.v1.ReadFromFile(path));
    EXPECT_TRUE(t.v2.ReadFromFile(path));
    return t;
}

TEST(TagFromName, PrintsEachNameAndWritesBothTagsUnlessDryRun) {
    test::TempDir dir;
    const std::string a = dir.Write("07 - Кино - Звезда.mp3", test::Audio());
    const std::string b = dir.Write("My_Song.mp3", test::Audio());
    const std::string expected = "file=" + a + "\ntrack=07\nartist=Кино\ntitle=Звезда\n" +
                                 "file=" + b + "\ntrack=\nartist=My\ntitle=Song\n";

    CliRun r = Tag({"from-name", a, b, "--dry-run"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(test::ReadAll(a), test::Audio());
    EXPECT_EQ(test::ReadAll(b), test::Audio());

    r = Tag({"from-name", a, b});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
    const Tags ta = Read(Cp(a));
    EXPECT_EQ(ta.v1.Track(), 7);
    EXPECT_EQ(ta.v2.Track(), 7);
    EXPECT_EQ(ta.v1.Artist(), Cp("Кино"));
    EXPECT_EQ(ta.v2.Title(), Cp("Звезда"));
    EXPECT_EQ(ta.v1.GenreID(), kNoGenre);
    const Tags tb = Read(b);
    EXPECT_EQ(tb.v2.Artist(), "My");
    EXPECT_EQ(tb.v1.Title(), "Song");
    EXPECT_EQ(tb.v1.Track(), 0);
}

TEST(TagFromName, AFileThatFailsIsOneLineOnStderrAndTheOthersAreWritten) {
    test::TempDir dir;
    const std::string first = dir.Write("A - One.mp3", test::Audio());
    const std::string shortFile = dir.Write("B - Two.mp3", "tiny file");
    const std::string last = dir.Write("C - Three.mp3", test::Audio());
    const std::string gone = dir / "D - Four.mp3";
    const CliRun r = Tag({"from-name", first, shortFile, gone, last});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    EXPECT_NE(r.err.find("Can not save tag to the file: " + shortFile), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Can not save tag to the file: " + gone), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadAll(shortFile), "tiny file");
    EXPECT_EQ(Read(first).v2.Title(), "One");
    EXPECT_EQ(Read(last).v1.Title(), "Three");
}

TEST(TagFromName, HelpAndUsage) {
    CliRun r = Tag({"from-name", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "usage: tandrel-cli tag from-name FILE... [--dry-run] [--unicode|--no-unicode]\n");
    r = Tag({"from-name"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage: tandrel-cli tag from-name"), std::string::npos) << r.err;
    r = Tag({"from-name", "a.mp3", "--dry"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(Tag({"--help"}).out.find("tag from-name FILE..."), std::string::npos);
}

TEST(TagUpdateMany, ChangesTheGivenFieldsOfEveryFileAndReportsEachFailure) {
    test::TempDir dir;
    std::vector<std::string> files;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3"}) {
        const std::string path = dir.Write(name, test::Audio());
        TID3v2 v2;
        v2.SetTitle(std::string("Title ") + name);
        EXPECT_TRUE(v2.SaveToFile(path));
        files.push_back(path);
    }
    const std::string gone = dir / "gone.mp3";
    CliRun r = Tag({"update", files[0], gone, files[1], files[2], "--year", "1989", "--genre", "Blues"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "The file does not exist: " + gone + "; Can not save tag to the file: " + gone + "\n");
    for (const std::string& path : files) {
        const Tags t = Read(path);
        EXPECT_EQ(t.v2.Year(), "1989") << path;
        EXPECT_EQ(t.v1.Year(), "1989") << path;
        EXPECT_EQ(t.v2.Genre(), "Blues") << path;
        EXPECT_EQ(t.v1.GenreID(), 0) << path;
        EXPECT_EQ(t.v2.Title(), "Title " + path.substr(path.size() - 5)) << path;  // kept
    }

    // Only ID3v2: the ID3v1 records stay as they are.
    const std::string before = test::ReadAll(files[0]);
    r = Tag({"update", files[0], files[1], "--tags", "2", "--album", "Live"});
    EXPECT_EQ(r.code, 0) << r.err;
    const std::string after = test::ReadAll(files[0]);
    EXPECT_EQ(after.substr(after.size() - 128), before.substr(before.size() - 128));
    EXPECT_EQ(Read(files[1]).v2.Album(), "Live");
}

// A batch killed at many moments leaves every file wholly old or wholly new,
// the ID3v1-only update too: each file is one replacement.
TEST(TagUpdateMany, KilledBatchLeavesEachFileOldOrNew) {
    test::TempDir dir;
    const std::string old = test::Audio(1 << 20) + "TAG" + "Old" + std::string(30 - 3 + 30 + 30 + 4 + 30, '\0') + "\xFF";
    std::vector<std::string> args = {"update"};
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"}) args.push_back(dir / name);
    const std::vector<std::string> files(args.begin() + 1, args.end());
    for (const char* tags : {"1", "both"}) {
        SCOPED_TRACE(tags);
        std::vector<std::string> call = args;
        for (const char* option : {"--tags", tags, "--title", "New"}) call.emplace_back(option);
        for (const std::string& f : files) dir.Write(f.substr(dir.str().size() + 1), old);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(Tag(call).code, 0);
        const auto once = std::chrono::steady_clock::now() - start;
        const std::string saved = test::ReadAll(files[0]);
        ASSERT_NE(saved, old);
        constexpr int kKills = 10;
        int mixed = 0;
        for (int k = 0; k < kKills; ++k) {
            for (const std::string& f : files) dir.Write(f.substr(dir.str().size() + 1), old);
            test::RunInChild([&] { return Tag(call).code; },
                             std::chrono::duration_cast<std::chrono::milliseconds>(once * k / (kKills - 2)));
            int wholeNew = 0;
            for (const std::string& f : files) {
                const std::string bytes = test::ReadAll(f);
                EXPECT_TRUE(bytes == old || bytes == saved) << "kill " << k << ": " << f << " has " << bytes.size();
                wholeNew += bytes == saved;
            }
            mixed += wholeNew > 0 && wholeNew < 4;
            for (const auto& entry : std::filesystem::directory_iterator(dir.str()))
                if (entry.path().extension() != ".mp3") std::filesystem::remove(entry.path());
        }
        RecordProperty(std::string("kills_between_files_") + tags, mixed);
    }
}

}  // namespace
}  // namespace tandrel
