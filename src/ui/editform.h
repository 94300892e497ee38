// The editor window: a second text window for building catalogue files. It is
// created hidden at start-up and lives for the whole run.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QPlainTextEdit>

namespace tandrel {

class RegistryStore;

class TEditForm : public QMainWindow {
    Q_OBJECT
public:
    // Restores the bounds stored in the settings registry.
    explicit TEditForm(RegistryStore& registry, QWidget* parent = nullptr);
    // Writes the bounds back.
    ~TEditForm() override;

    // Asked before the program closes while this window is visible; true when it may close.
    bool CloseQuery();

    QPlainTextEdit* reEdit;
    QAction* mnSortLines;

private:
    RegistryStore& registry_;
};

}  // namespace tandrel
