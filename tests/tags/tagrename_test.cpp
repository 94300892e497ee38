#include "tags/tagrename.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"
#include "support/settings_file.h"
#include "support/tempdir.h"
#include "tagbytes.h"

namespace tandrel {
namespace {

using namespace test;
using Fields = std::array<std::string, kNameFieldCount>;
using Names = std::vector<std::string>;

TEST(TagName, PatternPieces) {
    struct Case { const char* pattern; Fields fields; int width; const char* split; const char* expected; };
    const Case cases[] = {
        {"N-AT", {"3", "Artist", "Title", "", ""}, 2, "_", "03_-_Artist_Title"},
        {"N-AT", {"3", "Artist", "Title", "", ""}, 2, " ", "03 - Artist Title"},
        {"NATLY", {"", "Artist", "Title", "Album", "1999"}, 2, "_", "Artist_Title_Album_1999"},  // track 0: no piece
        {"N-A", {"", "", "", "", ""}, 2, "_", "-"},
        {"NATLY", {"", "", "", "", ""}, 2, "_", ""},
        {"N", {"7", "", "", "", ""}, 3, "_", "007"},
        {"N", {"123", "", "", "", ""}, 2, "_", "123"},     // never cut
        {"N", {"7", "", "", "", ""}, 1000, "_", "0000000007"},  // a stored width past 10 is taken as 10
        {"nAt", {"1", "A", "T", "", ""}, 2, "", "nAt"},    // letters are case-sensitive
        {"TT", {"", "", "x", "", ""}, 2, "+", "x+x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameFromPattern(c.pattern, c.fields, c.width, c.split), c.expected) << c.pattern << " " << c.split;
}

TEST(TagName, CleaningOrder) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"AC/DC - Back\\In", "ACDC - BackIn"},
        {"line\r\nbreak", "line break"},  // two spaces, then collapsed
        {"a\t \tb", "a b"},
        {"say \"hi\"", "say hi"},
        {"a \" b", "a  b"},  // the quote goes after the runs were collapsed
        {"/\\\"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CleanTagName(c.in), c.out) << c.in;
}

TEST(TagName, OptionsFromTheStore) {
    TempDir dir;
    TAppSettings settings;
    settings.renameMode = 2;
    settings.makeLowercaseExt = true;
    RegistryStore store(dir / "registry.reg");
    ASSERT_TRUE(store.Load());
    TagNameOptions o = ReadTagNameOptions(store, settings);  // no key: defaults, no mode
    EXPECT_FALSE(o.tagMode.has_value());
    EXPECT_EQ(o.numberWidth, 2);
    EXPECT_EQ(o.basicSplit, "_");
    EXPECT_EQ(o.renameMode, 2);
    EXPECT_TRUE(o.makeLowercaseExt);
    EXPECT_FALSE(o.Usable());

    dir.Write("registry.reg", SettingsFileText("\"ID3TagMode\"=\"1\"\r\n\"ID3FileFormat\"=\"NA\"\r\n"
                                               "\"ID3Artist\"=dword:00000002\r\n\"ID3NumFormat\"=dword:00000004\r\n"));
    ASSERT_TRUE(store.Load());
    o = ReadTagNameOptions(store, settings);
    EXPECT_FALSE(o.tagMode.has_value());  // a string is not a mode
    EXPECT_EQ(o.pattern, "NA");
    EXPECT_EQ(o.numberWidth, 4);
    EXPECT_EQ(o.sources, (std::array<int, kNameFieldCount>{0, 2, 0, 0, 0}));

    for (int mode : {-1, 0, 2, 3}) {
        o.tagMode = mode;
        EXPECT_EQ(o.Usable(), mode == 0 || mode == 2) << mode;
    }
    o.tagMode = 1;
    o.pattern.clear();
    EXPECT_FALSE(o.Usable());

    o.pattern = "N-A";
    o.sources = {1, 2, 0, 0, 1};
    o.basicSplit = " ";
    o.numberWidth = 3;
    ASSERT_TRUE(WriteTagNameOptions(store, o));
    RegistryStore reread(dir / "registry.reg");
    ASSERT_TRUE(reread.Load());
    const TagNameOptions back = ReadTagNameOptions(reread, settings);
    EXPECT_EQ(back.tagMode, 1);
    EXPECT_EQ(back.pattern, "N-A");
    EXPECT_EQ(back.sources, o.sources);
    EXPECT_EQ(back.basicSplit, " ");
    EXPECT_EQ(back.numberWidth, 3);
}

// Renames in a temporary folder with MP3 files whose tags are made in code.
class TagRenameTest : public ::testing::Test {
protected:
    TagRenameTest() {
        options.tagMode = 0;
        options.pattern = "N-A";
        options.sources = {kSourceID3v1, kSourceID3v1, kSourceID3v1, kSourceID3v1, kSourceID3v1};
    }
    // An MP3 file with an ID3v1 tag.
    void V1File(const std::string& name, std::uint8_t track, const std::string& artist, const std::string& title = "",
                const std::string& audio = Audio()) {
        const std::string path = dir.Write(name, audio);
        TID3v1 tag;
        tag.SetTrack(track);
        tag.SetArtist(artist);
        tag.SetTitle(title);
        ASSERT_TRUE(tag.SaveToFile(path));
    }
    // An ID3v2.3 tag of the given frames before the audio.
    static std::string V2Tag(const std::string& frames) {
        return "ID3" + Bytes({3, 0, 0}) + Syncsafe(static_cast<std::uint32_t>(frames.size())) + frames;
    }
    static std::string Frame(const std::string& id, const std::string& content) {
        return id + Be32(static_cast<std::uint32_t>(content.size())) + Zeros(2) + content;
    }
    bool Rename(const std::string& name) {
        return RenameFromTags(dir.str(), name, options, v1, v2, messages).status == TagNameStatus::Renamed;
    }
    Names Files() const {
        Names names;
        for (const auto& e : std::filesystem::directory_iterator(dir.str())) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TagMessages messages{prompter, 0};
    TID3v1 v1;
    TID3v2 v2;
    TagNameOptions options;
};

TEST_F(TagRenameTest, NamesFromID3v1) {
    struct Case { std::uint8_t track; const char* artist; const char* pattern; int width; const char* expected; };
    const Case cases[] = {
        {0, "Kino", "NATLY", 2, "Kino.mp3"},  // track 0: the name starts with the artist
        {7, "Kino", "N-A", 3, "007_-_Kino.mp3"},
        {0, "", "N-A", 2, "-.mp3"},
    };
    for (const Case& c : cases) {
        V1File("in.mp3", c.track, c.artist);
        options.pattern = c.pattern;
        options.numberWidth = c.width;
        EXPECT_TRUE(Rename("in.mp3")) << c.pattern;
        EXPECT_EQ(Files(), Names{c.expected});
        std::filesystem::remove(dir / c.expected);
    }
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(TagRenameTest, NoTagAtAllGivesTheLiteralPieces) {
    dir.Write("plain.mp3", Audio());
    EXPECT_TRUE(Rename("plain.mp3"));
    EXPECT_EQ(Files(), Names{"-.mp3"});
}

TEST_F(TagRenameTest, NothingHappensWithoutAName) {
    V1File("a.mp3", 0, "");
    struct Case { const char* pattern; std::optional<int> mode; int source; };
    const Case cases[] = {
        {"NATLY", 0, kSourceID3v1},   // every field empty
        {"NA", 1, kSourceID3v2},      // ID3v1 only, every source ID3v2: nothing collected
        {"NA", 2, kSourceID3v1},
        {"", 0, kSourceID3v1},        // no pattern
        {"N-A", std::nullopt, kSourceID3v1},  // no mode stored
        {"N-A", 3, kSourceID3v1},
    };
    for (const Case& c : cases) {
        options.pattern = c.pattern;
        options.tagMode = c.mode;
        options.sources.fill(c.source);
        EXPECT_FALSE(Rename("a.mp3")) << c.pattern;
    }
    EXPECT_EQ(Files(), Names{"a.mp3"});
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(TagRenameTest, TitleCleanedThenRenameModeAndExtensionCase) {
    TID3v2 tag;
    tag.SetTitle("AC/DC \"Live\"\r\nat\\Donington_1991");
    tag.SetTrack(4);
    dir.Write("Song.MP3", Audio());
    ASSERT_TRUE(tag.SaveToFile(dir / "Song.MP3"));
    options.pattern = "T";
    options.sources.fill(kSourceID3v2);
    struct Case { int mode; bool lower; const char* from; const char* expected; };
    const Case cases[] = {
        {0, false, "Song.MP3", "ACDC Live atDonington_1991.MP3"},
        {1, true, "ACDC Live atDonington_1991.MP3", "ACDC_Live_atDonington_1991.mp3"},
        {2, false, "ACDC_Live_atDonington_1991.mp3", "ACDC Live atDonington 1991.mp3"},
    };
    for (const Case& c : cases) {
        options.renameMode = c.mode;
        options.makeLowercaseExt = c.lower;
        EXPECT_TRUE(Rename(c.from)) << c.mode;
        EXPECT_EQ(Files(), Names{c.expected});
    }
    EXPECT_FALSE(Rename("ACDC Live atDonington 1991.mp3"));  // already the name the tags give
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(TagRenameTest, NameWithoutFullStopTakesItselfAsExtension) {
    V1File("song", 0, "Kino");
    EXPECT_TRUE(Rename("song"));
    EXPECT_EQ(Files(), Names{"-_Kino.song"});
}

TEST_F(TagRenameTest, NameThatCleansToNothingRenamesNothing) {
    TID3v2 tag;
    tag.SetTitle("/\\\"");
    dir.Write("a.mp3", Audio());
    ASSERT_TRUE(tag.SaveToFile(dir / "a.mp3"));
    options.pattern = "T";
    options.sources.fill(kSourceID3v2);
    EXPECT_FALSE(Rename("a.mp3"));
    EXPECT_EQ(Files(), Names{"a.mp3"});
}

TEST_F(TagRenameTest, SecondFileWithTheSameNameKeepsItsOwn) {
    V1File("a.mp3", 1, "Kino", "", Audio(600) + "first");
    V1File("b.mp3", 1, "Kino", "", Audio(600) + "second");
    std::vector<TagNamePlanRow> rows = PlanTagNames({{dir.str(), "a.mp3"}, {dir.str(), "b.mp3"}}, options, v1, v2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].status, TagNameStatus::Rename);
    EXPECT_EQ(rows[1].status, TagNameStatus::Refused);
    EXPECT_EQ(Files(), (Names{"a.mp3", "b.mp3"}));  // planning moves nothing
    for (TagNamePlanRow& row : rows) {
        ExecuteTagName(row);
        ReportTagNameRow(row, messages);
    }
    EXPECT_EQ(Files(), (Names{"01_-_Kino.mp3", "b.mp3"}));
    EXPECT_NE(ReadAll(dir / "01_-_Kino.mp3").find("first"), std::string::npos);
    EXPECT_EQ(prompter.Texts(PromptKind::Status), Names{"b.mp3 not renamed!!!"});

    // One at a time, the existing file refuses it just as well.
    EXPECT_FALSE(Rename("b.mp3"));
    EXPECT_NE(ReadAll(dir / "01_-_Kino.mp3").find("first"), std::string::npos);
    EXPECT_EQ(prompter.Texts(PromptKind::Status).size(), 2u);
}

TEST_F(TagRenameTest, NameFreedByAnEarlierRowCanBeTaken) {
    options.pattern = "A";
    // a.mp3 wants b.mp3, b.mp3 wants c.mp3: only when b.mp3 moves first are both renamed.
    struct Case { Names order; Names expected; };
    const Case cases[] = {
        {{"b.mp3", "a.mp3"}, {"b.mp3", "c.mp3"}},
        {{"a.mp3", "b.mp3"}, {"a.mp3", "c.mp3"}},
    };
    for (const Case& c : cases) {
        for (const std::string& name : Files()) std::filesystem::remove(dir / name);
        V1File("a.mp3", 1, "b");
        V1File("b.mp3", 1, "c");
        std::vector<TagNameFile> files;
        for (const std::string& name : c.order) files.push_back({dir.str(), name});
        std::vector<TagNamePlanRow> rows = PlanTagNames(files, options, v1, v2);
        for (TagNamePlanRow& row : rows) ExecuteTagName(row);
        EXPECT_EQ(Files(), c.expected) << c.order[0];
    }
}

TEST_F(TagRenameTest, UnicodeFieldOutsideTheCodePageIsNotRenamed) {
    // Title "К☆" in UTF-16: the star has no code-page-1251 form.
    const std::string title = Frame("TIT2", Bytes({1, 0xFF, 0xFE, 0x1A, 0x04, 0x06, 0x26, 0, 0}));
    const std::string artist = Frame("TPE1", Bytes({0}) + "Kino");
    dir.Write("star.mp3", V2Tag(title + artist) + Audio());
    options.pattern = "A-T";
    options.sources.fill(kSourceID3v2);
    EXPECT_FALSE(Rename("star.mp3"));
    EXPECT_EQ(Files(), Names{"star.mp3"});
    ASSERT_EQ(prompter.Count(PromptKind::Status), 1u);
    const std::string status = prompter.statusText();
    EXPECT_EQ(status.rfind("star.mp3 not renamed!!! (", 0), 0u) << status;
    EXPECT_NE(status.find("title"), std::string::npos) << status;
    EXPECT_NE(status.find("U+2606"), std::string::npos) << status;

    options.pattern = "A";  // the title is not part of the name
    EXPECT_TRUE(Rename("star.mp3"));
    EXPECT_EQ(Files(), Names{"Kino.mp3"});
}

TEST_F(TagRenameTest, FailuresAreReportedAndTheOtherTagStillCounts) {
    EXPECT_FALSE(Rename("gone.mp3"));
    EXPECT_EQ(prompter.Texts(PromptKind::Message), Names{"The file does not exist: " + dir / "gone.mp3"});

    // Shorter than an ID3v1 record: that tag cannot be read, the ID3v2 artist is used.
    dir.Write("short.mp3", V2Tag(Frame("TPE1", Bytes({0}) + "Kino")) + "x");
    options.sources[kNameArtist] = kSourceID3v2;
    EXPECT_TRUE(Rename("short.mp3"));
    EXPECT_EQ(Files(), Names{"-_Kino.mp3"});
    EXPECT_EQ(prompter.Texts(PromptKind::Message).back(), "Can not read tag from the file: " + dir / "short.mp3");
}

TEST(TagNamesAsPlan, EachRowGetsTheStatusOfWhatWouldHappen) {
    const auto row = [](const char* old, const char* name, TagNameStatus status, const char* reason = "") {
        TagNamePlanRow r;
        r.dir = "/m";
        r.oldName = old;
        r.newName = name;
        r.status = status;
        r.reason = reason;
        return r;
    };
    const RenamePlan plan = TagNamesAsPlan({
        row("a.mp3", "Kino.mp3", TagNameStatus::Rename),
        row("b.mp3", "Kino.mp3", TagNameStatus::Refused, "a file named Kino.mp3 is there already"),
        row("c.mp3", "DDT.mp3", TagNameStatus::Refused, "a file named DDT.mp3 is there already"),
        row("d.mp3", "", TagNameStatus::NoName),
        row("e.mp3", "", TagNameStatus::Refused, "the name holds a character outside code page 1251"),
        row("f.mp3", "..", TagNameStatus::Refused, "the new name is not a file name"),
    });
    const PlanStatus want[] = {PlanStatus::WillRename, PlanStatus::SameTarget,      PlanStatus::TargetExists,
                               PlanStatus::Unchanged,  PlanStatus::OutsideCodePage, PlanStatus::NotAllowed};
    ASSERT_EQ(plan.rows.size(), std::size(want));
    for (std::size_t i = 0; i < plan.rows.size(); ++i) EXPECT_EQ(plan.rows[i].status, want[i]) << i;
    EXPECT_EQ(plan.rows[3].newName, "d.mp3");
    EXPECT_EQ(plan.rows[1].problemText, "b.mp3 not renamed!!!");
}

}  // namespace
}  // namespace tandrel
