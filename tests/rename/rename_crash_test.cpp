// A logged rename batch killed at every step (after each journal record, each
// move and each fold of a log) must leave a tree that the rename back
// restores whole: every file under its old name with its bytes, no journal
// and no temporary file left over.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>

#include "rename/renameengine.h"
#include "rename/rename_support.h"
#include "rename/structural.h"
#include "support/child_process.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
using Tree = std::map<std::string, std::string>;

int g_stepsLeft = 0;
void KillAtTheLastStep() {
    if (--g_stepsLeft == 0) ::raise(SIGKILL);
}

// Runs batch in a child process that is killed at its step-th step; true when
// the child ran to its end instead.
bool RunKilledAt(int step, const std::function<void()>& batch) {
    return test::RunInChild([&] {
        g_stepsLeft = step;
        SetRenameStepHook(KillAtTheLastStep);
        batch();
        return 0;
    }, std::chrono::minutes(1)).exitCode == 0;
}

// A tree of two levels with Cyrillic names, a name that translit would give
// to another file, and an older log in the sub-directory.
void MakeTree(const TempDir& tmp) {
    const char* names[] = {"Зима", "Лето", "Осень", "Весна", "Щука и Ёж", "01 Песня", "Zima", "плохо=хорошо"};
    for (int i = 0; i < 2; ++i)
        for (const char* n : names) {
            const std::string name = std::string(n) + " " + std::to_string(i) + ".mp3";
            tmp.Write("music/" + name, name);
            tmp.Write("music/sub/" + name, "sub " + name);
        }
    tmp.Write("music/sub/rename.ini", "[renamed]\r\nolder.mp3=older log.mp3\r\n");
}

struct Batch {
    const char* what;
    const char* section;
    bool runsAgainHarmlessly;  // a second run renames nothing the first one renamed
    std::function<void(const std::string& dir)> run;
};

RenameOptions Logged() {
    RenameOptions o;
    o.writeRenameInfo = true;
    o.recursive = true;
    return o;
}

const Batch kBatches[] = {
    {"translit", kRenamedSection, true,
     [](const std::string& dir) {
         test::ScriptedPrompter p;
         RenameDirectory(dir, "*.*", rkTranslit, Logged(), p);
     }},
    {"delete first symbols", kDeletedSection, false,
     [](const std::string& dir) {
         test::ScriptedPrompter p;
         DeleteFirstSymbols(dir, "*.mp3", 3, true, true, p);
     }},
};

void ExpectRestored(const std::string& dir, const Tree& before, const char* section) {
    test::ScriptedPrompter p;
    RenameOptions back;
    back.recursive = true;
    RenameFromLog(dir, "*.*", section, back, p);
    EXPECT_EQ(ReadTree(dir, test::IsLogOrTemporary), before);
    for (const auto& [path, bytes] : ReadTree(dir)) {
        const std::string name = std::filesystem::path(path).filename().string();
        EXPECT_TRUE(name == "rename.ini" || !test::IsLogOrTemporary(name)) << path << " is left over";
    }
}

TEST(RenameCrash, KilledAtAnyStepTheRenameBackRestoresEveryName) {
    for (const Batch& batch : kBatches) {
        bool finished = false;
        for (int step = 1; !finished && step < 1000; ++step) {
            SCOPED_TRACE(std::string(batch.what) + ", killed at step " + std::to_string(step));
            TempDir tmp;
            MakeTree(tmp);
            const std::string music = tmp / "music";
            const Tree before = ReadTree(music, test::IsLogOrTemporary);
            finished = RunKilledAt(step, [&] { batch.run(music); });
            // Every third kill is followed by a run of the same batch to its end.
            if (!finished && step % 3 == 0 && batch.runsAgainHarmlessly) batch.run(music);
            ExpectRestored(music, before, batch.section);
            if (::testing::Test::HasFailure()) return;
        }
        EXPECT_TRUE(finished) << batch.what << " never ran to its end";
    }
}

TEST(RenameCrash, FullDiskStopsTheBatchAndEveryMovedFileComesBack) {
    // A file-size limit makes the journal's writes fail, as a full disk does:
    // part way, or already at its first line.
    struct Case { rlim_t limit; bool someMoved; };
    for (const Case c : {Case{300, true}, Case{5, false}}) {
        SCOPED_TRACE("limit " + std::to_string(c.limit));
        TempDir tmp;
        MakeTree(tmp);
        const std::string music = tmp / "music";
        const Tree before = ReadTree(music, test::IsLogOrTemporary);
        const test::ChildOutcome outcome = test::RunInChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{c.limit, c.limit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            test::ScriptedPrompter p;
            const RenameStats stats = RenameDirectory(music, "*.*", rkTranslit, Logged(), p);
            return (stats.stopped ? 1 : 0) + (stats.renamed > 0 ? 2 : 0);
        });
        EXPECT_EQ(outcome.exitCode, c.someMoved ? 3 : 1);
        EXPECT_EQ(ReadTree(music, test::IsLogOrTemporary) != before, c.someMoved);
        if (!c.someMoved) {
            EXPECT_FALSE(std::filesystem::exists(music + "/rename.ini.journal"));
        }
        ExpectRestored(music, before, kRenamedSection);
    }
}

}  // namespace
}  // namespace tandrel
