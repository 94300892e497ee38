#include "rename/renameengine.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "rename/rename_support.h"
#include "support/as_user.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
using Names = std::vector<std::string>;

RenameOptions Logged(int mode = 0, bool lowerExt = false, bool recursive = false) {
    RenameOptions o;
    o.renameMode = mode;
    o.makeLowercaseExt = lowerExt;
    o.writeRenameInfo = true;
    o.recursive = recursive;
    o.artistMode = 1;
    o.oldSubStr = "Song";
    o.newSubStr = "Track";
    return o;
}

TEST(RenameDirectory, EachKindWithEachRenameMode) {
    struct Case { RenameKind kind; int mode; bool lowerExt; const char* before; const char* after; };
    const Case cases[] = {
        {rkTranslit, 0, false, "Зима утро_1.mp3", "Zima utro_1.mp3"},
        {rkTranslit, 1, false, "Зима утро_1.mp3", "Zima_utro_1.mp3"},
        {rkTranslit, 2, false, "Зима утро_1.mp3", "Zima utro 1.mp3"},
        {rkLowerCase, 0, false, "Ёлка Утро_1.MP3", "елка утро_1.mp3"},
        {rkLowerCase, 1, false, "Ёлка Утро_1.MP3", "елка_утро_1.mp3"},
        {rkLowerCase, 2, false, "Ёлка Утро_1.MP3", "елка утро 1.mp3"},
        {rkUpperCase, 0, false, "my song_1.mp3", "MY SONG_1.MP3"},
        {rkUpperCase, 1, false, "my song_1.mp3", "MY_SONG_1.MP3"},
        {rkUpperCase, 2, false, "my song_1.mp3", "MY SONG 1.MP3"},
        {rkUpperCase, 1, true, "my song.mp3", "MY_SONG.mp3"},
        {rkUpLoCase, 0, false, "the beatles - let_it be.mp3", "The Beatles - Let_It Be.Mp3"},
        {rkUpLoCase, 1, false, "the beatles - let_it be.mp3", "The_Beatles_-_Let_It_Be.Mp3"},
        {rkUpLoCase, 2, true, "the beatles - let_it be.mp3", "The Beatles - Let It Be.mp3"},
        {rkArtistAndTitle, 0, false, "the beatles - let_it be.mp3", "The Beatles - Let_it be.mp3"},
        {rkArtistAndTitle, 1, false, "the beatles - let_it be.mp3", "The_Beatles_-_Let_it_be.mp3"},
        {rkArtistAndTitle, 2, false, "the beatles - let_it be.mp3", "The Beatles - Let it be.mp3"},
        {rkFirstLetter, 0, false, "THE BEATLES_LET.MP3", "The beatles_let.mp3"},
        {rkFirstLetter, 1, false, "THE BEATLES_LET.MP3", "The_beatles_let.mp3"},
        {rkFirstLetter, 2, false, "THE BEATLES_LET.MP3", "The beatles let.mp3"},
        {rkSubStr, 0, false, "My Song_1.mp3", "My Track_1.mp3"},
        {rkSubStr, 1, false, "My Song_1.mp3", "My_Track_1.mp3"},
        {rkSubStr, 2, false, "My Song_1.mp3", "My Track 1.mp3"},
        // The extension the transform produced is the one made lower case.
        {rkTranslit, 0, true, "Песня.МП3", "Pesnya.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " kind " + std::to_string(c.kind) + " mode " + std::to_string(c.mode));
        TempDir tmp;
        tmp.Write(c.before, "x");
        ScriptedPrompter p;
        const RenameStats stats = RenameDirectory(tmp.str(), "*.*", c.kind, Logged(c.mode, c.lowerExt), p);
        EXPECT_EQ(stats.renamed, 1);
        EXPECT_EQ(FileNames(tmp.str()), Sorted({c.after, "rename.ini"}));
        EXPECT_EQ(ReadAll(tmp / "rename.ini"), Cp("[renamed]\r\n" + std::string(c.after) + "=" + c.before + "\r\n"));
    }
}

TEST(RenameDirectory, LowercaseExtensionAloneCausesNoRenameAndNoLog) {
    TempDir tmp;
    tmp.Write("SONG.MP3", "x");
    tmp.Write("ZIMA.MP3", "x");
    ScriptedPrompter p;
    EXPECT_EQ(RenameDirectory(tmp.str(), "*.mp3", rkUpperCase, Logged(0, true), p).renamed, 0);
    EXPECT_EQ(RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(0, true), p).renamed, 0);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"SONG.MP3", "ZIMA.MP3"}));
}

