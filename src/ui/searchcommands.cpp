#include "ui/searchcommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>

#include "app/messages.h"
#include "catalog/outputdoc.h"
#include "search/localfile.h"
#include "search/searchplaces.h"
#include "search/synonymsfile.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/transforms.h"
#include "ui/commandcontext.h"
#include "ui/progresspump.h"
#include "ui/regions.h"
#include "ui/synonymsform.h"

namespace tandrel {

namespace {

bool IsQueryEmpty(const std::string& text) { return text.empty() || text == " "; }

// An edit with the window colour (in use) or the button-face colour.
void SetFieldColour(QWidget* field, bool windowColour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(windowColour ? QPalette::Base : QPalette::Button));
    field->setPalette(palette);
}

// Runs the cleanup when the scope ends, however it ends.
template <class F>
class Finally {
public:
    explicit Finally(F f) : f_(std::move(f)) {}
    ~Finally() { f_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F f_;
};

}  // namespace

TSearchCommands::TSearchCommands(CommandContext& context, SearchBoxRegion& searchBox, AdvancedSearchRegion& advanced,
                                 QObject* parent)
    : QObject(parent), context_(context), box_(searchBox), adv_(advanced) {
    setObjectName("SearchCommands");
    SearchBoxRegion* box = &box_;
    AdvancedSearchRegion* adv = &adv_;

    connect(box->bbtnFind, &QPushButton::clicked, this, &TSearchCommands::bbtnFindClick);
    connect(box->bbtnFindDir, &QPushButton::clicked, this, &TSearchCommands::mnFindDirClick);
    connect(box->sbtnFindTextTransKeyCod, &QToolButton::clicked, this, &TSearchCommands::sbtnFindTextTransKeyCodClick);
    connect(box->sbtnFindTextToTranslit, &QToolButton::clicked, this, &TSearchCommands::sbtnFindTextToTranslitClick);
    connect(adv->sbtnAddFindDrv, &QToolButton::clicked, this, &TSearchCommands::sbtnAddFindDrvClick);
    connect(adv->sbtnDelFindDrv, &QToolButton::clicked, this, &TSearchCommands::sbtnDelFindDrvClick);
    adv->FindDrvBox->installEventFilter(this);
    box->edFind->installEventFilter(this);

    // A check box's handler runs whenever its state changes, by a click or in code.
    struct CheckWire { QCheckBox* box; void (TSearchCommands::*handler)(); };
    for (const CheckWire& w : {CheckWire{adv->cbScanDir, &TSearchCommands::cbScanDirClick},
                               CheckWire{adv->cbOverSearch, &TSearchCommands::cbScanDirClick},
                               CheckWire{adv->cbFullString, &TSearchCommands::cbScanDirClick},
                               CheckWire{adv->cbUseMask, &TSearchCommands::cbUseMaskClick},
                               CheckWire{adv->cbUseHomeDirMask, &TSearchCommands::cbUseHomeDirMaskClick},
                               CheckWire{adv->cbFindOnDrives, &TSearchCommands::cbFindOnDrivesClick},
                               CheckWire{box->cbFTPlocal, &TSearchCommands::cbFTPlocalClick},
                               CheckWire{box->cbUseSynonyms, &TSearchCommands::cbFTPlocalClick}})
        connect(w.box, &QCheckBox::toggled, this, w.handler);
    // The search mask changes when the user edits or picks it, not when it is set in code.
    connect(adv->cboxMask->lineEdit(), &QLineEdit::textEdited, this, &TSearchCommands::cboxMaskChange);
    connect(adv->cboxMask, &QComboBox::activated, this, &TSearchCommands::cboxMaskChange);

    context_.WireEntry("mnFindDir", this, &TSearchCommands::mnFindDirClick);
    context_.WireEntry("mnSynonyms", this, &TSearchCommands::mnSynonymsClick);
    context_.WireEntry("mnFindlocal", this, &TSearchCommands::mnFindlocalClick);
    context_.WireEntry("pmWordsSearch", this, &TSearchCommands::pmWordsSearchClick);
    context_.WireEntry("pmCopyWordsToFind", this, &TSearchCommands::pmCopyWordsToFindClick);
}

void TSearchCommands::StartControls() {
    QComboBox* drives = adv_.FindDrvBox;
    drives->clear();
    for (const std::string& root : context_.driveRoots()) drives->addItem(ToQt(root));
    cbScanDirClick();
    cbFTPlocalClick();
}

void TSearchCommands::ApplySearchMask() {
    if (SearchMaskInUse()) cboxMaskChange();
}

bool TSearchCommands::SearchMaskInUse() const {
    const QCheckBox* useMask = adv_.cbUseMask;
    return useMask->isChecked() && useMask->isEnabled();
}

SearchEngine TSearchCommands::Engine(ProgressPump& pump) {
    AdvancedSearchRegion* adv = &adv_;
    SearchOptions o;
    o.findMode = adv->rgFindMode->itemIndex();
    o.fullString = adv->cbFullString->isChecked();
    o.overSearch = adv->cbOverSearch->isChecked();
    o.recursive = context_.settings().recursiveSearch;
    o.addFileName = context_.outputAddsFileName();
    o.tagSearch = TagSearchCondition(advancedMaskIsMedia_, SearchMaskInUse(), context_.fileList().mask());
    // The tag tests read with the window's tag objects.
    return SearchEngine(o,
                        SearchEnvironment{pump, context_.language(), context_.id3v1(), context_.id3v2(),
                                          [&pump] { pump.Pump(); }},
                        context_.searchResults());
}

std::string TSearchCommands::CurrentFilePath() const {
    const FileListBox* list = &context_.fileList();
    if (std::string path = list->currentPath(); !path.empty()) return path;
    const std::vector<std::string> selected = list->selectedNames();
    return selected.empty() ? std::string() : JoinPath(list->directory(), selected.front());
}

std::optional<std::string> TSearchCommands::QueryOrFocus() const {
    QLineEdit* edit = box_.edFind;
    const std::string query = FromQt(edit->text());
    if (IsQueryEmpty(query)) {
        edit->setFocus();
        return std::nullopt;
    }
    return query;
}

void TSearchCommands::RunFromSearchBox(bool holdsFindButton, const std::function<void(const std::string&)>& command) {
    SearchBoxRegion* box = &box_;
    const std::optional<std::string> typed = QueryOrFocus();
    if (!typed) return;
    WaitCursor busy(context_.prompter());
    box->stFindInd->clear();
    box->stFindInd->show();
    if (holdsFindButton) box->bbtnFind->setEnabled(false);
    Finally restore([box, holdsFindButton] {
        if (holdsFindButton) {
            box->edFind->setFocus();
            box->bbtnFind->setEnabled(true);
        }
        box->stFindInd->hide();
    });
    command(*typed);
}

void TSearchCommands::bbtnFindClick() {
    RunFromSearchBox(true, [this](const std::string& query) {
        if (box_.cbFTPlocal->isChecked())
            FindInListing(query);
        else
            RunSearch(query, context_.settings().searchMode, box_.cbUseSynonyms->isChecked(), false);
    });
}

void TSearchCommands::RunSearch(const std::string& query, int searchMode, bool useSynonyms, bool byFileWords) {
    AdvancedSearchRegion* adv = &adv_;
    FileListBox* list = &context_.fileList();
    ProgressPump pump(context_.prompter());
    SearchEngine engine = Engine(pump);
    if (!adv->cbScanDir->isChecked()) {
        const SelectedFiles files{list->directory(), list->selectedNames()};
        if (files.names.empty()) {
            context_.prompter().ShowMessage(Message(context_.language(), MessageId::ChooseFile));
            return;
        }
        if (useSynonyms)
            engine.SearchSelectedFilesWithSynonyms(files, query, JoinPath(context_.programDirectory(), kSynonymsFileName));
        else
            engine.SearchSelectedFiles(files, query);
    } else {
        context_.ClearTagPanel();
        ScanChoice choice;
        choice.findOnDrives = adv->cbFindOnDrives->isChecked();
        choice.driveList = FromQt(adv->edFindDrv->text());
        choice.useMask = SearchMaskInUse();
        choice.searchMask = FromQt(adv->cboxMask->currentText());
        choice.useHomeDirMask = adv->cbUseHomeDirMask->isChecked();
        choice.findMode = adv->rgFindMode->itemIndex();
        if (choice.useHomeDirMask && !choice.findOnDrives) {
            // The settings dialog writes these into the settings file; they are read at each search.
            choice.home = ReadHomeSearchValues(context_.settingsStore());
        }
        choice.directory = context_.currentDirectory();
        choice.fileListMask = context_.fileMask();
        const std::vector<StartPoint> starts = ScanStartPoints(choice);
        context_.setStatusText("");  // what the walk notes on the way stays after the summary
        engine.RunScan(starts, query, searchMode, byFileWords);
        context_.OpenOutputDocument(OpenMode::SearchResults, "");
        context_.RefreshCheckList();
        ShowScanSummary(starts, engine.cancelled());
        return;
    }
    context_.OpenOutputDocument(OpenMode::SearchResults, "");
    context_.RefreshCheckList();
    if (engine.cancelled()) ShowCancelledSearch();
}

void TSearchCommands::ShowCancelledSearch() {
    const int language = context_.language();
    context_.setStatusText(Message(language, MessageId::SearchFound) +
                           std::to_string(context_.searchResults().size()) +
                           Message(language, MessageId::Cancelled));
}

void TSearchCommands::ShowScanSummary(const std::vector<StartPoint>& starts, bool cancelled) {
    // A scan that finds nothing says where it looked, so that an empty output
    // is never a puzzle.
    const int language = context_.language();
    const bool nowhere = std::none_of(starts.begin(), starts.end(),
                                      [](const StartPoint& start) { return !start.directory.empty(); });
    if (nowhere) {
        context_.setStatusText(Message(language, MessageId::SearchNowhere));
        return;
    }
    std::string text = Message(language, MessageId::SearchFound) + std::to_string(context_.searchResults().size());
    for (const StartPoint& start : starts)
        if (!start.directory.empty()) text += "  " + JoinPath(start.directory, start.mask.empty() ? "*.*" : start.mask);
    if (!context_.settings().recursiveSearch) text += Message(language, MessageId::SearchNotInSubdirectories);
    if (cancelled) text += Message(language, MessageId::Cancelled);
    if (const std::string note = context_.statusText(); !note.empty()) text += "; " + note;
    context_.setStatusText(text);
}

void TSearchCommands::mnFindDirClick() {
    RunFromSearchBox(false, [this](const std::string& query) {
        context_.ClearOutputText();
        bool cancelled = false;
        {
            ProgressPump pump(context_.prompter());
            SearchEngine engine = Engine(pump);
            engine.FindDirectories(context_.currentDirectory(), query);
            cancelled = engine.cancelled();
        }
        if (cancelled) ShowCancelledSearch();
        const std::vector<std::string>& found = context_.searchResults();
        if (found.empty()) return;  // the editor stays empty, the check list keeps its lines
        context_.ShowOutputLines(found);
    });
}

void TSearchCommands::edFindKeyUp(int key, Qt::KeyboardModifiers modifiers) {
    QLineEdit* edit = box_.edFind;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (ctrl)
            mnFindDirClick();
        else
            bbtnFindClick();
    } else if (key == Qt::Key_F3 && ctrl) {
        edit->setText(ToQt(SwitchKeyLayout(FromQt(edit->text()))));
    }
}

