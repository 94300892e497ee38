#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <fstream>

#include "app/dirwalk.h"
#include "support/as_user.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

using test::TempDir;

struct Visit {
    std::vector<std::string> events;  // "begin DIR", "file DIR|NAME", "dir DIR|NAME", "end DIR"
    WalkHandler Handler() {
        WalkHandler h;
        h.onDirectoryBegin = [this](const std::string& d) { events.push_back("begin " + d); };
        h.onDirectory = [this](const std::string& d, const FindData& e) { events.push_back("dir " + d + "|" + e.name); };
        h.onFile = [this](const std::string& d, const FindData& e) { events.push_back("file " + d + "|" + e.name); };
        h.onDirectoryEnd = [this](const std::string& d) { events.push_back("end " + d); };
        return h;
    }
    long IndexOf(const std::string& event) const {
        auto it = std::find(events.begin(), events.end(), event);
        return it == events.end() ? -1 : static_cast<long>(it - events.begin());
    }
};

TEST(DirWalk, WalksSubdirectoriesDepthFirstDuringTheParentListing) {
    TempDir tmp;
    tmp.Write("a.mp3", "1");
    tmp.Write("sub/b.mp3", "2");
    tmp.Write("sub/deeper/c.mp3", "3");
    Visit v;
    WalkDirectory(tmp.str(), true, MaskFilter("*.*"), v.Handler());

    const std::string sub = tmp / "sub";
    const std::string deeper = sub + "/deeper";
    ASSERT_GE(v.IndexOf("file " + tmp.str() + "|a.mp3"), 0);
    ASSERT_GE(v.IndexOf("file " + deeper + "|c.mp3"), 0);
    // The sub-directory is entered and left while the parent is still open.
    EXPECT_LT(v.IndexOf("begin " + tmp.str()), v.IndexOf("dir " + tmp.str() + "|sub"));
    EXPECT_LT(v.IndexOf("dir " + tmp.str() + "|sub"), v.IndexOf("begin " + sub));
    EXPECT_LT(v.IndexOf("end " + deeper), v.IndexOf("end " + sub));
    EXPECT_LT(v.IndexOf("end " + sub), v.IndexOf("end " + tmp.str()));
    EXPECT_EQ(v.events.back(), "end " + tmp.str());
    for (const std::string& e : v.events) {
        EXPECT_EQ(e.find("|.."), std::string::npos) << e;
        EXPECT_NE(e.substr(e.size() - 2), "|.") << e;
    }
}

TEST(DirWalk, NonRecursiveWalkReportsSubdirectoriesButDoesNotEnterThem) {
    TempDir tmp;
    tmp.Write("sub/b.mp3", "2");
    Visit v;
    WalkDirectory(tmp.str(), false, MaskFilter("*.*"), v.Handler());
    EXPECT_GE(v.IndexOf("dir " + tmp.str() + "|sub"), 0);
    EXPECT_EQ(v.IndexOf("begin " + (tmp / "sub")), -1);
    EXPECT_EQ(v.IndexOf("file " + (tmp / "sub") + "|b.mp3"), -1);
}

TEST(DirWalk, StartDirectoryWithTrailingDelimiterGivesNoDoubledDelimiter) {
    TempDir tmp;
    tmp.Write("sub/b.mp3", "2");
    Visit v;
    WalkDirectory(tmp.str() + "/", true, MaskFilter("*"), v.Handler());
    EXPECT_GE(v.IndexOf("file " + tmp.str() + "/sub|b.mp3"), 0);
}

