#include "platform/files.h"

#include <ctime>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "platform/posix_file.h"
#include "support/tempdir.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::map<std::string, FindData> ListAll(const std::string& pattern, FindDetail detail = FindDetail::Full) {
    std::map<std::string, FindData> found;
    FileFind find;
    FindData d;
    for (bool ok = find.FindFirst(pattern, d, detail); ok; ok = find.FindNext(d)) found[d.name] = d;
    return found;
}

TEST(MoveFileNoReplace, NeverReplacesAnExistingTarget) {
    TempDir dir;
    std::string a = dir.Write("a.txt", "A"), b = dir.Write("b.txt", "B");
    FileResult r = MoveFileNoReplace(a, b);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("already exists"), std::string::npos) << r.error;
    EXPECT_FALSE(RenameFileChecked(a, b));
    EXPECT_EQ(ReadAll(a), "A");
    EXPECT_EQ(ReadAll(b), "B");

    fs::create_directory(dir / "d1");
    fs::create_directory(dir / "d2");
    EXPECT_FALSE(MoveFileNoReplace(dir / "d1", dir / "d2").ok);
    EXPECT_TRUE(fs::is_directory(dir / "d1"));

    EXPECT_TRUE(MoveFileNoReplace(a, dir / "c.txt").ok);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_EQ(ReadAll(dir / "c.txt"), "A");
    // A change of letter case only is an ordinary rename.
    EXPECT_TRUE(RenameFileChecked(dir / "c.txt", dir / "C.txt"));
    EXPECT_EQ(ReadAll(dir / "C.txt"), "A");
    EXPECT_FALSE(RenameFileChecked(dir / "missing", dir / "other"));
    // Two hard links differing in case are two files: no move between them.
    fs::create_hard_link(dir / "C.txt", dir / "c.txt");
    EXPECT_FALSE(RenameFileChecked(dir / "c.txt", dir / "C.txt"));
    EXPECT_TRUE(fs::exists(dir / "c.txt"));
}

TEST(DirectoryMover, MovesInsideItsDirectoryAsTheGeneralMoveDoes) {
    TempDir dir;
    dir.Write("a.txt", "A");
    dir.Write("b.txt", "B");
    dir.Write("Лес.txt", "L");
    fs::create_directory(dir / "d");
    DirectoryMover mover(dir.str());
    const FileResult taken = mover.Move("a.txt", "b.txt");
    EXPECT_FALSE(taken.ok);
    EXPECT_EQ(taken.error, MoveFileNoReplace(dir / "a.txt", dir / "b.txt").error);
    EXPECT_EQ(taken.error, TargetExistsError(dir / "a.txt", dir / "b.txt"));
    EXPECT_FALSE(mover.Move("a.txt", "d").ok);
    EXPECT_FALSE(mover.Move("missing", "c.txt").ok);
    EXPECT_FALSE(mover.Move("a.txt", "").ok);
    EXPECT_FALSE(mover.Move("a.txt", "x\x98.txt").ok);  // no code-page-1251 form
    EXPECT_TRUE(mover.Move(Utf8ToCp1251("Лес.txt").text, Utf8ToCp1251("Поле.txt").text).ok);
    EXPECT_EQ(ReadAll(dir / "Поле.txt"), "L");
    EXPECT_TRUE(mover.Move("a.txt", "A.txt").ok);  // a case change is an ordinary move
    EXPECT_EQ(ReadAll(dir / "A.txt"), "A");
    EXPECT_EQ(ReadAll(dir / "b.txt"), "B");
    // A directory that cannot be opened still moves nothing by mistake.
    DirectoryMover gone(dir / "missing-dir");
    EXPECT_FALSE(gone.Move("a", "b").ok);
}

