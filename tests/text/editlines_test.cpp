#include "text/editlines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

Lines All(const EditLines& doc) {
    Lines out;
    for (std::size_t i = 0; i < doc.size(); ++i) out.emplace_back(doc.line(i));
    return out;
}

TEST(EditLines, StartsFromTheListItselfAndGivesItBackWhileUnedited) {
    const LineList list(Lines{"a", "b", "c"});
    EditLines doc(list);
    EXPECT_EQ(All(doc), (Lines{"a", "b", "c"}));
    EXPECT_EQ(doc.line(1).data(), list[1].data());  // the text is not copied
    EXPECT_TRUE(doc.Holds(list));
    EXPECT_EQ(doc.Lines()[2].data(), list[2].data());
    EXPECT_FALSE(doc.Holds(LineList(Lines{"a", "b", "c"})));  // equal text, another list

    // A document ending in a blank line keeps it while unedited; once edited,
    // the lines are those of the editor's text, whose final line end adds none.
    const LineList blankLast(Lines{"a", ""});
    EditLines trimmed(blankLast);
    EXPECT_EQ(trimmed.size(), 2u);
    EXPECT_EQ(trimmed.Lines().ToVector(), (Lines{"a", ""}));
    EXPECT_EQ(trimmed.Lines()[0].data(), blankLast[0].data());
    EXPECT_TRUE(trimmed.Holds(trimmed.Lines()));
    trimmed.Replace(0, 1, {"b"});
    EXPECT_EQ(trimmed.Lines().ToVector(), Lines{"b"});

    EditLines empty{LineList()};
    EXPECT_EQ(All(empty), Lines{""});  // an empty text is one empty line
    EXPECT_TRUE(empty.Lines().empty());
}

// Edits at the start, middle and end of runs, each undone and redone to the exact lines.
TEST(EditLines, ReplacementsUndoAndRedoToTheExactLines) {
    const LineList list(Lines{"0", "1", "2", "3", "4"});
    EditLines doc(list);
    struct Step {
        std::size_t from, count;
        Lines lines;
        Lines result;
    };
    const Step steps[] = {
        {2, 1, {"2a", "2b"}, {"0", "1", "2a", "2b", "3", "4"}},   // one line split in two
        {0, 2, {"01"}, {"01", "2a", "2b", "3", "4"}},             // two joined at the start
        {4, 1, {}, {"01", "2a", "2b", "3"}},                      // the last removed
        {4, 0, {"end", ""}, {"01", "2a", "2b", "3", "end", ""}},  // appended
        {0, 6, {}, {""}},                                         // everything removed: one empty line
        {0, 1, {"x"}, {"x"}},
    };
    std::vector<Lines> states{All(doc)};
    for (const Step& s : steps) {
        doc.Replace(s.from, s.count, s.lines);
        EXPECT_EQ(All(doc), s.result) << s.from << "," << s.count;
        states.push_back(All(doc));
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(All(doc), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(doc.Undo());
    EXPECT_TRUE(doc.Unedited());
    EXPECT_TRUE(doc.Holds(list));  // all undone: the original list again, not a copy
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(All(doc), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(doc.Redo());

    // An edit after an undo drops what could have been redone.
    doc.Undo();
    doc.Replace(0, 1, {"y"});
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(All(doc), Lines{"y"});
}

TEST(EditLines, EditsOfOneGroupOnTheSameLinesUndoAsOneAndHandBackTheirCarets) {
    EditLines doc(LineList(Lines{"ab", "cd"}));
    doc.Replace(0, 1, {"aXb"}, {0, 1}, {0, 2}, 7);
    doc.Replace(0, 1, {"aXYb"}, {0, 2}, {0, 3}, 7);
    doc.Replace(1, 1, {"cZd"}, {1, 1}, {1, 2}, 7);  // another line: an edit of its own
    doc.Replace(1, 1, {"cZWd"}, {1, 2}, {1, 3}, 8);  // another group
    EXPECT_EQ(doc.Undo(), (LinePlace{1, 2}));
    EXPECT_EQ(All(doc), (Lines{"aXYb", "cZd"}));
    EXPECT_EQ(doc.Undo(), (LinePlace{1, 1}));
    EXPECT_EQ(doc.Undo(), (LinePlace{0, 1}));
    EXPECT_EQ(All(doc), (Lines{"ab", "cd"}));
    EXPECT_EQ(doc.Redo(), (LinePlace{0, 3}));
    EXPECT_EQ(All(doc), (Lines{"aXYb", "cd"}));
}

TEST(EditLines, LinesOfAnEditedTextAreBuiltOnceAndLeaveOutAFinalEmptyLine) {
    EditLines doc(LineList(Lines{"a", "b"}));
    doc.Replace(1, 1, {"b", "", "c", ""});
    const LineList built = doc.Lines();
    EXPECT_EQ(built.ToVector(), (Lines{"a", "b", "", "c"}));
    EXPECT_TRUE(doc.Holds(built));
    EXPECT_EQ(doc.Lines()[0].data(), built[0].data());  // not built again
    doc.Replace(0, 1, {"z"});
    EXPECT_FALSE(doc.Holds(built));
}

TEST(EditLines, OffsetsCountOneCharacterPerByteAndOneForEachLineEnd) {
    EditLines doc(LineList(Lines{"ab", "", "cde"}));
    doc.Replace(1, 0, {"x"});  // ab / x / "" / cde: offsets 0..2, 3..4, 5, 6..9
    const std::pair<std::uint64_t, LinePlace> table[] = {
        {0, {0, 0}}, {2, {0, 2}}, {3, {1, 0}}, {4, {1, 1}}, {5, {2, 0}}, {6, {3, 0}}, {9, {3, 3}},
    };
    for (const auto& [offset, place] : table) {
        EXPECT_EQ(doc.PlaceAt(offset), place) << offset;
        EXPECT_EQ(doc.OffsetOf(place), offset) << offset;
    }
    EXPECT_EQ(doc.PlaceAt(100), (LinePlace{3, 3}));  // past the end: the end
}

TEST(EditLines, FindGoesLineByLineFromAPlaceAsTheWholeTextWouldBeSearched) {
    // "\xC0" and "\xE0" are the upper and lower case of one Cyrillic letter.
    EditLines doc(LineList(Lines{"abc x ABC", "no", "tail \xC0\xC1", "\xE0\xE1 end"}));
    using Hit = std::pair<LinePlace, LinePlace>;
    EXPECT_EQ(FindInLines(doc, "abc", false, {0, 0}), (Hit{{0, 0}, {0, 3}}));
    EXPECT_EQ(FindInLines(doc, "abc", false, {0, 1}), (Hit{{0, 6}, {0, 9}}));
    EXPECT_EQ(FindInLines(doc, "abc", true, {0, 1}), std::nullopt);
    EXPECT_EQ(FindInLines(doc, "\xE0\xE1", false, {0, 7}), (Hit{{2, 5}, {2, 7}}));
    EXPECT_EQ(FindInLines(doc, "\xE0\xE1", true, {0, 7}), (Hit{{3, 0}, {3, 2}}));
    // A needle of several lines spans them.
    EXPECT_EQ(FindInLines(doc, "ABC\nno\ntail", true, {0, 0}), (Hit{{0, 6}, {2, 4}}));
    EXPECT_EQ(FindInLines(doc, "ABC\nn", true, {0, 7}), std::nullopt);
    EXPECT_EQ(FindInLines(doc, "", false, {0, 0}), std::nullopt);
}

}  // namespace
}  // namespace tandrel
