// The settings save killed at every point: a child process saves the mask
// list, the registry file and TdSettings.ini and is killed at each step of
// each file's save in turn, and at random moments of a run of saves. After
// each kill every file is whole, old or new byte for byte, and once the next
// save has run in the folder no temporary file is left.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "app/settings.h"
#include "platform/posix_file.h"
#include "support/child_process.h"
#include "support/settings_file.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
namespace fs = std::filesystem;

using Files = std::map<std::string, std::string>;  // name -> bytes

// Two states of every setting; each save writes one of them.
struct State {
    TAppSettings s;
    MainControlValues c;
    std::vector<std::string> masks;
};

State MakeState(int variant) {
    State st;
    st.s.renameMode = static_cast<std::int8_t>(variant);
    st.s.numberSplit = variant ? "-" : "_";
    st.s.audioProgram = variant ? "/usr/bin/mpv" : "/usr/bin/vlc";
    st.s.saveMaskPosition = true;
    st.c.maskPosition = variant + 1;
    st.c.findMask = variant ? "*.mp3" : "*.txt";
    st.c.findText = std::string(variant ? 3000 : 2000, 'q');  // long enough to take several writes
    st.masks = {"*.txt", variant ? "*.ogg" : "*.wav", "*.*"};
    return st;
}

// One save of the window at exit and of the Save Settings command.
bool SaveAll(const std::string& dir, const State& st) {
    RegistryStore store(dir + "/registry.reg");
    const bool saved = SaveSettings(store, dir + "/TdMasks.ini", st.masks, st.s, st.c).ok;
    return ExportSettings(dir, store, st.s, st.c).result.ok && saved;
}

Files Snapshot(const std::string& dir) {
    Files files;
    for (const auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = ReadAll(entry.path().string());
    return files;
}

// A folder holding the files as they are after a save of state 0.
void Prepare(const TempDir& dir) {
    dir.Write("TdSettings.ini", "[Settings]\r\nOther=kept\r\n");
    ASSERT_TRUE(SaveAll(dir.str(), MakeState(0)));
}

bool IsTemporary(const std::string& name) { return name.rfind(".tandrel-", 0) == 0; }

// Each file of now equals its bytes in one of the states; nothing else is
// there but temporary files, which the next save must remove.
void ExpectWholeFiles(const Files& now, const std::vector<Files>& states, const std::string& when) {
    for (const auto& [name, bytes] : now) {
        if (IsTemporary(name)) continue;
        bool whole = false;
        for (const Files& st : states) whole = whole || (st.count(name) && st.at(name) == bytes);
        EXPECT_TRUE(whole) << name << " is torn or foreign (" << bytes.size() << " bytes) " << when;
    }
    for (const auto& [name, bytes] : states.front())
        EXPECT_TRUE(now.count(name)) << name << " is gone " << when;
}

// The next save in the folder, by another process, clears what a dead one left.
void SaveAgainAndExpectNoTemporary(const std::string& dir, const Files& expected, const std::string& when) {
    const ChildOutcome outcome = RunInChild([&] {
        detail::SetUnnamedTemporariesAllowed(false);
        return SaveAll(dir, MakeState(1)) ? 0 : 1;
    });
    ASSERT_TRUE(outcome.finished);
    ASSERT_EQ(outcome.exitCode, 0);
    const Files after = Snapshot(dir);
    std::string names;
    for (const auto& [name, bytes] : after) names += " " + name;
    EXPECT_EQ(after.size(), expected.size()) << "a temporary file is left " << when << ":" << names;
    EXPECT_TRUE(after == expected) << "the files differ from a whole save " << when;
}

int g_killAtStep = 0;
int g_stepsSeen = 0;

void KillAtNthStep(detail::WriteStep) {
    if (++g_stepsSeen == g_killAtStep) ::kill(::getpid(), SIGKILL);
}

TEST(SettingsCrash, SaveKilledAtEveryStepLeavesEachFileOldOrNewAndNoTemporary) {
    Files oldFiles, newFiles;
    {
        TempDir dir;
        Prepare(dir);
        oldFiles = Snapshot(dir.str());
        ASSERT_TRUE(SaveAll(dir.str(), MakeState(1)));
        newFiles = Snapshot(dir.str());
    }
    ASSERT_EQ(oldFiles.size(), 3u);
    ASSERT_FALSE(oldFiles == newFiles);

    for (const bool unnamed : {true, false}) {
        int killed = 0;
        for (g_killAtStep = 1;; ++g_killAtStep) {
            TempDir dir;
            Prepare(dir);
            const ChildOutcome outcome = RunInChild([&] {
                detail::SetUnnamedTemporariesAllowed(unnamed);
                g_stepsSeen = 0;
                detail::SetWriteStepHook(KillAtNthStep);
                return SaveAll(dir.str(), MakeState(1)) ? 0 : 1;
            });
            ASSERT_TRUE(outcome.finished);
            const std::string when = std::string(unnamed ? "unnamed" : "named") + " temporaries, killed at step " +
                                     std::to_string(g_killAtStep);
            const Files left = Snapshot(dir.str());
            ExpectWholeFiles(left, {oldFiles, newFiles}, when);
            // Unnamed temporary files have a name only between their naming and the rename.
            const bool named = std::any_of(left.begin(), left.end(), [](const auto& f) { return IsTemporary(f.first); });
            if (unnamed) {
                EXPECT_EQ(named, g_killAtStep % 5 == 4) << when;
            }
            SaveAgainAndExpectNoTemporary(dir.str(), newFiles, when);
            if (outcome.signal != SIGKILL) {
                EXPECT_EQ(outcome.exitCode, 0);
                EXPECT_TRUE(Snapshot(dir.str()) == newFiles);
                break;
            }
            ++killed;
            ASSERT_LT(g_killAtStep, 100) << "the save never ends";
        }
        // Three files of five steps each: created, written, synced, named, renamed.
        EXPECT_EQ(killed, 15) << (unnamed ? "unnamed" : "named");
    }
}

TEST(SettingsCrash, SavesKilledAtRandomMomentsLeaveWholeFiles) {
    Files states[2];
    TempDir dir;
    Prepare(dir);
    states[0] = Snapshot(dir.str());
    ASSERT_TRUE(SaveAll(dir.str(), MakeState(1)));
    states[1] = Snapshot(dir.str());
    ASSERT_TRUE(SaveAll(dir.str(), MakeState(0)));
    ASSERT_TRUE(Snapshot(dir.str()) == states[0]) << "saving a state back must give the same bytes";

    std::mt19937 rng(1207);
    for (int trial = 0; trial < 30; ++trial) {
        const bool unnamed = trial % 2 == 0;
        const auto delay = std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(rng));
        // The child saves the two states in turn until it is killed.
        const ChildOutcome outcome = RunInChild([&] {
            detail::SetUnnamedTemporariesAllowed(unnamed);
            for (int i = 1;; ++i)
                if (!SaveAll(dir.str(), MakeState(i % 2))) return 1;
        }, std::chrono::duration_cast<std::chrono::milliseconds>(delay) + std::chrono::milliseconds(1));
        EXPECT_FALSE(outcome.finished) << "a save failed in trial " << trial;
        const std::string when = "trial " + std::to_string(trial);
        ExpectWholeFiles(Snapshot(dir.str()), {states[0], states[1]}, when);
        SaveAgainAndExpectNoTemporary(dir.str(), states[1], when);
    }
}

}  // namespace
}  // namespace tandrel
