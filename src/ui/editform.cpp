#include "ui/editform.h"

#include <QMenuBar>

#include "platform/registry.h"
#include "ui/widgets.h"

namespace tandrel {

TEditForm::TEditForm(RegistryStore& registry, QWidget* parent) : QMainWindow(parent), registry_(registry) {
    setObjectName("TEditForm");
    setWindowTitle("Edit File");
    reEdit = Named(new QPlainTextEdit(this), "reEdit");
    reEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    setCentralWidget(reEdit);
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnEdit");
    mnSortLines = Named(new QAction("Sort Lines", this), "mnSortLines");
    mnSortLines->setEnabled(false);
    edit->addAction(mnSortLines);

    registry_.Load();
    if (registry_.OpenKey(kSettingsKey, false)) {
        const int top = registry_.ReadInteger("EditTop").value_or(0);
        const int left = registry_.ReadInteger("EditLeft").value_or(0);
        const int height = registry_.ReadInteger("EditHeight").value_or(0);
        const int width = registry_.ReadInteger("EditWidth").value_or(0);
        if (width > 0 && height > 0) setGeometry(left, top, width, height);
        registry_.CloseKey();
    }
}

TEditForm::~TEditForm() {
    registry_.Load();
    if (registry_.OpenKey(kSettingsKey, true)) {
        const QRect g = geometry();
        registry_.WriteInteger("EditTop", g.top());
        registry_.WriteInteger("EditLeft", g.left());
        registry_.WriteInteger("EditHeight", g.height());
        registry_.WriteInteger("EditWidth", g.width());
        registry_.CloseKey();
        registry_.Save();
    }
}

bool TEditForm::CloseQuery() { return true; }

}  // namespace tandrel
