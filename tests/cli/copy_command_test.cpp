#include "cli/copy_command.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/commands.h"
#include "support/cli_run.h"

namespace tandrel {
namespace {

using test::CliRun;
using test::ReadAll;

class CopyCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        tmp.Write("src/a.mp3", "A");
        tmp.Write("src/b.wav", "B");
        tmp.Write("dst/a.mp3", "old");
        oldCwd = std::filesystem::current_path();
        std::filesystem::current_path(src);
    }
    void TearDown() override { std::filesystem::current_path(oldCwd); }
    CliRun Run(const std::vector<std::string>& args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int code = RunCopyCommandFrom(args, in, out, err);
        return {code, out.str(), err.str()};
    }
    std::string src = tmp / "src", dst = tmp / "dst";
    std::filesystem::path oldCwd;
};

TEST_F(CopyCliTest, CopiesFullBareAndBracketedNames) {
    CliRun r = Run({dst, src + "/a.mp3", "b"});  // b: found as b.wav
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Copied: 2 file(s), failed: 0\n");
    EXPECT_EQ(ReadAll(dst + "/a.mp3"), "A");
    EXPECT_EQ(ReadAll(dst + "/b.wav"), "B");

    std::filesystem::remove(dst + "/b.wav");
    r = Run({dst, "--from-lines"}, "b.wav \t[" + src + "]\r\n\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadAll(dst + "/b.wav"), "B");
}

TEST_F(CopyCliTest, ExitCodes) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::size_t errLines;
    };
    const Case cases[] = {
        {{"--help"}, 0, 0},
        {{}, 2, 2},                                    // no TARGET-DIR
        {{dst}, 2, 2},                                 // no FILE
        {{dst, "--bogus", "a"}, 2, 2},                 // unknown option
        {{tmp / "missing", "a"}, 1, 1},                // no such directory
        {{dst, "gone", src + "/a.mp3", "nothing.mp3"}, 1, 2},  // one line per missing file
        {{src, "a"}, 0, 0},                            // onto itself: skipped with a note
    };
    for (const Case& c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        if (c.code == 2) {
            EXPECT_NE(r.err.find("usage: tandrel-cli copy"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(static_cast<std::size_t>(std::count(r.err.begin(), r.err.end(), '\n')), c.errLines) << r.err;
        }
    }
    EXPECT_EQ(ReadAll(src + "/a.mp3"), "A");
    EXPECT_NE(test::RunCommand(RunCli, {"--help"}).out.find("copy TARGET-DIR"), std::string::npos);
}

}  // namespace
}  // namespace tandrel
