#include "rename/renamelog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "rename/renameengine.h"
#include "rename/rename_support.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
using Names = std::vector<std::string>;

RenameOptions Logged(bool recursive = false) {
    RenameOptions o;
    o.writeRenameInfo = true;
    o.recursive = recursive;
    return o;
}

TEST(RenameLog, SectionRecordsComeBackExactlyAsWritten) {
    // Names may begin with "[" or ";", hold "=" or quotes, or end in blanks.
    const Names records = {"[live].mp3=live.mp3", " a = \"b\" ", ";x.mp3=y.mp3", "a=b=c.mp3=a", "A=1", "a=2"};
    std::string log = "[deleted]\r\nz=1\r\n[Renamed]\r\n";
    for (const std::string& r : records) log += r + "\r\n";
    TempDir tmp;
    tmp.Write("rename.ini", log + "no equals\r\n[renamed]\r\nlater=section\r\n");
    LogLines got;
    ASSERT_TRUE(ReadLogSection(tmp.str(), kRenamedSection, got).ok);
    EXPECT_TRUE(got.found);
    EXPECT_EQ(got.lines, records);
}

TEST(RenameJournal, JournalOfAKilledRunIsReadByRenameBackAndFoldedIntoTheLog) {
    // The killed run moved two files; the third record lost its line end in the crash.
    TempDir tmp;
    tmp.Write("Zima.mp3", "1");
    tmp.Write("Leto.mp3", "2");
    tmp.Write("Лес.mp3", "3");
    tmp.Write("rename.ini", Cp("[renamed]\r\nOld.mp3=Старый.mp3\r\n"));
    tmp.Write("rename.ini.journal", Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\nLeto.mp3=Лето.mp3\r\nLes.mp3=Ле"));
    ScriptedPrompter p;
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p).renamed, 2);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"rename.ini", "Зима.mp3", "Лес.mp3", "Лето.mp3"}));
    EXPECT_EQ(ReadAll(tmp / "rename.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\nLeto.mp3=Лето.mp3\r\n"));
}

TEST(RenameJournal, JournalIsReadInPlaceOfTheLogWhenItCannotBeFolded) {
    TempDir tmp;
    tmp.Write("Zima.mp3", "1");
    tmp.Write("rename.ini.journal", Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
    std::filesystem::create_directory(tmp / "rename.ini");  // the log cannot be replaced
    ScriptedPrompter p;
    const RenameStats stats = RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p);
    EXPECT_EQ(stats.renamed, 1);
    ASSERT_EQ(stats.failures.size(), 1u);
    EXPECT_EQ(stats.failures[0].rfind(tmp / "rename.ini not written!!! (", 0), 0u) << stats.failures[0];
    EXPECT_TRUE(std::filesystem::exists(tmp / "Зима.mp3"));
}

TEST(RenameJournal, RunAfterAKilledRunGoesOnWithItsJournal) {
    TempDir tmp;
    tmp.Write("Zima.mp3", "1");
    tmp.Write("Лето.mp3", "2");
    tmp.Write("rename.ini.journal", Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
    ScriptedPrompter p;
    EXPECT_EQ(RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p).renamed, 1);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"Leto.mp3", "Zima.mp3", "rename.ini"}));
    EXPECT_EQ(ReadAll(tmp / "rename.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\nLeto.mp3=Лето.mp3\r\n"));
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p).renamed, 2);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"rename.ini", "Зима.mp3", "Лето.mp3"}));
}

TEST(RenameJournal, JournalOfAnotherSectionIsFoldedBeforeANewRunStarts) {
    TempDir tmp;
    tmp.Write("Song.mp3", "1");
    tmp.Write("Лето.mp3", "2");
    tmp.Write("rename.ini.journal", "[deleted]\r\nSong.mp3=01 Song.mp3\r\n");
    ScriptedPrompter p;
    RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p);
    EXPECT_EQ(ReadAll(tmp / "rename.ini"), Cp("[renamed]\r\nLeto.mp3=Лето.mp3\r\n"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "rename.ini.journal"));
}

