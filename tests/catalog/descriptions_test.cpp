#include "catalog/descriptions.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "catalog_support.h"
#include "support/as_user.h"
#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"

namespace tandrel {
namespace {

using test::CrLfLines;
using Lines = std::vector<std::string>;

Lines Cps(std::initializer_list<const char*> utf8) {
    Lines out;
    for (const char* s : utf8) out.push_back(Cp(s));
    return out;
}

class Descriptions : public ::testing::Test {
protected:
    CatalogStats Make(const std::string& scan, const std::string& write, const std::string& mask,
                      bool numbered = false) {
        DescriptionOptions o;
        o.addingNumber = numbered;
        return MakeDescriptions(scan, write, mask, o, prompter);
    }
    CorrectionStats Translit(const std::string& scan, const std::string& mask, bool log = false) {
        RenameOptions o;
        o.writeRenameInfo = log;
        return TranslitAndCorrectDescriptions(scan, scan, mask, o, {"/"}, prompter);
    }
    test::TempDir tmp;
    std::string music = tmp / "Music";
    test::ScriptedPrompter prompter;
};

TEST_F(Descriptions, NumberedNamesSortedWithoutRegardToCase) {
    tmp.Write("Music/b.mp3", "1");
    tmp.Write("Music/A song.mp3", "2");
    tmp.Write("Music/notes.txt", "3");
    const CatalogStats stats = Make(music, music, "*.mp3", true);
    EXPECT_EQ(stats.written, Lines{tmp / "Music.txt"});
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), (Lines{"01_A song", "02_b"}));
}

TEST_F(Descriptions, EachDirectoryBesideItselfAndNoneWithoutMatches) {
    tmp.Write("Music/Rock/Зима.mp3", "1");
    tmp.Write("Music/Rock/noext", "2");
    tmp.Write("Music/Empty/a.txt", "3");
    tmp.Write("Music/Empty.txt", "kept");
    tmp.Write("Music/song.tar.mp3", "4");
    Make(music, music, "*.mp3");
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Lines{"song.tar"});
    EXPECT_EQ(CrLfLines(music + "/Rock.txt"), Cps({"Зима"}));
    EXPECT_EQ(test::ReadAll(music + "/Empty.txt"), "kept");
    // An empty mask extension admits the files without one.
    Make(music + "/Rock", music + "/Rock", "*.");
    EXPECT_EQ(CrLfLines(music + "/Rock.txt"), Lines{"noext"});
}

TEST_F(Descriptions, WholeMaskNeverDescribesTheDescriptionsOfThisRun) {
    tmp.Write("Music/a.mp3", "1");
    tmp.Write("Music/Rock/b.mp3", "2");
    Make(music, music, "*.*");
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Lines{"a"});  // not "Rock", whatever the listing order
}

TEST_F(Descriptions, SeparateDirectoryForWritingIsCreatedLevelByLevel) {
    tmp.Write("Music/a.mp3", "1");
    tmp.Write("Music/Rock/Old/c.mp3", "2");
    const std::string out = tmp / "out/Music";
    const CatalogStats stats = Make(music, out, "*.mp3");
    EXPECT_TRUE(stats.failures.empty());
    EXPECT_EQ(CrLfLines(tmp / "out/Music.txt"), Lines{"a"});
    EXPECT_EQ(CrLfLines(tmp / "out/Music/Rock/Old.txt"), Lines{"c"});
    EXPECT_FALSE(std::filesystem::exists(tmp / "out/Music/Rock.txt"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "Music.txt"));
}

