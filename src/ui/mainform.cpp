#include "ui/mainform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/maskkinds.h"
#include "app/masklist.h"
#include "app/messages.h"
#include "app/progress.h"
#include "platform/files.h"
#include "platform/places.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"
#include "ui/catalogcommands.h"
#include "ui/editform.h"
#include "ui/fromtagscommands.h"
#include "ui/langform.h"
#include "ui/m3ucommands.h"
#include "ui/copycommands.h"
#include "ui/operationgate.h"
#include "ui/playcommands.h"
#include "ui/progresspump.h"
#include "ui/renamecommands.h"
#include "ui/repaircommands.h"
#include "ui/renamepreview.h"
#include "ui/searchcommands.h"
#include "ui/tagbatchcommands.h"
#include "ui/tagpanelview.h"

namespace tandrel {

namespace {

constexpr int kMinWidth = 648;
constexpr int kMinHeightNoPanel = 334;
constexpr int kMinHeightAdvanced = 450;
constexpr int kMinHeightTags = 520;

}  // namespace

// Dialogs go to the window's dialog prompter; status text, progress text and
// the cursor are shown by the window itself (and passed on, so a script sees
// them). Long operations get the window's progress line, Cancel button and Esc.
class TMainForm::FormPrompter : public Prompter, public OperationHost {
public:
    explicit FormPrompter(TMainForm& form) : form_(form) {}
    void ShowMessage(const std::string& text) override { form_.dialogs_.ShowMessage(text); }
    bool AskYesNo(const std::string& text) override { return form_.dialogs_.AskYesNo(text); }
    YesNoCancel AskYesNoCancel(const std::string& text) override { return form_.dialogs_.AskYesNoCancel(text); }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override {
        return form_.dialogs_.InputBox(caption, prompt, defaultText);
    }
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& filter) override {
        return form_.dialogs_.OpenFileDialog(title, dir, filter);
    }
    std::optional<std::string> OpenFileDialogWithFilter(const std::string& title, const std::string& dir,
                                                        const std::string& filter, int filterIndex) override {
        return form_.dialogs_.OpenFileDialogWithFilter(title, dir, filter, filterIndex);
    }
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& defaultName, const std::string& filter) override {
        return form_.dialogs_.SaveFileDialog(title, dir, defaultName, filter);
    }
    std::optional<std::string> DirectoryDialog(const std::string& title, const std::string& dir) override {
        return form_.dialogs_.DirectoryDialog(title, dir);
    }
    void SetStatusText(const std::string& text) override {
        form_.setStatusText(text);
        form_.dialogs_.SetStatusText(text);
    }
    void SetProgressText(const std::string& text) override {
        form_.searchBox->stFindInd->setText(ToQt(text));
        form_.operationGate_->ShowProgress("", text);
        form_.dialogs_.SetProgressText(text);
    }
    void ReportProgress(const ProgressInfo& progress) override {
        // The search box's small indicator shows the name, the status bar the counts and the whole path.
        form_.searchBox->stFindInd->setText(ToQt(CopyAfterLastChar(progress.entry, kPathDelim)));
        ProgressInfo counts = progress;
        counts.entry.clear();
        form_.operationGate_->ShowProgress(ProgressText(counts, form_.language()), progress.entry);
        form_.dialogs_.ReportProgress(progress);
    }
    bool StopRequested() override { return form_.operationGate_->stopRequested(); }
    void BeginOperation() override { form_.operationGate_->Begin(); }
    void EndOperation() override { form_.operationGate_->End(); }
    bool OperationStopRequested() const override { return form_.operationGate_->stopRequested(); }
    void SetWaitCursor(bool busy) override {
        if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        form_.dialogs_.SetWaitCursor(busy);
    }

private:
    TMainForm& form_;
};