TEST(MoveFileNoReplace, FallbackWithoutRenameFlagsNeverReplacesEither) {
    TempDir dir;
    std::string a = dir.Write("a.txt", "A"), b = dir.Write("b.txt", "B");
    fs::create_directory(dir / "d1");
    fs::create_directory(dir / "d2");
    EXPECT_FALSE(detail::MoveWithoutRenameFlags(a, b).ok);
    EXPECT_FALSE(detail::MoveWithoutRenameFlags(dir / "d1", dir / "d2").ok);
    EXPECT_EQ(ReadAll(a), "A");
    EXPECT_EQ(ReadAll(b), "B");
    EXPECT_TRUE(detail::MoveWithoutRenameFlags(a, dir / "c.txt").ok);
    EXPECT_TRUE(detail::MoveWithoutRenameFlags(dir / "d1", dir / "d3").ok);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_EQ(ReadAll(dir / "c.txt"), "A");
    EXPECT_TRUE(fs::is_directory(dir / "d3"));
}

TEST(FileFind, NameOutsideCodePageIsListedButNeverTouched) {
    TempDir dir;
    std::string onDisk = dir.Write("中.mp3", "tag");
    auto found = ListAll(dir / "*.*");
    ASSERT_EQ(found.count("\x98.mp3"), 1u);
    const std::string path = dir / "\x98.mp3";
    EXPECT_TRUE(PathIsUnmappable(path));
    EXPECT_FALSE(FileExists(path));
    for (FileResult r : {MoveFileNoReplace(path, dir / "new.mp3"), DeleteFileChecked(path),
                         CopyFileOver(dir.Write("x", "x"), path), SetAttributesNormal(path)}) {
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find("outside code page 1251"), std::string::npos) << r.error;
    }
    EXPECT_EQ(ReadAll(onDisk), "tag");
    EXPECT_FALSE(fs::exists(dir / "new.mp3"));
}

TEST(FileFind, ListsEveryEntryWithItsAttributes) {
    TempDir dir;
    fs::create_directory(dir / "sub");
    dir.Write("song.MP3", "12345");
    dir.Write(".hidden", "");
    dir.Write("\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3", "");  // "Песня.mp3"
    fs::permissions(dir.Write("ro.txt", ""), fs::perms::owner_write, fs::perm_options::remove);
    fs::create_symlink(dir / "nowhere", dir / "broken");

    auto all = ListAll(dir / "*.*");
    EXPECT_EQ(all.size(), 8u);
    EXPECT_EQ(ListAll(dir / "*").size(), 8u);
    struct Row { const char* name; unsigned attr; };
    for (Row row : std::initializer_list<Row>{{".", faDirectory}, {"..", faDirectory}, {"sub", faDirectory},
                                              {"song.MP3", faArchive}, {".hidden", faArchive | faHidden},
                                              {"ro.txt", faArchive | faReadOnly}, {"broken", faArchive | faSymLink}}) {
        ASSERT_EQ(all.count(row.name), 1u) << row.name;
        EXPECT_EQ(all[row.name].attr, row.attr) << row.name;
    }
    EXPECT_EQ(all["song.MP3"].size, 5);
    std::uint32_t dosTime = 0;
    ASSERT_TRUE(FileDosTime(dir / "song.MP3", dosTime));
    EXPECT_EQ(all["song.MP3"].dosTime, dosTime);

    struct Pattern { const char* mask; std::size_t count; };
    for (Pattern p : std::initializer_list<Pattern>{
             {"*.mp3", 2}, {"S?NG.*", 1}, {"\xEF\xE5\xF1\xED\xFF.*", 1}, {"*.txt", 1}, {"*.wav", 0}, {"song", 0}}) {
        EXPECT_EQ(ListAll(dir / p.mask).size(), p.count) << p.mask;
    }
    EXPECT_TRUE(ListAll(dir / "missing/*.*").empty());
    EXPECT_EQ(ListAll("/*.*").count("tmp"), 1u);

    // Names and kinds only: the same entries, the same directory and hidden bits.
    fs::create_directory_symlink(dir / "sub", dir / "linked");
    all = ListAll(dir / "*.*");
    const auto quick = ListAll(dir / "*.*", FindDetail::NamesAndKinds);
    ASSERT_EQ(quick.size(), all.size());
    for (const auto& [name, entry] : all) {
        ASSERT_EQ(quick.count(name), 1u) << name;
        EXPECT_EQ(quick.at(name).IsDirectory(), entry.IsDirectory()) << name;
        EXPECT_EQ(quick.at(name).attr & faHidden, entry.attr & faHidden) << name;
    }
    EXPECT_TRUE(quick.at("linked").IsDirectory());
    EXPECT_EQ(all.at("linked").attr & faSymLink, faSymLink);
    EXPECT_EQ(quick.at("linked").attr & faSymLink, faSymLink);
    EXPECT_EQ(all.at("sub").attr & faSymLink, 0u);
}

