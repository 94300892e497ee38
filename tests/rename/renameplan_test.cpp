#include "rename/renameplan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/language.h"
#include "rename/listing_oracle.h"
#include "rename/rename_support.h"
#include "rename/renameengine.h"
#include "rename/structural.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

using namespace test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A prompter whose user asks the run to stop once `after` files were examined.
class StoppingPrompter : public ScriptedPrompter {
public:
    explicit StoppingPrompter(int after) : after_(after) {}
    bool StopRequested() override { return ++asked_ >= after_; }

private:
    int after_;
    int asked_ = 0;
};

// What a run leaves: the tree (logs included, byte for byte), its failures and
// status texts with the tree's root written as "<root>".
struct Outcome {
    std::map<std::string, std::string> tree;
    Names failures;
    Names statusTexts;
    int renamed = 0;
    bool operator==(const Outcome&) const = default;
};

std::string Unrooted(std::string text, const std::string& root) {
    for (std::size_t at; (at = text.find(root)) != std::string::npos;) text.replace(at, root.size(), "<root>");
    return text;
}

Outcome Observe(const std::string& root, const RenameStats& stats, const ScriptedPrompter& p) {
    Outcome o;
    o.tree = ReadTree(root);
    for (const std::string& f : stats.failures) o.failures.push_back(Unrooted(f, root));
    for (const std::string& s : p.Texts(PromptKind::Status)) o.statusTexts.push_back(Unrooted(s, root));
    o.renamed = stats.renamed;
    return o;
}

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    for (const auto& [path, bytes] : o.tree) out << "\n  " << path << " = " << bytes.size() << " bytes";
    for (const std::string& f : o.failures) out << "\n  failure: " << Cp1251ToUtf8(f);
    return out << "\n  renamed: " << o.renamed;
}

using Command = std::function<RenameStats(const std::string& root, Prompter& p)>;

// Builds the same tree twice, runs the listing-time rename on one and the
// plan on the other, and expects the same outcome.
void ExpectSameAsListingRename(const std::function<void(const TempDir&)>& build, const Command& old,
                               const Command& planned) {
    TempDir a, b;
    build(a);
    build(b);
    ScriptedPrompter pa, pb;
    const Outcome before = Observe(a.str(), old(a.str(), pa), pa);
    const Outcome after = Observe(b.str(), planned(b.str(), pb), pb);
    EXPECT_EQ(before, after) << "listing rename:" << before << "\nplan:" << after;
}

RenameOptions Options(bool logged, bool lowerExt = false, int mode = 0) {
    RenameOptions o;
    o.writeRenameInfo = logged;
    o.makeLowercaseExt = lowerExt;
    o.renameMode = mode;
    o.recursive = true;
    o.artistMode = 1;
    o.oldSubStr = "ab";
    o.newSubStr = "b";
    return o;
}

// Names that collide, chain into one another or meet a directory of their
// target's name, in two levels.
void TrickyTree(const TempDir& t) {
    for (const char* dir : {"", "sub/"}) {
        const std::string d = dir;
        for (const char* name : {"Зима.mp3", "Zima.mp3", "Ель.txt", "Эль.txt", "AB.MP3", "ab.mp3", "Ab.Mp3",
                                 "Лес пол.txt", "abab.txt", "bab.txt", "ab.txt", "b.txt", "a_b c.TXT",
                                 "rename.ini.txt", "日本.txt", "x"})
            t.Write(d + name, name);
        fs::create_directories(t / (d + "Les pol.txt"));
        fs::create_directories(t / (d + "abb.txt"));
    }
}

TEST(RenamePlan, EveryKindEndsAsTheListingRenameDid) {
    for (int kind = 0; kind < kRenameKindCount; ++kind)
        for (bool logged : {false, true})
            for (int mode : {0, 1})
                for (bool lowerExt : {false, true}) {
                    SCOPED_TRACE("kind " + std::to_string(kind) + " logged " + std::to_string(logged) + " mode " +
                                 std::to_string(mode) + " lowerExt " + std::to_string(lowerExt));
                    const RenameOptions o = Options(logged, lowerExt, mode);
                    const auto k = static_cast<RenameKind>(kind);
                    ExpectSameAsListingRename(
                        TrickyTree, [&](const std::string& r, Prompter& p) { return oracle::RenameDirectory(r, "*.*", k, o, p); },
                        [&](const std::string& r, Prompter& p) { return RenameDirectory(r, "*.*", k, o, p); });
                }
}