TMainForm::TMainForm(Prompter& dialogs, RegistryStore& registry, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      registry_(registry),
      prompter_(std::make_unique<FormPrompter>(*this)),
      launcher_(MakeDesktopLauncher()) {
    setObjectName("TMainForm");
    setWindowTitle("Tandrel");
    BuildLayout();
    WireCommands();
    FormCreate();
}

void TMainForm::BuildLayout() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    gbRightSplitter = Named(new QSplitter(Qt::Horizontal, central), "gbRightSplitter");
    gbRightSplitter->setHandleWidth(2);
    MainPanelLeft = Named(new QWidget(gbRightSplitter), "MainPanelLeft");
    auto* left = new QVBoxLayout(MainPanelLeft);
    left->setContentsMargins(0, 0, 0, 0);
    gbLeftSplitter = Named(new QSplitter(Qt::Vertical, MainPanelLeft), "gbLeftSplitter");
    gbLeftSplitter->setHandleWidth(2);
    fileManager = new FileManagerRegion(gbLeftSplitter);
    searchBox = new SearchBoxRegion(gbLeftSplitter);
    gbLeftSplitter->addWidget(fileManager);
    gbLeftSplitter->addWidget(searchBox);
    gbLeftSplitter->setStretchFactor(0, 1);
    gbLeftSplitter->setStretchFactor(1, 0);
    left->addWidget(gbLeftSplitter);

    MainPanelRight = Named(new QWidget(gbRightSplitter), "MainPanelRight");
    auto* right = new QVBoxLayout(MainPanelRight);
    right->setContentsMargins(0, 0, 0, 0);
    output = new OutputRegion(MainPanelRight);
    right->addWidget(output);
    gbRightSplitter->addWidget(MainPanelLeft);
    gbRightSplitter->addWidget(MainPanelRight);
    gbRightSplitter->setStretchFactor(0, 0);
    gbRightSplitter->setStretchFactor(1, 1);
    gbRightSplitter->setSizes({376, 264});
    // Neither panel of a splitter can be pushed out of sight.
    for (QSplitter* splitter : {gbLeftSplitter, gbRightSplitter, fileManager->gbFileManagerSplitter})
        splitter->setChildrenCollapsible(false);

    advancedSearch = new AdvancedSearchRegion(central);
    advancedSearch->hide();
    tagPanel = new TagPanelRegion(central);
    column->addWidget(gbRightSplitter, 1);
    column->addWidget(advancedSearch);
    column->addWidget(tagPanel);
    setCentralWidget(central);

    statusLabel = Named(new QLabel(this), "StatusBarText");
    statusBar()->setObjectName("StatusBar");
    statusBar()->addWidget(statusLabel, 1);
    // The progress line and Cancel of a long operation, shown while it runs.
    // Neither line widens the window: a long text is cut (its whole text is the tool tip).
    statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    progressLabel = Named(new QLabel(this), "stProgress");
    progressLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(progressLabel, 2);
    btnCancelOperation = Named(new QPushButton("Cancel", this), "btnCancelOperation");
    statusBar()->addWidget(btnCancelOperation);
    operationGate_ = new OperationGate(*progressLabel, *btnCancelOperation, this);
    btnID3Show = Named(new QPushButton("<< ID3", this), "btnID3Show");
    btnID3Show->setFlat(true);
    statusBar()->addPermanentWidget(btnID3Show);

    menus_ = BuildMainMenus(this, menuBar());
    // Pop-up entries act where their control has the focus.
    for (const char* name : {"pmPlay", "pmWordsSearch", "pmCopyWordsToFind", "pmCopyFile", "pmRename"})
        fileManager->filesListBox->addAction(menus_[name]);
    for (QAction* a : menus_.menus["pmRenameFiles"]->actions()) fileManager->filesListBox->addAction(a);
    fileManager->dirListBox->addAction(menus_["pmGoToDir"]);
    for (QAction* a : menus_.menus["CheckListBoxPopupMenu"]->actions()) {
        output->reOutput->addAction(a);
        output->clbOutput->addAction(a);
    }
    FitButtonsToCaptions(this);
    resize(640, 474 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    setMinimumWidth(kMinWidth);
}

void TMainForm::WireCommands() {
    FileManagerRegion* fm = fileManager;
    connect(fm->edMask, &QComboBox::currentTextChanged, this, [this] { edMaskChange(); });
    connect(fm->DrvComboBox, &QComboBox::currentIndexChanged, this, &TMainForm::DrvComboBoxChange);
    connect(fm->dirListBox, &DirListBox::directoryChanged, this, &TMainForm::DirListBoxChange);
    connect(fm->filesListBox, &QListView::clicked, this, [this] { FilesListBoxClick(); });
    connect(fm->filesListBox, &FileListBox::keyReleased, this, &TMainForm::FilesListBoxKeyUp);
    connect(fm->bbtnSelAll, &QPushButton::clicked, this, &TMainForm::bbtnSelAllClick);
    connect(fm->filesListBox, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        menus_.menus["FilesListBoxPopupMenu"]->popup(fileManager->filesListBox->viewport()->mapToGlobal(at));
    });
    connect(fm->dirListBox, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        menus_.menus["DirListBoxPopupMenu"]->popup(fileManager->dirListBox->viewport()->mapToGlobal(at));
    });
    for (QWidget* view : {static_cast<QWidget*>(output->reOutput), static_cast<QWidget*>(output->clbOutput)}) {
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            menus_.menus["CheckListBoxPopupMenu"]->popup(view->mapToGlobal(at));
        });
    }
    connect(btnID3Show, &QPushButton::clicked, this, &TMainForm::btnID3ShowClick);
    connect(searchBox->btnFindAdvancedShow, &QPushButton::clicked, this, &TMainForm::btnFindAdvancedShowClick);

    struct Wire { const char* name; void (TMainForm::*handler)(); };
    const Wire wires[] = {
        {"pmGoToDir", &TMainForm::pmGoToDirClick},
        {"mnPasteFromClipboard", &TMainForm::mnPasteFromClipboardClick},
        {"mnLang", &TMainForm::mnLangClick},
        {"mnSettings", &TMainForm::mnSettingsClick},
        {"mnHomeDir", &TMainForm::mnHomeDirClick},
        {"mnSaveSettings", &TMainForm::mnSaveSettingsClick},
        {"mnRestoreSettings", &TMainForm::mnRestoreSettingsClick},
        {"mnAbout", &TMainForm::mnAboutClick},
        {"mnExit", &TMainForm::mnExitClick},
    };
    for (const Wire& w : wires) WireEntry(w.name, this, w.handler);

    // Each command object wires its own controls and entries through this window.
    tagView_ = new TagPanelView(*this, *tagPanel, this);
    renameCommands_ = new TRenameCommands(*this, *fileManager->edFile4FileListBox, this);
    fromTagsCommands_ = new TFromTagsCommands(*this, *fileManager->bbtnFromID3Rename, this);
    WireOutputCommands();
    searchCommands_ = new TSearchCommands(*this, *searchBox, *advancedSearch, this);
    tagBatchCommands_ = new TTagBatchCommands(*this, *tagPanel, this);
    repairCommands_ = new TRepairCommands(*this, this);
    m3uCommands_ = new TM3UCommands(*this, *output, *searchBox, *advancedSearch, this);
    catalogCommands_ = new TCatalogCommands(*this, this);
    copyCommands_ = new TCopyCommands(*this, this);
    playCommands_ = new TPlayCommands(*this, *output, this);
}

