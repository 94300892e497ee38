// Legacy file names on real folders: names in code page 1251, CP866 and
// KOI8-R become readable UTF-8 names, and their log gives them back their bytes.
#include "rename/namerepair.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/rawnames.h"
#include "rename_support.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;

// Writes a file whose name is given as bytes on disk.
void WriteRaw(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

const std::string kKinoCp1251 = "\xCA\xE8\xED\xEE.mp3";         // Кино.mp3
const std::string kKinoCp866 = "\x8A\xA8\xAD\xAE.mp3";          // Кино.mp3
const std::string kPesnyaKoi8 = "\xF0\xC5\xD3\xCE\xD1.txt";     // Песня.txt
const std::string kAlbumCp1251 = "\xC0\xEB\xFC\xE1\xEE\xEC";    // Альбом
const std::string kSongCp866 = "\x8F\xA5\xE1\xAD\xEF.mp3";      // Песня.mp3

TEST(NameRepair, PlanReadsEachEncodingAndFindsCollisions) {
    TempDir dir;
    WriteRaw(dir / kKinoCp1251, "one");
    WriteRaw(dir / kKinoCp866, "two");  // the same new name as the first
    WriteRaw(dir / kPesnyaKoi8, "three");
    dir.Write("Письмо.txt", "utf-8");    // already UTF-8: no row
    WriteRaw(dir / "\xCF\xE8\xF1\xFC\xEC\xEE.txt", "clash");  // Письмо.txt in code page 1251
    const NameRepairPlan plan = PlanNameRepair(dir.str(), false);
    ASSERT_TRUE(plan.failures.empty());
    std::map<std::string, std::pair<std::string, NameRepairStatus>> rows;
    for (const NameRepairRow& row : plan.rows)
        rows[row.rawName] = {std::string(LegacyEncodingName(row.encoding)) + ":" + Cp1251ToUtf8(row.newName),
                             row.status};
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[kPesnyaKoi8], std::make_pair(std::string("koi8-r:Песня.txt"), NameRepairStatus::kReady));
    EXPECT_EQ(rows["\xCF\xE8\xF1\xFC\xEC\xEE.txt"],
              std::make_pair(std::string("cp1251:Письмо.txt"), NameRepairStatus::kExists));
    // One of the two Кино gets the name, the other is left as it is.
    const auto a = rows[kKinoCp1251], b = rows[kKinoCp866];
    EXPECT_EQ(a.first, "cp1251:Кино.mp3");
    EXPECT_EQ(b.first, "cp866:Кино.mp3");
    EXPECT_EQ(std::min(a.second, b.second), NameRepairStatus::kReady);
    EXPECT_EQ(std::max(a.second, b.second), NameRepairStatus::kTwice);
}

TEST(NameRepair, RepairsATreeAndItsLogRenamesItBack) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / kAlbumCp1251).c_str(), 0755), 0);
    WriteRaw(dir / kAlbumCp1251 + "/" + kSongCp866, "song");
    WriteRaw(dir / kPesnyaKoi8, "text");
    dir.Write("plain.txt", "stays");
    const auto before = ReadTree(dir.str());

    NameRepairPlan plan = PlanNameRepair(dir.str(), true);
    ASSERT_EQ(plan.rows.size(), 3u);
    ScriptedPrompter prompter;
    const RenameStats stats = RepairNames(plan, prompter);
    EXPECT_EQ(stats.renamed, 3);
    EXPECT_TRUE(stats.failures.empty()) << stats.failures.front();
    for (const NameRepairRow& row : plan.rows) EXPECT_EQ(row.status, NameRepairStatus::kDone);
    const std::map<std::string, std::string> expected = {
        {"Альбом", "dir"}, {"Альбом/Песня.mp3", "song"}, {"Песня.txt", "text"}, {"plain.txt", "stays"}};
    EXPECT_EQ(ReadTree(dir.str(), IsLogOrTemporary), expected);

    const RenameStats back = RenameRepairedNamesBack(dir.str(), true, prompter);
    EXPECT_EQ(back.renamed, 3);
    EXPECT_TRUE(back.failures.empty()) << back.failures.front();
    EXPECT_EQ(ReadTree(dir.str(), IsLogOrTemporary), before);
}

