// The settings dialog: four tabs of options, the list of file masks, program
// paths and local-file options. Created for one use, modal.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "app/settings.h"
#include "ui/widgets.h"

namespace tandrel {

class RegistryStore;

// What the dialog edits and where it reads from.
struct SettingsDialogContext {
    Prompter& prompter;
    RegistryStore& registry;
    TAppSettings& settings;           // changed on OK, four options at once
    std::vector<std::string>& masks;  // the main window's mask list, replaced on OK
    std::string currentDirectory;     // the file manager's directory
    int language = 0;
};

inline constexpr int kSettingsModeMain = 0;
inline constexpr int kSettingsModeRenameOnly = 3;

class TSettingsForm : public QDialog {
    Q_OBJECT
public:
    TSettingsForm(SettingsDialogContext context, int mode, QWidget* parent = nullptr);

    void FormActivate();
    void bbtnOkClick();
    void lbMasksClick();
    void btnAddMaskClick();
    void btnEditMaskClick();
    void btnDelMaskClick();

    QTabWidget* tabs;
    QWidget *tsOptions, *tsFindOptions, *tsRenameOptions, *tsPrograms;
    QCheckBox *cbDisablePlayListBtn, *cbConfirmationOnExit, *cbWriteRenameInfo, *cbSaveMaskPosition;
    QCheckBox* cbWriteID3v2Unicode;
    QCheckBox* cbShowRenamePreview;
    TRadioGroup* rmTreeMode;
    QListWidget* lbMasks;
    QLineEdit* edMask;
    QPushButton *btnAddMask, *btnEditMask, *btnDelMask;
    QCheckBox *cbM3USearchAll, *cbAnyMask, *cbM3UDlgBox, *cbRecursive;
    TRadioGroup* rgSearchMode;
    PathEdit *deFindFileNameHomeDir, *deFindInsideFileHomeDir;
    QLineEdit *meFindFileName, *meFindInsideFile;
    QCheckBox *cbShowRenameWarning, *cbMakeLowercaseExt, *cdRecursive;
    TRadioGroup *rgUpCaseFirstLettersOfArtistName, *rgMode;
    TRadioGroup* rgAudioProgramPath;
    PathEdit *feAudioProgram, *feVideoProgram, *feFTPlocalFile;
    TRadioGroup* rgFTPlocalFilePath;
    QCheckBox* cbFTPChangeAddFTPpath;
    QLineEdit *edFTPSourcePath, *edFTPTargetPath;
    QPushButton *bbtnOk, *bbtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void ApplyEnableRules();

    SettingsDialogContext context_;
    int mode_;
    bool activated_ = false;
    std::string openingFileNameDir_, openingInsideFileDir_, openingFileNameMask_, openingInsideFileMask_;
};

// Opens the dialog modally; true when it was closed with OK.
bool ShowSettingsDialog(const SettingsDialogContext& context, int mode, QWidget* parent);

}  // namespace tandrel