void TMainForm::FormCreate() {
    // The loaded language and edit mode start at 0; the messages are English.
    settings_ = FirstStartSettings();
    programDir_ = ProgramDirectory();
    driveMemory_ = DriveRoots();
    {
        QSignalBlocker block(fileManager->DrvComboBox);
        for (const std::string& root : driveMemory_) fileManager->DrvComboBox->addItem(ToQt(root));
    }
    fileManager->dirListBox->setDirectory(CurrentDirectory());

    MainControlValues values = GatherControlValues();
    const bool keyOpened = LoadSettings(registry_, settings_, values);
    settings_.currentLanguage = 0;
    settings_.currentEditMode = 0;
    ApplyLoadedSettings(keyOpened, values);

    if (settings_.loadedEditMode != 0) output->rgEditMode->setItemIndex(settings_.loadedEditMode);
    searchCommands_->StartControls();
    EnableCheckListCommands();

    std::vector<std::string> masks = BuiltInMaskList();
    // An unreadable mask file leaves the built-in list; the status line says why.
    if (FileResult read = LoadMaskList(MasksFile(), masks); !read) setStatusText(Utf8ToCp1251(read.error).text);
    SetMaskList(masks);
    searchCommands_->ApplySearchMask();
    if (settings_.saveMaskPosition) SelectMask(values.maskPosition);
    edMaskChange();
}