void TSearchCommands::sbtnFindTextTransKeyCodClick() {
    QLineEdit* edit = box_.edFind;
    const std::string text = FromQt(edit->text());
    if (!IsQueryEmpty(text)) edit->setText(ToQt(SwitchKeyLayout(text)));
}

void TSearchCommands::sbtnFindTextToTranslitClick() {
    QLineEdit* edit = box_.edFind;
    const std::string text = FromQt(edit->text());
    if (!IsQueryEmpty(text)) edit->setText(ToQt(ToTranslit(text)));
}

void TSearchCommands::pmWordsSearchClick() {
    if (context_.fileList().selectedCount() == 0 || !adv_.cbScanDir->isChecked())
        return;
    WaitCursor busy(context_.prompter());
    RunSearch(WordsSearchQuery(CurrentFilePath()), context_.settings().searchMode,
              box_.cbUseSynonyms->isChecked(), true);
}

void TSearchCommands::pmCopyWordsToFindClick() {
    if (context_.fileList().selectedCount() == 0) return;
    box_.edFind->setText(ToQt(FileNameWords(CurrentFilePath())));
}

void TSearchCommands::mnFindlocalClick() {
    // The menu takes the search box's text as it is: an empty query finds nothing.
    QLabel* indicator = box_.stFindInd;
    indicator->clear();
    indicator->show();
    Finally hide([indicator] { indicator->hide(); });
    FindInListing(FromQt(box_.edFind->text()));
}