TEST(RenameJournal, LogThatCannotBeWrittenStopsTheBatchBeforeAnyFileMoves) {
    TempDir tmp;
    tmp.Write("Зима.mp3", "1");
    tmp.Write("Лето.mp3", "2");
    tmp.Write("sub/Осень.mp3", "3");
    std::filesystem::create_directory(tmp / "rename.ini.journal");
    ScriptedPrompter p;
    const RenameStats stats = RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(true), p);
    EXPECT_EQ(stats.renamed, 0);
    EXPECT_TRUE(stats.stopped);
    ASSERT_EQ(stats.failures.size(), 1u);
    EXPECT_EQ(stats.failures[0].rfind(tmp / "rename.ini not written!!! (Cannot write", 0), 0u) << stats.failures[0];
    EXPECT_EQ(FileNames(tmp.str()), (Names{"Зима.mp3", "Лето.mp3"}));
    EXPECT_EQ(FileNames(tmp / "sub"), Names{"Осень.mp3"});
}

TEST(RenameJournal, RenameIsNeverGivenTheNameOfTheLog) {
    TempDir tmp;
    tmp.Write("RENAME.INI", "mine");
    tmp.Write("RENAME.INI.JOURNAL", "mine too");
    ScriptedPrompter p;
    const RenameStats stats = RenameDirectory(tmp.str(), "*.*", rkLowerCase, Logged(), p);
    EXPECT_EQ(stats.renamed, 0);
    EXPECT_EQ(stats.refused, 2);
    EXPECT_EQ(p.statusText().find("(the name belongs to the rename log)") != std::string::npos, true);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"RENAME.INI", "RENAME.INI.JOURNAL"}));
}

TEST(RenameJournal, AnOlderLogIsReplacedAsAWholeFileWriteReplacesIt) {
    // The log keeps the permissions it had, a linked log is written through,
    // and a read-only one is refused with the journal kept for the way back.
    namespace fs = std::filesystem;
    {
        TempDir tmp;
        tmp.Write("Зима.mp3", "1");
        tmp.Write("rename.ini", "[renamed]\r\nold=older\r\n");
        fs::permissions(tmp / "rename.ini", fs::perms(0640));
        ScriptedPrompter p;
        EXPECT_EQ(RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p).renamed, 1);
        EXPECT_EQ(ReadAll(tmp / "rename.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
        EXPECT_EQ(fs::status(tmp / "rename.ini").permissions(), fs::perms(0640));
        EXPECT_FALSE(fs::exists(tmp / "rename.ini.journal"));
    }
    {
        TempDir tmp;
        tmp.Write("Зима.mp3", "1");
        tmp.Write("logs/music.ini", "[renamed]\r\nold=older\r\n");
        fs::create_symlink("logs/music.ini", tmp / "rename.ini");
        ScriptedPrompter p;
        EXPECT_EQ(RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p).renamed, 1);
        EXPECT_TRUE(fs::is_symlink(tmp / "rename.ini"));
        EXPECT_EQ(ReadAll(tmp / "logs/music.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
        EXPECT_FALSE(fs::exists(tmp / "rename.ini.journal"));
    }
    {
        TempDir tmp;
        tmp.Write("Зима.mp3", "1");
        tmp.Write("rename.ini", "[renamed]\r\nold=older\r\n");
        fs::permissions(tmp / "rename.ini", fs::perms(0444));
        ScriptedPrompter p;
        const RenameStats stats = RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p);
        EXPECT_EQ(stats.renamed, 1);
        ASSERT_EQ(stats.failures.size(), 1u);
        EXPECT_EQ(stats.failures[0].rfind(tmp / "rename.ini not written!!! (", 0), 0u) << stats.failures[0];
        EXPECT_EQ(ReadAll(tmp / "rename.ini"), "[renamed]\r\nold=older\r\n");
        EXPECT_EQ(ReadAll(tmp / "rename.ini.journal"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
        EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p).renamed, 1);
        EXPECT_TRUE(fs::exists(fs::u8path(tmp / "Зима.mp3")));
    }
}

}  // namespace
}  // namespace tandrel