TEST(DescriptionPath, DriveRootsUseTheirLastComponent) {
    struct Case { const char* scan; const char* write; const char* path; };
    const std::vector<std::string> roots = {"/", "/media/usb"};
    const Case cases[] = {
        {"/data/Music", "/data/Music", "/data/Music.txt"},
        {"/data/Music/", "/data/Music//", "/data/Music.txt"},
        {"/Music", "/Music", "/Music.txt"},
        {"/data/Music", "/media/usb", "/media/usb/usb_Music.txt"},
        {"/media/usb", "/media/usb", "/media/usb/usb_usb_Drv.txt"},
        {"/media/usb", "/out/usb", "/out/usb_Drv.txt"},
        {"/", "/", "/root_root_Drv.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(DescriptionPath(c.scan, c.write, roots), c.path) << c.scan << " " << c.write;
}

TEST_F(Descriptions, DirectoryThatCannotBeCreatedIsReportedAndTheWalkGoesOn) {
    tmp.Write("Music/a.mp3", "1");
    tmp.Write("Music/Rock/b.mp3", "2");
    tmp.Write("blocked", "a file where a directory would be");
    const CatalogStats stats = Make(music, tmp / "blocked/Music", "*.mp3");
    EXPECT_EQ(stats.failures, (Lines{"Error Create Directory: " + tmp / "blocked/Music", "Error Create Directory: " + tmp / "blocked"}));
    EXPECT_EQ(prompter.statusText(), "Error Create Directory: " + tmp / "blocked");
}

TEST_F(Descriptions, UnreadableDirectoryIsReportedOnceAndTheOthersAreDescribed) {
    tmp.Write("Music/a.mp3", "1");
    tmp.Write("Music/locked/b.mp3", "2");
    tmp.Write("Music/open/c.mp3", "3");
    const std::string locked = music + "/locked";
    const std::string report = tmp / "report.txt";
    const int code = test::RunAsUser(tmp.str(), [&] {
        if (::chmod(locked.c_str(), 0) != 0) return 2;
        test::ScriptedPrompter p;
        const CatalogStats stats = MakeDescriptions(music, music, "*.mp3", DescriptionOptions{}, p);
        std::ofstream r(report);
        for (const std::string& f : stats.failures) r << f << "\n";
        return 0;
    });
    ASSERT_EQ(code, 0);
    EXPECT_EQ(test::ReadAll(report), "Cannot read " + locked + ": Permission denied\n");
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Lines{"a"});
    EXPECT_EQ(CrLfLines(music + "/open.txt"), Lines{"c"});
    EXPECT_FALSE(std::filesystem::exists(music + "/locked.txt"));
}

TEST_F(Descriptions, TranslitKeepsTheTextsInTheOrderOfTheNewNamesAndTwiceOnlySorts) {
    tmp.Write("Music/Зима.mp3", "1");
    tmp.Write("Music/Лето.mp3", "2");
    tmp.Write("Music/b.mp3", "3");
    tmp.Write("Music/Rock/Осень.mp3", "4");
    Make(music, music, "*.mp3");
    ASSERT_EQ(CrLfLines(tmp / "Music.txt"), Cps({"b", "Зима", "Лето"}));

    CorrectionStats first = Translit(music, "*.mp3", true);
    EXPECT_EQ(first.renames.renamed, 3);
    EXPECT_TRUE(first.renames.failures.empty());
    EXPECT_TRUE(std::filesystem::exists(music + "/Zima.mp3"));
    EXPECT_TRUE(std::filesystem::exists(music + "/Rock/Osen.mp3"));
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Cps({"b", "Лето", "Зима"}));  // Leto before Zima
    EXPECT_EQ(CrLfLines(music + "/Rock.txt"), Cps({"Осень"}));
    EXPECT_EQ(CrLfLines(music + "/rename.ini")[0], "[renamed]");
    EXPECT_EQ(first.written.size(), 2u);

    CorrectionStats second = Translit(music, "*.mp3");
    EXPECT_EQ(second.renames.renamed, 0);
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Cps({"b", "Зима", "Лето"}));
}

TEST_F(Descriptions, TranslitLeavesNumberedDescriptionsButForTheirOrder) {
    tmp.Write("Music/Лето.mp3", "1");
    tmp.Write("Music/Зима.mp3", "2");
    tmp.Write("Music.txt", Cp("03_Лето\r\n01_Зима\r\n"));
    Translit(music, "*.mp3");
    EXPECT_TRUE(std::filesystem::exists(music + "/Leto.mp3"));
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Cps({"01_Зима", "03_Лето"}));
}

TEST_F(Descriptions, TranslitWithAnExistingTargetKeepsTheFileAndItsLine) {
    tmp.Write("Music/Зима.mp3", "1");
    tmp.Write("Music/Zima.mp3", "taken");
    tmp.Write("Music.txt", Cp("Зима\r\n"));
    CorrectionStats stats = Translit(music, "*.mp3");
    EXPECT_EQ(stats.renames.failures, Lines{Cp("File Zima.mp3 already exists!!! (Зима.mp3 not renamed!!!)")});
    EXPECT_EQ(CrLfLines(tmp / "Music.txt"), Cps({"Зима"}));
    EXPECT_EQ(test::ReadAll(music + "/Zima.mp3"), "taken");
}

// Descriptions written before the stop are kept; a directory whose listing
// the stop cut short gets none, whatever it held by then.
TEST_F(Descriptions, StoppedWalkKeepsTheWholeDescriptionsOnly) {
    for (const char* name : {"Music/A/a1.mp3", "Music/A/a2.mp3", "Music/B/b1.mp3", "Music/B/b2.mp3"})
        tmp.Write(name, "");
    const CatalogStats all = Make(music, music, "*.mp3");
    EXPECT_EQ(all.written.size(), 2u);
    for (const std::string& path : all.written) std::filesystem::remove(path);

    prompter.StopAfterFiles(3);  // the first directory whole, one file of the second
    const CatalogStats stats = Make(music, music, "*.mp3");
    EXPECT_TRUE(stats.cancelled);
    ASSERT_EQ(stats.written.size(), 1u);
    EXPECT_EQ(CrLfLines(stats.written.front()).size(), 2u);
    const std::string other = stats.written.front() == music + "/A.txt" ? music + "/B.txt" : music + "/A.txt";
    EXPECT_FALSE(std::filesystem::exists(other));
    EXPECT_FALSE(std::filesystem::exists(tmp / "Music.txt"));
}

}  // namespace
}  // namespace tandrel
