#include "ui/searchcommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>

#include "app/messages.h"
#include "catalog/outputdoc.h"
#include "platform/registry.h"
#include "search/searchplaces.h"
#include "search/synonymsfile.h"
#include "text/paths.h"
#include "text/transforms.h"
#include "ui/mainform.h"
#include "ui/progresspump.h"
#include "ui/synonymsform.h"
#include "ui/tagpanelview.h"

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

TSearchCommands::TSearchCommands(TMainForm& form) : QObject(&form), form_(form) {
    setObjectName("SearchCommands");
    SearchBoxRegion* box = form.searchBox;
    AdvancedSearchRegion* adv = form.advancedSearch;

    connect(box->bbtnFind, &QPushButton::clicked, this, &TSearchCommands::bbtnFindClick);
    connect(box->bbtnFindDir, &QPushButton::clicked, this, &TSearchCommands::mnFindDirClick);
    connect(box->sbtnFindTextTransKeyCod, &QToolButton::clicked, this, &TSearchCommands::sbtnFindTextTransKeyCodClick);
    connect(box->sbtnFindTextToTranslit, &QToolButton::clicked, this, &TSearchCommands::sbtnFindTextToTranslitClick);
    connect(adv->sbtnAddFindDrv, &QToolButton::clicked, this, &TSearchCommands::sbtnAddFindDrvClick);
    connect(adv->sbtnDelFindDrv, &QToolButton::clicked, this, &TSearchCommands::sbtnDelFindDrvClick);
    adv->FindDrvBox->installEventFilter(this);

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

    struct ActionWire { const char* name; void (TSearchCommands::*handler)(); };
    for (const ActionWire& w : {ActionWire{"mnFindDir", &TSearchCommands::mnFindDirClick},
                                ActionWire{"mnSynonyms", &TSearchCommands::mnSynonymsClick},
                                ActionWire{"pmWordsSearch", &TSearchCommands::pmWordsSearchClick},
                                ActionWire{"pmCopyWordsToFind", &TSearchCommands::pmCopyWordsToFindClick}}) {
        QAction* action = form.menus()[w.name];
        action->setEnabled(true);
        TMainForm::MarkWired(action);
        connect(action, &QAction::triggered, this, w.handler);
    }
}

void TSearchCommands::StartControls() {
    QComboBox* drives = form_.advancedSearch->FindDrvBox;
    drives->clear();
    for (int i = 0; i < form_.fileManager->DrvComboBox->count(); ++i)
        drives->addItem(form_.fileManager->DrvComboBox->itemText(i));
    cbScanDirClick();
    cbFTPlocalClick();
}

void TSearchCommands::ApplySearchMask() {
    if (SearchMaskInUse()) cboxMaskChange();
}

bool TSearchCommands::SearchMaskInUse() const {
    const QCheckBox* useMask = form_.advancedSearch->cbUseMask;
    return useMask->isChecked() && useMask->isEnabled();
}

SearchEngine TSearchCommands::Engine(ProgressPump& pump) {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    SearchOptions o;
    o.findMode = adv->rgFindMode->itemIndex();
    o.fullString = adv->cbFullString->isChecked();
    o.overSearch = adv->cbOverSearch->isChecked();
    o.recursive = form_.settings().recursiveSearch;
    o.addFileName = form_.output->cbAddFileName->isChecked();
    o.tagSearch = TagSearchCondition(advancedMaskIsMedia_, SearchMaskInUse(), form_.fileManager->filesListBox->mask());
    // The tag tests read with the window's tag objects, which the tag panel owns.
    TagPanelView* tags = form_.findChild<TagPanelView*>();
    return SearchEngine(o,
                        SearchEnvironment{pump, form_.language(), tags ? tags->id3v1() : id3v1_,
                                          tags ? tags->id3v2() : id3v2_, [&pump] { pump.Pump(); }},
                        form_.searchResults());
}

std::string TSearchCommands::CurrentFilePath() const {
    const FileListBox* list = form_.fileManager->filesListBox;
    if (std::string path = list->currentPath(); !path.empty()) return path;
    const std::vector<std::string> selected = list->selectedNames();
    return selected.empty() ? std::string() : JoinPath(list->directory(), selected.front());
}

std::optional<std::string> TSearchCommands::QueryOrFocus() const {
    QLineEdit* edit = form_.searchBox->edFind;
    const std::string query = FromQt(edit->text());
    if (IsQueryEmpty(query)) {
        edit->setFocus();
        return std::nullopt;
    }
    return query;
}

