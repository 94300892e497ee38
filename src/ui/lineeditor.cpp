#include "ui/lineeditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QCursor>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <vector>

#include "text/cp1251.h"
#include "ui/filelists.h"

namespace tandrel {

namespace {

constexpr int kMargin = 4;  // around the text, as a plain text editor leaves

bool WordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || u >= 0xC0 || u == 0xA8 || u == 0xB8;  // Cyrillic letters, Ё and ё
}

// Ctrl+Y and Ctrl+Shift+Z redo whatever the platform's own binding is.
bool IsRedoKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
           (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier));
}

std::vector<std::string> SplitAtLineEnds(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

}  // namespace

std::string TypedToCp1251(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const std::u32string points = text.toStdU32String();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const char32_t cp = points[i];
        if (cp == U'\r') {
            out += '\n';
            if (i + 1 < points.size() && points[i + 1] == U'\n') ++i;
        } else if (cp == 0x2029 || cp == 0x2028) {
            out += '\n';
        } else if (cp == 0xFFFD) {
            out += kUnmappableChar;
        } else {
            const char c = CodePointToCp1251(cp);
            out += c == kUnmappableChar ? '?' : c;
        }
    }
    return out;
}

TLineEditor::TLineEditor(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    UpdateScrollBars();
}

// ---- document ----

void TLineEditor::setLines(LineList lines) {
    if (doc_.Holds(lines)) return;
    widestBytes_ = 0;
    widestPixels_ = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) widestBytes_ = std::max(widestBytes_, lines[i].size());
    doc_ = EditLines(std::move(lines));
    caret_ = anchor_ = LinePlace{};
    goalX_ = -1;
    typingGroup_ = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
    emit textChanged();
    emit cursorPositionChanged();
}