void TMainForm::ApplyLoadedSettings(bool keyOpened, const MainControlValues& values) {
    if (!keyOpened) return;  // first start: every control keeps its built-in state
    if (values.homeDir) fileManager->dirListBox->setDirectory(*values.homeDir);
    ApplyControlValues(values);
    QAction* findM3U = menus_["mnFindM3Unames"];
    findM3U->setEnabled(settings_.m3uDlgBox);
    if (values.id3Show) {
        SetMinimumWindowHeight(kMinHeightTags);
    } else {
        SetMinimumWindowHeight(kMinHeightNoPanel);
        btnID3ShowClick();
    }
    if (values.advancedShow) {
        SetMinimumWindowHeight(kMinHeightAdvanced);
        btnFindAdvancedShowClick();
    }
    ApplyWindowState(values);
}

void TMainForm::ApplyControlValues(const MainControlValues& v) {
    output->cbAddFileName->setChecked(v.addFileName);
    output->cbAddFilePath->setChecked(v.addFilePath);
    advancedSearch->rgFindMode->setItemIndex(v.findMode);
    advancedSearch->cbScanDir->setChecked(v.scanDir);
    advancedSearch->cboxMask->setEditText(ToQt(v.findMask));
    advancedSearch->cbFindOnDrives->setChecked(v.findOnDrives);
    advancedSearch->edFindDrv->setText(ToQt(v.findDrives));
    advancedSearch->cbUseMask->setChecked(v.findUseMask);
    advancedSearch->cbOverSearch->setChecked(v.overSearch);
    advancedSearch->cbFullString->setChecked(v.fullString);
    searchBox->cbFTPlocal->setChecked(v.ftpLocal);
    searchBox->edFind->setText(ToQt(v.findText));
}

MainControlValues TMainForm::GatherControlValues() const {
    MainControlValues v;
    v.addFileName = output->cbAddFileName->isChecked();
    v.addFilePath = output->cbAddFilePath->isChecked();
    v.maskPosition = fileManager->edMask->currentIndex() < 0 ? 0 : fileManager->edMask->currentIndex();
    v.id3Show = !tagPanel->isHidden();
    v.advancedShow = !advancedSearch->isHidden();
    v.maximized = isMaximized();
    const QRect g = isMaximized() ? normalGeometry() : geometry();
    v.top = g.top();
    v.left = g.left();
    v.height = g.height();
    v.width = g.width();
    v.findMode = advancedSearch->rgFindMode->itemIndex();
    v.scanDir = advancedSearch->cbScanDir->isChecked();
    v.findMask = FromQt(advancedSearch->cboxMask->currentText());
    v.findOnDrives = advancedSearch->cbFindOnDrives->isChecked();
    v.findDrives = FromQt(advancedSearch->edFindDrv->text());
    v.findUseMask = advancedSearch->cbUseMask->isChecked();
    v.overSearch = advancedSearch->cbOverSearch->isChecked();
    v.fullString = advancedSearch->cbFullString->isChecked();
    v.ftpLocal = searchBox->cbFTPlocal->isChecked();
    v.findText = FromQt(searchBox->edFind->text());
    return v;
}

void TMainForm::ApplyWindowState(const MainControlValues& v) {
    if (!v.mainWinState) return;
    if (*v.mainWinState == 1) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setGeometry(v.left, v.top, std::max(v.width, kMinWidth), std::max(v.height, minHeight_));
}

void TMainForm::SetMinimumWindowHeight(int height) {
    minHeight_ = height;
    setMinimumHeight(height);
}

void TMainForm::EnableCheckListCommands() {
    // The commands that act on checked lines are usable only in the check list
    // view, and only once their operations exist.
    const bool checkList = !output->clbOutput->isHidden();
    for (QObject* command : std::initializer_list<QObject*>{
             output->bbtnAddToFile, output->bbtnShowWindow, output->bbtnCheckAll, output->bbtnUnCheckAll,
             menus_["pmPlayList"], menus_["pmAddPlayList"], menus_["pmCheckedToClipBoard"], menus_["pmCopyFiles"],
             output->bbtnAddPlayList}) {
        command->setProperty("enabled", checkList);
    }
    output->bbtnPlayList->setEnabled(checkList && !settings_.disablePlayListButton);
}

