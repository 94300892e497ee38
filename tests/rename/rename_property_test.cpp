// Random trees, renamed by every kind with the log and then renamed back,
// come back byte for byte, and nothing outside them changes. The trees hold
// collisions, case-only twins, names with "=", names outside code page 1251,
// names with a line break and symbolic links into and out of the tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "rename/renameengine.h"
#include "rename/rename_support.h"
#include "rename/structural.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

bool IsLog(const std::string& name) { return name == "rename.ini"; }

class TreeMaker {
public:
    explicit TreeMaker(unsigned seed) : rng_(seed) {}

    std::string Name() {
        static const char* const pieces[] = {"Зима", "Ёлка", "ёж", "Щука", "Zima", "Elka", "song", "SONG", "Song",
                                             "a=b", "=", "日本", " ", "_", "-", "01 ", "x\ny", "the beatles - let it be"};
        static const char* const exts[] = {".mp3", ".MP3", ".Mp3", ".txt", ""};
        std::string name;
        const int count = Pick(3) + 1;
        for (int i = 0; i < count; ++i) name += pieces[Pick(std::size(pieces))];
        return name + exts[Pick(std::size(exts))];
    }

    // Files of one directory, some with a twin that differs only in letter case.
    void Fill(const TempDir& tmp, const std::string& dir, int files) {
        for (int i = 0; i < files; ++i) {
            const std::string name = Name();
            tmp.Write(dir + "/" + name, dir + "/" + name);
            if (Pick(3) == 0) {
                std::string twin = name;
                for (char& c : twin) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                tmp.Write(dir + "/" + twin, "twin " + twin);
            }
        }
    }

    int Pick(std::size_t n) { return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_)); }

private:
    std::mt19937 rng_;
};

void MakeTree(const TempDir& tmp, TreeMaker& maker) {
    maker.Fill(tmp, "outside", 4);
    maker.Fill(tmp, "tree", 12);
    maker.Fill(tmp, "tree/Подпапка", 8);
    maker.Fill(tmp, "tree/Подпапка/глубже", 5);
    fs::create_directory_symlink("../outside", tmp / "tree/к соседям");
    fs::create_directory_symlink("..", tmp / "tree/Подпапка/наверх");
    fs::create_symlink("../outside/" + fs::directory_iterator(tmp / "outside")->path().filename().string(),
                       tmp / "tree/ссылка на файл.mp3");
    fs::create_symlink("nowhere", tmp / "tree/Битая ссылка.mp3");
}

void RemoveLogs(const std::string& dir) {
    std::vector<fs::path> logs;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it)
        if (it->path().filename() == "rename.ini") logs.push_back(it->path());
    for (const fs::path& p : logs) fs::remove(p);
}

TEST(RenameProperty, EveryKindWithTheLogIsUndoneByTheRenameBack) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        TempDir tmp;
        TreeMaker maker(seed);
        MakeTree(tmp, maker);
        const std::string tree = tmp / "tree";
        const auto before = ReadTree(tmp.str(), IsLog);
        for (int kind = 0; kind <= kRenameKindCount; ++kind) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", kind " + std::to_string(kind));
            test::ScriptedPrompter p;
            RenameOptions o;
            o.writeRenameInfo = true;
            o.recursive = true;
            o.renameMode = maker.Pick(3);
            o.artistMode = maker.Pick(3);
            o.makeLowercaseExt = maker.Pick(2) == 1;
            o.oldSubStr = "o";
            o.newSubStr = "0";
            const char* section = kRenamedSection;
            RenameStats forward;
            if (kind < kRenameKindCount) {
                forward = RenameDirectory(tree, "*.*", static_cast<RenameKind>(kind), o, p);
            } else {
                section = kDeletedSection;
                forward = DeleteFirstSymbols(tree, "*.*", maker.Pick(3) + 1, true, true, p);
            }
            EXPECT_GT(forward.renamed, 0);
            RenameOptions back;
            back.recursive = true;
            const RenameStats undone = RenameFromLog(tree, "*.*", section, back, p);
            EXPECT_EQ(undone.renamed, forward.renamed);
            EXPECT_EQ(ReadTree(tmp.str(), IsLog), before);
            RemoveLogs(tree);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace tandrel