void TLineEditor::setPlainText(const QString& text) {
    std::vector<std::string> lines;
    std::string line;
    const std::string cp1251 = FromQt(text);
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        const char c = cp1251[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < cp1251.size() && cp1251[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    lines.push_back(std::move(line));
    if (lines.size() == 1 && lines[0].empty()) lines.clear();
    setLines(LineList(lines));
}

QString TLineEditor::toPlainText() const {
    std::string text;
    for (std::size_t i = 0; i < doc_.size(); ++i) {
        if (i) text += '\n';
        text += doc_.line(i);
    }
    return ToQt(text);
}

void TLineEditor::clear() { setLines(LineList()); }

// ---- selection ----

void TLineEditor::setSelection(LinePlace anchor, LinePlace caret) {
    anchor_ = Clamp(anchor);
    MoveCaret(caret, true);
}

QString TLineEditor::selectedText() const {
    const LinePlace a = SelectionFrom(), b = SelectionTo();
    std::string text;
    for (std::size_t i = a.line; i <= b.line; ++i) {
        const std::string_view line = doc_.line(i);
        const std::size_t from = i == a.line ? a.column : 0;
        const std::size_t to = i == b.line ? b.column : line.size();
        if (i > a.line) text += '\n';
        text += line.substr(from, to - from);
    }
    return ToQt(text);
}

int TLineEditor::selectionStart() const { return static_cast<int>(doc_.OffsetOf(SelectionFrom())); }

int TLineEditor::selectionEnd() const { return static_cast<int>(doc_.OffsetOf(SelectionTo())); }

LinePlace TLineEditor::Clamp(LinePlace place) const {
    place.line = std::min(place.line, doc_.size() - 1);
    place.column = std::min(place.column, doc_.line(place.line).size());
    return place;
}

void TLineEditor::MoveCaret(LinePlace place, bool keepAnchor, bool keepGoal) {
    place = Clamp(place);
    const bool hadSelection = hasSelection();
    const bool moved = place != caret_;
    caret_ = place;
    if (!keepAnchor) anchor_ = caret_;
    if (!keepGoal) goalX_ = -1;
    typingGroup_ = 0;
    RestartBlink();
    EnsureCaretVisible();
    if (moved || hadSelection || hasSelection()) viewport()->update();
    if (moved) emit cursorPositionChanged();
}

void TLineEditor::selectAll() {
    anchor_ = LinePlace{};
    MoveCaret(LinePlace{doc_.size() - 1, doc_.line(doc_.size() - 1).size()}, true);
}

// ---- editing ----

void TLineEditor::ReplaceSelection(const std::string& text, bool typing) {
    const LinePlace a = SelectionFrom(), b = SelectionTo();
    std::vector<std::string> lines = SplitAtLineEnds(text);
    const std::string_view first = doc_.line(a.line);
    const std::string_view last = doc_.line(b.line);
    const std::size_t lastLength = lines.back().size() + (lines.size() == 1 ? a.column : 0);
    lines.front().insert(0, first.substr(0, a.column));
    lines.back() += last.substr(b.column);
    const LinePlace after{a.line + lines.size() - 1, lastLength};
    for (const std::string& line : lines) NoteWidth(line.size());
    // Characters typed in a row into one line are undone together.
    const bool grouped = typing && text.find('\n') == std::string::npos;
    if (grouped && typingGroup_ == 0) typingGroup_ = ++groups_;
    const std::uint64_t group = grouped ? typingGroup_ : 0;
    doc_.Replace(a.line, b.line - a.line + 1, lines, caret_, after, group);
    AfterEdit(after);
    if (grouped) typingGroup_ = group;  // AfterEdit ends the run; this edit continues it
}

void TLineEditor::AfterEdit(LinePlace caret) {
    UpdateScrollBars();
    MoveCaret(caret, false);
    viewport()->update();
    emit textChanged();
}

void TLineEditor::undo() {
    if (std::optional<LinePlace> place = doc_.Undo()) AfterEdit(*place);
}

void TLineEditor::redo() {
    if (std::optional<LinePlace> place = doc_.Redo()) AfterEdit(*place);
}

void TLineEditor::copy() const {
    if (hasSelection()) QApplication::clipboard()->setText(selectedText());
}

void TLineEditor::cut() {
    if (!hasSelection()) return;
    copy();
    ReplaceSelection(std::string());
}

void TLineEditor::paste() {
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) ReplaceSelection(TypedToCp1251(text));
}

// ---- geometry ----

int TLineEditor::LineHeight() const { return std::max(1, fontMetrics().height()); }

int TLineEditor::PageLines() const { return std::max(1, (viewport()->height() - kMargin) / LineHeight()); }

int TLineEditor::TopLine() const { return verticalScrollBar()->value(); }

int TLineEditor::LeftX() const { return kMargin - horizontalScrollBar()->value(); }

void TLineEditor::LayOut(QTextLayout& layout, std::size_t line) const {
    layout.setText(ToQt(doc_.line(line)));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(80);  // as QPlainTextEdit
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine row = layout.createLine();
    if (row.isValid()) row.setLineWidth(1e6);
    layout.endLayout();
}

double TLineEditor::ColumnX(LinePlace place) const {
    QTextLayout layout;
    LayOut(layout, place.line);
    return layout.lineAt(0).cursorToX(static_cast<int>(place.column));
}

LinePlace TLineEditor::PlaceAt(QPoint point) const {
    // Above the view is the line above the first one shown.
    const int row = point.y() < 0 ? -1 - (-point.y()) / LineHeight() : std::max(0, (point.y() - kMargin) / LineHeight());
    const long long line = std::clamp<long long>(TopLine() + row, 0, static_cast<long long>(doc_.size()) - 1);
    QTextLayout layout;
    LayOut(layout, static_cast<std::size_t>(line));
    const int column = layout.lineAt(0).xToCursor(point.x() - LeftX());
    return LinePlace{static_cast<std::size_t>(line), static_cast<std::size_t>(std::max(0, column))};
}

void TLineEditor::NoteWidth(std::size_t bytes) {
    if (bytes > widestBytes_) widestBytes_ = bytes;
}

void TLineEditor::UpdateScrollBars() {
    const int lines = static_cast<int>(std::min<std::size_t>(doc_.size(), INT_MAX / 2));
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(PageLines());
    vertical->setRange(0, std::max(0, lines - PageLines()));
    // An estimate from the longest line in characters; lines painted wider widen it.
    const QFontMetrics metrics = fontMetrics();
    const auto estimate = static_cast<long long>(widestBytes_) * metrics.averageCharWidth() * 6 / 5;
    const int width = static_cast<int>(std::min<long long>(std::max<long long>(estimate, widestPixels_), INT_MAX / 4)) +
                      2 * kMargin + metrics.averageCharWidth();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(std::max(1, metrics.averageCharWidth() * 2));
    horizontal->setRange(0, std::max(0, width - viewport()->width()));
}

void TLineEditor::EnsureCaretVisible() {
    QScrollBar* vertical = verticalScrollBar();
    const auto line = static_cast<int>(caret_.line);
    if (line < vertical->value())
        vertical->setValue(line);
    else if (line >= vertical->value() + PageLines())
        vertical->setValue(line - PageLines() + 1);
    QScrollBar* horizontal = horizontalScrollBar();
    const int x = static_cast<int>(std::lround(ColumnX(caret_)));
    const int margin = fontMetrics().averageCharWidth() * 4;
    const int width = viewport()->width() - 2 * kMargin;
    if (x > horizontal->maximum() + width) horizontal->setMaximum(x - width + margin);
    if (x < horizontal->value())
        horizontal->setValue(std::max(0, x - margin));
    else if (x > horizontal->value() + width)
        horizontal->setValue(x - width + margin);
}

void TLineEditor::scrollContentsBy(int, int) { viewport()->update(); }

void TLineEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TLineEditor::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        widestPixels_ = 0;
        UpdateScrollBars();
    }
}

