#include "app/progress.h"

#include <gtest/gtest.h>

#include "app/dirwalk.h"
#include "app/language.h"
#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {


std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

TEST(ProgressText, CountsAndTheEntryInBothLanguages) {
    ProgressInfo walk;
    walk.directories = 12;
    walk.files = 3456;
    walk.entry = "/music/" + Cp("ёлка.mp3");
    ProgressInfo batch;
    batch.files = 3;
    batch.total = 27;
    batch.entry = "/a.mp3";
    ProgressInfo copy = batch;
    copy.bytesDone = 120LL * 1024 * 1024;
    copy.bytes = 800LL * 1024 * 1024;
    ProgressInfo filesOnly;
    filesOnly.files = 1;
    struct Case {
        const ProgressInfo& info;
        int language;
        const char* utf8;
    } cases[] = {
        {walk, kEnglish, "12 directories, 3,456 files: /music/ёлка.mp3"},
        {walk, kRussian, "12 каталогов, 3 456 файлов: /music/ёлка.mp3"},
        {batch, kEnglish, "3 of 27 files (11%): /a.mp3"},
        {batch, kRussian, "3 из 27 файлов (11%): /a.mp3"},
        {copy, kEnglish, "3 of 27 files, 120 of 800 MB (15%): /a.mp3"},
        {copy, kRussian, "3 из 27 файлов, 120 из 800 МБ (15%): /a.mp3"},
        {filesOnly, kEnglish, "1 file"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8(ProgressText(c.info, c.language)), c.utf8) << c.utf8;
}

TEST(ProgressText, NumbersTakeTheFormTheyAskFor) {
    struct Case {
        std::int64_t n;
        const char* english;
        const char* russian;
    } cases[] = {
        {0, "0 files", "0 файлов"},         {1, "1 file", "1 файл"},
        {2, "2 files", "2 файла"},          {4, "4 files", "4 файла"},
        {5, "5 files", "5 файлов"},         {11, "11 files", "11 файлов"},
        {12, "12 files", "12 файлов"},      {21, "21 files", "21 файл"},
        {22, "22 files", "22 файла"},       {111, "111 files", "111 файлов"},
        {999, "999 files", "999 файлов"},   {1000, "1,000 files", "1 000 файлов"},
        {1234567, "1,234,567 files", "1 234 567 файлов"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(FileCount(c.n, kEnglish)), c.english);
        EXPECT_EQ(Utf8(FileCount(c.n, kRussian)), c.russian);
    }
    EXPECT_EQ(Utf8(DirectoryCount(1, kEnglish)), "1 directory");
    EXPECT_EQ(Utf8(DirectoryCount(3, kRussian)), "3 каталога");
    EXPECT_EQ(Utf8(DoneOfText(1, 21, kRussian)), "1 из 21 файла");
    EXPECT_EQ(Utf8(DoneOfText(0, 1, kEnglish)), "0 of 1 file");
}

TEST(ProgressText, PercentOfFilesOrOfBytesAndNoneWithoutATotal) {
    ProgressInfo p;
    EXPECT_EQ(ProgressPercent(p), -1);
    p.files = 1;
    p.total = 3;
    EXPECT_EQ(ProgressPercent(p), 33);
    p.files = 3;
    EXPECT_EQ(ProgressPercent(p), 100);
    p.files = 1;
    p.bytesDone = 999;
    p.bytes = 1000;  // bytes decide once known
    EXPECT_EQ(ProgressPercent(p), 99);
}

// A tree of three directories with two files each.
class WalkProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a1", "a2", "s/b1", "s/b2", "s/t/c1", "s/t/c2"}) tmp.Write(name, "");
    }
    test::TempDir tmp;
    test::ScriptedPrompter prompter;
};

TEST_F(WalkProgressTest, CountsDirectoriesAndFilesAndShowsWhereTheWalkIs) {
    WalkProgress progress(prompter);
    WalkHandler h;
    int begun = 0;
    h.onDirectoryBegin = [&](const std::string&) { ++begun; };
    progress.Attach(h, true);
    h.onFile = [&](const std::string& dir, const FindData& file) { progress.File(dir, file.name); };
    WalkDirectory(tmp.str(), true, nullptr, h);
    EXPECT_EQ(begun, 3);  // the handler's own begin still runs
    EXPECT_EQ(progress.info().directories, 3);
    EXPECT_EQ(progress.info().files, 6);
    EXPECT_FALSE(progress.stopped());
    const std::vector<ProgressInfo>& reports = prompter.progressReports();
    ASSERT_EQ(reports.size(), 9u);
    EXPECT_EQ(reports.front().entry, tmp.str());
    EXPECT_EQ(reports.front().directories, 1);
    EXPECT_EQ(reports.back().files, 6);
    EXPECT_EQ(reports.back().entry.rfind(tmp.str() + "/", 0), 0u) << reports.back().entry;
}

TEST_F(WalkProgressTest, StopEndsTheWalkBetweenTwoFilesAndStaysStopped) {
    for (std::int64_t after : {1, 2, 5}) {
        test::ScriptedPrompter stopping;
        stopping.StopAfterFiles(after);
        WalkProgress progress(stopping);
        WalkHandler h;
        progress.Attach(h, false);
        int files = 0;
        h.onFile = [&](const std::string& dir, const FindData& file) {
            ++files;
            progress.File(dir, file.name);
        };
        WalkDirectory(tmp.str(), true, nullptr, h);
        EXPECT_EQ(files, after);
        EXPECT_TRUE(progress.stopped());
        EXPECT_TRUE(progress.Stop());
        progress.Restart();
        EXPECT_FALSE(progress.stopped());
        EXPECT_EQ(progress.info().files, 0);
    }
}

}  // namespace
}  // namespace tandrel
