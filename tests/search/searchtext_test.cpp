#include "support/cp1251_text.h"
#include "search/searchtext.h"

#include <gtest/gtest.h>

#include "search/searchplaces.h"
#include "text/cp1251.h"
#include "text/transforms.h"

namespace tandrel {
namespace {


TEST(SearchText, StarPatterns) {
    struct Case { const char* pattern; const char* text; bool match; };
    const Case cases[] = {
        {"ab*b", "ab", true},           // the rest starts one after the start of the piece found
        {"ab*cd", "xxabyycdzz", true},  // not anchored
        {"b*a", "ab", false},           // pieces in order
        {"a*a", "a", false},
        {"*", "", true},                // stars only: no piece, every text
        {"**x**y", "x-y", true},        // runs of stars are one cut
        {"abc", "abc", false},          // no star: never a pattern match
    };
    for (const Case& c : cases) EXPECT_EQ(MatchStarPattern(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
    EXPECT_EQ(NeedleHits("song", "a song, a song"), 1);  // twice in the text, one line
    EXPECT_EQ(NeedleHits("x*y", "1 x*y 2"), 2);           // substring and pattern
    EXPECT_EQ(NeedleHits("", "text"), 0);
}

TEST(SearchText, NormalisingIsLowerCaseThenShortTranslitForEveryCharacter) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(NormaliseForSearch(all, false), ToLowerCase(all));
    EXPECT_EQ(NormaliseForSearch(all, true), ToTranslitShort(ToLowerCase(all)));
    EXPECT_EQ(NormaliseForSearch(Cp("ёлка"), false), NormaliseForSearch(Cp("ЕЛКА"), false));
}

TEST(SearchText, WordModes) {
    struct Case { const char* text; int mode; std::vector<std::string> words; bool match; };
    const Case cases[] = {
        {"a b a", 1, {"b", "a"}, true},
        {"a b a", 2, {"b", "a"}, false},  // first occurrences only
        {"a b a", 2, {"a", "b"}, true},
        {"one two", 1, {"one", "", "two"}, false},  // the empty word of two spaces never occurs
        {"one two", 3, {"one", "two"}, false},      // mode 3 counts nothing
    };
    for (const Case& c : cases) EXPECT_EQ(MatchWords(c.text, c.mode, c.words), c.match) << c.text << " " << c.mode;
}

TEST(SearchPlaces, DriveListAddAndDelete) {
    struct Case { const char* list; const char* root; const char* added; const char* deleted; };
    const Case cases[] = {
        {"", "/", "/", ""},
        {"/", "/media/d", "/,/media/d", "/"},
        {"/,/media/d", "/media/d", "/,/media/d", "/"},  // already there
        {"/,/media/d,/media/e", "/", "/,/media/d,/media/e", "/media/d,/media/e"},
        {"/,/media/d,/media/e", "/media/e", "/,/media/d,/media/e", "/,/media/d"},
        {"/media/disk", "/", "/media/disk,/", "/media/disk"},  // "/" is in the text but not in the list
        {"/media/d,", "/media/e", "/media/d,", "/media/d,"},    // a list ending with a comma
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AddDriveToList(c.list, c.root), c.added) << c.list << " + " << c.root;
        EXPECT_EQ(DeleteDriveFromList(c.list, c.root), c.deleted) << c.list << " - " << c.root;
    }
}

TEST(SearchPlaces, StartPointsByTheControls) {
    ScanChoice c;
    c.directory = "/music";
    c.fileListMask = "*.txt";
    c.searchMask = "*.mp3";
    c.driveList = "/media/a,,/media/b";
    c.home = {"/names", "*.avi", "/inside", "*.doc"};
    EXPECT_EQ(ScanStartPoints(c), (std::vector<StartPoint>{{"/music", "*.txt"}}));
    c.useMask = true;
    EXPECT_EQ(ScanStartPoints(c), (std::vector<StartPoint>{{"/music", "*.mp3"}}));
    c.useHomeDirMask = true;
    EXPECT_EQ(ScanStartPoints(c), (std::vector<StartPoint>{{"/inside", "*.doc"}}));
    c.findMode = 0;
    EXPECT_EQ(ScanStartPoints(c), (std::vector<StartPoint>{{"/names", "*.avi"}}));
    c.findOnDrives = true;  // the drives come first
    EXPECT_EQ(ScanStartPoints(c), (std::vector<StartPoint>{{"/media/a", "*.mp3"}, {"/media/b", "*.mp3"}}));
    c.driveList = "";
    EXPECT_TRUE(ScanStartPoints(c).empty());
}

TEST(SearchPlaces, QueriesFromFileNames) {
    EXPECT_EQ(WordsSearchQuery("/m/01 - Artist - Song Title.mp3"), "01 - Artist - Song Title");
    EXPECT_EQ(WordsSearchQuery("/m/noextension"), "");
    EXPECT_EQ(FileNameWords("/m/Artist_-_Song (Live).mp3"), "Artist Song Live ");
    EXPECT_EQ(FileNameWords("/m/\"Quoted\"#1@home.mp3"), "Quoted 1 home");
}

}  // namespace
}  // namespace tandrel
