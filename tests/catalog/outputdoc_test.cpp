#include <gtest/gtest.h>

#include "catalog/outputdoc.h"
#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::TempDir;

TEST(OutputDocument, SaveAsksBeforeEditedLinesLoseCharactersAndNamesThem) {
    TextOrigin origin;
    std::vector<std::string> lines =
        DecodeTextDocument("a \xF0\x9F\x8E\xB8\nb\nc \xE2\x99\xAB\n", false, origin);
    test::ScriptedPrompter prompter;
    EXPECT_TRUE(ConfirmCharacterLoss(prompter, 0, lines, origin));  // nothing lost: no question
    EXPECT_EQ(prompter.Count(test::PromptKind::YesNo), 0u);
    lines[0] += "!";
    lines[2] += "!";
    prompter.No();
    EXPECT_FALSE(ConfirmCharacterLoss(prompter, 0, lines, origin));
    const std::string question = prompter.Texts(test::PromptKind::YesNo).at(0);
    EXPECT_NE(question.find("lines 1, 3\nSave anyway?"), std::string::npos) << question;
    prompter.Yes();
    EXPECT_TRUE(ConfirmCharacterLoss(prompter, 1, lines, origin));
    EXPECT_NE(prompter.Texts(test::PromptKind::YesNo).at(1).find(Cp("строки 1, 3")), std::string::npos);
}

TEST(OutputDocument, NamesOfOpenedDocuments) {
    EXPECT_EQ(OpenedDocumentName(OpenMode::FileList, "", ""), "file_0x");
    EXPECT_EQ(OpenedDocumentName(OpenMode::FileList, "", "list.txt"), "list.txt");
    EXPECT_EQ(OpenedDocumentName(OpenMode::FileList, "given.m3u", "list.txt"), "given.m3u");
    EXPECT_EQ(OpenedDocumentName(OpenMode::SearchResults, "x", "y"), "file_001.txt");
    EXPECT_EQ(OpenedDocumentName(OpenMode::OpenDialog, "/music/list.M3U", ""), "list.M3U");
    EXPECT_TRUE(NamesPlaylist("list.M3U"));
    EXPECT_FALSE(NamesPlaylist("list.m3u.txt"));
    for (const char* mask : {"*.TXT", "*.txt;*.m3u", "*.mp3", ""}) EXPECT_FALSE(MaskOpensDocuments(mask)) << mask;
    EXPECT_TRUE(MaskOpensDocuments("*.txt"));
    EXPECT_TRUE(MaskOpensDocuments("*.m3u"));
}

TEST(OutputDocument, NextCatalogNameSkipsExistingFiles) {
    TempDir tmp;
    EXPECT_EQ(NextCatalogName(tmp.str()), "file_001.txt");
    tmp.Write("file_001.txt", "");
    tmp.Write("file_002.txt", "");
    EXPECT_EQ(NextCatalogName(tmp.str()), "file_003.txt");
    EXPECT_EQ(CatalogName(12), "file_012.txt");
    EXPECT_EQ(CatalogName(1234), "file_1234.txt");
}

TEST(OutputDocument, AddedLinesByAddingMode) {
    const std::string source = FilePathSource("/music/rock/a.mp3", "list.txt");
    EXPECT_EQ(source, "/music/rock/list.txt");
    EXPECT_EQ(FilePathSource("", "list.txt"), "list.txt");
    EXPECT_EQ(AddedLine("Song.mp3 [old.txt]", true, false, "list.txt", source), "Song.mp3 [old.txt]");
    EXPECT_EQ(AddedLine("Song.mp3", true, false, "list.txt", source), "Song.mp3 \t[/music/rock/list.txt]");
    EXPECT_EQ(AddedLine("Song.mp3", false, true, "list.txt", source), "Song.mp3 \t[list.txt]");
    EXPECT_EQ(AddedLine("Song.mp3", false, false, "list.txt", source), "Song.mp3");
}

TEST(OutputDocument, FindStepWalksEveryOccurrenceThenStartsOver) {
    const std::string text = "One two\nONE three";
    int position = 0;
    auto first = FindStep(text, "one", false, position);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->start, 0);
    auto second = FindStep(text, "one", false, position);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->start, 8);
    EXPECT_EQ(position, 11);
    EXPECT_FALSE(FindStep(text, "one", false, position));
    EXPECT_EQ(position, 0);
    auto again = FindStep(text, "one", false, position);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->start, 0);
    position = 0;
    auto exact = FindStep(text, "ONE", true, position);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->start, 8);
    EXPECT_EQ(FindTextPosition("abcx", "X"), 3);
    EXPECT_EQ(FindTextPosition("abc", "x"), -1);
}

TEST(OutputDocument, FilterKeepsLinesHoldingTheQuery) {
    const std::vector<std::string> lines = {"\xD0\xEE\xEA - 1.mp3", "rok - 2.mp3", "Pop - 3.mp3", "\xB8\xEB\xEA\xE0"};
    EXPECT_EQ(FilterLines(lines, "ROK", false), (std::vector<std::size_t>{1}));
    // Over Search: Рок and rok meet in their one-letter transliteration.
    EXPECT_EQ(FilterLines(lines, "rok", true), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(FilterLines(lines, "\xC5\xCB", false), (std::vector<std::size_t>{3}));  // ЕЛ finds ёлка
}

TEST(OutputDocument, SortByPathOrdersByTheLastBracketPair) {
    EXPECT_EQ(SortByPath({"b [z]", "a [y]"}), (std::vector<std::string>{"a [y]", "b [z]"}));
    EXPECT_EQ(SortByPath({"plain"}), (std::vector<std::string>{"plain[]"}));
    EXPECT_EQ(SortByPath({"a [x] b [y] tail"}), (std::vector<std::string>{"a [y]"}));
    // An "=" in the path stays where it was.
    EXPECT_EQ(SortByPath({"s [k=v]"}), (std::vector<std::string>{"s [k=v]"}));
}

TEST(OutputDocument, FilesNamedByOutputLines) {
    EXPECT_EQ(OutputLineFiles("Song.MP3 \t[/music/rock]", true, "/cwd"),
              std::vector<std::string>{"/music/rock/Song.MP3"});
    EXPECT_EQ(OutputLineFiles("a.wav b.mp3 [/d]", true, "/cwd"), std::vector<std::string>{"/d/a.wav b.mp3"});
    EXPECT_EQ(OutputLineFiles("notes [/d]", true, "/cwd"), std::vector<std::string>{});
    EXPECT_EQ(OutputLineFiles("/music/a.mp3", false, "/cwd"),
              (std::vector<std::string>{"/music/a.mp3", "/cwd//music/a.mp3.mp3", "/cwd//music/a.mp3.wav"}));
}

TEST(OutputDocument, TextLinesSplitAndJoin) {
    EXPECT_EQ(SplitTextLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitTextLines("a\r\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(JoinTextLines({"a", "b"}), "a\nb");
}

}  // namespace
}  // namespace tandrel
