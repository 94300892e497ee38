#include "support/cli_run.h"
#include "cli/tag_command.h"

#include "support/tempdir.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagbytes.h"

namespace tandrel {
namespace {

using test::CliRun;

CliRun Tag(const std::vector<std::string>& args) { return test::RunCommand(RunTagCommand, args); }

std::string Mp3(const test::TempDir& dir, const std::string& name) { return dir.Write(name, std::string(700, '\x55')); }

TEST(TagCommand, UpdateThenShowInUtf8) {
    test::TempDir dir;
    const std::string path = Mp3(dir, "песня.mp3");
    CliRun r = Tag({"update", path, "--title", "Звезда", "--artist", "Кино", "--track", "3", "--genre", "rock",
                    "--year", "1989", "--comment", "line\nbreak"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Tag({"update", path, "--tags", "2", "--genre", "Post-Punk", "--album", "Группа крови"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Tag({"show", path});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "v1.exists=true\nv1.version=1.1\nv1.title=Звезда\nv1.artist=Кино\nv1.album=\nv1.year=1989\n"
              "v1.comment=line\\x0Abreak\nv1.track=3\nv1.genre=17\n"
              "v2.exists=true\nv2.version=2.3\nv2.size=" +
                  std::to_string(10 + (11 + 6) + (11 + 4) + (11 + 12) + (11 + 1) + (11 + 4) + (11 + 9) + (11 + 4 + 10)) +
                  "\nv2.title=Звезда\nv2.artist=Кино\nv2.album=Группа крови\nv2.year=1989\n"
                  "v2.comment=line\\x0Abreak\nv2.track=3\nv2.genre=Post-Punk\n");
}

TEST(TagCommand, FailuresAndBadCalls) {
    test::TempDir dir;
    const std::string path = Mp3(dir, "a.mp3");
    struct Case { std::vector<std::string> args; int code; const char* err; };
    const Case cases[] = {
        {{"show", dir / "gone.mp3"}, 1, "The file does not exist: "},
        {{"show", dir.Write("five.mp3", "12345")}, 1, "Can not read tag from the file: "},
        {{"update", dir / "gone.mp3", "--title", "x"}, 1, "Can not save tag to the file: "},
        {{"update", path, "--genre", "Polka Metal"}, 2, "neither a genre name nor a number"},
        {{"update", path, "--genre", "148"}, 2, "neither a genre name nor a number"},
        {{"update", path, "--tags", "3"}, 2, "--tags takes 1, 2 or both"},
        {{"update", path, "--mood", "x"}, 2, "unknown option"},
        {{"update", path, "--title"}, 2, "needs a value"},
        {{"update", path, "--title", "☺"}, 2, "outside code page 1251"},
        {{"show"}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const CliRun r = Tag(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[0] << " " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    EXPECT_EQ(test::ReadAll(path), std::string(700, '\x55'));  // bad calls changed nothing
}

// A cut download: the header declares a tag that ends past the end of the
// file. Saving both tags kept only what the ID3v2 writer did not cut after
// the ID3v1 record had been appended; now the audio stays whole.
TEST(TagCommand, UpdateOfBothTagsKeepsTheAudioOfATagCutShort) {
    test::TempDir dir;
    const std::string audio = test::Audio(1000);
    const std::string frame = std::string("TIT2\0\0\0\5\0\0\0Old1", 15);
    const std::string size = test::Syncsafe(uint32_t(frame.size() + audio.size() + 50));
    const std::string path = dir.Write("r1.mp3", std::string("ID3\3\0\0", 6) + size + frame + audio);

    const CliRun r = Tag({"update", path, "--title", "X"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string bytes = test::ReadAll(path);
    ASSERT_EQ(bytes.size(), 10 + (10 + 2) + audio.size() + 128);
    EXPECT_EQ(bytes.substr(22, audio.size()), audio);
    EXPECT_EQ(Tag({"show", path}).out.find("v2.title=X\n") != std::string::npos, true);
}

// Size bytes with bit 7 set are no 7-bit size: read as full bytes, they cut
// 128 bytes of audio per set bit.
TEST(TagCommand, UpdateKeepsTheAudioWhenTheTagSizeHasBit7Set) {
    test::TempDir dir;
    const std::string audio(1000, '\x55');
    const std::string old = std::string("ID3\3\0\0\0\0\1\xF3TIT2\0\0\0\2\0\0\0X", 22) + std::string(232, '\0');
    const std::string path = dir.Write("r2.mp3", old + audio);
    const CliRun r = Tag({"update", path, "--tags", "2", "--title", "Y"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadAll(path), std::string("ID3\3\0\0\0\0\0\x0cTIT2\0\0\0\2\0\0\0Y", 22) +
                                       std::string(232, '\0') + audio);
}

// A version 2.2 tag lost every frame without a 2.3 twin silently; what a 2.3
// tag cannot hold is now named (the window says it in the status line).
TEST(TagCommand, UpdateNamesTheFramesAVersion23TagCannotHold) {
    test::TempDir dir;
    const std::string frames = std::string("TT2\0\0\4\0Old", 10) +              // 6 + 4
                               std::string("CRM\0\0\x08me\0x\0sec", 14);        // 6 + 8: no 2.3 twin
    const std::string path =
        dir.Write("old.mp3", std::string("ID3\2\0\0\0\0\0\x18", 10) + frames + std::string(700, '\x55'));
    const CliRun r = Tag({"update", path, "--tags", "2", "--title", "New"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "An ID3v2.3 tag cannot hold these frames, they were left out: CRM - " + path + "\n");
}

}  // namespace
}  // namespace tandrel
