#include "ui/widgets.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace tandrel {

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent) : QGroupBox(title, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("%1Item%2").arg(objectName()).arg(i));
        group_.addButton(b, i);
        buttons_.append(b);
        layout->addWidget(b);
    }
    connect(&group_, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
}

int TRadioGroup::itemIndex() const { return group_.checkedId(); }

void TRadioGroup::setItemIndex(int index) {
    if (index == itemIndex()) return;
    if (QRadioButton* b = buttons_.value(index)) {
        b->setChecked(true);
        emit itemClicked(index);
    }
}

QString TRadioGroup::itemText(int index) const {
    QRadioButton* b = buttons_.value(index);
    return b ? b->text() : QString();
}

void TRadioGroup::setItemText(int index, const QString& text) {
    if (QRadioButton* b = buttons_.value(index)) b->setText(text);
}

PathEdit::PathEdit(Browse browse, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    edit_ = new QLineEdit(this);
    button_ = new QToolButton(this);
    button_->setText("...");
    row->addWidget(edit_, 1);
    row->addWidget(button_);
    connect(button_, &QToolButton::clicked, this, [this, browse] {
        if (std::optional<QString> chosen = browse(edit_->text())) edit_->setText(*chosen);
    });
}

QHBoxLayout* OkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = Named(new QPushButton("Ok", dialog), "bbtnOk");
    cancel = Named(new QPushButton(dialog), "bbtnCancel");
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

int CaptionWidth(const QAbstractButton* button) {
    QString text = button->text();
    text.replace("&&", "\x01").remove('&').replace('\x01', '&');
    const QStyle* style = button->style();
    const int padding = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                             style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return button->fontMetrics().horizontalAdvance(text) + padding + icon;
}

void FitButtonsToCaptions(QWidget* window) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QPushButton*>(button) && !qobject_cast<QToolButton*>(button)) continue;
        if (button->text().isEmpty()) continue;
        button->setMinimumWidth(CaptionWidth(button));
    }
}

}  // namespace tandrel
