// The main window: file manager, search box, output document, the two lower
// panels and the status bar. It owns the settings record for the whole run,
// loads the settings when it is created and saves them when it is destroyed.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "app/settings.h"
#include "platform/launcher.h"
#include "catalog/outputdoc.h"
#include "ui/checklist.h"
#include "ui/commandcontext.h"
#include "ui/mainmenus.h"
#include "ui/regions.h"

namespace tandrel {

class RegistryStore;
class TEditForm;
class TLangForm;
class FindDialog;
class TagPanelView;
class TRenameCommands;
class TFromTagsCommands;
class TSearchCommands;
class TTagBatchCommands;
class TRepairCommands;
class TM3UCommands;
class TCopyCommands;
class TCatalogCommands;
class TPlayCommands;
class OperationGate;

// The window is the command objects' context: it creates each of them with
// itself and their region's controls, in one place (WireCommands).
class TMainForm : public QMainWindow, public CommandContext {
    Q_OBJECT
public:
    // dialogs answers every question and dialog (the real dialogs, or a script
    // in tests); the form adds its own status bar, progress text and cursor.
    TMainForm(Prompter& dialogs, RegistryStore& registry, QWidget* parent = nullptr);
    // Saves the masks, then the settings; the outcome goes to the result set by ReportExitSaveTo.
    ~TMainForm() override;
    void ReportExitSaveTo(FileResult* result) { exitResult_ = result; }

    void setEditForm(TEditForm* form) { editForm_ = form; }
    void setLangForm(TLangForm* form) { langForm_ = form; }

    // The prompter that module code called from this window talks to.
    Prompter& prompter() override { return *prompter_; }
    TAppSettings& settings() override { return settings_; }
    const MainMenus& menus() const { return menus_; }
    int language() const override { return settings_.currentLanguage; }

    // Every text of the main window, the editor window and the language dialog.
    void ApplyLanguage(int language);
    void ShowFolderInStatus(const std::string& dir);
    void setStatusText(const std::string& text) override;
    std::string statusText() const override;
    const std::string& programDirectory() const override { return programDir_; }
    int minimumWindowHeight() const { return minHeight_; }

    // Regions and the controls that belong to no region.
    FileManagerRegion* fileManager;
    SearchBoxRegion* searchBox;
    OutputRegion* output;
    TagPanelRegion* tagPanel;
    AdvancedSearchRegion* advancedSearch;
    QWidget* MainPanelLeft;
    QWidget* MainPanelRight;
    QSplitter* gbLeftSplitter;
    QSplitter* gbRightSplitter;
    QLabel* statusLabel;
    QLabel* progressLabel;              // the progress line of a long operation
    QPushButton* btnCancelOperation;    // stops it, as Esc does
    QPushButton* btnID3Show;

    // Handlers, named control + event.
    void edMaskChange();
    void DrvComboBoxChange(int index);
    void DirListBoxChange();
    void FilesListBoxClick();
    void FilesListBoxKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void bbtnSelAllClick();
    void pmGoToDirClick();
    void mnPasteFromClipboardClick();
    void btnID3ShowClick();
    void btnFindAdvancedShowClick();
    void mnLangClick();
    void mnSettingsClick();
    void mnHomeDirClick();
    void mnSaveSettingsClick();
    void mnRestoreSettingsClick();
    void mnAboutClick();
    void mnExitClick();

    // The output document.
    std::string OpenOutputDocument(OpenMode mode, const std::string& fileName) override;
    std::vector<std::string>& searchResults() override { return searchResults_; }
    std::string outputText() const;
    std::vector<std::string> outputLines() const override;
    std::vector<std::string> visibleOutputLines() const override;
    void ReplaceOutputLines(const std::vector<std::string>& lines) override;
    void ReplaceVisibleOutputLines(const std::vector<std::string>& lines) override;
    std::vector<std::string> checkedOutputLines() const override { return checkList_.checkedLines(); }
    std::vector<std::string> selectedOutputLines() const override;
    const std::string& documentName() const override { return documentName_; }
    void NameOutputDocument(const std::string& name) override;
    void SaveOutput() override { mnSaveClick(); }
    const std::string& savePath() const { return savePath_; }
    CheckListModel& checkList() { return checkList_; }
    void RefreshCheckList() override;
    // The window title and the output caption with the document name, in the current language.
    void ShowDocumentName();
    // Makes dir the process's current directory; a failure goes to the status line.
    void MakeCurrent(const std::string& dir);
    void rgEditModeClick();
    void cbAddFileNameClick();
    void cbAddFilePathClick();
    void bbtnAddToFileClick();
    void bbtnShowWindowClick();
    void bbtnCheckAllClick();
    void bbtnUnCheckAllClick();
    void mnOpenClick();
    void mnOpenWinClick();
    void mnSaveClick();
    void mnSaveAsClick();
    void mnSortLinesClick();
    void mnFindClick();
    void FindDialogFind(const QString& text, bool matchCase);
    void pmToClipBoardClick();
    void pmCheckedToClipBoardClick();
    void FilesListBoxDblClick();
    void clbOutputClick();
    void pmShowID3tagsClick();
    // The chosen line of the visible output view, if there is one.
    std::optional<std::string> ChosenOutputLine() const;