void TSearchCommands::FindInListing(const std::string& query) {
    const TAppSettings& settings = context_.settings();
    std::string listing = settings.ftpLocalFile;
    if (settings.ftpLocalFileMode != 1) {
        const std::optional<std::string> chosen =
            context_.prompter().OpenFileDialog("", context_.currentDirectory(), kOutputOpenFilter);
        if (!chosen) return;
        listing = *chosen;
    }
    ProgressPump pump(context_.prompter());
    const ListingMapping mapping{settings.ftpChangeAddFtpPath, settings.ftpSourcePath, settings.ftpTargetPath};
    std::vector<std::string>& results = context_.searchResults();
    const ListingRun run = SearchLocalFile(query, listing, mapping, results,
                                           [&pump](const std::string& lowered) { pump.SetProgressText(lowered); });
    if (run.outcome == ListingOutcome::Failed) {
        context_.prompter().ShowMessage(Utf8ToCp1251(run.read.error).text);
        return;
    }
    if (results.empty()) return;  // no hit: the output stays as it was
    context_.OpenOutputDocument(OpenMode::SearchResults, "");
    context_.RefreshCheckList();
}

void TSearchCommands::mnSynonymsClick() {
    SynonymsEditor(context_.language(), context_.programDirectory(), context_.prompter(), context_.dialogParent());
}

