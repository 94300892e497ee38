#include "cli/commands.h"

#include <algorithm>
#include <filesystem>

#include "rename/rename_support.h"
#include "support/cli_run.h"

namespace tandrel {
namespace {

using test::CliRun;
using Names = std::vector<std::string>;

class RenameCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        std::filesystem::create_directories(dir);
    }
    CliRun Run(std::vector<std::string> args) { return test::RunCommand(RunCli, args); }
    Names Files(const std::string& sub = "") const { return test::FileNames(sub.empty() ? dir : dir + "/" + sub); }

    std::string dir = tmp / "music";
};

TEST_F(RenameCliTest, OptionsOverrideTheRegistryAndFailuresArePrinted) {
    WriteRegistry("\"WriteRenameInfo\"=dword:00000001\r\n\"RenameMode\"=dword:00000001\r\n"
                  "\"RecursiveRename\"=dword:00000000\r\n");
    tmp.Write("music/Зима утро.mp3", "1");
    tmp.Write("music/Лето.mp3", "2");
    tmp.Write("music/Leto.mp3", "taken");
    tmp.Write("music/Осень.txt", "3");
    tmp.Write("music/sub/Весна.mp3", "4");
    CliRun r = Run({"rename", "translit", dir, "--mask", "*.mp3"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tandrel-cli: File Leto.mp3 already exists!!! (Лето.mp3 not renamed!!!)\n");
    EXPECT_EQ(r.out, "Renamed: 1, failed: 1. First: File Leto.mp3 already exists!!! (Лето.mp3 not renamed!!!)\n");
    EXPECT_EQ(Files(), (Names{"Leto.mp3", "Zima_utro.mp3", "rename.ini", "Лето.mp3", "Осень.txt"}));
    EXPECT_EQ(Files("sub"), Names{"Весна.mp3"});

    r = Run({"rename", "upper", dir, "--mask=*.txt", "--recursive", "--no-log", "--mode", "0", "--lowercase-ext"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Files("sub"), Names{"Весна.mp3"});  // the mask admits no mp3
    EXPECT_TRUE(std::filesystem::exists(dir + "/ОСЕНЬ.txt"));
}

TEST_F(RenameCliTest, WithoutSettingsTheDocumentedDefaultsApply) {
    tmp.Write("music/sub/Весна.mp3", "4");
    const CliRun r = Run({"rename", "translit", dir});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Files("sub"), Names{"Vesna.mp3"});  // recursive by default, no log by default
}

TEST_F(RenameCliTest, EachStructuralCommandRuns) {
    struct Case { std::vector<std::string> args; Names before; Names after; };
    const Case cases[] = {
        {{"number", "add", "DIR", "--width", "3", "--split", "-", "--number", "--no-m3u", "--no-recursive"},
         {"b.mp3", "a.mp3"}, {"001-a.mp3", "002-b.mp3"}},
        {{"number", "by-date", "DIR", "--start-name", "Trip", "--start", "7", "--width", "2", "--number", "--ending"},
         {"IMG.JPG"}, {"Trip_07.jpg"}},
        {{"ext", "lower", "DIR", "--mask", "*.*"}, {"A.MP3", "b"}, {"A.mp3", "b"}},
        {{"ext", "change", "DIR", "*.txt", "*.cd"}, {"a.txt", "b.mp3"}, {"a.cd", "b.mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        std::filesystem::remove_all(dir);
        for (const std::string& n : c.before) tmp.Write("music/" + n, n);
        std::vector<std::string> args = c.args;
        std::replace(args.begin(), args.end(), std::string("DIR"), dir);
        const CliRun r = Run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(Files(), c.after);
    }
}

TEST_F(RenameCliTest, DeletedCharactersComeBackFromTheLog) {
    tmp.Write("music/01 Song.mp3", "x");
    EXPECT_EQ(Run({"number", "delete-first", "3", dir, "--log"}).code, 0);
    EXPECT_EQ(Files(), (Names{"Song.mp3", "rename.ini"}));
    const CliRun back = Run({"rename-back", "deleted", dir});
    EXPECT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(Files(), (Names{"01 Song.mp3", "rename.ini"}));
}

TEST_F(RenameCliTest, BatchWithSeveralFailuresExitsOneWithALinePerFailure) {
    // Each upper-case name is taken by its lower-case twin.
    for (int i = 1; i <= 5; ++i) {
        tmp.Write("music/A" + std::to_string(i) + ".MP3", "upper");
        tmp.Write("music/a" + std::to_string(i) + ".mp3", "lower");
    }
    tmp.Write("music/B.MP3", "b");
    const CliRun r = Run({"rename", "lower", dir, "--no-recursive"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 5) << r.err;
    EXPECT_EQ(r.out.rfind("Renamed: 1, failed: 5. First: A", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("the target already exists"), std::string::npos) << r.out;
}

TEST_F(RenameCliTest, RenameBackWithoutALogFailsAndSaysSo) {
    tmp.Write("music/a.mp3", "a");
    const CliRun r = Run({"rename-back", "renamed", dir});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tandrel-cli: No rename log (rename.ini) found in " + dir + "\n");
}

TEST_F(RenameCliTest, LogThatCannotBeWrittenStopsTheBatchAndFails) {
    tmp.Write("music/Зима.mp3", "1");
    std::filesystem::create_directory(dir + "/rename.ini.journal");
    const CliRun r = Run({"rename", "translit", dir, "--log"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.rfind("tandrel-cli: " + dir + "/rename.ini not written!!! (", 0), 0u) << r.err;
    EXPECT_EQ(Files(), Names{"Зима.mp3"});
}

TEST_F(RenameCliTest, RecursiveRenameStaysOutOfASymlinkedDirectory) {
    tmp.Write("outside/Щука.mp3", "x");
    std::filesystem::create_directory_symlink("../outside", dir + "/link");
    const CliRun r = Run({"rename", "translit", dir, "--recursive", "--log"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(tmp / "outside/Щука.mp3"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "outside/rename.ini"));
}

TEST_F(RenameCliTest, BadCommandLinesAreRefusedWithoutTouchingFiles) {
    tmp.Write("music/Зима.mp3", "1");
    const std::vector<std::string> bad[] = {
        {"rename", "sideways", dir},
        {"rename", "translit"},
        {"rename", "translit", dir, "--mode", "3"},
        {"rename", "translit", dir, "--mode"},
        {"rename", "translit", dir, "--old", "a"},
        {"rename", "substr", dir},
        {"rename", "translit", dir, "--colour"},
        {"rename", "translit", dir, "--no-mask"},
        {"rename", "translit", dir, "--mask", "*.日本"},
        {"rename-back", "sideways", dir},
        {"number", "add", dir, "--width", "0"},
        {"number", "delete-first", "11", dir},
        {"number", "by-date", dir, "--start", "-1"},
        {"number", "shuffle", dir},
        {"ext", "change", dir, "*.mp3", ""},
        {"ext"},
    };
    for (const auto& args : bad) {
        const CliRun r = Run(args);
        EXPECT_EQ(r.code, 2) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(r.err.empty());
    }
    const CliRun missing = Run({"rename", "translit", dir + "/missing"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("is not a directory"), std::string::npos);
    EXPECT_EQ(Files(), Names{"Зима.mp3"});
}

}  // namespace
}  // namespace tandrel