TEST(RenamePlan, SelectionExtensionsNumberingAndCuttingEndAsTheListingRenameDid) {
    const Names chosen = {Cp("Зима.mp3"), Cp("Ель.txt"), Cp("Эль.txt"), "AB.MP3", "ab.mp3", "x", "missing"};
    const Names chosenUtf8 = {"Зима.mp3", "Ель.txt", "Эль.txt", "AB.MP3", "ab.mp3", "x", "missing"};
    for (int kind = 0; kind < kRenameKindCount; ++kind) {
        SCOPED_TRACE("selected, kind " + std::to_string(kind));
        const auto k = static_cast<RenameKind>(kind);
        ExpectSameAsListingRename(
            TrickyTree,
            [&](const std::string& r, Prompter& p) { return oracle::RenameSelectedFiles(r, chosen, k, Options(true), p); },
            [&](const std::string& r, Prompter& p) { return RenameSelectedFiles(r, chosen, k, Options(true), p); });
    }
    SCOPED_TRACE("extensions");
    ExpectSameAsListingRename(
        TrickyTree, [](const std::string& r, Prompter& p) { return oracle::LowerCaseExtensions(r, "*.*", true, p); },
        [](const std::string& r, Prompter& p) { return LowerCaseExtensions(r, "*.*", true, p); });
    for (const char* target : {"*.cd", "*.mp3", "*", "*.t?t", "*.txt"}) {
        SCOPED_TRACE(target);
        ExpectSameAsListingRename(
            TrickyTree, [&](const std::string& r, Prompter& p) { return oracle::ChangeExtensions(r, "*.txt", target, true, p); },
            [&](const std::string& r, Prompter& p) { return ChangeExtensions(r, "*.txt", target, true, p); });
    }
    for (bool adding : {false, true}) {
        SCOPED_TRACE("numbering");
        NumberingOptions n;
        n.addingNumber = adding;
        n.numberSplit = adding ? "_" : "a";
        n.recursive = true;
        ExpectSameAsListingRename(
            TrickyTree, [&](const std::string& r, Prompter& p) { return oracle::AddNumbering(r, "*.*", n, p); },
            [&](const std::string& r, Prompter& p) { return AddNumbering(r, "*.*", n, p); });
    }
    for (int count : {1, 2}) {
        SCOPED_TRACE("delete first " + std::to_string(count));
        ExpectSameAsListingRename(
            TrickyTree, [&](const std::string& r, Prompter& p) { return oracle::DeleteFirstSymbols(r, "*.*", count, true, true, p); },
            [&](const std::string& r, Prompter& p) { return DeleteFirstSymbols(r, "*.*", count, true, true, p); });
    }
}

// The row of name in the plan's directory dir.
const PlanRow* RowOf(const RenamePlan& plan, const std::string& name) {
    for (const PlanRow& row : plan.rows)
        if (row.oldName == name) return &row;
    return nullptr;
}