// ---- painting ----

void TLineEditor::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colors = palette();
    painter.setPen(colors.color(QPalette::Text));
    const int height = LineHeight();
    const LinePlace a = SelectionFrom(), b = SelectionTo();
    QTextCharFormat selected;
    selected.setBackground(colors.brush(QPalette::Highlight));
    selected.setForeground(colors.brush(QPalette::HighlightedText));
    const int left = LeftX();
    int widest = widestPixels_;
    for (std::size_t line = static_cast<std::size_t>(TopLine()), y = kMargin;
         line < doc_.size() && static_cast<int>(y) < viewport()->height(); ++line, y += static_cast<std::size_t>(height)) {
        QTextLayout layout;
        LayOut(layout, line);
        const QTextLine row = layout.lineAt(0);
        widest = std::max(widest, static_cast<int>(std::ceil(row.naturalTextWidth())));
        QList<QTextLayout::FormatRange> ranges;
        if (hasSelection() && line >= a.line && line <= b.line) {
            const std::size_t from = line == a.line ? a.column : 0;
            const std::size_t to = line == b.line ? b.column : doc_.line(line).size();
            if (to > from)
                ranges.append(QTextLayout::FormatRange{static_cast<int>(from), static_cast<int>(to - from), selected});
            if (line < b.line) {  // the selected line end, a space wide
                const double x = left + row.naturalTextWidth();
                painter.fillRect(QRectF(x, static_cast<double>(y), fontMetrics().horizontalAdvance(' '), height),
                                 colors.brush(QPalette::Highlight));
            }
        }
        layout.draw(&painter, QPointF(left, static_cast<double>(y)), ranges);
        if (line == caret_.line && caretOn_ && hasFocus())
            layout.drawCursor(&painter, QPointF(left, static_cast<double>(y)), static_cast<int>(caret_.column), 1);
    }
    if (widest > widestPixels_) {  // a line wider than the estimate widens the range, later
        widestPixels_ = widest;
        QMetaObject::invokeMethod(this, [this] { UpdateScrollBars(); }, Qt::QueuedConnection);
    }
}

void TLineEditor::RestartBlink() {
    caretOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
}