TEST(RenameDirectory, ExistingTargetIsNeverReplaced) {
    struct Case { RenameKind kind; const char* from; const char* taken; const char* status; };
    const Case cases[] = {
        {rkTranslit, "Зима.mp3", "Zima.mp3", "File Zima.mp3 already exists!!!"},
        {rkLowerCase, "A.mp3", "a.mp3", "A.mp3 not renamed!!!"},
        {rkSubStr, "My Song.mp3", "My Track.mp3", "My Song.mp3 not renamed!!!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        TempDir tmp;
        tmp.Write(c.from, "from");
        tmp.Write(c.taken, "taken");
        ScriptedPrompter p;
        const RenameStats stats = RenameDirectory(tmp.str(), "*.*", c.kind, Logged(), p);
        EXPECT_EQ(stats.renamed, 0);
        EXPECT_EQ(stats.refused, 1);
        EXPECT_EQ(p.statusText(), c.status);
        EXPECT_EQ(ReadAll(tmp / c.from), "from");
        EXPECT_EQ(ReadAll(tmp / c.taken), "taken");
        EXPECT_FALSE(std::filesystem::exists(tmp / "rename.ini"));
    }
}

TEST(RenameDirectory, NameOutsideTheCodePageIsNeverRenamedAndTheStatusSaysWhy) {
    TempDir tmp;
    tmp.Write("Песня 日本.mp3", "x");
    ScriptedPrompter p;
    const RenameStats stats = RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p);
    EXPECT_EQ(stats.refused, 1);
    EXPECT_EQ(FileNames(tmp.str()), Names{"Песня 日本.mp3"});
    EXPECT_EQ(p.statusText(),
              Cp("Песня ") + "\x98\x98.mp3 not renamed!!! (the name holds a character outside code page 1251)");
}

TEST(RenameDirectory, LogsPerDirectoryAndAnUnchangedDirectoryKeepsItsOldLog) {
    TempDir tmp;
    tmp.Write("Зима.mp3", "1");
    tmp.Write("sub/Лето.mp3", "2");
    tmp.Write("sub/rename.ini", "older log");
    tmp.Write("latin/Summer.mp3", "3");
    tmp.Write("latin/rename.ini", "[renamed]\r\nSummer.mp3=Лето.mp3\r\n");
    ScriptedPrompter p;
    RenameDirectory(tmp.str(), "*.mp3", rkTranslit, Logged(0, false, true), p);
    EXPECT_EQ(ReadAll(tmp / "rename.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
    EXPECT_EQ(ReadAll(tmp / "sub/rename.ini"), Cp("[renamed]\r\nLeto.mp3=Лето.mp3\r\n"));
    EXPECT_EQ(ReadAll(tmp / "latin/rename.ini"), "[renamed]\r\nSummer.mp3=Лето.mp3\r\n");
    // The log file itself is not renamed by a walk.
    RenameDirectory(tmp.str(), "*.*", rkUpperCase, Logged(0, false, true), p);
    EXPECT_EQ(FileNames(tmp / "sub"), (Names{"LETO.MP3", "rename.ini"}));
}

TEST(RenameDirectory, NameGivenDuringTheListingIsNotRenamedAgain) {
    // Enough files that the listing is read in several parts while renaming goes on.
    constexpr int kFiles = 3000;
    TempDir tmp;
    for (int i = 0; i < kFiles; ++i) tmp.Write("a" + std::to_string(i) + ".txt", "x");
    RenameOptions o = Logged();
    o.oldSubStr = "a";
    o.newSubStr = "aa";
    ScriptedPrompter p;
    EXPECT_EQ(RenameDirectory(tmp.str(), "*.txt", rkSubStr, o, p).renamed, kFiles);
    int missing = 0;
    for (int i = 0; i < kFiles; ++i) missing += !std::filesystem::exists(tmp / ("aa" + std::to_string(i) + ".txt"));
    EXPECT_EQ(missing, 0);
}

// Random trees come back whole in the property test; here a second rename back changes nothing.
TEST(RenameFromLog, TranslitAndBackRestoresARecursiveTreeOnce) {
    TempDir tmp;
    const Names top = {"Зима - Утро.mp3", "[1999] Альбом.mp3", " Пробел впереди.mp3", "Latin.mp3"};
    for (const std::string& n : top) tmp.Write(n, n);
    tmp.Write("Подпапка/Щука и Ёж.mp3", "deep");
    tmp.Write("Подпапка/глубже/Юрий.wav", "deeper");
    const auto before = test::ReadTree(tmp.str(), test::IsLogOrTemporary);
    RenameOptions o = Logged(1, false, true);
    ScriptedPrompter p;
    EXPECT_EQ(RenameDirectory(tmp.str(), "*.*", rkTranslit, o, p).renamed, 5);
    EXPECT_EQ(FileNames(tmp / "Подпапка/глубже"), (Names{"Yuriyi.wav", "rename.ini"}));
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, o, p).renamed, 5);
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, o, p).renamed, 0);
    EXPECT_EQ(test::ReadTree(tmp.str(), test::IsLogOrTemporary), before);
}

