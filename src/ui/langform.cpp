#include "ui/langform.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tandrel {

TLangForm::TLangForm(std::function<void(int)> apply, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), apply_(std::move(apply)) {
    setObjectName("TLangForm");
    setWindowTitle("Language");
    setModal(true);
    rgLang = Named(new TRadioGroup(QString(), {"English", "Russian"}, this), "rgLang");
    rgLang->button(0)->setChecked(true);
    bbtnOk = Named(new QPushButton("OK", this), "bbtnOk");
    bbtnCancel = Named(new QPushButton("Cancel", this), "bbtnCancel");
    bbtnOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bbtnOk);
    buttons->addWidget(bbtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgLang);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(bbtnOk, &QPushButton::clicked, this, &TLangForm::bbtnOkClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLangForm::showEvent(QShowEvent* event) {
    remembered_ = rgLang->itemIndex();
    QDialog::showEvent(event);
}

void TLangForm::reject() {
    // Cancel changes nothing, not even the selection shown next time.
    if (QRadioButton* b = rgLang->button(remembered_)) b->setChecked(true);
    QDialog::reject();
}

void TLangForm::bbtnOkClick() {
    const int selected = rgLang->itemIndex();
    if (selected != remembered_) apply_(selected);
    accept();
}

}  // namespace tandrel