void TSearchCommands::cbScanDirClick() {
    AdvancedSearchRegion* adv = &adv_;
    const bool scan = adv->cbScanDir->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{adv->rgFindMode, adv->cbFindOnDrives, adv->cbUseMask,
                                                      adv->cbUseHomeDirMask})
        w->setEnabled(scan);
    if (scan) {
        const bool useMask = adv->cbUseMask->isChecked();
        adv->cboxMask->setEnabled(useMask);
        SetFieldColour(adv->cboxMask, useMask);
    } else {
        adv->cbFindOnDrives->setChecked(false);
        adv->cboxMask->setEnabled(false);
        SetFieldColour(adv->cboxMask, false);
    }
}

void TSearchCommands::cbUseMaskClick() {
    AdvancedSearchRegion* adv = &adv_;
    const bool useMask = adv->cbUseMask->isChecked();
    adv->cboxMask->setEnabled(useMask);
    if (useMask) adv->cbUseHomeDirMask->setChecked(false);
    SetFieldColour(adv->cboxMask, useMask);
}

void TSearchCommands::cbUseHomeDirMaskClick() {
    AdvancedSearchRegion* adv = &adv_;
    if (!adv->cbUseHomeDirMask->isChecked()) return;
    adv->cbUseMask->setChecked(false);
    adv->cbFindOnDrives->setChecked(false);
}