void TSearchCommands::bbtnFindClick() {
    SearchBoxRegion* box = form_.searchBox;
    const std::optional<std::string> typed = QueryOrFocus();
    if (!typed) return;
    const std::string& query = *typed;
    WaitCursor busy(form_.prompter());
    box->stFindInd->clear();
    box->stFindInd->show();
    box->bbtnFind->setEnabled(false);
    Finally restore([box] {
        box->edFind->setFocus();
        box->bbtnFind->setEnabled(true);
        box->stFindInd->hide();
    });
    // The local-file search has its own command; here the box keeps only its state.
    if (!box->cbFTPlocal->isChecked())
        RunSearch(query, form_.settings().searchMode, box->cbUseSynonyms->isChecked(), false);
}

void TSearchCommands::RunSearch(const std::string& query, int searchMode, bool useSynonyms, bool byFileWords) {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    FileListBox* list = form_.fileManager->filesListBox;
    ProgressPump pump(form_.prompter());
    SearchEngine engine = Engine(pump);
    if (!adv->cbScanDir->isChecked()) {
        const SelectedFiles files{list->directory(), list->selectedNames()};
        if (files.names.empty()) {
            form_.prompter().ShowMessage(Message(form_.language(), MessageId::ChooseFile));
            return;
        }
        if (useSynonyms)
            engine.SearchSelectedFilesWithSynonyms(files, query, JoinPath(form_.programDirectory(), kSynonymsFileName));
        else
            engine.SearchSelectedFiles(files, query);
    } else {
        if (TagPanelView* tags = form_.findChild<TagPanelView*>()) {
            tags->ClearID3v1Panel();
            tags->ClearID3v2Panel();
        }
        ScanChoice choice;
        choice.findOnDrives = adv->cbFindOnDrives->isChecked();
        choice.driveList = FromQt(adv->edFindDrv->text());
        choice.useMask = SearchMaskInUse();
        choice.searchMask = FromQt(adv->cboxMask->currentText());
        choice.useHomeDirMask = adv->cbUseHomeDirMask->isChecked();
        choice.findMode = adv->rgFindMode->itemIndex();
        if (choice.useHomeDirMask && !choice.findOnDrives) {
            // The settings dialog writes these into the settings file; they are read at each search.
            RegistryStore store(DefaultRegistryPath());
            choice.home = ReadHomeSearchValues(store);
        }
        choice.directory = form_.fileManager->dirListBox->directory();
        choice.fileListMask = FromQt(form_.fileManager->edMask->currentText());
        const std::vector<StartPoint> starts = ScanStartPoints(choice);
        form_.setStatusText("");  // what the walk notes on the way stays after the summary
        engine.RunScan(starts, query, searchMode, byFileWords);
        form_.OpenOutputDocument(OpenMode::SearchResults, "");
        form_.RefreshCheckList();
        ShowScanSummary(starts);
        return;
    }
    form_.OpenOutputDocument(OpenMode::SearchResults, "");
    form_.RefreshCheckList();
}

void TSearchCommands::ShowScanSummary(const std::vector<StartPoint>& starts) {
    // A scan that finds nothing says where it looked, so that an empty output
    // is never a puzzle.
    const int language = form_.language();
    const bool nowhere = std::none_of(starts.begin(), starts.end(),
                                      [](const StartPoint& start) { return !start.directory.empty(); });
    if (nowhere) {
        form_.setStatusText(Message(language, MessageId::SearchNowhere));
        return;
    }
    std::string text = Message(language, MessageId::SearchFound) + std::to_string(form_.searchResults().size());
    for (const StartPoint& start : starts)
        if (!start.directory.empty()) text += "  " + JoinPath(start.directory, start.mask.empty() ? "*.*" : start.mask);
    if (!form_.settings().recursiveSearch) text += Message(language, MessageId::SearchNotInSubdirectories);
    if (const std::string note = form_.statusText(); !note.empty()) text += "; " + note;
    form_.setStatusText(text);
}

