#include "ui/lineeditor.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

class LineEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = std::make_unique<TLineEditor>();
        editor->resize(400, 200);
        editor->show();
    }
    // Every line, the final empty one too.
    Lines Shown() const {
        Lines out;
        for (std::size_t i = 0; i < editor->editLines().size(); ++i) out.emplace_back(editor->editLines().line(i));
        return out;
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(editor.get(), Qt::Key(key), modifiers); }
    void Type(const QString& text) { test::Type(editor.get(), text); }
    // The middle of a line in view, at x.
    QPoint At(int line, int x) const {
        return QPoint(x, 4 + line * editor->fontMetrics().height() + editor->fontMetrics().height() / 2);
    }

    std::unique_ptr<TLineEditor> editor;
};

TEST_F(LineEditorTest, TypingEnterBackspaceAndDeleteEditLinesAsAPlainTextEditorDoes) {
    editor->setPlainText("abc\ndef");
    Press(Qt::Key_End);
    Type("XY");
    EXPECT_EQ(Shown(), (Lines{"abcXY", "def"}));
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    Press(Qt::Key_Return);  // splits the line at the caret
    EXPECT_EQ(Shown(), (Lines{"abc", "XY", "def"}));
    Press(Qt::Key_Backspace);  // at a line's start: joins it to the one above
    EXPECT_EQ(Shown(), (Lines{"abcXY", "def"}));
    Press(Qt::Key_End);
    Press(Qt::Key_Delete);  // at a line's end: joins the next one
    EXPECT_EQ(Shown(), (Lines{"abcXYdef"}));
    Press(Qt::Key_Backspace);  // the Y before the caret
    Press(Qt::Key_Home);
    Press(Qt::Key_Delete);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Shown(), (Lines{"\tbcXdef"}));
    Press(Qt::Key_End);
    Press(Qt::Key_Return);
    Press(Qt::Key_Return);
    EXPECT_EQ(Shown(), (Lines{"\tbcXdef", "", ""}));
    EXPECT_EQ(editor->lines().ToVector(), (Lines{"\tbcXdef", ""}));  // the final line end adds no line
    Press(Qt::Key_Escape);  // not the editor's: left for the window
    EXPECT_EQ(editor->caret(), (LinePlace{2, 0}));
}

TEST_F(LineEditorTest, ASelectionAcrossLinesIsReplacedByTypingAndUndoRestoresTheExactLines) {
    editor->setPlainText("one\ntwo\nthree");
    Press(Qt::Key_Right);
    Press(Qt::Key_End, Qt::ShiftModifier);
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Right, Qt::ShiftModifier);  // over the line end
    EXPECT_EQ(editor->selectedText(), "ne\ntw");
    EXPECT_EQ(editor->selectionStart(), 1);
    Type("Zed");
    EXPECT_EQ(Shown(), (Lines{"oZedo", "three"}));
    Press(Qt::Key_Down);
    Press(Qt::Key_End);
    Press(Qt::Key_Return);
    EXPECT_EQ(Shown(), (Lines{"oZedo", "three", ""}));

    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (Lines{"oZedo", "three"}));
    Press(Qt::Key_Z, Qt::ControlModifier);  // the typed run and the selection it replaced, as one
    EXPECT_EQ(Shown(), (Lines{"one", "two", "three"}));
    EXPECT_EQ(editor->caret(), (LinePlace{1, 2}));
    EXPECT_FALSE(editor->isUndoAvailable());
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (Lines{"oZedo", "three"}));
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Shown(), (Lines{"oZedo", "three", ""}));

    Press(Qt::Key_A, Qt::ControlModifier);
    Type("x");
    EXPECT_EQ(Shown(), Lines{"x"});
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (Lines{"oZedo", "three", ""}));
}

TEST_F(LineEditorTest, CopyCutAndPasteCarryLinesThroughTheSystemClipboard) {
    editor->setPlainText("first\nsecond\nthird");
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_End, Qt::ShiftModifier);
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "rst\nse");
    Press(Qt::Key_End, Qt::ControlModifier);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (Lines{"first", "second", "thirdrst", "se"}));
    EXPECT_EQ(editor->caret(), (LinePlace{3, 2}));

    QApplication::clipboard()->setText("a\r\nb\rc");  // line ends of other systems
    Press(Qt::Key_Home, Qt::ControlModifier);
    Press(Qt::Key_End, Qt::ShiftModifier);
    Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "first");
    EXPECT_EQ(Shown().front(), "");
    QApplication::clipboard()->setText("a\r\nb\rc");
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (Lines{"a", "b", "c", "second", "thirdrst", "se"}));
    Press(Qt::Key_Z, Qt::ControlModifier);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (Lines{"first", "second", "thirdrst", "se"}));
}

TEST_F(LineEditorTest, TypedCyrillicIsStoredInCodePage1251AndOtherCharactersAsQuestionMarks) {
    Type(QString::fromUtf8("Жё €") + QChar(0x2192));  // the arrow is not in the code page
    test::Key(editor.get(), 0, Qt::NoModifier, QString::fromUtf8("\xF0\x9F\x8E\xB8"));  // a guitar, two UTF-16 units
    EXPECT_EQ(editor->lines().ToVector(), Lines{"\xC6\xB8 \x88??"});
    EXPECT_EQ(editor->toPlainText(), QString::fromUtf8("Жё €??"));
}

TEST_F(LineEditorTest, TheMouseMovesTheCaretAndDragsASelectionAndMovingKeepsTheCaretInView) {
    editor->setPlainText("alpha\nbeta\ngamma");
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, At(1, 300));  // right of the line's end
    EXPECT_EQ(editor->caret(), (LinePlace{1, 4}));
    Type("!");
    EXPECT_EQ(Shown()[1], "beta!");

    QTest::mousePress(editor->viewport(), Qt::LeftButton, Qt::NoModifier, At(0, 1));
    QMouseEvent drag(QEvent::MouseMove, At(2, 300), editor->viewport()->mapToGlobal(At(2, 300)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &drag);
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, Qt::NoModifier, At(2, 300));
    EXPECT_EQ(editor->selectedText(), "alpha\nbeta!\ngamma");

    std::string text;
    for (int i = 0; i < 1000; ++i) text += "row " + std::to_string(i) + "\n";
    editor->setPlainText(QString::fromStdString(text));
    Press(Qt::Key_End, Qt::ControlModifier);
    QScrollBar* bar = editor->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(bar->value(), 900);
    Press(Qt::Key_PageUp);
    Press(Qt::Key_Up);
    EXPECT_GE(static_cast<int>(editor->caret().line), bar->value());  // still in view
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 0);
}

}  // namespace
}  // namespace tandrel
