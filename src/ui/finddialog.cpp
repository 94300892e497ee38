#include "ui/finddialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/widgets.h"

namespace tandrel {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("FindDialog");
    setWindowTitle("Find");
    findText = Named(new QLineEdit(this), "findText");
    matchCase = Named(new QCheckBox("Match &case", this), "matchCase");
    findNext = Named(new QPushButton("&Find Next", this), "findNext");
    auto* cancel = Named(new QPushButton("Cancel", this), "cancel");
    findNext->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Find what:", this));
    row->addWidget(findText, 1);
    row->addWidget(findNext);
    auto* row2 = new QHBoxLayout;
    row2->addWidget(matchCase);
    row2->addStretch(1);
    row2->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(row2);
    connect(findNext, &QPushButton::clicked, this, [this] { emit find(findText->text(), matchCase->isChecked()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tandrel
