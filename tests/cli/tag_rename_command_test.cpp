#include "support/cli_run.h"
#include "cli/tag_command.h"

#include <filesystem>

#include "support/tempdir.h"
#include "tags/id3v1.h"
#include "tags/tagbytes.h"

namespace tandrel {
namespace {

using test::CliRun;
using Names = std::vector<std::string>;

class TagRenameCommandTest : public test::CliTest {
protected:
    CliRun Rename(std::vector<std::string> args) {
        args.insert(args.begin(), "rename");
        return test::RunCommand(RunTagCommand, args);
    }
    std::string Mp3(const std::string& name, std::uint8_t track, const std::string& artist) {
        const std::string path = tmp.Write("music/" + name, test::Audio());
        TID3v1 tag;
        tag.SetTrack(track);
        tag.SetArtist(artist);
        EXPECT_TRUE(tag.SaveToFile(path));
        return path;
    }
    Names Files() const {
        Names names;
        for (const auto& e : std::filesystem::directory_iterator(tmp / "music")) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(TagRenameCommandTest, DryRunThenRunWithTheSecondOfTwoEqualNamesRefused) {
    const std::string a = Mp3("a.mp3", 1, "Kino"), b = Mp3("b.mp3", 1, "Kino"), c = Mp3("c.mp3", 7, "DDT");
    const std::string dir = tmp / "music";
    const std::vector<std::string> args = {a, b, c, "--pattern", "N-A", "--tags", "1", "--sources", "11000",
                                           "--width", "3"};
    std::vector<std::string> dryRun = args;
    dryRun.push_back("--dry-run");
    CliRun r = Rename(dryRun);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, a + " -> " + dir + "/001_-_Kino.mp3\n" + c + " -> " + dir + "/007_-_DDT.mp3\n");
    EXPECT_EQ(r.err, "tandrel-cli: " + b + " not renamed!!! (a file named 001_-_Kino.mp3 is there already)\n");
    EXPECT_EQ(Files(), (Names{"a.mp3", "b.mp3", "c.mp3"}));

    r = Rename(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, a + " -> " + dir + "/001_-_Kino.mp3\n" + c + " -> " + dir + "/007_-_DDT.mp3\n");
    EXPECT_EQ(r.err, "tandrel-cli: " + b + " not renamed!!! (a file named 001_-_Kino.mp3 is there already)\n");
    EXPECT_EQ(Files(), (Names{"001_-_Kino.mp3", "007_-_DDT.mp3", "b.mp3"}));
}

TEST_F(TagRenameCommandTest, OptionsComeFromTheRegistryAndTheCommandLineOverridesThem) {
    WriteRegistry("\"ID3TagMode\"=dword:00000000\r\n\"ID3FileFormat\"=\"AN\"\r\n\"ID3TrackNum\"=dword:00000001\r\n"
                  "\"ID3Artist\"=dword:00000001\r\n\"BasicSplit\"=\" \"\r\n\"RenameMode\"=dword:00000001\r\n");
    const std::string a = Mp3("a.mp3", 2, "Kino");
    CliRun r = Rename({a, "--dry-run"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, a + " -> " + tmp / "music" + "/Kino_02.mp3\n");  // RenameMode 1: spaces to "_"
    r = Rename({a, "--split", "=", "--sources", "01000"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Files(), Names{"Kino.mp3"});
}

TEST_F(TagRenameCommandTest, FailuresAndBadCalls) {
    const std::string a = Mp3("a.mp3", 1, "Kino");
    const std::vector<std::string> ok = {"--pattern", "A", "--tags", "both", "--sources", "11111"};
    struct Case { std::vector<std::string> args; int code; const char* err; };
    const Case cases[] = {
        {{"--pattern", "A", "--tags", "1"}, 2, "expected FILE..., 0 given"},
        {{a, "--tags", "1"}, 2, "no name pattern"},
        {{a, "--pattern", "A"}, 2, "no tag mode"},
        {{a, "--pattern", "A", "--tags", "3"}, 2, "--tags takes both, 1 or 2"},
        {{a, "--pattern", "A", "--tags", "1", "--width", "11"}, 2, "--width must be a number from 1 to 10"},
        {{a, "--pattern", "A", "--tags", "1", "--sources", "1111"}, 2, "--sources takes five digits"},
        {{a, "--pattern", "A", "--tags", "1", "--sources", "11131"}, 2, "--sources takes five digits"},
        {{a, "--pattern", "A", "--tags", "1", "--sorces", "11111"}, 2, "unknown option"},
        {{tmp / "gone.mp3", "--pattern", "A", "--tags", "1"}, 1, "The file does not exist: "},
    };
    for (const Case& c : cases) {
        const CliRun r = Rename(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_EQ(Files(), Names{"a.mp3"});

    const CliRun help = Rename({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: tandrel-cli tag rename FILE..."), std::string::npos) << help.out;
}

}  // namespace
}  // namespace tandrel