TEST(RenamePlan, FindsCollisionsInsideThePlanAndNamesItCannotGive) {
    TempDir t;
    for (const char* name : {"Ель.txt", "Эль.txt", "Zima.txt", "Зима.txt", "Лес.txt", "Лето.txt", "Я 日本.txt"})
        t.Write(name, "x");
    fs::create_directories(t / "Les.txt");
    ASSERT_EQ(TransformName(Cp("Ель.txt"), rkTranslit, {}), TransformName(Cp("Эль.txt"), rkTranslit, {}));
    const RenamePlan plan = PlanRenameDirectory(t.str(), "*.*", rkTranslit, Options(true));
    ASSERT_EQ(plan.rows.size(), 7u);
    // Of the two names that give the same target, the one listed first renames.
    const PlanRow* first = RowOf(plan, Cp("Ель.txt"));
    const PlanRow* second = RowOf(plan, Cp("Эль.txt"));
    if (std::distance(plan.rows.data(), first) > std::distance(plan.rows.data(), second)) std::swap(first, second);
    EXPECT_EQ(first->status, PlanStatus::WillRename);
    EXPECT_EQ(second->status, PlanStatus::SameTarget);
    EXPECT_EQ(RowOf(plan, "Zima.txt")->status, PlanStatus::Unchanged);
    EXPECT_EQ(RowOf(plan, Cp("Зима.txt"))->status, PlanStatus::TargetExists);
    EXPECT_EQ(RowOf(plan, Cp("Лес.txt"))->status, PlanStatus::TargetExists);  // a directory has the name
    EXPECT_EQ(RowOf(plan, Cp("Лето.txt"))->status, PlanStatus::WillRename);
    EXPECT_EQ(RowOf(plan, Cp("Я ") + "\x98\x98.txt")->status, PlanStatus::OutsideCodePage);
    const PlanCounts counts = CountPlan(plan);
    EXPECT_EQ(counts.willRename, 2);
    EXPECT_EQ(counts.unchanged, 1);
    EXPECT_EQ(counts.problems, 4);
    EXPECT_EQ(FileNames(t.str()).size(), 7u);  // planning moves nothing

    // On a case-sensitive file system a case-only difference is another name.
    TempDir c;
    c.Write("a.txt", "1");
    c.Write("A.TXT", "2");
    c.Write("B.TXT", "3");
    const RenamePlan lower = PlanRenameDirectory(c.str(), "*.*", rkLowerCase, Options(false));
    EXPECT_EQ(RowOf(lower, "A.TXT")->status, PlanStatus::TargetExists);
    EXPECT_EQ(RowOf(lower, "a.txt")->status, PlanStatus::Unchanged);
    EXPECT_EQ(RowOf(lower, "B.TXT")->status, PlanStatus::WillRename);

    // Cutting the first character: a name that becomes empty is not allowed,
    // and one whose target another row frees first is no collision.
    TempDir d;
    d.Write("x", "1");
    d.Write("ab", "2");
    const RenamePlan cut = PlanDeleteFirstSymbols(d.str(), "*.*", 1, false, false);
    EXPECT_EQ(RowOf(cut, "x")->status, PlanStatus::NotAllowed);
    EXPECT_EQ(RowOf(cut, "ab")->status, PlanStatus::WillRename);
    RenamePlan chain;
    PlannedDirectory names;
    for (const char* n : {"a", "_a"}) names.Listed(FindData{n, faArchive, 0, 0});
    EXPECT_TRUE(PlanMove(chain, names, d.str(), "_a", "__a", false));
    EXPECT_TRUE(PlanMove(chain, names, d.str(), "a", "_a", false));
    EXPECT_FALSE(PlanMove(chain, names, d.str(), "__a", "_a", false));
    EXPECT_EQ(chain.rows.back().status, PlanStatus::SameTarget);
}

TEST(RenamePlan, ExecutingLeavesOutTheRowsTheUserUntickedAndLogsOnlyTheRest) {
    TempDir t;
    t.Write("Зима.mp3", "1");
    t.Write("Лето.mp3", "2");
    RenamePlan plan = PlanRenameDirectory(t.str(), "*.*", rkTranslit, Options(true));
    for (PlanRow& row : plan.rows) row.included = row.oldName != Cp("Лето.mp3");
    ScriptedPrompter p;
    const RenameStats stats = ExecuteRenamePlan(plan, p);
    EXPECT_EQ(stats.renamed, 1);
    EXPECT_TRUE(stats.failures.empty());
    EXPECT_EQ(FileNames(t.str()), (Names{"Zima.mp3", "rename.ini", "Лето.mp3"}));
    EXPECT_EQ(ReadAll(t / "rename.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
}

TEST(RenamePlan, AStoppedRunKeepsItsLogSaysHowManyAndRenamesBack) {
    TempDir t;
    const Names before = {"Вода.txt", "Гора.txt", "Дом.txt", "Лес.txt", "Мост.txt", "Сад.txt"};
    for (const std::string& n : before) t.Write("dir/" + n, n);
    t.Write("dir/sub/Река.txt", "r");
    for (int after : {1, 3, 5}) {
        SCOPED_TRACE(after);
        TempDir copy;
        fs::copy(t.str(), copy.str(), fs::copy_options::recursive);
        StoppingPrompter p(after);
        RenameOptions o = Options(true);
        o.recursive = false;
        const RenameStats stats = RenameDirectory(copy / "dir", "*.*", rkTranslit, o, p);
        EXPECT_TRUE(stats.cancelled);
        EXPECT_EQ(stats.renamed, after);
        EXPECT_EQ(BatchSummary(stats, kEnglish).rfind(
                      "Stopped on request; files renamed before the stop: " + std::to_string(after) + ". Renamed: ", 0),
                  0u);
        EXPECT_EQ(BatchSummary(stats, kRussian).rfind(Cp("Остановлено по запросу"), 0), 0u);
        EXPECT_FALSE(fs::exists(copy / "dir/rename.ini.journal"));
        const std::string log = ReadAll(copy / "dir/rename.ini");
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), after + 1) << log;
        ScriptedPrompter back;
        EXPECT_EQ(RenameFromLog(copy / "dir", "*.*", kRenamedSection, o, back).renamed, after);
        EXPECT_EQ(ReadTree(copy.str(), IsLogOrTemporary), ReadTree(t.str()));
    }
}

