#include "ui/settingsform.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/language.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "text/transforms.h"
#include "ui/filelists.h"
#include "ui/uilanguage.h"

namespace tandrel {

namespace {

using enum TextProperty;

const std::vector<LanguageRow>& SettingsFormTexts() {
    static const std::vector<LanguageRow> rows = BuildLanguageRows({
        {"TSettingsForm", Caption, -1, "Settings", "Настройки"},
        {"bbtnCancel", Caption, -1, "Cancel", "Отмена"},
        {"tsOptions", Caption, -1, "Options", "Опции"},
        {"gbRestrictions", Caption, -1, " Restrictions ", " Ограничения: "},
        {"cbDisablePlayListBtn", Caption, -1, "Disable Play List Button", "Запретить кнопку Play List"},
        {"cbConfirmationOnExit", Caption, -1, "Confirmation on Exit", "Подтвеждение при выходе"},
        {"cbWriteRenameInfo", Caption, -1, "Write Rename Information to file",
         "Записывать информацию о переименовании файлов"},
        {"cbSaveMaskPosition", Caption, -1, "Save Mask Position", "Запоминать позицию маски"},
        {"cbWriteID3v2Unicode", Caption, -1, "Write ID3v2 text as Unicode", "Записывать текст ID3v2 в Юникоде"},
        {"rmTreeMode", Caption, -1, " Mode writing of Directory's Tree: ", " Режим записи Дерева Каталогов: "},
        {"rmTreeMode", Item, 0, "with Full Path", "C полным путем"},
        {"rmTreeMode", Item, 1, "with Lines to Directory Name", "C линиями к каталогам"},
        {"rmTreeMode", Item, 2, "with Indention with Initial Directory", "С отступами с начальным каталогом"},
        {"rmTreeMode", Item, 3, "with Indention without Initial Directory", "С отступами без начального каталога"},
        {"gbMasks", Caption, -1, " Masks ", " Маски "},
        {"btnAddMask", Caption, -1, "Add", "Добавить"},
        {"btnEditMask", Caption, -1, "Edit", "Поправить"},
        {"btnDelMask", Caption, -1, "Delete", "Удалить"},
        {"tsFindOptions", Caption, -1, "Find", "Поиск текста"},
        {"gbOptions", Caption, -1, " Options ", " Опции "},
        {"cbM3USearchAll", Caption, -1, "Search All m3u-names", "Искать все mp3-названия"},
        {"cbAnyMask", Caption, -1, "Any mask if mask not present", "Любая маска, если её нет"},
        {"cbM3UDlgBox", Caption, -1, "Show Dialog Box for \"Find m3u-names from M3U\"",
         "Диалоговое окно для \"Найти mp3-названия из M3U\""},
        {"cbRecursive", Caption, -1, "Recursive searching", "Рекурсивный поиск"},
        {"rgSearchMode", Caption, -1, " Searching Mode ", " Режим поиска "},
        {"rgSearchMode", Item, 0, "Any word present", "Есть любое слово"},
        {"rgSearchMode", Item, 1, "All words present", "Есть все слова"},
        {"rgSearchMode", Item, 2, "Words present on order", "Слова по порядку"},
        {"rgFileNameMode", Caption, -1, " File Name Mode ", " File Name Mode "},
        {"lFindFileNameHomeDir", Caption, -1, "Find Home Directory:", "Домашний каталог для поиска:"},
        {"lFindFileNameMask", Caption, -1, "Find File Name Mask:", "Маска поиска по имени файла:"},
        {"rgInsideFileMode", Caption, -1, " Inside File Mode ", " Режим поиска внутри файла "},
        {"lFindInsideFileHomeDir", Caption, -1, "Find Home Directory:", "Домашний каталог для поиска:"},
        {"lFindInsideFileMask", Caption, -1, "Find Inside File Mask:", "Маска поиска внутри файла:"},
        {"tsRenameOptions", Caption, -1, "Rename", "Переименование"},
        {"cbShowRenameWarning", Caption, -1, "Show Rename Warning", "Запрос при переименовании файлов"},
        {"cbShowRenamePreview", Caption, -1, "Show a preview before renaming", "Показывать план перед переименованием"},
        {"cbMakeLowercaseExt", Caption, -1, "Make Lowercase Extensions", "Делать расширения в нижнем регистре"},
        {"cdRecursive", Caption, -1, "Recursive change/rename", "Рекусивное изменение/переименование"},
        {"rgUpCaseFirstLettersOfArtistName", Caption, -1, " Make Uppercase First Letters Of ArtistName ",
         "Делать Большими Первые Буквы в Имени Артиста"},
        {"rgUpCaseFirstLettersOfArtistName", Item, 0, "Only First Letter Of ArtistName",
         "Только первую букву в Имени Артиста"},
        {"rgUpCaseFirstLettersOfArtistName", Item, 1, "First Letters Of ArtistName", "Первые буквы в Имени Артиста"},
        {"rgUpCaseFirstLettersOfArtistName", Item, 2, "First Letter and Letters Of ArtistName after dot",
         "Первую букву и буквы в Имени Артиста после точки"},
        {"rgMode", Item, 0, "Default", "По умолчанию"},
        {"rgMode", Item, 1, "Change Space to Underline", "Менять пробелы на подчеркивания"},
        {"rgMode", Item, 2, "Change Underline to Space", "Менять подчеркивания на пробелы"},
        {"tsPrograms", Caption, -1, "Programs", "Программы"},
        {"gbAudioProgram", Caption, -1, " Audio Program ", " Аудио программа "},
        {"rgAudioProgramPath", Caption, -1, " Path to Program ", "Путь к программе"},
        {"rgAudioProgramPath", Item, 0, "Automatically get from Registry (WinAmp)",
         "Автоматически брать из реестра (WinAmp)"},
        {"rgAudioProgramPath", Item, 1, "Manual Path", "Указаный путь"},
        {"gbVideoProgram", Caption, -1, " Video Program ", " Видео программа "},
        {"lVideoProgramPath", Caption, -1, "Path to Program", "Путь к программе"},
        {"gbFTPlocalFile", Caption, -1, " FTP local-File ", " FTP: local-файл "},
        {"rgFTPlocalFilePath", Caption, -1, " Path to local-file ", "Путь к local-файлу"},
        {"rgFTPlocalFilePath", Item, 0, "Open Dialog Window", "Открыть диалоговое окно"},
        {"rgFTPlocalFilePath", Item, 1, "Manual Path", "Указаный путь"},
        {"cbFTPChangeAddFTPpath", Caption, -1, "Change && Add FTP path to FileNames",
         "изменять и добавлять FTP-путь к имени файла"},
        {"lChangeTo", Caption, -1, "change to", "менять на"},
    });
    return rows;
}

const char* const kDirectoryNotExists[] = {"This Directory not exists!!!", "Такой каталог не существует!!!"};
const char* const kMaskExists[] = {"This Mask already exists!!!", "Такая маска уже существует!!!"};

std::string Localised(const char* const (&texts)[2], int language) {
    return Utf8ToCp1251(texts[language == kRussian ? 1 : 0]).text;
}

QCheckBox* Check(QWidget* parent, const char* name) { return Named(new QCheckBox(parent), name); }
QLabel* Label(QWidget* parent, const char* name) { return Named(new QLabel(parent), name); }

TRadioGroup* Radio(QWidget* parent, const char* name, int items) {
    QStringList texts;
    for (int i = 0; i < items; ++i) texts << QString();
    return Named(new TRadioGroup(QString(), texts, parent), name);
}

void SelectItem(TRadioGroup* group, int index) {
    if (QRadioButton* b = group->button(index)) b->setChecked(true);
}

}  // namespace

TSettingsForm::TSettingsForm(SettingsDialogContext context, int mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), context_(context), mode_(mode) {
    setObjectName("TSettingsForm");
    setModal(true);
    BuildLayout();
    ApplyLanguageRows(this, SettingsFormTexts(), context_.language);
}

void TSettingsForm::showEvent(QShowEvent* event) {
    if (!activated_) FormActivate();
    QDialog::showEvent(event);
}

void TSettingsForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    tabs = Named(new QTabWidget(this), "tabs");
    layout->addWidget(tabs);
    QHBoxLayout* buttons = OkCancelRow(this, bbtnOk, bbtnCancel);
    bbtnCancel->setText("Cancel");
    layout->addLayout(buttons);
    connect(bbtnOk, &QPushButton::clicked, this, &TSettingsForm::bbtnOkClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto browseDir = [this](const QString& current) -> std::optional<QString> {
        if (auto chosen = context_.prompter.DirectoryDialog("", FromQt(current))) return ToQt(*chosen);
        return std::nullopt;
    };
    auto browseProgram = [this](const QString& current) -> std::optional<QString> {
        if (auto chosen = context_.prompter.OpenFileDialog(
                "", FromQt(current), "Program files (*.exe)|*.exe|All files (*.*)|*.*"))
            return ToQt(*chosen);
        return std::nullopt;
    };

    // Options
    tsOptions = Named(new QWidget, "tsOptions");
    tabs->addTab(tsOptions, QString());
    auto* options = new QGridLayout(tsOptions);
    auto* restrictions = Named(new QGroupBox(tsOptions), "gbRestrictions");
    auto* r = new QVBoxLayout(restrictions);
    cbDisablePlayListBtn = Check(restrictions, "cbDisablePlayListBtn");
    cbConfirmationOnExit = Check(restrictions, "cbConfirmationOnExit");
    cbWriteRenameInfo = Check(restrictions, "cbWriteRenameInfo");
    cbSaveMaskPosition = Check(restrictions, "cbSaveMaskPosition");
    cbWriteID3v2Unicode = Check(restrictions, "cbWriteID3v2Unicode");
    for (QWidget* w :
         {cbDisablePlayListBtn, cbConfirmationOnExit, cbWriteRenameInfo, cbSaveMaskPosition, cbWriteID3v2Unicode})
        r->addWidget(w);
    rmTreeMode = Radio(tsOptions, "rmTreeMode", 4);
    auto* masks = Named(new QGroupBox(tsOptions), "gbMasks");
    auto* m = new QGridLayout(masks);
    lbMasks = Named(new QListWidget(masks), "lbMasks");
    edMask = Named(new QLineEdit(masks), "edMask");
    btnAddMask = Named(new QPushButton(masks), "btnAddMask");
    btnEditMask = Named(new QPushButton(masks), "btnEditMask");
    btnDelMask = Named(new QPushButton(masks), "btnDelMask");
    m->addWidget(lbMasks, 0, 0, 4, 1);
    m->addWidget(edMask, 4, 0);
    m->addWidget(btnAddMask, 0, 1);
    m->addWidget(btnEditMask, 1, 1);
    m->addWidget(btnDelMask, 2, 1);
    options->addWidget(restrictions, 0, 0);
    options->addWidget(rmTreeMode, 1, 0);
    options->addWidget(masks, 0, 1, 2, 1);

    // Find
    tsFindOptions = Named(new QWidget, "tsFindOptions");
    tabs->addTab(tsFindOptions, QString());
    auto* find = new QGridLayout(tsFindOptions);
    auto* findOptions = Named(new QGroupBox(tsFindOptions), "gbOptions");
    auto* fo = new QVBoxLayout(findOptions);
    cbM3USearchAll = Check(findOptions, "cbM3USearchAll");
    cbAnyMask = Check(findOptions, "cbAnyMask");
    cbM3UDlgBox = Check(findOptions, "cbM3UDlgBox");
    cbRecursive = Check(findOptions, "cbRecursive");
    for (QWidget* w : {cbM3USearchAll, cbAnyMask, cbM3UDlgBox, cbRecursive}) fo->addWidget(w);
    rgSearchMode = Radio(tsFindOptions, "rgSearchMode", 3);
    auto homeBox = [&](const char* box, const char* dirLabel, const char* dirEdit, const char* maskLabel,
                       const char* maskEdit, PathEdit*& dir, QLineEdit*& mask) {
        auto* group = Named(new QGroupBox(tsFindOptions), box);
        auto* form = new QFormLayout(group);
        dir = Named(new PathEdit(browseDir, group), dirEdit);
        mask = Named(new QLineEdit(group), maskEdit);
        form->addRow(Label(group, dirLabel), dir);
        form->addRow(Label(group, maskLabel), mask);
        return group;
    };
    QGroupBox* fileNameMode = homeBox("rgFileNameMode", "lFindFileNameHomeDir", "deFindFileNameHomeDir",
                                      "lFindFileNameMask", "meFindFileName", deFindFileNameHomeDir, meFindFileName);
    QGroupBox* insideMode = homeBox("rgInsideFileMode", "lFindInsideFileHomeDir", "deFindInsideFileHomeDir",
                                    "lFindInsideFileMask", "meFindInsideFile", deFindInsideFileHomeDir,
                                    meFindInsideFile);
    meFindFileName->setToolTip("*.mp3;*.mp2;*.mp1;*.wav");
    meFindInsideFile->setToolTip("*.txt");
    find->addWidget(findOptions, 0, 0);
    find->addWidget(rgSearchMode, 0, 1);
    find->addWidget(fileNameMode, 1, 0, 1, 2);
    find->addWidget(insideMode, 2, 0, 1, 2);

    // Rename
    tsRenameOptions = Named(new QWidget, "tsRenameOptions");
    tabs->addTab(tsRenameOptions, QString());
    auto* rename = new QGridLayout(tsRenameOptions);
    cbShowRenameWarning = Check(tsRenameOptions, "cbShowRenameWarning");
    cbMakeLowercaseExt = Check(tsRenameOptions, "cbMakeLowercaseExt");
    cdRecursive = Check(tsRenameOptions, "cdRecursive");
    cbShowRenamePreview = Check(tsRenameOptions, "cbShowRenamePreview");
    rgUpCaseFirstLettersOfArtistName = Radio(tsRenameOptions, "rgUpCaseFirstLettersOfArtistName", 3);
    rgMode = Radio(tsRenameOptions, "rgMode", 3);
    rename->addWidget(cbShowRenameWarning, 0, 0);
    rename->addWidget(cbMakeLowercaseExt, 1, 0);
    rename->addWidget(cdRecursive, 2, 0);
    rename->addWidget(cbShowRenamePreview, 3, 0);
    rename->addWidget(rgMode, 0, 1, 4, 1);
    rename->addWidget(rgUpCaseFirstLettersOfArtistName, 4, 0, 1, 2);

    // Programs
    tsPrograms = Named(new QWidget, "tsPrograms");
    tabs->addTab(tsPrograms, QString());
    auto* programs = new QVBoxLayout(tsPrograms);
    auto* audio = Named(new QGroupBox(tsPrograms), "gbAudioProgram");
    auto* a = new QVBoxLayout(audio);
    rgAudioProgramPath = Radio(audio, "rgAudioProgramPath", 2);
    feAudioProgram = Named(new PathEdit(browseProgram, audio), "feAudioProgram");
    a->addWidget(rgAudioProgramPath);
    a->addWidget(feAudioProgram);
    auto* video = Named(new QGroupBox(tsPrograms), "gbVideoProgram");
    auto* v = new QVBoxLayout(video);
    feVideoProgram = Named(new PathEdit(browseProgram, video), "feVideoProgram");
    v->addWidget(Label(video, "lVideoProgramPath"));
    v->addWidget(feVideoProgram);
    auto* ftp = Named(new QGroupBox(tsPrograms), "gbFTPlocalFile");
    auto* f = new QGridLayout(ftp);
    rgFTPlocalFilePath = Radio(ftp, "rgFTPlocalFilePath", 2);
    feFTPlocalFile = Named(new PathEdit(
                               [this](const QString& current) -> std::optional<QString> {
                                   if (auto chosen = context_.prompter.OpenFileDialog("", FromQt(current),
                                                                                      "All files (*.*)|*.*"))
                                       return ToQt(*chosen);
                                   return std::nullopt;
                               },
                               ftp),
                           "feFTPlocalFile");
    cbFTPChangeAddFTPpath = Check(ftp, "cbFTPChangeAddFTPpath");
    edFTPSourcePath = Named(new QLineEdit(ftp), "edFTPSourcePath");
    edFTPTargetPath = Named(new QLineEdit(ftp), "edFTPTargetPath");
    f->addWidget(rgFTPlocalFilePath, 0, 0, 1, 3);
    f->addWidget(feFTPlocalFile, 1, 0, 1, 3);
    f->addWidget(cbFTPChangeAddFTPpath, 2, 0, 1, 3);
    f->addWidget(edFTPSourcePath, 3, 0);
    f->addWidget(Label(ftp, "lChangeTo"), 3, 1);
    f->addWidget(edFTPTargetPath, 3, 2);
    programs->addWidget(audio);
    programs->addWidget(video);
    programs->addWidget(ftp);

    // Options that change at once, and the enable rules.
    connect(cbSaveMaskPosition, &QCheckBox::clicked, this,
            [this](bool on) { context_.settings.saveMaskPosition = on; });
    connect(cbConfirmationOnExit, &QCheckBox::clicked, this,
            [this](bool on) { context_.settings.confirmationOnExit = on; });
    connect(cbWriteRenameInfo, &QCheckBox::clicked, this,
            [this](bool on) { context_.settings.writeRenameInfo = on; });
    connect(rmTreeMode, &TRadioGroup::itemClicked, this,
            [this](int index) { context_.settings.treeMode = static_cast<std::int8_t>(index); });
    connect(rgAudioProgramPath, &TRadioGroup::itemClicked, this, [this] { ApplyEnableRules(); });
    connect(rgFTPlocalFilePath, &TRadioGroup::itemClicked, this, [this] { ApplyEnableRules(); });
    connect(cbFTPChangeAddFTPpath, &QCheckBox::toggled, this, [this] { ApplyEnableRules(); });
    connect(lbMasks, &QListWidget::itemClicked, this, [this] { lbMasksClick(); });
    connect(btnAddMask, &QPushButton::clicked, this, &TSettingsForm::btnAddMaskClick);
    connect(btnEditMask, &QPushButton::clicked, this, &TSettingsForm::btnEditMaskClick);
    connect(btnDelMask, &QPushButton::clicked, this, &TSettingsForm::btnDelMaskClick);
}

void TSettingsForm::FormActivate() {
    activated_ = true;
    const TAppSettings& s = context_.settings;
    cbSaveMaskPosition->setChecked(s.saveMaskPosition);
    cbDisablePlayListBtn->setChecked(s.disablePlayListButton);
    cbConfirmationOnExit->setChecked(s.confirmationOnExit);
    cbWriteRenameInfo->setChecked(s.writeRenameInfo);
    cbWriteID3v2Unicode->setChecked(s.writeID3v2Unicode);
    SelectItem(rmTreeMode, s.treeMode);
    lbMasks->clear();
    for (const std::string& mask : context_.masks) lbMasks->addItem(ToQt(mask));
    cbRecursive->setChecked(s.recursiveSearch);
    SelectItem(rgSearchMode, s.searchMode);
    cbAnyMask->setChecked(s.anyMask);
    cbM3USearchAll->setChecked(s.m3uSearchAll);
    cbM3UDlgBox->setChecked(s.m3uDlgBox);

    RegistryStore& registry = context_.registry;
    (void)registry.Load();  // unreadable: the key does not open and the boxes show the defaults
    if (registry.OpenKey(kSettingsKey, false)) {
        openingFileNameDir_ = registry.ReadString("HomeDirFindFileName").value_or(context_.currentDirectory);
        openingInsideFileDir_ = registry.ReadString("HomeDirFindInsideFile").value_or(context_.currentDirectory);
        openingFileNameMask_ = registry.ReadString("MaskFindFileName").value_or("");
        openingInsideFileMask_ = registry.ReadString("MaskFindInsideFile").value_or("");
        registry.CloseKey();
    }
    deFindFileNameHomeDir->setText(ToQt(openingFileNameDir_));
    deFindInsideFileHomeDir->setText(ToQt(openingInsideFileDir_));
    meFindFileName->setText(ToQt(openingFileNameMask_));
    meFindInsideFile->setText(ToQt(openingInsideFileMask_));

    cbShowRenameWarning->setChecked(s.showRenameWarning);
    cbShowRenamePreview->setChecked(s.showRenamePreview);
    cdRecursive->setChecked(s.recursiveRename);
    cbMakeLowercaseExt->setChecked(s.makeLowercaseExt);
    SelectItem(rgUpCaseFirstLettersOfArtistName, s.artistMode);
    SelectItem(rgMode, s.renameMode >= 0 && s.renameMode <= 2 ? s.renameMode : 0);

    const bool renameOnly = mode_ == kSettingsModeRenameOnly;
    for (QWidget* page : {tsOptions, tsFindOptions, tsPrograms}) page->setEnabled(!renameOnly);
    for (QWidget* page : {tsOptions, tsFindOptions, tsRenameOptions, tsPrograms})
        tabs->setTabEnabled(tabs->indexOf(page), !renameOnly || page == tsRenameOptions);
    tabs->setCurrentWidget(renameOnly ? tsRenameOptions : tsOptions);

    feAudioProgram->setText(ToQt(s.audioProgram));
    feVideoProgram->setText(ToQt(s.videoProgram));
    SelectItem(rgAudioProgramPath, s.audioProgramMode);
    SelectItem(rgFTPlocalFilePath, s.ftpLocalFileMode);
    feFTPlocalFile->setText(ToQt(s.ftpLocalFile));
    cbFTPChangeAddFTPpath->setChecked(s.ftpChangeAddFtpPath);
    edFTPSourcePath->setText(ToQt(s.ftpSourcePath));
    edFTPTargetPath->setText(ToQt(s.ftpTargetPath));
    ApplyEnableRules();
}

void TSettingsForm::ApplyEnableRules() {
    feAudioProgram->setEnabled(rgAudioProgramPath->itemIndex() == 1);
    feFTPlocalFile->setEnabled(rgFTPlocalFilePath->itemIndex() == 1);
    edFTPSourcePath->setEnabled(cbFTPChangeAddFTPpath->isChecked());
    edFTPTargetPath->setEnabled(cbFTPChangeAddFTPpath->isChecked());
}

void TSettingsForm::lbMasksClick() {
    if (QListWidgetItem* item = lbMasks->currentItem()) edMask->setText(item->text());
}

void TSettingsForm::btnAddMaskClick() {
    const std::string text = FromQt(edMask->text());
    for (int i = 0; i < lbMasks->count(); ++i) {
        if (ToLowerCase(FromQt(lbMasks->item(i)->text())) == ToLowerCase(text)) {
            context_.prompter.ShowMessage(text + "\n\r" + Localised(kMaskExists, context_.language));
            return;
        }
    }
    lbMasks->addItem(ToQt(text));
}

void TSettingsForm::btnEditMaskClick() {
    if (QListWidgetItem* item = lbMasks->currentItem()) item->setText(edMask->text());
}

void TSettingsForm::btnDelMaskClick() {
    if (QListWidgetItem* item = lbMasks->currentItem()) delete lbMasks->takeItem(lbMasks->row(item));
}

void TSettingsForm::bbtnOkClick() {
    TAppSettings& s = context_.settings;
    s.disablePlayListButton = cbDisablePlayListBtn->isChecked();
    s.writeID3v2Unicode = cbWriteID3v2Unicode->isChecked();
    context_.masks.clear();
    for (int i = 0; i < lbMasks->count(); ++i) context_.masks.push_back(FromQt(lbMasks->item(i)->text()));
    s.recursiveSearch = cbRecursive->isChecked();
    s.searchMode = std::max(0, rgSearchMode->itemIndex());
    s.anyMask = cbAnyMask->isChecked();
    s.m3uSearchAll = cbM3USearchAll->isChecked();
    s.m3uDlgBox = cbM3UDlgBox->isChecked();

    bool keepOpen = false;
    RegistryStore& registry = context_.registry;
    (void)registry.Load();  // a file that could not be read is never saved over: Save reports it
    if (registry.OpenKey(kSettingsKey, true)) {
        struct HomeBox { PathEdit* box; const std::string& opening; const char* value; };
        for (const HomeBox& h : {HomeBox{deFindFileNameHomeDir, openingFileNameDir_, "HomeDirFindFileName"},
                                 HomeBox{deFindInsideFileHomeDir, openingInsideFileDir_, "HomeDirFindInsideFile"}}) {
            const std::string text = FromQt(h.box->text());
            if (text == h.opening) continue;
            if (DirectoryExists(text)) {
                registry.WriteString(h.value, text);
            } else {
                context_.prompter.ShowMessage(text + "\n\r" + Localised(kDirectoryNotExists, context_.language));
                keepOpen = true;
            }
        }
        if (FromQt(meFindFileName->text()) != openingFileNameMask_)
            registry.WriteString("MaskFindFileName", FromQt(meFindFileName->text()));
        if (FromQt(meFindInsideFile->text()) != openingInsideFileMask_)
            registry.WriteString("MaskFindInsideFile", FromQt(meFindInsideFile->text()));
        registry.CloseKey();
        if (FileResult saved = registry.Save(); !saved)
            context_.prompter.ShowMessage(Utf8ToCp1251(saved.error).text);
    }

    s.showRenameWarning = cbShowRenameWarning->isChecked();
    s.showRenamePreview = cbShowRenamePreview->isChecked();
    s.writeRenameInfo = cbWriteRenameInfo->isChecked();
    s.recursiveRename = cdRecursive->isChecked();
    s.makeLowercaseExt = cbMakeLowercaseExt->isChecked();
    s.artistMode = static_cast<std::int8_t>(std::max(0, rgUpCaseFirstLettersOfArtistName->itemIndex()));
    s.renameMode = static_cast<std::int8_t>(std::max(0, rgMode->itemIndex()));
    s.audioProgramMode = static_cast<std::uint8_t>(std::max(0, rgAudioProgramPath->itemIndex()));
    s.audioProgram = FromQt(feAudioProgram->text());
    s.videoProgram = FromQt(feVideoProgram->text());
    s.ftpLocalFileMode = static_cast<std::uint8_t>(std::max(0, rgFTPlocalFilePath->itemIndex()));
    s.ftpLocalFile = FromQt(feFTPlocalFile->text());
    s.ftpChangeAddFtpPath = cbFTPChangeAddFTPpath->isChecked();
    s.ftpSourcePath = FromQt(edFTPSourcePath->text());
    s.ftpTargetPath = FromQt(edFTPTargetPath->text());
    if (!keepOpen) accept();
}

bool ShowSettingsDialog(const SettingsDialogContext& context, int mode, QWidget* parent) {
    TSettingsForm form(context, mode, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace tandrel
