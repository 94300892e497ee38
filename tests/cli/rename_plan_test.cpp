#include "cli/commands.h"

#include <filesystem>

#include "rename/rename_support.h"
#include "support/cli_run.h"

namespace tandrel {
namespace {

using test::CliRun;
using Names = std::vector<std::string>;

class RenamePlanCliTest : public test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteRegistry("\"WriteRenameInfo\"=dword:00000001\r\n\"RecursiveRename\"=dword:00000000\r\n");
        tmp.Write("music/Зима.mp3", "1");
        tmp.Write("music/Лето.mp3", "2");
        tmp.Write("music/Leto.mp3", "taken");
        tmp.Write("music/Осень.mp3", "3");
    }
    CliRun Run(std::vector<std::string> args) { return test::RunCommand(RunCli, args); }
    Names Files() const { return test::FileNames(dir); }

    std::string dir = tmp / "music";
};

TEST_F(RenamePlanCliTest, DryRunAndPlanPrintTheRowsAndMoveNothing) {
    const Names before = Files();
    CliRun r = Run({"rename", "translit", dir, "--dry-run"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // One row a file in listing order: compare as a set.
    Names rows;
    for (std::size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1)
        rows.push_back(r.out.substr(at, end - at));
    EXPECT_EQ(test::Sorted(rows), (Names{"target exists\t" + dir + "\tЛето.mp3\tLeto.mp3",
                                         "unchanged\t" + dir + "\tLeto.mp3\tLeto.mp3",
                                         "will rename\t" + dir + "\tЗима.mp3\tZima.mp3",
                                         "will rename\t" + dir + "\tОсень.mp3\tOsen.mp3"}));
    EXPECT_EQ(Files(), before);

    const std::string plan = tmp / "plan.tsv";
    r = Run({"rename", "translit", dir, "--plan", plan});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::ReadAll(plan), Run({"rename", "translit", dir, "--dry-run"}).out);
    EXPECT_EQ(Files(), before);

    for (const char* command : {"number add", "number delete-first 1", "number by-date", "ext lower",
                                "ext change", "rename-back renamed"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args;
        std::string word;
        for (const char* c = command;; ++c) {
            if (*c == ' ' || *c == 0) {
                args.push_back(word);
                word.clear();
                if (*c == 0) break;
            } else {
                word += *c;
            }
        }
        args.push_back(dir);
        if (args[0] == "ext" && args[1] == "change") {
            args.push_back("*.mp3");
            args.push_back("*.cd");
        }
        args.push_back("--dry-run");
        r = Run(args);
        EXPECT_EQ(Files(), before);
        if (args[0] == "rename-back") {
            EXPECT_EQ(r.code, 1);
            EXPECT_EQ(r.err, "tandrel-cli: No rename log (rename.ini) found in " + dir + "\n");
        } else {
            EXPECT_EQ(r.code, 0) << r.err;
            EXPECT_NE(r.out.find("\t" + dir + "\t"), std::string::npos) << r.out;
        }
    }
}

TEST_F(RenamePlanCliTest, ApplyRenamesBySavedRowsAndRefusesStaleOnes) {
    const std::string plan = tmp / "plan.tsv";
    ASSERT_EQ(Run({"rename", "translit", dir, "--plan", plan}).code, 0);
    // Between planning and applying, one target appears and one file goes.
    tmp.Write("music/Zima.mp3", "new");
    std::filesystem::remove(std::filesystem::u8path(dir + "/Осень.mp3"));
    tmp.Write("music/Весна.mp3", "4");
    CliRun r = Run({"rename", "translit", dir, "--apply", plan});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("stale row refused: " + dir + "/Зима.mp3 -> Zima.mp3 (the new name exists)"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("stale row refused: " + dir + "/Осень.mp3 -> Osen.mp3 (the old name no longer exists)"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Files(), (Names{"Leto.mp3", "Zima.mp3", "Весна.mp3", "Зима.mp3", "Лето.mp3"}));
    EXPECT_NE(r.out.find("Renamed: 0, failed: 2"), std::string::npos) << r.out;  // the refused rows are counted

    // A plan that still fits is applied whole, logged as the command logs, and renames back.
    std::filesystem::remove(dir + "/Zima.mp3");
    ASSERT_EQ(Run({"rename", "translit", dir, "--plan", plan}).code, 0);
    r = Run({"rename", "translit", dir, "--apply", plan});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Renamed: 2, failed: 0\n");
    EXPECT_EQ(Files(), (Names{"Leto.mp3", "Vesna.mp3", "Zima.mp3", "rename.ini", "Лето.mp3"}));
    EXPECT_EQ(Run({"rename-back", "renamed", dir}).code, 0);
    EXPECT_EQ(Files(), (Names{"Leto.mp3", "rename.ini", "Весна.mp3", "Зима.mp3", "Лето.mp3"}));

    // A chain inside a saved plan is not stale: the earlier row frees the name.
    test::TempDir chain;
    chain.Write("a", "1");
    chain.Write("_a", "2");
    const std::string chained = chain / "plan.tsv";
    chain.Write("plan.tsv", "will rename\t" + chain.str() + "\t_a\t__a\nwill rename\t" + chain.str() + "\ta\t_a\n" +
                                "target exists\t" + chain.str() + "\tx\ty\n");
    r = Run({"number", "add", chain.str(), "--apply", chained});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadAll(chain / "__a"), "2");
    EXPECT_EQ(test::ReadAll(chain / "_a"), "1");

    r = Run({"rename", "translit", dir, "--apply", plan, "--dry-run"});
    EXPECT_EQ(r.code, 2);
    chain.Write("bad.tsv", "will rename\tonly two\n");
    r = Run({"number", "add", chain.str(), "--apply", chain / "bad.tsv"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("line 1: not a plan row"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace tandrel