void TSearchCommands::cbFindOnDrivesClick() {
    AdvancedSearchRegion* adv = &adv_;
    const bool onDrives = adv->cbFindOnDrives->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{adv->FindDrvBox, adv->sbtnAddFindDrv, adv->sbtnDelFindDrv,
                                                      adv->edFindDrv})
        w->setEnabled(onDrives);
    if (onDrives) adv->cbUseHomeDirMask->setChecked(false);
    SetFieldColour(adv->edFindDrv, onDrives);
}

void TSearchCommands::sbtnAddFindDrvClick() {
    AdvancedSearchRegion* adv = &adv_;
    const std::string root = FromQt(adv->FindDrvBox->currentText());
    adv->edFindDrv->setText(ToQt(AddDriveToList(FromQt(adv->edFindDrv->text()), root)));
}

void TSearchCommands::sbtnDelFindDrvClick() {
    AdvancedSearchRegion* adv = &adv_;
    const std::string root = FromQt(adv->FindDrvBox->currentText());
    adv->edFindDrv->setText(ToQt(DeleteDriveFromList(FromQt(adv->edFindDrv->text()), root)));
}

void TSearchCommands::cboxMaskChange() {
    AdvancedSearchRegion* adv = &adv_;
    const QString mask = adv->cboxMask->currentText();
    context_.setFileMask(FromQt(mask));
    advancedMaskIsMedia_ = AdvancedMaskIsMedia(adv->cbUseMask->isChecked(), FromQt(mask));
}

void TSearchCommands::cbFTPlocalClick() {
    SearchBoxRegion* box = &box_;
    AdvancedSearchRegion* adv = &adv_;
    if (box->cbFTPlocal->isChecked()) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 adv->cbScanDir, adv->cbUseHomeDirMask, adv->rgFindMode, adv->cbUseMask, adv->cboxMask,
                 adv->cbFindOnDrives, adv->edFindDrv, adv->FindDrvBox, adv->sbtnAddFindDrv, adv->sbtnDelFindDrv,
                 adv->cbOverSearch, adv->cbFullString, box->bbtnFindDir})
            w->setEnabled(false);
        return;
    }
    adv->cbFindOnDrives->setEnabled(true);
    cbFindOnDrivesClick();
    adv->cbUseMask->setEnabled(true);
    cbUseMaskClick();
    adv->rgFindMode->setEnabled(true);
    adv->cbUseHomeDirMask->setEnabled(true);
    cbUseHomeDirMaskClick();
    adv->cbOverSearch->setEnabled(true);
    adv->cbFullString->setEnabled(true);
    box->bbtnFindDir->setEnabled(true);
    adv->cbScanDir->setEnabled(true);
    cbScanDirClick();
}

bool TSearchCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_.edFind) {
        auto isCtrlF3 = [](QEvent* e) {
            auto* k = static_cast<QKeyEvent*>(e);
            return k->key() == Qt::Key_F3 && (k->modifiers() & Qt::ControlModifier);
        };
        // In the search box Ctrl+F3 switches the keyboard layout of the text
        // instead of starting the upper-case rename.
        if (event->type() == QEvent::ShortcutOverride && isCtrlF3(event)) {
            event->accept();
            return false;
        }
        // The search box's keys: Ctrl+F3 as it goes down, Enter and Ctrl+Enter as they come up.
        if (event->type() == QEvent::KeyPress && isCtrlF3(event)) {
            edFindKeyUp(Qt::Key_F3, Qt::ControlModifier);
            return true;
        }
        auto* k = static_cast<QKeyEvent*>(event);
        const bool enter = (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
                           (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !k->isAutoRepeat();
        if (enter && event->type() == QEvent::KeyPress) edFindKeys_.Pressed(k->key());
        if (enter && event->type() == QEvent::KeyRelease) {
            if (edFindKeys_.Released(k->key())) edFindKeyUp(k->key(), k->modifiers());
            return true;
        }
    }
    if (watched == adv_.FindDrvBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert) {
            sbtnAddFindDrvClick();
            return true;
        }
        if (key == Qt::Key_Delete) {
            sbtnDelFindDrvClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tandrel