TEST(RenamePlan, RenameBackPlanMovesNothingAndExecutingItRestoresTheTree) {
    TempDir t;
    TrickyTree(t);
    const auto original = ReadTree(t.str());
    ScriptedPrompter p;
    const int renamed = RenameDirectory(t.str(), "*.*", rkTranslit, Options(true, false, 1), p).renamed;
    ASSERT_NE(ReadTree(t.str(), IsLogOrTemporary), original);
    const auto afterRun = ReadTree(t.str());
    const RenamePlan plan = PlanRenameFromLog(t.str(), "*.*", kRenamedSection, Options(false));
    EXPECT_EQ(ReadTree(t.str()), afterRun);
    EXPECT_EQ(CountPlan(plan).willRename, renamed);
    EXPECT_EQ(ExecuteRenamePlan(plan, p).renamed, CountPlan(plan).willRename);
    EXPECT_EQ(ReadTree(t.str(), IsLogOrTemporary), original);
}

TEST(RenamePlan, ADirectoryChangedAfterPlanningGetsEachChangedFileReportedAndLogsOnlyTheMoves) {
    TempDir t;
    t.Write("Зима.mp3", "1");
    t.Write("Лето.mp3", "2");
    t.Write("Осень.mp3", "3");
    const RenamePlan plan = PlanRenameDirectory(t.str(), "*.*", rkTranslit, Options(true));
    ASSERT_EQ(CountPlan(plan).willRename, 3);
    t.Write("Leto.mp3", "came meanwhile");  // the target of a row is taken now
    fs::remove(fs::u8path(t / "Осень.mp3"));   // the file of a row is gone
    ScriptedPrompter p;
    const RenameStats stats = ExecuteRenamePlan(plan, p);
    EXPECT_EQ(stats.renamed, 1);
    EXPECT_EQ(stats.refused, 2);
    Names failures = stats.failures;
    std::sort(failures.begin(), failures.end());
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].rfind(Cp("Лето.mp3 not renamed!!! ("), 0), 0u) << failures[0];
    EXPECT_EQ(failures[1].rfind(Cp("Осень.mp3 not renamed!!! ("), 0), 0u) << failures[1];
    EXPECT_EQ(FileNames(t.str()), (Names{"Leto.mp3", "Zima.mp3", "rename.ini", "Лето.mp3"}));
    EXPECT_EQ(ReadAll(t / "Leto.mp3"), "came meanwhile");
    EXPECT_EQ(ReadAll(t / "rename.ini"), Cp("[renamed]\r\nZima.mp3=Зима.mp3\r\n"));
}

TEST(PlannedDirectory, ManyNamesKeepTheirKindsAndMarksAsRowsMoveThem) {
    // Far more names than the table first holds, so it grows while rows move them.
    TempDir t;
    RenamePlan plan;
    PlannedDirectory names;
    for (int i = 0; i < 3000; ++i)
        names.Listed(FindData{"f" + std::to_string(i), i % 3 == 0 ? unsigned(faDirectory) : unsigned(faArchive), 0, 0});
    for (int i = 0; i < 3000; i += 2) names.Mark("f" + std::to_string(i));
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(PlanMove(plan, names, t.str(), "f" + std::to_string(i), "g" + std::to_string(i), false)) << i;
    int marked = 0;
    names.ForEachMarked([&](std::string_view) { ++marked; });
    EXPECT_EQ(marked, 1500);
    for (int i = 0; i < 3000; ++i) {
        const std::string f = "f" + std::to_string(i), g = "g" + std::to_string(i);
        ASSERT_FALSE(names.Has(f)) << f;
        ASSERT_EQ(names.HasFile(g), i % 3 != 0) << g;
        ASSERT_TRUE(names.Has(g) && names.Given(g)) << g;
        ASSERT_EQ(names.Marked(g), i % 2 == 0) << g;
    }
    EXPECT_FALSE(PlanMove(plan, names, t.str(), "g1", "g2", false));
    EXPECT_EQ(plan.rows.back().status, PlanStatus::SameTarget);
}

}  // namespace
}  // namespace tandrel
