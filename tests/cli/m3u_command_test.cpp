#include "cli/commands.h"

#include <algorithm>
#include <filesystem>

#include "support/cli_run.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

class M3UCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        // A playlist written on Windows in code page 1251, beside the files it names.
        list = tmp.Write("music/list.m3u", Utf8ToCp1251("#EXTM3U\r\n#EXTINF:215,Рок - Ночь\r\n"
                                                        "D:\\Music\\Рок - Ночь.mp3\r\n\r\nD:\\gone.mp3\r\n").text);
        tmp.Write("music/sub/рок - НОЧЬ.mp3", "");
        tmp.Write("music/other/Рок - Ночь.mp3", "");
    }
    test::CliRun Run(const Lines& args) { return test::RunCommand(RunCli, args); }
    static Lines Split(const std::string& out) {
        Lines lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    std::string list;
    std::string music = tmp / "music";
};

TEST_F(M3UCliTest, TitlesAndNamesPrintUtf8) {
    test::CliRun r = Run({"m3u", "titles", list});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Рок - Ночь\n");
    r = Run({"m3u", "names", list});
    EXPECT_EQ(r.out, "Рок - Ночь\ngone\n");
}

TEST_F(M3UCliTest, FindTakesTheRegistryThenTheCommandLine) {
    test::CliRun r = Run({"m3u", "find", list});  // no settings key: single mode in the playlist's directory
    EXPECT_EQ(r.code, 0) << r.err;
    Lines out = Split(r.out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[2].substr(0, music.size()), music);
    EXPECT_EQ(out[3], "D:\\gone.mp3");

    WriteRegistry("\"M3USearchAll\"=dword:00000001\r\n\"AddFileNameMode\"=dword:00000001\r\n");
    r = Run({"m3u", "find", list});
    out = Split(r.out);
    std::sort(out.begin() + 2, out.begin() + 4);
    EXPECT_EQ(out, (Lines{"#EXTM3U \t[]", "#EXTINF:215,Рок - Ночь \t[]", "Рок - Ночь.mp3 \t[" + music + "/other]",
                          "рок - НОЧЬ.mp3 \t[" + music + "/sub]", "gone.mp3 \t[D:]"}));
    r = Run({"m3u", "find", list, "--no-all", "--no-add-file-name", "--drives", music + "/sub"});
    EXPECT_EQ(Split(r.out), (Lines{"#EXTM3U", "#EXTINF:215,Рок - Ночь", music + "/sub/рок - НОЧЬ.mp3", "D:\\gone.mp3"}));
}

TEST_F(M3UCliTest, MediaListsTheNamesOfTheMediaFilesSorted) {
    for (const char* name : {"b.wav", "a.mp3", "c.txt", ".hidden.mp3", "dir.mp3/x"}) tmp.Write(std::string("m/") + name, "");
    test::CliRun r = Run({"m3u", "media", tmp / "m"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "a\nb\n");
    r = Run({"m3u", "media", tmp / "m", "--mask", "*.wav"});
    EXPECT_EQ(r.out, "b\n");
}

TEST_F(M3UCliTest, ExitCodes) {
    struct Case { Lines args; int code; bool stderrLine; };
    const Case cases[] = {
        {{"m3u", "--help"}, 0, false},
        {{"m3u", "find", "--help"}, 0, false},
        {{"m3u"}, 2, true},
        {{"m3u", "play", "x"}, 2, true},
        {{"m3u", "titles"}, 2, true},
        {{"m3u", "titles", "a", "b"}, 2, true},
        {{"m3u", "find", "x", "--depth", "1"}, 2, true},
        {{"m3u", "media", ".", "--mask", "*.txt"}, 2, true},  // no media mask
        {{"m3u", "titles", "/nonexistent/list.m3u"}, 1, true},
        {{"m3u", "media", "/nonexistent-dir"}, 1, true},
    };
    for (const Case& c : cases) {
        const test::CliRun r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.back() << "\n" << r.err;
        EXPECT_EQ(!r.err.empty(), c.stderrLine) << c.args.back();
        if (c.code == 0) {
            EXPECT_NE(r.out.find("usage: tandrel-cli m3u"), std::string::npos);
        }
    }
}

TEST_F(M3UCliTest, FindPrintsTheResultAndFailsForEachRootItCannotRead) {
    const test::CliRun r = Run({"m3u", "find", list, "--drives", "/nonexistent-a," + music + "/sub,/nonexistent-b"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(Split(r.err), (Lines{"tandrel-cli: Cannot read /nonexistent-a: No such file or directory",
                                   "tandrel-cli: Cannot read /nonexistent-b: No such file or directory"}));
    EXPECT_EQ(Split(r.out)[2], music + "/sub/рок - НОЧЬ.mp3");
}

}  // namespace
}  // namespace tandrel
