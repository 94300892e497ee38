// The directory-processing dialog of the tree and description commands: the
// directory to scan, the directory to write into and the options of the
// mode (0 descriptions, 1 translit and descriptions, 2 tree). Created for one
// use; OK checks both directories, stores SaveDir and writes the mode's
// options back into the settings record.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <functional>
#include <string>

#include "app/prompts.h"
#include "app/settings.h"
#include "ui/widgets.h"

namespace tandrel {

class RegistryStore;

enum class ProcessDirMode { Descriptions = 0, TranslitDescriptions = 1, Tree = 2 };

class TProcessDirForm : public QDialog {
    Q_OBJECT
public:
    // changeDirectory moves the file manager to a new directory for scanning.
    TProcessDirForm(ProcessDirMode mode, int language, Prompter& prompter, RegistryStore& registry,
                    TAppSettings& settings, std::string currentDirectory,
                    std::function<void(const std::string&)> changeDirectory, QWidget* parent = nullptr);

    void bbtnOkClick();
    void cbAddNumClick();
    // The directory for writing after OK.
    std::string saveDirectory() const;

    QLabel* lProcessDir;
    PathEdit* deProcessDir;
    QLabel* lSaveDir;
    PathEdit* deSaveDir;
    QCheckBox* cbAddNum;
    QLabel* lNumFormat;
    QSpinBox* seNumFormat;
    QLabel* lNumSplit;
    QLineEdit* edNumSplit;
    TRadioGroup* rgTreeFileNameMode;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

private:
    void ApplyTexts();
    void FormCreate();
    void WriteSaveDir(const std::string& dir);
    std::string NotExists() const;

    ProcessDirMode mode_;
    int language_;
    Prompter& prompter_;
    RegistryStore& registry_;
    TAppSettings& settings_;
    std::string startDirectory_;
    std::string storedSaveDir_;  // SaveDir as stored, "" when absent
    std::function<void(const std::string&)> changeDirectory_;
};

// Shows the dialog; the directory for writing on OK, "" on Cancel.
std::string ShowProcessDirDialog(ProcessDirMode mode, int language, Prompter& prompter, RegistryStore& registry,
                                 TAppSettings& settings, const std::string& currentDirectory,
                                 const std::function<void(const std::string&)>& changeDirectory, QWidget* parent);

}  // namespace tandrel
