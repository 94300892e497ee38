// The tag repair on real files: what it rewrites, what it leaves alone, and
// the result as an outside tagger (python3-mutagen) reads it.
#include "tags/tagrepair.h"

#include <gtest/gtest.h>

#include <map>

#include "support/cp1251_text.h"
#include "support/mutagen.h"
#include "support/tempdir.h"
#include "tagbytes.h"
#include "tags/id3v2.h"
#include "text/legacytext.h"

namespace tandrel {
namespace {

using namespace test;

std::string Frame23(const std::string& id, const std::string& content, int format = 0) {
    return id + Be32(static_cast<std::uint32_t>(content.size())) + Bytes({0, format}) + content;
}
std::string Frame24(const std::string& id, const std::string& content) {
    return id + Syncsafe(static_cast<std::uint32_t>(content.size())) + Zeros(2) + content;
}
std::string Tag(int version, const std::string& frames, int flags = 0) {
    return std::string("ID3") + Bytes({version, 0, flags}) + Syncsafe(static_cast<std::uint32_t>(frames.size())) +
           frames;
}
std::string Utf16(std::string_view utf8, bool terminated = false) {
    std::string out = "\xFF\xFE";
    for (char32_t c : Utf8CodePoints(utf8)) out += Bytes({int(c & 0xFF), int(c >> 8)});
    return terminated ? out + Zeros(2) : out;
}

const std::string kKino = "\xCA\xE8\xED\xEE";  // "Кино" in code page 1251, "Êèíî" as ISO-8859-1
const std::string kPrivate = Frame23("PRIV", std::string("owner") + '\0' + Bytes({0xCA, 0xE8, 0, 0xFF, 0xED}));

TEST(TagRepair, RewritesMisreadFramesAsUtf16AndKeepsEverythingElse) {
    TempDir dir;
    const std::string untouched1 = Frame23("TPE1", Bytes({0}) + "Caf\xE9");
    const std::string untouched2 = Frame23("TRCK", Bytes({0}) + "3/12");
    const std::string padding = Zeros(32);
    const std::string frames = Frame23("TIT2", Bytes({0}) + kKino) +                       // code page 1251
                               untouched1 +                                                // Western text
                               Frame23("TALB", Bytes({0}) + "\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0") +  // UTF-8
                               kPrivate +                                                  // binary, kept
                               Frame23("COMM", Bytes({0}) + "rus" + "d" + Bytes({0}) + Cp("Хорошая")) +
                               untouched2;
    const std::string audio = Audio(2000);
    const std::string path = dir.Write("a.mp3", Tag(3, frames + padding) + audio);

    TagRepair plan;
    ASSERT_TRUE(PlanTagRepair(path, plan).ok);
    EXPECT_EQ(ReadAll(path), Tag(3, frames + padding) + audio) << "the plan changes nothing";
    TagRepair done;
    const FileResult r = RepairTag(path, done);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(done.frames.size(), 3u);
    EXPECT_EQ(done.frames[0].frameId, "TIT2");
    EXPECT_EQ(CodePointsToUtf8(done.frames[0].oldText), "Êèíî");
    EXPECT_EQ(CodePointsToUtf8(done.frames[0].newText), "Кино");
    EXPECT_EQ(done.frames[1].origin, MisreadText::kUtf8);
    EXPECT_EQ(CodePointsToUtf8(done.frames[2].newText), "d / Хорошая");
    EXPECT_EQ(plan.frames.size(), done.frames.size());

    const std::string expected = Frame23("TIT2", Bytes({1}) + Utf16("Кино")) + untouched1 +
                                 Frame23("TALB", Bytes({1}) + Utf16("Группа")) + kPrivate +
                                 Frame23("COMM", Bytes({1}) + "rus" + Utf16("d", true) + Utf16("Хорошая")) +
                                 untouched2;
    EXPECT_EQ(ReadAll(path), Tag(3, expected + padding) + audio);

    // Nothing is left to repair: a second run does not write.
    TagRepair again;
    ASSERT_TRUE(RepairTag(path, again).ok);
    EXPECT_TRUE(again.frames.empty());
}

TEST(TagRepair, Version24KeepsItsSyncsafeSizesAndItsFooter) {
    TempDir dir;
    const std::string other = Frame24("TXXX", Bytes({3}) + "k" + Bytes({0}) + "\xD0\x9A");
    const std::string frames = Frame24("TPE1", Bytes({0}) + kKino + Bytes({0}) + "Caf\xE9") + other;
    std::string tag = Tag(4, frames, 0x10);
    const std::string footer = "3DI" + tag.substr(3, 7);
    const std::string path = dir.Write("a.mp3", tag + footer + Audio());
    TagRepair done;
    ASSERT_TRUE(RepairTag(path, done).ok);
    ASSERT_EQ(done.frames.size(), 1u);
    // Both strings of the frame are read as the frame's text is: as code page 1251.
    const std::string repaired = Frame24("TPE1", Bytes({1}) + Utf16("Кино", true) + Utf16("Cafй")) + other;
    const std::string newTag = Tag(4, repaired, 0x10);
    EXPECT_EQ(ReadAll(path), newTag + "3DI" + newTag.substr(3, 7) + Audio());
}

TEST(TagRepair, TagsItCannotRewriteSafelyAreLeftAlone) {
    TempDir dir;
    const std::string title = Frame23("TIT2", Bytes({0}) + kKino);
    struct Case { const char* what; std::string bytes; };
    const Case cases[] = {
        {"damaged", Tag(3, title).replace(6, 4, Syncsafe(5000)) + Audio()},
        {"unsynchronised", Tag(3, title, 0x80) + Audio()},
        {"compressed frame", Tag(3, Frame23("TIT2", Bytes({0}) + kKino, 0x80)) + Audio()},
        {"no tag", Audio()},
        {"too short", "ID3"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Write("a.mp3", c.bytes);
        TagRepair done;
        ASSERT_TRUE(RepairTag(path, done).ok) << c.what;
        EXPECT_TRUE(done.frames.empty()) << c.what;
        EXPECT_EQ(ReadAll(path), c.bytes) << c.what;
    }
    TagRepair missing;
    EXPECT_FALSE(RepairTag(dir / "missing.mp3", missing).ok);
}

class TagRepairOracle : public ::testing::Test {
protected:
    void SetUp() override {
        if (MutagenPython().empty()) GTEST_SKIP() << "python3 cannot import mutagen";
    }
    TempDir dir;
};

TEST_F(TagRepairOracle, MutagenReadsTheRepairedCyrillicAndTheUntouchedCafe) {
    const std::string path = dir.Write(
        "a.mp3", Tag(3, Frame23("TIT2", Bytes({0}) + kKino) + Frame23("TPE1", Bytes({0}) + "Caf\xE9") +
                            Frame23("TALB", Bytes({0}) + "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE")) +
                     Audio());
    const std::map<std::string, std::string> before = {
        {"version", "2.3"}, {"TIT2", "0:Êèíî"}, {"TPE1", "0:Café"}, {"TALB", "0:ÐÐ¸Ð½Ð¾"}};
    // ISO-8859-1 has no 0x9A character: mutagen shows it as a C1 control.
    auto withoutControls = [](std::map<std::string, std::string> m) {
        m.erase("TALB");
        return m;
    };
    EXPECT_EQ(withoutControls(MutagenOracle("encodings", path)), withoutControls(before));
    TagRepair done;
    ASSERT_TRUE(RepairTag(path, done).ok);
    const std::map<std::string, std::string> after = {
        {"version", "2.3"}, {"TIT2", "1:Кино"}, {"TPE1", "0:Café"}, {"TALB", "1:Кино"}};
    EXPECT_EQ(MutagenOracle("encodings", path), after);
}

}  // namespace
}  // namespace tandrel
