#include "ui/widgets.h"

#include <QHBoxLayout>

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

}  // namespace tandrel
