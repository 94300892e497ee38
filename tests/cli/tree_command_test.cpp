#include "cli/commands.h"

#include <algorithm>
#include <filesystem>

#include "catalog/catalog_support.h"
#include "support/cli_run.h"
#include "support/cp1251_text.h"

namespace tandrel {
namespace {

using test::CliRun;
using test::CrLfLines;
using Lines = std::vector<std::string>;

class TreeCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        tmp.Write("Music/b.mp3", "1");
        tmp.Write("Music/A song.mp3", "2");
        tmp.Write("Music/Rock/Зима.mp3", "3");
    }
    CliRun Run(std::vector<std::string> args) { return test::RunCommand(RunCli, args); }
    std::string music = tmp / "Music";
};

TEST_F(TreeCliTest, TreeTakesTheRegistryModesAndTheLineOverridesThem) {
    WriteRegistry("\"TreeMode\"=dword:00000003\r\n\"TreeNameMode\"=dword:00000001\r\n");
    CliRun r = Run({"tree", music, "--mask", "*.mp3"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, music + "/Music.td\n");  // no SaveDir: into the scanned directory
    Lines lines = CrLfLines(music + "/Music.td");
    EXPECT_EQ(lines.size(), 6u);  // three files, Rock, two closing lines
    EXPECT_NE(std::find(lines.begin(), lines.end(), Cp("    Зима.mp3")), lines.end());

    r = Run({"tree", music + "/./Rock/", "--mode", "0", "--name-mode", "1", "--out", tmp.str(), "--mask", "*.mp3"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(CrLfLines(tmp / "Rock.td"), (Lines{music + "/Rock", music + Cp("/Rock/Зима.mp3")}));
}

TEST_F(TreeCliTest, TreeGoesToTheStoredSaveDir) {
    std::filesystem::create_directories(tmp / "saved");
    WriteRegistry("\"SaveDir\"=\"" + tmp / "saved" + "\"\r\n\"TreeNameMode\"=dword:00000004\r\n");
    const CliRun r = Run({"tree", music});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(tmp / "saved/Tree.td"));
}

TEST_F(TreeCliTest, DescribeNumbersAndTranslitCorrects) {
    CliRun r = Run({"describe", music, "--mask", "*.mp3", "--number", "2", "--split", "_"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Written: 2 file(s), failed: 0\n");
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), (Lines{"01_A song", "02_b"}));
    EXPECT_EQ(CrLfLines(music + "/Rock.txt"), Lines{Cp("01_Зима")});

    r = Run({"describe", music, "--mask", "*.mp3", "--number", "0"});
    EXPECT_EQ(CrLfLines(music + "/Rock.txt"), Lines{Cp("Зима")});
    r = Run({"describe", music, "--mask", "*.mp3", "--translit"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(music + "/Rock/Zima.mp3"));
    EXPECT_EQ(CrLfLines(music + "/Rock.txt"), Lines{Cp("Зима")});
}

TEST_F(TreeCliTest, ExitCodes) {
    struct Case { std::vector<std::string> args; int code; const char* err; };
    const Case cases[] = {
        {{"tree", "--help"}, 0, ""},
        {{"describe", "--help"}, 0, ""},
        {{"tree"}, 2, "usage: tandrel-cli tree"},
        {{"tree", "DIR", "--mode", "4"}, 2, "--mode must be a number from 0 to 3"},
        {{"describe", "DIR", "--number", "x"}, 2, "--number must be a number from 0 to 10"},
        {{"describe", "DIR", "--bogus"}, 2, "usage: tandrel-cli describe"},
        {{"tree", "DIR/missing"}, 1, "is not a directory"},
        {{"tree", "DIR", "--out", "DIR/missing"}, 1, "is not a directory"},
        {{"describe", "DIR", "--out", "DIR/b.mp3/x"}, 1, "tandrel-cli: Error Create Directory: "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
            if (a.rfind("DIR", 0) == 0) a = music + a.substr(3);
        const CliRun r = Run(args);
        EXPECT_EQ(r.code, c.code) << args[0] << " " << args.back() << "\n" << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.code == 0) {
            EXPECT_NE(r.out.find("usage: tandrel-cli " + args[0]), std::string::npos) << r.out;
        }
    }
}

}  // namespace
}  // namespace tandrel