TEST(FileFind, DirectoryThatCannotBeListedSaysWhy) {
    TempDir dir;
    FileFind find;
    FindData d;
    EXPECT_FALSE(find.FindFirst(dir / "missing/*.*", d));
    EXPECT_EQ(find.Error(), "No such file or directory");
    dir.Write("file", "");
    EXPECT_FALSE(find.FindFirst(dir / "file/*.*", d));
    EXPECT_EQ(find.Error(), "Not a directory");
    EXPECT_TRUE(find.FindFirst(dir / "*.*", d));
    while (find.FindNext(d)) {
    }
    EXPECT_EQ(find.Error(), "");  // a listing that ended is no failure
}

TEST(CopyFileOver, ReplacesTheTargetWholeOrNotAtAll) {
    TempDir dir;
    std::string source = dir.Write("source.mp3", std::string(300000, 's'));
    std::string target = dir.Write("target.mp3", "old");
    ASSERT_TRUE(CopyFileOver(source, target).ok);
    EXPECT_EQ(ReadAll(target), ReadAll(source));
    EXPECT_EQ(fs::last_write_time(target), fs::last_write_time(source));

    EXPECT_FALSE(CopyFileOver(dir / "missing.mp3", target).ok);
    EXPECT_EQ(ReadAll(target), ReadAll(source));

    fs::permissions(dir.Write("ro.mp3", "keep"), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(CopyFileOver(source, dir / "ro.mp3").ok);
    EXPECT_EQ(ReadAll(dir / "ro.mp3"), "keep");

    // A name too long for the file system fails; it is never cut to another name.
    std::string longName(300, 'n');
    EXPECT_FALSE(CopyFileOver(source, dir / longName).ok);
    EXPECT_FALSE(fs::exists(dir / longName.substr(0, 255)));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.str()), fs::directory_iterator()), 3);
}

TEST(FileOperations, DeleteCreateAndAttributes) {
    TempDir dir;
    std::string file = dir.Write("f.txt", "x");
    EXPECT_TRUE(CreateDirectories(dir / "a/b/c").ok);
    EXPECT_TRUE(DirectoryExists(dir / "a/b/c"));
    EXPECT_TRUE(CreateDirectories(dir / "a/b/c").ok);
    EXPECT_FALSE(CreateDirectories(dir / "f.txt/sub").ok);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir / "a"));

    fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(DeleteFileChecked(file).ok);  // a read-only file is not deleted
    EXPECT_TRUE(SetAttributesNormal(file).ok);
    EXPECT_TRUE((fs::status(file).permissions() & fs::perms::owner_write) != fs::perms::none);
    EXPECT_TRUE(DeleteFileChecked(file).ok);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(DeleteFileChecked(file).ok);
    EXPECT_FALSE(DeleteFileChecked(dir / "a").ok);
}

TEST(ToDosTime, PacksLocalTimeAndClampsBefore1980) {
    std::tm tm{};
    tm.tm_year = 2021 - 1900;
    tm.tm_mon = 3 - 1;
    tm.tm_mday = 4;
    tm.tm_hour = 5;
    tm.tm_min = 6;
    tm.tm_sec = 9;
    tm.tm_isdst = -1;
    std::uint32_t date = (41u << 9) | (3u << 5) | 4u, time = (5u << 11) | (6u << 5) | 4u;
    EXPECT_EQ(ToDosTime(std::mktime(&tm)), (date << 16) | time);
    EXPECT_EQ(ToDosTime(0), ((1u << 5) | 1u) << 16);
}

TEST(CurrentDirectory, FollowsSetCurrentDirectory) {
    TempDir dir;
    std::string before = CurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectory(dir.str()).ok);
    EXPECT_EQ(CurrentDirectory(), fs::canonical(dir.str()).string());
    EXPECT_FALSE(SetCurrentDirectory(dir / "missing").ok);
    ASSERT_TRUE(SetCurrentDirectory(before).ok);
}

}  // namespace
}  // namespace tandrel
