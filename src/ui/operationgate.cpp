#include "ui/operationgate.h"

#include <QApplication>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/filelists.h"

namespace tandrel {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

bool IsMouseButton(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
}

// Whether watched belongs to the modal dialog (or its pop-up) that is active
// now, other than base: a dialog the operation itself opened takes input as usual.
bool InsideDialogOpenedSince(const QObject* watched, const QWidget* base) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == base) return false;
    if (!watched->isWidgetType()) return watched->parent() && InsideDialogOpenedSince(watched->parent(), base);
    const auto* widget = static_cast<const QWidget*>(watched);
    if (const QWidget* popup = QApplication::activePopupWidget(); popup && (popup == widget || popup->isAncestorOf(widget)))
        return true;
    return modal == widget || modal->isAncestorOf(widget);
}

}  // namespace

OperationGate::OperationGate(QLabel& progress, QPushButton& cancel, QObject* parent)
    : QObject(parent), progress_(progress), cancel_(cancel) {
    setObjectName("OperationGate");
    progress_.hide();
    cancel_.hide();
    // A click must not take the focus from where the operation will give it back.
    cancel_.setFocusPolicy(Qt::NoFocus);
    connect(&cancel_, &QPushButton::clicked, this, &OperationGate::RequestStop);
}

void OperationGate::Begin() {
    if (depth_++ > 0) return;
    stop_ = false;
    // An operation run from a dialog gates that dialog too.
    baseModal_ = QApplication::activeModalWidget();
    progress_.clear();
    progress_.setToolTip({});
    progress_.show();
    cancel_.setEnabled(true);
    cancel_.show();
    qApp->installEventFilter(this);
}

void OperationGate::End() {
    if (depth_ == 0 || --depth_ > 0) return;
    qApp->removeEventFilter(this);
    progress_.hide();
    cancel_.hide();
}

void OperationGate::RequestStop() {
    if (!running()) return;
    stop_ = true;
    cancel_.setEnabled(false);  // asked once; the operation ends at its next file
}

void OperationGate::ShowProgress(const std::string& counts, const std::string& entry) {
    const QString head = ToQt(counts);
    const QString tail = ToQt(entry);
    const QString separator = head.isEmpty() || tail.isEmpty() ? QString() : QStringLiteral(": ");
    progress_.setToolTip(head + separator + tail);
    // The counts stay whole; the path gives way, keeping its start and its file name.
    const QFontMetrics metrics = progress_.fontMetrics();
    const int room = std::max(progress_.width() - metrics.horizontalAdvance(head + separator), 40);
    progress_.setText(head + separator + metrics.elidedText(tail, Qt::ElideMiddle, room));
}

bool OperationGate::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!IsUserInput(type)) return false;
    if (InsideDialogOpenedSince(watched, baseModal_)) return false;
    // Windows pass input on to their widgets, which are judged here; a
    // shortcut goes to its action or shortcut object, and is dropped there.
    if (!watched->isWidgetType() && type != QEvent::Shortcut) return false;
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        RequestStop();
        return true;
    }
    if (IsMouseButton(type) && watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        if (widget == &cancel_ || cancel_.isAncestorOf(widget)) return false;
    }
    // A window cannot be closed under a running operation.
    if (type == QEvent::Close) event->ignore();
    return true;
}

}  // namespace tandrel
