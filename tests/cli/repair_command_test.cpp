// The encoding repairs from a terminal: tag repair, Unicode tag writing and
// the repair of legacy file names with its rename back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/rename_command.h"
#include "cli/tag_command.h"
#include "support/cli_run.h"
#include "tags/tagbytes.h"

namespace tandrel {
namespace {

using test::Bytes;
using test::CliRun;

CliRun Tag(const std::vector<std::string>& args) { return test::RunCommand(RunTagCommand, args); }
CliRun Rename(const std::vector<std::string>& args) { return test::RunCommand(RunRenameCommand, args); }
CliRun RenameBack(const std::vector<std::string>& args) { return test::RunCommand(RunRenameBackCommand, args); }

std::string TitleTag(const std::string& title) {
    const std::string frame = "TIT2" + test::Be32(static_cast<std::uint32_t>(title.size() + 1)) + test::Zeros(2) +
                              Bytes({0}) + title;
    return std::string("ID3") + Bytes({3, 0, 0}) + test::Syncsafe(static_cast<std::uint32_t>(frame.size())) + frame;
}

using RepairCommand = test::CliTest;

TEST_F(RepairCommand, TagRepairPreviewsWithDryRunThenRepairs) {
    const std::string kino = tmp.Write("music/a.mp3", TitleTag("\xCA\xE8\xED\xEE") + test::Audio());
    const std::string cafe = tmp.Write("music/b.mp3", TitleTag("Caf\xE9") + test::Audio());
    const std::string before = test::ReadAll(kino);
    CliRun r = Tag({"repair", tmp / "music", "--dry-run"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, kino + ": TIT2 \"Êèíî\" -> \"Кино\" (cp1251)\n1 frame in 1 file would be repaired\n");
    EXPECT_EQ(test::ReadAll(kino), before);

    // A missing file fails on its own line; the others are repaired.
    r = Tag({"repair", tmp / "missing.mp3", kino, cafe});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, tmp / "missing.mp3" + ": no such file or directory\n");
    EXPECT_EQ(r.out, kino + ": TIT2 \"Êèíî\" -> \"Кино\" (cp1251)\n1 frame in 1 file repaired\n");
    r = Tag({"show", kino});
    EXPECT_NE(r.out.find("v2.title=Кино\n"), std::string::npos) << r.out;
    EXPECT_EQ(test::ReadAll(cafe), TitleTag("Caf\xE9") + test::Audio());
}

TEST_F(RepairCommand, UnicodeTagsFollowTheSettingAndTheCommandLine) {
    const std::string utf16Kino = Bytes({1, 0xFF, 0xFE, 0x1A, 0x04, 0x38, 0x04, 0x3D, 0x04, 0x3E, 0x04});
    auto titleFrameIsUtf16 = [&](const std::string& path) {
        return test::ReadAll(path).find("TIT2" + test::Be32(11) + test::Zeros(2) + utf16Kino) != std::string::npos;
    };
    const std::string path = tmp.Write("a.mp3", test::Audio());
    ASSERT_EQ(Tag({"update", path, "--tags", "2", "--title", "Кино"}).code, 0);
    EXPECT_FALSE(titleFrameIsUtf16(path)) << "off by default";
    ASSERT_EQ(Tag({"update", path, "--tags", "2", "--title", "Кино", "--unicode", "--artist", "x"}).code, 0);
    EXPECT_FALSE(titleFrameIsUtf16(path)) << "an unchanged field keeps its frame";
    ASSERT_EQ(Tag({"update", path, "--tags", "2", "--title", "Кино!", "--unicode"}).code, 0);
    ASSERT_EQ(Tag({"update", path, "--tags", "2", "--title", "Кино", "--unicode"}).code, 0);
    EXPECT_TRUE(titleFrameIsUtf16(path));

    WriteRegistry("\"WriteID3v2Unicode\"=dword:00000001\r\n");
    const std::string other = tmp.Write("b.mp3", test::Audio());
    ASSERT_EQ(Tag({"update", other, "--tags", "2", "--title", "Кино"}).code, 0);
    EXPECT_TRUE(titleFrameIsUtf16(other));
    const std::string third = tmp.Write("c.mp3", test::Audio());
    ASSERT_EQ(Tag({"update", third, "--tags", "2", "--title", "Кино", "--no-unicode"}).code, 0);
    EXPECT_FALSE(titleFrameIsUtf16(third));
}

TEST_F(RepairCommand, LegacyNamesAreRepairedAndRenamedBack) {
    const std::string dir = tmp / "old";
    std::filesystem::create_directory(dir);
    std::ofstream(dir + "/\xCA\xE8\xED\xEE.mp3") << "kino";  // Кино.mp3 in code page 1251
    CliRun r = Rename({"repair-names", dir, "--dry-run"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, dir + "/\\xCA\\xE8\\xED\\xEE.mp3 -> Кино.mp3 (cp1251)\n");
    EXPECT_TRUE(std::filesystem::exists(dir + "/\xCA\xE8\xED\xEE.mp3"));

    r = Rename({"repair-names", dir});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadAll(dir + "/Кино.mp3"), "kino");
    r = RenameBack({"names", dir});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadAll(dir + "/\xCA\xE8\xED\xEE.mp3"), "kino");
    EXPECT_FALSE(std::filesystem::exists(dir + "/Кино.mp3"));

    EXPECT_EQ(Rename({"repair-names"}).code, 2);
    EXPECT_EQ(Rename({"repair-names", tmp / "none"}).code, 1);
}

}  // namespace
}  // namespace tandrel