void TLineEditor::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        caretOn_ = !caretOn_;
        const int y = kMargin + (static_cast<int>(caret_.line) - TopLine()) * LineHeight();
        viewport()->update(0, y, viewport()->width(), LineHeight());
    } else if (event->timerId() == autoScroll_.timerId()) {
        const QPoint point = viewport()->mapFromGlobal(QCursor::pos());
        QScrollBar* vertical = verticalScrollBar();
        if (point.y() < 0) vertical->setValue(vertical->value() - 1);
        if (point.y() > viewport()->height()) vertical->setValue(vertical->value() + 1);
        MoveCaret(PlaceAt(point), true);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void TLineEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
    viewport()->update();
}

void TLineEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    viewport()->update();
}

// ---- keys ----

bool TLineEditor::HandlesKey(QKeyEvent* event) {
    for (QKeySequence::StandardKey key : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                          QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll})
        if (event->matches(key)) return true;
    if (IsRedoKey(event)) return true;
    switch (event->key()) {
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
        case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Return: case Qt::Key_Enter:
            return !(event->modifiers() & Qt::AltModifier);
        default:
            break;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const QString text = event->text();
    return !text.isEmpty() && (text.at(0).isPrint() || text.at(0).isHighSurrogate()) && (mods == Qt::NoModifier || mods == Qt::GroupSwitchModifier ||
                                                       mods == (Qt::ControlModifier | Qt::AltModifier));
}

bool TLineEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the editor acts on go to it, not to a window shortcut such as Ctrl+C.
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandlesKey(key)) {
            key->accept();
            return true;
        }
    }
    if (event->type() == QEvent::Paint && hasFocus()) {
        // The frame, then a line in the highlight colour inside it while the editor has the focus.
        const bool done = QAbstractScrollArea::event(event);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return done;
    }
    return QAbstractScrollArea::event(event);
}

bool TLineEditor::focusNextPrevChild(bool) { return false; }  // Tab is a character here

LinePlace TLineEditor::WordLeft(LinePlace place) const {
    if (place.column == 0) return place.line == 0 ? place : LinePlace{place.line - 1, doc_.line(place.line - 1).size()};
    const std::string_view line = doc_.line(place.line);
    std::size_t c = place.column;
    while (c > 0 && !WordByte(line[c - 1])) --c;
    while (c > 0 && WordByte(line[c - 1])) --c;
    return LinePlace{place.line, c};
}

LinePlace TLineEditor::WordRight(LinePlace place) const {
    const std::string_view line = doc_.line(place.line);
    if (place.column >= line.size()) return place.line + 1 < doc_.size() ? LinePlace{place.line + 1, 0} : place;
    std::size_t c = place.column;
    while (c < line.size() && WordByte(line[c])) ++c;
    while (c < line.size() && !WordByte(line[c])) ++c;
    return LinePlace{place.line, c};
}

bool TLineEditor::MoveByKey(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const LinePlace at = caret_;
    const std::size_t last = doc_.size() - 1;
    auto vertical = [&](long long lines) {
        if (goalX_ < 0) goalX_ = ColumnX(caret_);
        const long long target = std::clamp<long long>(static_cast<long long>(at.line) + lines, 0, static_cast<long long>(last));
        QTextLayout layout;
        LayOut(layout, static_cast<std::size_t>(target));
        const int column = layout.lineAt(0).xToCursor(goalX_);
        MoveCaret(LinePlace{static_cast<std::size_t>(target), static_cast<std::size_t>(std::max(0, column))}, shift, true);
    };
    switch (event->key()) {
        case Qt::Key_Left:
            if (!shift && hasSelection() && !ctrl)
                MoveCaret(SelectionFrom(), false);
            else if (ctrl)
                MoveCaret(WordLeft(at), shift);
            else
                MoveCaret(at.column > 0 ? LinePlace{at.line, at.column - 1}
                                        : at.line > 0 ? LinePlace{at.line - 1, doc_.line(at.line - 1).size()} : at,
                          shift);
            return true;
        case Qt::Key_Right:
            if (!shift && hasSelection() && !ctrl)
                MoveCaret(SelectionTo(), false);
            else if (ctrl)
                MoveCaret(WordRight(at), shift);
            else
                MoveCaret(at.column < doc_.line(at.line).size() ? LinePlace{at.line, at.column + 1}
                                                                : at.line < last ? LinePlace{at.line + 1, 0} : at,
                          shift);
            return true;
        case Qt::Key_Up:
            if (ctrl) {
                verticalScrollBar()->setValue(TopLine() - 1);
                return true;
            }
            vertical(-1);
            return true;
        case Qt::Key_Down:
            if (ctrl) {
                verticalScrollBar()->setValue(TopLine() + 1);
                return true;
            }
            vertical(1);
            return true;
        case Qt::Key_PageUp:
            verticalScrollBar()->setValue(TopLine() - PageLines());
            vertical(-PageLines());
            return true;
        case Qt::Key_PageDown:
            verticalScrollBar()->setValue(TopLine() + PageLines());
            vertical(PageLines());
            return true;
        case Qt::Key_Home:
            MoveCaret(ctrl ? LinePlace{} : LinePlace{at.line, 0}, shift);
            return true;
        case Qt::Key_End:
            MoveCaret(ctrl ? LinePlace{last, doc_.line(last).size()} : LinePlace{at.line, doc_.line(at.line).size()},
                      shift);
            return true;
        default:
            return false;
    }
}

void TLineEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo) || IsRedoKey(event)) {
        redo();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (MoveByKey(event)) {
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ReplaceSelection("\n");
    } else if (event->key() == Qt::Key_Backspace) {
        if (!hasSelection()) {
            const LinePlace at = caret_;
            if (event->modifiers() & Qt::ControlModifier)
                anchor_ = WordLeft(at);
            else if (at.column > 0)
                anchor_ = LinePlace{at.line, at.column - 1};
            else if (at.line > 0)
                anchor_ = LinePlace{at.line - 1, doc_.line(at.line - 1).size()};
        }
        if (hasSelection()) ReplaceSelection(std::string());
    } else if (event->key() == Qt::Key_Delete) {
        if (!hasSelection()) {
            const LinePlace at = caret_;
            if (event->modifiers() & Qt::ControlModifier)
                anchor_ = WordRight(at);
            else if (at.column < doc_.line(at.line).size())
                anchor_ = LinePlace{at.line, at.column + 1};
            else if (at.line + 1 < doc_.size())
                anchor_ = LinePlace{at.line + 1, 0};
        }
        if (hasSelection()) ReplaceSelection(std::string());
    } else if (event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ControlModifier)) {
        ReplaceSelection("\t", true);
    } else if (HandlesKey(event)) {
        ReplaceSelection(TypedToCp1251(event->text()), true);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void TLineEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) ReplaceSelection(TypedToCp1251(event->commitString()), true);
    event->accept();
}

QVariant TLineEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return true;
        case Qt::ImCursorRectangle: {
            const int y = kMargin + (static_cast<int>(caret_.line) - TopLine()) * LineHeight();
            const QRect rect(LeftX() + static_cast<int>(ColumnX(caret_)), y, 1, LineHeight());
            return rect.translated(viewport()->pos());
        }
        case Qt::ImCursorPosition:
            return static_cast<int>(caret_.column);
        case Qt::ImSurroundingText:
            return ToQt(doc_.line(caret_.line));
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- mouse ----

void TLineEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    MoveCaret(PlaceAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    dragging_ = true;
}

void TLineEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint point = event->position().toPoint();
    MoveCaret(PlaceAt(point), true);
    // Above or below the view the selection goes on, scrolling.
    if (viewport()->rect().contains(point))
        autoScroll_.stop();
    else if (!autoScroll_.isActive())
        autoScroll_.start(50, this);
}

void TLineEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        autoScroll_.stop();
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TLineEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const LinePlace at = PlaceAt(event->position().toPoint());
    const std::string_view line = doc_.line(at.line);
    std::size_t from = at.column, to = at.column;
    while (from > 0 && WordByte(line[from - 1])) --from;
    while (to < line.size() && WordByte(line[to])) ++to;
    setSelection(LinePlace{at.line, from}, LinePlace{at.line, to});
}

}  // namespace tandrel