TEST(RenameFromLog, ReadsHandWrittenLogsAsAnIniReaderButNeverLeavesTheDirectory) {
    TempDir tmp;
    tmp.Write("Song.mp3", "1");
    tmp.Write("escape.mp3", "2");
    tmp.Write("deleted.mp3", "3");
    tmp.Write("rename.ini",
              "; comment\r\n[Renamed]\r\nSONG.MP3 = \"Old Song.MP3\"\r\nescape.mp3=../escaped.mp3\r\n"
              "[deleted]\r\ndeleted.mp3=x.mp3\r\n");
    ScriptedPrompter p;
    RenameOptions o = Logged(0, true);
    RenameFromLog(tmp.str(), "*.*", kRenamedSection, o, p);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"Old Song.mp3", "deleted.mp3", "escape.mp3", "rename.ini"}));
    EXPECT_EQ(p.statusText(), "escape.mp3 not renamed!!!");  // "../escaped.mp3" is not a file name
    EXPECT_FALSE(std::filesystem::exists(tmp / "../escaped.mp3"));
}

TEST(RenameFromLog, CaseOnlyTwinsEachGetTheirOwnNameBack) {
    // Of each pair one becomes lower case and the other is refused; the
    // refused one must not take its twin's old name on the way back.
    TempDir tmp;
    const Names names = {"song1.Mp3", "SONG1.Mp3", "song2.Mp3", "SONG2.Mp3", "song3.Mp3", "SONG3.Mp3"};
    for (const std::string& n : names) tmp.Write(n, n);
    ScriptedPrompter p;
    EXPECT_EQ(RenameDirectory(tmp.str(), "*.*", rkLowerCase, Logged(), p).renamed, 3);
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p).renamed, 3);
    Names expected = names;
    expected.push_back("rename.ini");
    EXPECT_EQ(FileNames(tmp.str()), Sorted(expected));
    for (const std::string& n : names) EXPECT_EQ(ReadAll(tmp / n), n);
}

TEST(RenameFromLog, CaseInsensitiveMatchOnlyWhenExactlyOneFileFits) {
    TempDir tmp;
    tmp.Write("one.mp3", "1");
    tmp.Write("Two.mp3", "2a");
    tmp.Write("TWO.mp3", "2b");
    tmp.Write("rename.ini", "[renamed]\r\nONE.MP3=first.mp3\r\ntwo.mp3=second.mp3\r\n");
    ScriptedPrompter p;
    EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p).renamed, 1);
    EXPECT_EQ(FileNames(tmp.str()), (Names{"TWO.mp3", "Two.mp3", "first.mp3", "rename.ini"}));
}

TEST(RenameFromLog, NamesHoldingEqualsSignsComeBack) {
    struct Case { RenameKind kind; Names files; };
    const Case cases[] = {
        {rkTranslit, {"Ёлка=ель.mp3"}},
        // "Elka" is a bystander whose name is also a possible split of the line.
        {rkTranslit, {"Ёлка=ель.mp3", "Elka"}},
        {rkUpperCase, {"a=b=c.mp3", "a"}},
        {rkSubStr, {"My Song=1.mp3", "=Song=.mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0] + " kind " + std::to_string(c.kind));
        TempDir tmp;
        for (const std::string& n : c.files) tmp.Write(n, n);
        ScriptedPrompter p;
        const RenameStats forward = RenameDirectory(tmp.str(), "*.*", c.kind, Logged(), p);
        EXPECT_GE(forward.renamed, 1);
        EXPECT_EQ(RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p).renamed, forward.renamed);
        Names expected = c.files;
        expected.push_back("rename.ini");
        EXPECT_EQ(FileNames(tmp.str()), Sorted(expected));
        for (const std::string& n : c.files) EXPECT_EQ(ReadAll(tmp / n), n);
    }
}

TEST(RenameFromLog, LogLineNamingTheLogItselfIsRefused) {
    TempDir tmp;
    const std::string log = "[renamed]\r\nrename.ini=stolen.mp3\r\nb.mp3=rename.ini\r\n";
    tmp.Write("b.mp3", "b");
    tmp.Write("rename.ini", log);
    ScriptedPrompter p;
    const RenameStats stats = RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(), p);
    EXPECT_EQ(stats.renamed, 0);
    EXPECT_EQ(stats.failures, (Names{"b.mp3 not renamed!!! (the name belongs to the rename log)",
                                     "rename.ini not renamed!!! (the name belongs to the rename log)"}));
    EXPECT_EQ(FileNames(tmp.str()), (Names{"b.mp3", "rename.ini"}));
    EXPECT_EQ(ReadAll(tmp / "rename.ini"), log);
}

