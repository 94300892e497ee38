// What every terminal command shares: --help, usage errors and failed
// operations, each with its exit code and its stream.
#include "support/cli_run.h"
#include "cli/commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::CliRun;
namespace fs = std::filesystem;

class CliConventionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
        fs::create_directories(dir);
    }
    // args with "DIR" standing for the music folder and "FILE" for a file in it.
    CliRun Run(std::vector<std::string> args) {
        for (std::string& a : args) {
            if (a == "DIR") a = dir;
            if (a == "FILE") a = file;
        }
        return test::RunCommand(RunCli, args);
    }

    test::TempDir tmp;
    std::string dir = tmp / "music";
    std::string file = tmp.Write("music/song.mp3", std::string(300, 'x'));
};

TEST_F(CliConventionsTest, EveryListedCommandAnswersHelpOnStdout) {
    const CliRun list = Run({"--help"});
    ASSERT_EQ(list.code, 0);
    std::istringstream lines(list.out);
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("  ", 0) == 0) names.push_back(line.substr(2, line.find(' ', 2) - 2));
    ASSERT_GE(names.size(), 8u) << list.out;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const CliRun r = Run({name, "--help"});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out.rfind("usage: tandrel-cli " + name + " ", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(CliConventionsTest, EverySubcommandAnswersHelpWithItsOwnUsage) {
    struct Case { std::vector<std::string> args; std::string usage; };
    const Case cases[] = {
        {{"help"}, "COMMAND ARG..."},
        {{"text", "ToTranslit", "--help"}, "text ToTranslit TEXT"},
        {{"tag", "show", "--help"}, "tag show FILE"},
        {{"tag", "update", "--help"}, "tag update FILE... [--tags"},
        {{"rename", "translit", "DIR", "--help"}, "rename translit|"},
        {{"rename-back", "renamed", "DIR", "--help"}, "rename-back renamed|deleted|names DIR"},
        {{"number", "add", "--help"}, "number add DIR"},
        {{"number", "delete-first", "--help"}, "number delete-first COUNT DIR"},
        {{"number", "by-date", "DIR", "--width", "0", "--help"}, "number by-date DIR"},
        {{"ext", "lower", "--help"}, "ext lower DIR"},
        {{"ext", "change", "--help"}, "ext change DIR SOURCE-MASK TARGET-MASK"},
        {{"search", "q", "DIR", "--colour", "--help"}, "search QUERY DIR"},
        {{"find-dir", "q", "DIR", "--help"}, "find-dir QUERY DIR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out.rfind("usage: tandrel-cli " + c.usage, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    // The commands with subcommands list each of them.
    const CliRun number = Run({"number", "--help"});
    EXPECT_NE(number.out.find("tandrel-cli number delete-first"), std::string::npos) << number.out;
    EXPECT_NE(number.out.find("tandrel-cli number by-date"), std::string::npos) << number.out;
    EXPECT_NE(Run({"text", "--help"}).out.find("tandrel-cli text JoinPathSep DIR NAME MODE\n"), std::string::npos);
}

TEST_F(CliConventionsTest, TagUpdateHelpIsNotTakenAsAFileName) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"tag", "update", "--help"},
                                                 std::vector<std::string>{"tag", "update", "FILE", "--help"}}) {
        const CliRun r = Run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("usage: tandrel-cli tag update FILE", 0), 0u) << r.out;
    }
    EXPECT_EQ(test::ReadAll(file), std::string(300, 'x'));
}

TEST_F(CliConventionsTest, UsageErrorsExitTwoWithTheUsageOnStderr) {
    struct Case { std::vector<std::string> args; std::string usage; };
    const Case cases[] = {
        {{}, "COMMAND ARG..."},
        {{"frobnicate"}, "COMMAND ARG..."},
        {{"text"}, "text FUNCTION ARG..."},
        {{"text", "NoSuchFunction", "x"}, "text FUNCTION ARG..."},
        {{"text", "ToTranslit"}, "text ToTranslit TEXT"},
        {{"text", "IntToStrZero", "7", "wide"}, "text IntToStrZero N WIDTH"},
        {{"tag"}, "tag show FILE"},
        {{"tag", "erase", "FILE"}, "tag show FILE"},
        {{"tag", "show"}, "tag show FILE"},
        {{"tag", "show", "FILE", "FILE"}, "tag show FILE"},
        {{"tag", "update", "FILE", "--mood", "x"}, "tag update FILE"},
        {{"tag", "update", "FILE", "--tags", "3"}, "tag update FILE"},
        {{"rename", "translit"}, "rename translit|"},
        {{"rename", "translit", "DIR", "extra"}, "rename translit|"},
        {{"rename", "translit", "DIR", "--colour"}, "rename translit|"},
        {{"rename", "translit", "DIR", "--mode", "3"}, "rename translit|"},
        {{"rename-back", "renamed"}, "rename-back renamed|deleted|names DIR"},
        {{"number"}, "number add DIR"},
        {{"number", "add"}, "number add DIR"},
        {{"number", "add", "DIR", "--width", "0"}, "number add DIR"},
        {{"number", "delete-first", "DIR"}, "number delete-first COUNT DIR"},
        {{"number", "delete-first", "0", "DIR"}, "number delete-first COUNT DIR"},
        {{"number", "by-date", "DIR", "DIR"}, "number by-date DIR"},
        {{"ext", "upper", "DIR"}, "ext lower DIR"},
        {{"ext", "change", "DIR", "*.mp3"}, "ext change DIR"},
        {{"search", "q"}, "search QUERY DIR"},
        {{"search", "q", "DIR", "--mode", "9"}, "search QUERY DIR"},
        {{"find-dir", "q", "DIR", "--inside"}, "find-dir QUERY DIR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: tandrel-cli " + c.usage), std::string::npos) << r.err;
    }
    EXPECT_EQ(test::ReadAll(file), std::string(300, 'x'));
}

// A name with a character outside code page 1251 is listed but never renamed:
// each renaming command reports it and still renames the other file.
TEST_F(CliConventionsTest, FailedRenameExitsOneAndNamesTheFileOnStderr) {
    struct Case { std::vector<std::string> args; std::string refused, renamed; };
    const Case cases[] = {
        {{"rename", "translit", "DIR"}, "☺ Зима.mp3", "Лето.mp3"},
        {{"rename", "upper", "DIR", "--no-log"}, "☺ a.mp3", "b.mp3"},
        {{"number", "add", "DIR", "--no-m3u"}, "☺ a.mp3", "b.mp3"},
        {{"number", "delete-first", "1", "DIR"}, "☺ a.mp3", "xb.mp3"},
        {{"number", "by-date", "DIR"}, "☺ a.jpg", "b.jpg"},
        {{"ext", "lower", "DIR"}, "☺ a.MP3", "B.MP3"},
        {{"ext", "change", "DIR", "*.txt", "*.cd"}, "☺ a.txt", "b.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        fs::remove_all(dir);
        tmp.Write("music/" + c.refused, "1");
        tmp.Write("music/" + c.renamed, "2");
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.refused.substr(c.refused.find(' ')) + " not renamed!!!"), std::string::npos) << r.err;
        EXPECT_EQ(r.out.rfind("Renamed: 1, failed: 1.", 0), 0u) << r.out;
        EXPECT_TRUE(fs::exists(fs::u8path(dir + "/" + c.refused)));
        EXPECT_FALSE(fs::exists(fs::u8path(dir + "/" + c.renamed)));
    }
}

}  // namespace
}  // namespace tandrel