TEST(NameRepair, AStoppedRepairKeepsWhatItDidInItsLog) {
    TempDir dir;
    WriteRaw(dir / kKinoCp1251, "kino");
    WriteRaw(dir / kPesnyaKoi8, "text");
    WriteRaw(dir / kSongCp866, "song");
    const auto before = ReadTree(dir.str());
    NameRepairPlan plan = PlanNameRepair(dir.str(), false);
    ASSERT_EQ(plan.rows.size(), 3u);
    ScriptedPrompter prompter;
    prompter.StopAfterFiles(1);
    const RenameStats stats = RepairNames(plan, prompter);
    EXPECT_TRUE(stats.cancelled);
    EXPECT_EQ(stats.renamed, 1);
    EXPECT_NE(ReadTree(dir.str(), IsLogOrTemporary), before);

    ScriptedPrompter again;
    EXPECT_EQ(RenameRepairedNamesBack(dir.str(), false, again).renamed, 1);
    EXPECT_EQ(ReadTree(dir.str(), IsLogOrTemporary), before);
}

TEST(NameRepair, DryRunOfASubFolderWithALegacyNameSeesInsideIt) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / kAlbumCp1251).c_str(), 0755), 0);
    WriteRaw(dir / kAlbumCp1251 + "/" + kSongCp866, "song");
    const auto before = ReadTree(dir.str());
    const NameRepairPlan plan = PlanNameRepair(dir.str(), true);
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(Cp1251ToUtf8(plan.rows[1].dir), dir / "Альбом");
    EXPECT_EQ(ReadTree(dir.str()), before);
    EXPECT_EQ(PlanNameRepair(dir.str(), false).rows.size(), 1u);
}

TEST(NameRepair, AFolderThatCouldNotBeRenamedKeepsItsContentAsItIs) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / kAlbumCp1251).c_str(), 0755), 0);
    WriteRaw(dir / kAlbumCp1251 + "/" + kSongCp866, "song");
    NameRepairPlan plan = PlanNameRepair(dir.str(), true);
    ASSERT_EQ(plan.rows.size(), 2u);
    ::mkdir((dir / "Альбом").c_str(), 0755);  // appears after the plan
    ScriptedPrompter prompter;
    const RenameStats stats = RepairNames(plan, prompter);
    EXPECT_EQ(stats.renamed, 0);
    EXPECT_EQ(plan.rows[0].status, NameRepairStatus::kFailed);
    EXPECT_EQ(plan.rows[1].status, NameRepairStatus::kSkipped);
    EXPECT_TRUE(std::filesystem::exists(dir / kAlbumCp1251 + "/" + kSongCp866));
}

TEST(RawNames, OrdinaryNamesAndUnsafeNamesAreRefused) {
    TempDir dir;
    WriteRaw(dir / "plain.txt", "x");
    WriteRaw(dir / kKinoCp1251, "y");
    WriteRaw(dir / "taken.mp3", "z");
    // A UTF-8 name is for the ordinary commands; a target is never replaced.
    EXPECT_FALSE(MoveRawNameNoReplace(dir.str(), "plain.txt", "other.txt").ok);
    EXPECT_FALSE(MoveRawNameNoReplace(dir.str(), kKinoCp1251, "taken.mp3").ok);
    EXPECT_FALSE(MoveRawNameNoReplace(dir.str(), kKinoCp1251, "sub/x.mp3").ok);
    EXPECT_FALSE(MoveRawNameNoReplace(dir.str(), "..", "x.mp3").ok);
    EXPECT_EQ(ReadAll(dir / "taken.mp3"), "z");
    EXPECT_EQ(ReadAll(dir / kKinoCp1251), "y");
    EXPECT_TRUE(MoveRawNameNoReplace(dir.str(), kKinoCp1251, Cp("Кино.mp3")).ok);
    EXPECT_EQ(ReadAll(dir / "Кино.mp3"), "y");
    EXPECT_FALSE(MoveToRawNameNoReplace(dir.str(), Cp("Кино.mp3"), "plain.txt").ok);
    EXPECT_TRUE(MoveToRawNameNoReplace(dir.str(), Cp("Кино.mp3"), kKinoCp1251).ok);
    EXPECT_EQ(ReadAll(dir / kKinoCp1251), "y");
}

}  // namespace
}  // namespace tandrel