TMainForm::~TMainForm() {
    // The window's last act saves the mask file first, then the registry
    // values; the outcome goes to whoever asked for it.
    FileResult saved = SaveSettings(registry_, MasksFile(), MaskList(), settings_, GatherControlValues());
    if (exitResult_) *exitResult_ = std::move(saved);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (settings_.confirmationOnExit) {
        if (!ConfirmDlg(prompter(), language(), kAskExit, "")) {
            event->ignore();
            return;
        }
        if (editForm_ && editForm_->isVisible() && !editForm_->CloseQuery()) {
            event->ignore();
            return;
        }
    }
    if (editForm_) editForm_->hide();
    if (langForm_) langForm_->hide();
    event->accept();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (minHeight_ > 0 && height() < minHeight_) resize(width(), minHeight_);
}

void TMainForm::setStatusText(const std::string& text) {
    statusLabel->setText(ToQt(text));
    statusLabel->setToolTip(ToQt(text));
    statusBar()->setToolTip(ToQt(text));
}

std::string TMainForm::statusText() const { return FromQt(statusLabel->text()); }

void TMainForm::ShowFolderInStatus(const std::string& dir) {
    // A directory the file list could not read says so, with the reason.
    if (const std::string& error = fileManager->filesListBox->listingError(); !error.empty()) {
        setStatusText(error);
        return;
    }
    setStatusText(JoinPath(dir, fileManager->filesListBox->mask()));
}

std::vector<std::string> TMainForm::MaskList() const {
    std::vector<std::string> masks;
    for (int i = 0; i < fileManager->edMask->count(); ++i) masks.push_back(FromQt(fileManager->edMask->itemText(i)));
    return masks;
}

void TMainForm::SetMaskList(const std::vector<std::string>& masks) {
    const QString text = fileManager->edMask->currentText();
    {
        QSignalBlocker block(fileManager->edMask);
        fileManager->edMask->clear();
        for (const std::string& m : masks) fileManager->edMask->addItem(ToQt(m));
        fileManager->edMask->setCurrentIndex(fileManager->edMask->findText(text));
        fileManager->edMask->setEditText(text);
    }
    QSignalBlocker block(advancedSearch->cboxMask);
    const QString findMask = advancedSearch->cboxMask->currentText();
    advancedSearch->cboxMask->clear();
    for (const std::string& m : masks) advancedSearch->cboxMask->addItem(ToQt(m));
    advancedSearch->cboxMask->setCurrentIndex(-1);
    advancedSearch->cboxMask->setEditText(findMask);
}

void TMainForm::SelectMask(int index) {
    if (index >= 0 && index < fileManager->edMask->count()) fileManager->edMask->setCurrentIndex(index);
}

std::string TMainForm::currentDirectory() const { return fileManager->dirListBox->directory(); }

std::string TMainForm::fileMask() const { return FromQt(fileManager->edMask->currentText()); }

void TMainForm::setFileMask(const std::string& mask) {
    {
        QSignalBlocker block(fileManager->edMask);
        fileManager->edMask->setEditText(ToQt(mask));
    }
    edMaskChange();
}

bool TMainForm::GoToDirectory(const std::string& dir) { return fileManager->dirListBox->setDirectory(dir); }

std::vector<std::string> TMainForm::driveRoots() const {
    std::vector<std::string> roots;
    for (int i = 0; i < fileManager->DrvComboBox->count(); ++i)
        roots.push_back(FromQt(fileManager->DrvComboBox->itemText(i)));
    return roots;
}

bool TMainForm::fileListShowsMedia() const { return output->bbtnGetMP3files->isEnabled(); }

TID3v1& TMainForm::id3v1() { return tagView_->id3v1(); }

TID3v2& TMainForm::id3v2() { return tagView_->id3v2(); }

void TMainForm::ClearTagPanel() {
    tagView_->ClearID3v1Panel();
    tagView_->ClearID3v2Panel();
}

bool TMainForm::FileNameToTags(const std::string& fullName, bool save) {
    return tagView_->FileNameToTags(fullName, save);
}

std::string TMainForm::MasksFile() const { return JoinPath(programDir_, "TdMasks.ini"); }

bool TMainForm::PreviewRenamePlan(RenamePlan& plan) { return RunRenamePreview(this, language(), plan); }

}  // namespace tandrel
