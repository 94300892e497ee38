// Small widgets the windows share: the radio group and the helpers that give
// every control its documented name.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>
#include <functional>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>
#include <optional>

class QHBoxLayout;
class QPushButton;

namespace tandrel {

template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A titled group of radio buttons addressed by item index.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;             // -1 when none is selected
    void setItemIndex(int index);      // emits itemClicked like a click when it changes
    int count() const { return static_cast<int>(buttons_.size()); }
    QString itemText(int index) const;
    void setItemText(int index, const QString& text);
    QRadioButton* button(int index) const { return buttons_.value(index); }

signals:
    void itemClicked(int index);

private:
    QButtonGroup group_;
    QList<QRadioButton*> buttons_;
};

// A path box with a browse button ("de" directory edit, "fe" file edit). The
// browse callback gets the shown text and returns the chosen path, if any.
class PathEdit : public QWidget {
    Q_OBJECT
public:
    using Browse = std::function<std::optional<QString>(const QString& current)>;
    PathEdit(Browse browse, QWidget* parent = nullptr);

    QString text() const { return edit_->text(); }
    void setText(const QString& text) { edit_->setText(text); }
    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* browseButton() const { return button_; }

private:
    QLineEdit* edit_;
    QToolButton* button_;
};

// The Ok and Cancel buttons of a dialog, named bbtnOk and bbtnCancel, Ok the
// default, in a row that pushes them to the right edge. Ok is captioned "Ok";
// Cancel takes its caption from the dialog's texts.
QHBoxLayout* OkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel);

// The width a push or tool button needs to show its whole caption.
int CaptionWidth(const QAbstractButton* button);
// Lets the layouts make the window's buttons as narrow as their captions
// allow, and no narrower: the style's wider default is not a minimum. Called
// again whenever the captions change.
void FitButtonsToCaptions(QWidget* window);

// Handlers that act when a key comes up must see only the releases of presses
// their own control received: the Enter that closes a message box goes down in
// the box and comes up in the control behind it.
class KeyUpGate {
public:
    void Pressed(int key) { pressed_ = key; }
    // True, once, for the release of the key last pressed in the control.
    bool Released(int key) {
        const bool own = key != 0 && key == pressed_;
        pressed_ = 0;
        return own;
    }

private:
    int pressed_ = 0;
};

}  // namespace tandrel