    // The rest of what the command objects use of the window.
    QWidget* dialogParent() override { return this; }
    RegistryStore& settingsStore() override { return registry_; }
    QAction* menuEntry(const char* name) override { return menus_[name]; }
    std::string currentDirectory() const override;
    std::string fileMask() const override;
    void setFileMask(const std::string& mask) override;
    std::vector<std::string> driveRoots() const override;
    bool GoToDirectory(const std::string& dir) override;
    FileListBox& fileList() override { return *fileManager->filesListBox; }
    bool fileListShowsMedia() const override;
    void ClearOutputText() override;
    void ShowOutputLines(const std::vector<std::string>& lines) override;
    bool outputAddsFileName() const override;
    TID3v1& id3v1() override;
    TID3v2& id3v2() override;
    void ClearTagPanel() override;
    bool FileNameToTags(const std::string& fullName, bool save) override;
    Launcher& launcher() override { return *launcher_; }
    bool PreviewRenamePlan(RenamePlan& plan) override;
    // Replaces the desktop's launcher (tests record what would start).
    void setLauncher(std::unique_ptr<Launcher> launcher) { launcher_ = std::move(launcher); }
    std::optional<std::string> chosenOutputLine() const override { return ChosenOutputLine(); }

protected:
    void closeEvent(QCloseEvent* event) override;  // the exit question
    void resizeEvent(QResizeEvent* event) override;

private:
    class FormPrompter;

    void BuildLayout();
    // The window's own handlers, then every command object with its region.
    void WireCommands();
    void WireOutputCommands();  // mainform_output.cpp
    void EnableM3UCommands(bool enable);
    bool WriteOutput(const std::string& path);
    // The editor's text as lines.
    void SetEditorLines(LineList lines);
    LineList EditorLines() const;
    bool EditorEmpty() const;
    void FormCreate();
    void ApplyLoadedSettings(bool keyOpened, const MainControlValues& values);
    void ApplyControlValues(const MainControlValues& values);
    MainControlValues GatherControlValues() const;
    void ApplyWindowState(const MainControlValues& values);
    void SetMinimumWindowHeight(int height);
    struct LowerPanel {
        QWidget* widget;
        QPushButton* button;
        const char* shownCaption;
        const char* hiddenCaption;
        int minHeight;
    };
    void ToggleLowerPanel(const LowerPanel& panel, const LowerPanel& other);
    void EnableCheckListCommands();
public:
    std::vector<std::string> MaskList() const override;
    void SetMaskList(const std::vector<std::string>& masks);

private:
    void SelectMask(int index);
    std::string MasksFile() const;
    int DriveIndexOf(const std::string& dir) const;

    Prompter& dialogs_;
    RegistryStore& registry_;
    std::unique_ptr<Prompter> prompter_;
    std::unique_ptr<Launcher> launcher_;
    TAppSettings settings_;
    MainMenus menus_;
    TEditForm* editForm_ = nullptr;
    TLangForm* langForm_ = nullptr;
    std::string programDir_;
    std::vector<std::string> driveMemory_;  // last directory visited on each drive
    int previousDriveIndex_ = 0;
    int minHeight_ = 0;
    // The output document.
    CheckListModel checkList_;
    std::vector<std::string> searchResults_;
    std::string documentName_;
    std::string savePath_;
    TextOrigin outputOrigin_;  // how the opened file was written; saves keep it
    int findPosition_ = 0;
    FindDialog* findDialog_ = nullptr;
    FileResult* exitResult_ = nullptr;
    // The command objects, children of the window.
    TagPanelView* tagView_ = nullptr;
    TRenameCommands* renameCommands_ = nullptr;
    TFromTagsCommands* fromTagsCommands_ = nullptr;
    TSearchCommands* searchCommands_ = nullptr;
    TTagBatchCommands* tagBatchCommands_ = nullptr;
    TRepairCommands* repairCommands_ = nullptr;
    TM3UCommands* m3uCommands_ = nullptr;
    TCatalogCommands* catalogCommands_ = nullptr;
    TCopyCommands* copyCommands_ = nullptr;
    TPlayCommands* playCommands_ = nullptr;
    OperationGate* operationGate_ = nullptr;
};

}  // namespace tandrel