TEST(DirWalk, FileThatVanishesDuringTheWalkIsSkipped) {
    TempDir tmp;
    for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"}) tmp.Write(n, "x");
    std::vector<std::string> seen;
    WalkHandler h;
    h.onFile = [&](const std::string& dir, const FindData& e) {
        seen.push_back(e.name);
        if (seen.size() == 1)
            for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"})
                if (e.name != n) std::filesystem::remove(dir + "/" + n);
    };
    WalkDirectory(tmp.str(), false, MaskFilter("*.*"), h);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(DirWalk, UnlistableDirectoryGivesNoFilesAndSaysWhy) {
    Visit v;
    WalkHandler h = v.Handler();
    h.onDirectoryError = [&v](const std::string& d, const std::string& why) { v.events.push_back("error " + d + "|" + why); };
    WalkDirectory("/nonexistent-tandrel-dir", true, MaskFilter("*.*"), h);
    EXPECT_EQ(v.events, (std::vector<std::string>{"begin /nonexistent-tandrel-dir",
                                                  "error /nonexistent-tandrel-dir|No such file or directory",
                                                  "end /nonexistent-tandrel-dir"}));
}

TEST(DirWalk, DirectoryWithoutReadPermissionIsReportedAndTheWalkGoesOn) {
    TempDir tmp;
    tmp.Write("a.mp3", "1");
    tmp.Write("locked/b.mp3", "2");
    const std::string locked = tmp / "locked";
    const std::string report = tmp / "report.txt";
    const int code = test::RunAsUser(tmp.str(), [&] {
        if (::chmod(locked.c_str(), 0) != 0) return 2;
        test::ScriptedPrompter prompter;
        std::string events;
        WalkHandler h;
        h.onFile = [&](const std::string&, const FindData& e) { events += "file " + e.name + "\n"; };
        ReportUnreadableDirectories(h, prompter);
        WalkDirectory(tmp.str(), true, MaskFilter("*.mp3"), h);
        std::ofstream(report) << prompter.statusText() << "\n" << events;
        return 0;
    });
    ASSERT_EQ(code, 0);
    EXPECT_EQ(test::ReadAll(report), "Cannot read " + locked + ": Permission denied\nfile a.mp3\n");
}

TEST(DirWalk, SubdirectoryRefusedByEnterDirectoryIsReportedButNotEntered) {
    TempDir tmp;
    tmp.Write("a.mp3", "1");
    tmp.Write("skip/b.mp3", "2");
    tmp.Write("take/c.mp3", "3");
    Visit v;
    WalkHandler h = v.Handler();
    h.enterDirectory = [](const std::string&, const FindData& sub) { return sub.name != "skip"; };
    WalkDirectory(tmp.str(), true, MaskFilter("*.*"), h);
    EXPECT_GE(v.IndexOf("dir " + tmp.str() + "|skip"), 0);
    EXPECT_EQ(v.IndexOf("begin " + (tmp / "skip")), -1);
    EXPECT_EQ(v.IndexOf("file " + (tmp / "skip") + "|b.mp3"), -1);
    EXPECT_GE(v.IndexOf("file " + (tmp / "take") + "|c.mp3"), 0);
    EXPECT_GE(v.IndexOf("file " + tmp.str() + "|a.mp3"), 0);
}

TEST(DirWalk, SymlinkedDirectoryIsReportedButNeverEntered) {
    // The link leads out of the tree: nothing there may be handed on.
    TempDir tmp;
    tmp.Write("outside/Щука.mp3", "x");
    tmp.Write("tree/inside.mp3", "y");
    std::filesystem::create_directory_symlink("../outside", tmp / "tree/link");
    for (FindDetail detail : {FindDetail::Full, FindDetail::NamesAndKinds}) {
        Visit v;
        WalkDirectory(tmp / "tree", true, MaskFilter("*.*"), v.Handler(), detail);
        EXPECT_EQ(v.IndexOf("begin " + (tmp / "tree/link")), -1);
        EXPECT_EQ(v.IndexOf("file " + (tmp / "tree/link") + "|" + Utf8ToCp1251("Щука.mp3").text), -1);
        EXPECT_GE(v.IndexOf("dir " + (tmp / "tree") + "|link"), 0);
        EXPECT_GE(v.IndexOf("file " + (tmp / "tree") + "|inside.mp3"), 0);
    }
}

TEST(MaskFilters, MaskAdmitsByLowerCaseExtensionKey) {
    struct Case { const char* mask; const char* name; bool admitted; };
    const Case cases[] = {
        {"*.*", "any.thing", true},
        {"*.*", "noextension", true},
        {"*", "a.mp3", true},
        {"", "a.mp3", true},
        {"*.mp3;*.wav", "a.mp3", true},
        {"*.mp3;*.wav", "a.WAV", true},
        {"*.mp3;*.wav", "a.txt", false},
        {"*.mp3;*.wav", "a.mp3.txt", false},
        {"*.MP3", "a.MP3", false},  // the key is lower case, the mask's token is not
        {"*.mp3", "mp3", true},     // a name without a full stop is its own key
    };
    for (const Case& c : cases)
        EXPECT_EQ(MaskAdmits(c.mask, c.name), c.admitted) << c.mask << " / " << c.name;
}

TEST(MaskFilters, SingleExtensionFilterOfTheExtensionChange) {
    struct Case { const char* mask; const char* name; bool admitted; };
    const Case cases[] = {
        {"*.txt", "a.txt", true},
        {"*.txt", "a.TXT", true},
        {"*.TXT", "a.txt", false},
        {"*.txt", "a.cd", false},
        {"*.", "a", true},
        {"*.", "a.txt", false},
        {"*.", "a.", true},
        {"*", "a.txt", true},
        {"*.*", "a", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SingleExtensionAdmits(c.mask, c.name), c.admitted) << c.mask << " / " << c.name;
}

}  // namespace
}  // namespace tandrel