TEST(RenameFromLog, DirectoryWithoutALogSaysSo) {
    TempDir tmp;
    tmp.Write("sub/a.mp3", "a");
    ScriptedPrompter p;
    const RenameStats stats = RenameFromLog(tmp.str(), "*.*", kRenamedSection, Logged(0, false, true), p);
    EXPECT_TRUE(stats.noLog);
    EXPECT_EQ(p.statusText(), "No rename log (rename.ini) found in " + tmp.str());
    EXPECT_EQ(BatchSummary(stats), p.statusText());
}

TEST(RenameDirectory, NameWithALineBreakIsNotRenamedWhenLoggedAndTheStatusSaysWhy) {
    TempDir tmp;
    tmp.Write("Зима\nутро.mp3", "x");
    ScriptedPrompter p;
    const RenameStats stats = RenameDirectory(tmp.str(), "*.*", rkTranslit, Logged(), p);
    EXPECT_EQ(stats.refused, 1);
    EXPECT_EQ(p.statusText(), Cp("Зима\nутро.mp3 not renamed!!! (the name holds a line break, which the rename log "
                                "cannot hold)"));
    EXPECT_EQ(FileNames(tmp.str()), Names{"Зима\nутро.mp3"});
}

TEST(RenameDirectory, SeveralFailuresAreSummedUpAndAllListed) {
    // The new names are longer than a file system allows (255 bytes).
    TempDir tmp;
    for (int i = 1; i <= 5; ++i) tmp.Write(std::string(200, 'a') + std::to_string(i) + ".mp3", "x");
    tmp.Write("a.mp3", "x");
    RenameOptions o = Logged();
    o.oldSubStr = "a";
    o.newSubStr = "aa";
    ScriptedPrompter p;
    const RenameStats stats = RenameDirectory(tmp.str(), "*.*", rkSubStr, o, p);
    EXPECT_EQ(stats.renamed, 1);
    ASSERT_EQ(stats.failures.size(), 5u);
    for (const std::string& f : stats.failures) EXPECT_NE(f.find("File name too long"), std::string::npos) << f;
    EXPECT_EQ(BatchSummary(stats), "Renamed: 1, failed: 5. First: " + stats.failures.front());
}

TEST(RenameDirectory, ReadOnlyDirectoryGivesOneFailurePerFileOrStopsAtTheLog) {
    TempDir tmp;
    for (int i = 1; i <= 5; ++i) tmp.Write("music/Зима" + std::to_string(i) + ".mp3", "x");
    tmp.Write("out/.keep", "");
    const std::string music = tmp / "music";
    const int code = test::RunAsUser(tmp.str(), [&] {
        if (::chmod(music.c_str(), 0555) != 0) return 2;
        ScriptedPrompter p;
        RenameOptions o = Logged();
        o.writeRenameInfo = false;
        const RenameStats plain = RenameDirectory(music, "*.*", rkTranslit, o, p);
        const RenameStats logged = RenameDirectory(music, "*.*", rkTranslit, Logged(), p);
        std::ofstream(tmp / "out/report.txt") << BatchSummary(plain) << "\n" << BatchSummary(logged) << "\n";
        return 0;
    });
    ASSERT_EQ(code, 0);
    const std::string report = ReadAll(tmp / "out/report.txt");
    EXPECT_NE(report.find("Renamed: 0, failed: 5. First: "), std::string::npos) << report;
    EXPECT_NE(report.find("Permission denied)\nRenamed: 0, failed: 1. First: " + music +
                          "/rename.ini not written!!! (Cannot write"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Stopped: the rename log cannot be written"), std::string::npos) << report;
}

}  // namespace
}  // namespace tandrel
