// A plain text editor over EditLines: it lays out and paints only the lines in
// view, so a document of millions of lines opens, scrolls and edits at once and
// shares its text with the other views of the document. No wrapping; one line
// is one scroll step. Names follow QPlainTextEdit where they mean the same.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QString>
#include <cstdint>
#include <string>

#include "text/editlines.h"

class QTextLayout;

namespace tandrel {

class TLineEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TLineEditor(QWidget* parent = nullptr);

    // A new document, the caret at its start and no history; lines this editor
    // holds already (it gave them out and was not edited since) keep its state.
    void setLines(LineList lines);
    // The lines, shared with this editor while it is unedited.
    LineList lines() const { return doc_.Lines(); }
    const EditLines& editLines() const { return doc_; }

    void setPlainText(const QString& text);
    QString toPlainText() const;
    void clear();
    bool isEmpty() const { return doc_.size() == 1 && doc_.line(0).empty(); }
    int lineCount() const { return static_cast<int>(doc_.size()); }
    // The caret's line, code page 1251.
    std::string currentLine() const { return std::string(doc_.line(caret_.line)); }

    LinePlace caret() const { return caret_; }
    LinePlace anchor() const { return anchor_; }
    // Selects from anchor to caret (equal places: no selection) and shows the caret.
    void setSelection(LinePlace anchor, LinePlace caret);
    bool hasSelection() const { return anchor_ != caret_; }
    // The selection's lines joined with '\n'.
    QString selectedText() const;
    // Character offsets in the text with one line end between lines.
    int selectionStart() const;
    int selectionEnd() const;

    bool isUndoAvailable() const { return doc_.CanUndo(); }
    bool isRedoAvailable() const { return doc_.CanRedo(); }

public slots:
    void undo();
    void redo();
    void copy() const;
    void cut();
    void paste();
    void selectAll();

signals:
    void textChanged();
    void cursorPositionChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool focusNextPrevChild(bool next) override;

private:
    void LayOut(QTextLayout& layout, std::size_t line) const;
    int LineHeight() const;
    // Lines that fit in the view whole, at least one.
    int PageLines() const;
    int TopLine() const;
    int LeftX() const;  // x of column 0 in the viewport
    double ColumnX(LinePlace place) const;
    LinePlace PlaceAt(QPoint point) const;
    LinePlace Clamp(LinePlace place) const;
    LinePlace SelectionFrom() const { return std::min(anchor_, caret_); }
    LinePlace SelectionTo() const { return std::max(anchor_, caret_); }

    // Moves the caret; keepAnchor extends the selection. keepGoal keeps the
    // x that up and down aim for.
    void MoveCaret(LinePlace place, bool keepAnchor, bool keepGoal = false);
    bool MoveByKey(QKeyEvent* event);
    LinePlace WordLeft(LinePlace place) const;
    LinePlace WordRight(LinePlace place) const;
    // Replaces the selection by text (code page 1251, '\n' between lines); the
    // one edit every key, paste and cut goes through.
    void ReplaceSelection(const std::string& text, bool typing = false);
    void AfterEdit(LinePlace caret);
    void NoteWidth(std::size_t bytes);
    void UpdateScrollBars();
    void EnsureCaretVisible();
    void RestartBlink();
    static bool HandlesKey(QKeyEvent* event);

    EditLines doc_;
    LinePlace caret_;
    LinePlace anchor_;
    double goalX_ = -1;            // the x up and down aim for; < 0: the caret's own
    std::uint64_t typingGroup_ = 0;  // the undo group of the characters typed in a row
    std::uint64_t groups_ = 0;
    std::size_t widestBytes_ = 0;  // the longest line seen, for the horizontal range
    int widestPixels_ = 0;
    bool caretOn_ = true;
    bool dragging_ = false;
    QPoint dragPoint_;
    QBasicTimer blink_;
    QBasicTimer autoScroll_;
};

// Text typed or pasted as code page 1251: CR LF and CR become '\n', a
// character the code page lacks becomes '?' (U+FFFD, which stands for one,
// its byte 0x98).
std::string TypedToCp1251(const QString& text);

}  // namespace tandrel
