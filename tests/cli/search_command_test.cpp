#include "cli/commands.h"

#include <algorithm>

#include "support/cli_run.h"
#include "tags/id3v1.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

struct CliRun {
    int code;
    Lines out;  // sorted: the walk order is the file system's
    std::string err;
};

class SearchCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        tmp.Write("music/a.txt", "a song\r\nnothing\r\n");
        tmp.Write("music/sub/b.txt", "song two\r\n");
        tmp.Write("music/Рок/Рок.log", Utf8ToCp1251("рок song").text);
    }
    CliRun Run(std::vector<std::string> args) {
        const test::CliRun run = test::RunCommand(RunCli, args);
        Lines lines;
        std::istringstream in(run.out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return {run.code, lines, run.err};
    }

    std::string dir = tmp / "music";
};

TEST_F(SearchCliTest, DocumentedDefaultsThenOptions) {
    CliRun r = Run({"search", "SONG", dir});  // inside files, recursive, whole query
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, (Lines{"a song \t[" + dir + "/a.txt]", "song two \t[" + dir + "/sub/b.txt]",
                            "рок song \t[" + dir + "/Рок/Рок.log]"}));
    r = Run({"search", "SONG", dir, "--no-recursive", "--mask", "*.txt"});
    EXPECT_EQ(r.out, Lines{"a song \t[" + dir + "/a.txt]"});
    r = Run({"search", "rok", dir, "--by-name", "--add-file-name"});  // Over Search is on by default
    EXPECT_EQ(r.out, Lines{"Рок.log \t[" + dir + "/Рок]"});
    r = Run({"search", "two song", dir, "--words", "--mode=2"});
    EXPECT_TRUE(r.out.empty());
    r = Run({"search", "two song", dir, "--words", "--mode", "1"});
    EXPECT_EQ(r.out, Lines{"song two \t[" + dir + "/sub/b.txt]"});
    // Under a media mask the inside search tests the tags.
    TID3v1 tag;
    tag.SetArtist("Big Band");
    ASSERT_TRUE(tag.SaveToFile(tmp.Write("music/x.mp3", std::string(600, 'U'))));
    r = Run({"search", "BAND", dir, "--mask", "*.mp3"});
    EXPECT_EQ(r.out, Lines{dir + "/x.mp3"});
}

// The report's own steps: the line was found in the code-page-1251 file only.
TEST_F(SearchCliTest, CyrillicQueryFindsTheLineInUtf8AndCodePage1251Files) {
    tmp.Write("hello/utf8.txt", "привет, мир\n");
    tmp.Write("hello/cp1251.txt", Utf8ToCp1251("привет, мир\r\n").text);
    const CliRun r = Run({"search", "привет", tmp / "hello", "--inside", "--mask", "*.txt"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, (Lines{"привет, мир \t[" + tmp / "hello/cp1251.txt]", "привет, мир \t[" + tmp / "hello/utf8.txt]"}));
}

TEST_F(SearchCliTest, TheRegistryGivesTheDefaultsAndOptionsTakePrecedence) {
    WriteRegistry("\"FindMode\"=dword:00000000\r\n\"RecursiveSearch\"=dword:00000000\r\n"
                  "\"OverSearch\"=dword:00000000\r\n\"AddFileNameMode\"=dword:00000001\r\n");
    CliRun r = Run({"search", "a", dir});
    EXPECT_EQ(r.out, Lines{"a.txt \t[" + dir + "]"});
    r = Run({"search", "rok", dir, "--by-name"});
    EXPECT_TRUE(r.out.empty());
    r = Run({"search", "nothing", dir, "--inside", "--no-add-file-name"});
    EXPECT_EQ(r.out, Lines{"nothing \t[" + dir + "/a.txt]"});
    r = Run({"find-dir", "SUB", dir});
    EXPECT_EQ(r.out, Lines{"sub \t[" + dir + "]"});
    r = Run({"find-dir", "рок", dir, "--no-add-file-name"});
    EXPECT_EQ(r.out, Lines{dir + "/Рок"});
}

TEST_F(SearchCliTest, BadCallsAreRefused) {
    struct Case { std::vector<std::string> args; int code; const char* says; };
    const Case cases[] = {
        {{"search", "q", "/no/such/dir"}, 1, "is not a directory"},
        {{"search", "q"}, 2, "expected QUERY and DIR"},
        {{"search", "q", "d", "--mode", "4"}, 2, "--mode must be"},
        {{"search", "q", "d", "--mask"}, 2, "needs a value"},
        {{"search", "q", "d", "--colour"}, 2, "unknown option"},
        {{"find-dir", "q", "d", "--inside"}, 2, "unknown option"},
        {{"search", "日本", "d"}, 2, "outside code page 1251"},
    };
    for (const Case& c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.back();
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace tandrel
