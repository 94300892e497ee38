// The directory dialog: the home directory, or the target directory of copies.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <string>

#include "app/prompts.h"
#include "ui/widgets.h"

namespace tandrel {

class RegistryStore;

enum class DirectoryMode { Home = 0, Save = 2 };

class TDirectoryForm : public QDialog {
    Q_OBJECT
public:
    TDirectoryForm(DirectoryMode mode, Prompter& prompter, RegistryStore& registry, std::string currentDirectory,
                   int language, QWidget* parent = nullptr);

    void bbtnOkClick();
    // The chosen directory after OK in save mode.
    const std::string& chosen() const { return chosen_; }

    PathEdit* DirectoryEdit;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

private:
    void FormCreate(const std::string& currentDirectory);
    void WriteValue(const std::string& text);

    DirectoryMode mode_;
    Prompter& prompter_;
    RegistryStore& registry_;
    int language_;
    std::string opening_;
    std::string chosen_;
};

// Home mode: HomeDir, applied at the next start.
void ShowHomeDirDialog(Prompter& prompter, RegistryStore& registry, const std::string& currentDirectory,
                       int language, QWidget* parent);
// Save mode: the chosen (or created) directory, "" when cancelled.
std::string ShowSaveDirDialog(Prompter& prompter, RegistryStore& registry, const std::string& currentDirectory,
                              int language, QWidget* parent);

}  // namespace tandrel