void TSearchCommands::mnFindDirClick() {
    SearchBoxRegion* box = form_.searchBox;
    const std::optional<std::string> typed = QueryOrFocus();
    if (!typed) return;
    const std::string& query = *typed;
    WaitCursor busy(form_.prompter());
    box->stFindInd->clear();
    box->stFindInd->show();
    Finally restore([box] { box->stFindInd->hide(); });
    form_.output->reOutput->clear();
    ProgressPump pump(form_.prompter());
    Engine(pump).FindDirectories(form_.fileManager->dirListBox->directory(), query);
    const std::vector<std::string>& found = form_.searchResults();
    if (found.empty()) return;  // the editor stays empty, the check list keeps its lines
    form_.output->reOutput->setPlainText(ToQt(JoinTextLines(found)));
    form_.checkList().setLines(found);
    form_.RefreshCheckList();
}

void TSearchCommands::edFindKeyUp(int key, Qt::KeyboardModifiers modifiers) {
    QLineEdit* edit = form_.searchBox->edFind;
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
    QLineEdit* edit = form_.searchBox->edFind;
    const std::string text = FromQt(edit->text());
    if (!IsQueryEmpty(text)) edit->setText(ToQt(SwitchKeyLayout(text)));
}

void TSearchCommands::sbtnFindTextToTranslitClick() {
    QLineEdit* edit = form_.searchBox->edFind;
    const std::string text = FromQt(edit->text());
    if (!IsQueryEmpty(text)) edit->setText(ToQt(ToTranslit(text)));
}

void TSearchCommands::pmWordsSearchClick() {
    if (form_.fileManager->filesListBox->selectedCount() == 0 || !form_.advancedSearch->cbScanDir->isChecked())
        return;
    WaitCursor busy(form_.prompter());
    RunSearch(WordsSearchQuery(CurrentFilePath()), form_.settings().searchMode,
              form_.searchBox->cbUseSynonyms->isChecked(), true);
}

void TSearchCommands::pmCopyWordsToFindClick() {
    if (form_.fileManager->filesListBox->selectedCount() == 0) return;
    form_.searchBox->edFind->setText(ToQt(FileNameWords(CurrentFilePath())));
}

void TSearchCommands::mnSynonymsClick() {
    SynonymsEditor(form_.language(), form_.programDirectory(), form_.prompter(), &form_);
}

void TSearchCommands::cbScanDirClick() {
    AdvancedSearchRegion* adv = form_.advancedSearch;
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
    AdvancedSearchRegion* adv = form_.advancedSearch;
    const bool useMask = adv->cbUseMask->isChecked();
    adv->cboxMask->setEnabled(useMask);
    if (useMask) adv->cbUseHomeDirMask->setChecked(false);
    SetFieldColour(adv->cboxMask, useMask);
}

void TSearchCommands::cbUseHomeDirMaskClick() {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    if (!adv->cbUseHomeDirMask->isChecked()) return;
    adv->cbUseMask->setChecked(false);
    adv->cbFindOnDrives->setChecked(false);
}

void TSearchCommands::cbFindOnDrivesClick() {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    const bool onDrives = adv->cbFindOnDrives->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{adv->FindDrvBox, adv->sbtnAddFindDrv, adv->sbtnDelFindDrv,
                                                      adv->edFindDrv})
        w->setEnabled(onDrives);
    if (onDrives) adv->cbUseHomeDirMask->setChecked(false);
    SetFieldColour(adv->edFindDrv, onDrives);
}

void TSearchCommands::sbtnAddFindDrvClick() {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    const std::string root = FromQt(adv->FindDrvBox->currentText());
    adv->edFindDrv->setText(ToQt(AddDriveToList(FromQt(adv->edFindDrv->text()), root)));
}

void TSearchCommands::sbtnDelFindDrvClick() {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    const std::string root = FromQt(adv->FindDrvBox->currentText());
    adv->edFindDrv->setText(ToQt(DeleteDriveFromList(FromQt(adv->edFindDrv->text()), root)));
}

void TSearchCommands::cboxMaskChange() {
    AdvancedSearchRegion* adv = form_.advancedSearch;
    const QString mask = adv->cboxMask->currentText();
    {
        QSignalBlocker block(form_.fileManager->edMask);
        form_.fileManager->edMask->setEditText(mask);
    }
    form_.edMaskChange();
    advancedMaskIsMedia_ = AdvancedMaskIsMedia(adv->cbUseMask->isChecked(), FromQt(mask));
}

void TSearchCommands::cbFTPlocalClick() {
    SearchBoxRegion* box = form_.searchBox;
    AdvancedSearchRegion* adv = form_.advancedSearch;
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
    if (watched == form_.advancedSearch->FindDrvBox && event->type() == QEvent::KeyPress) {
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
