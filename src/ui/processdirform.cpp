#include "ui/processdirform.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "app/language.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "ui/filelists.h"

namespace tandrel {

namespace {

// One text of the dialog in both languages (UTF-8); russian nullptr: as English.
struct DialogText {
    const char* english;
    const char* russian;
};

QString Text(const DialogText& t, int language) {
    return QString::fromUtf8(language == kRussian && t.russian ? t.russian : t.english);
}

constexpr DialogText kNotExists = {"This Directory not exists!!!", "Такой каталог не существует!!!"};
constexpr DialogText kFileNameModes[] = {
    {"Date", "Дата"},
    {"Directory Name", "Имя каталога"},
    {"Date + Directory Name", "Дата + имя каталога"},
    {"Directory Name + Date", "Имя каталога + дата"},
};

PathEdit* DirectoryEdit(QDialog* dialog, Prompter& prompter, const char* name) {
    auto* edit = Named(new PathEdit(
                           [&prompter](const QString& current) -> std::optional<QString> {
                               if (auto dir = prompter.DirectoryDialog("", FromQt(current))) return ToQt(*dir);
                               return std::nullopt;
                           },
                           dialog),
                       name);
    edit->setMinimumWidth(360);
    return edit;
}

}  // namespace

TProcessDirForm::TProcessDirForm(ProcessDirMode mode, int language, Prompter& prompter, RegistryStore& registry,
                                 TAppSettings& settings, std::string currentDirectory,
                                 std::function<void(const std::string&)> changeDirectory, QWidget* parent)
    : QDialog(parent), mode_(mode), language_(language), prompter_(prompter), registry_(registry),
      settings_(settings), startDirectory_(std::move(currentDirectory)), changeDirectory_(std::move(changeDirectory)) {
    setObjectName("TProcessDirForm");
    setModal(true);
    lProcessDir = Named(new QLabel(this), "lProcessDir");
    deProcessDir = DirectoryEdit(this, prompter_, "deProcessDir");
    lSaveDir = Named(new QLabel(this), "lSaveDir");
    deSaveDir = DirectoryEdit(this, prompter_, "deSaveDir");
    cbAddNum = Named(new QCheckBox(this), "cbAddNum");
    lNumFormat = Named(new QLabel(this), "lNumFormat");
    seNumFormat = Named(new QSpinBox(this), "seNumFormat");
    seNumFormat->setRange(1, 10);
    lNumSplit = Named(new QLabel(this), "lNumSplit");
    edNumSplit = Named(new QLineEdit(this), "edNumSplit");
    QStringList items;
    for (const DialogText& t : kFileNameModes) items << Text(t, language_);
    rgTreeFileNameMode = Named(new TRadioGroup({}, items, this), "rgTreeFileNameMode");
    // Two columns.
    delete rgTreeFileNameMode->layout();
    auto* columns = new QGridLayout(rgTreeFileNameMode);
    for (int i = 0; i < rgTreeFileNameMode->count(); ++i) columns->addWidget(rgTreeFileNameMode->button(i), i / 2, i % 2);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lProcessDir, 0, 0, 1, 2);
    grid->addWidget(deProcessDir, 1, 0, 1, 2);
    grid->addWidget(lSaveDir, 2, 0, 1, 2);
    grid->addWidget(deSaveDir, 3, 0, 1, 2);
    grid->addWidget(cbAddNum, 4, 0, 1, 2);
    grid->addWidget(lNumFormat, 5, 0);
    grid->addWidget(seNumFormat, 5, 1);
    grid->addWidget(lNumSplit, 6, 0);
    grid->addWidget(edNumSplit, 6, 1);
    grid->addWidget(rgTreeFileNameMode, 7, 0, 1, 2);
    QHBoxLayout* buttons = OkCancelRow(this, bbtnOk, bbtnCancel);
    grid->addLayout(buttons, 8, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    connect(bbtnOk, &QPushButton::clicked, this, &TProcessDirForm::bbtnOkClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbAddNum, &QCheckBox::toggled, this, [this] { cbAddNumClick(); });
    ApplyTexts();
    FormCreate();
}

void TProcessDirForm::ApplyTexts() {
    const bool tree = mode_ == ProcessDirMode::Tree;
    setWindowTitle(Text({"Process Directory", tree ? "Создание дерева каталога" : "Процесс по каталогам"}, language_));
    lProcessDir->setText(Text({"Directory for Scanning:", "Каталог для сканирования:"}, language_));
    lSaveDir->setText(Text({"Directory for Writing:", "Каталог для записи:"}, language_));
    cbAddNum->setText(tree ? Text({"Add Date && Time to Tree File", "Добавлять дату и время в файл описаний"}, language_)
                           : Text({"Adding Numbers to Names in File of Description",
                                   "Добавлять номер к имени в файле описаний"},
                                  language_));
    lNumFormat->setText(Text({"Number Length:", "Длина числа:"}, language_));
    lNumSplit->setText(Text({"Splitter between Number and Name:", "Разделитель между номером и именем:"}, language_));
    rgTreeFileNameMode->setTitle(Text({" Name of Tree File: ", " Имя файла описаний: "}, language_));
    bbtnCancel->setText(Text({"Cancel", "Отмена"}, language_));
}

void TProcessDirForm::FormCreate() {
    deProcessDir->setText(ToQt(startDirectory_));
    (void)registry_.Load();  // unreadable: the key does not open and the box starts empty
    if (registry_.OpenKey(kSettingsKey, false)) {
        if (std::optional<std::string> stored = registry_.ReadString("SaveDir")) {
            storedSaveDir_ = *stored;
            deSaveDir->setText(ToQt(*stored));
        } else {
            deSaveDir->setText(ToQt(startDirectory_));
        }
        registry_.CloseKey();
    }
    const bool tree = mode_ == ProcessDirMode::Tree;
    cbAddNum->setChecked(tree ? settings_.addingDate : settings_.addingNumber);
    seNumFormat->setValue(settings_.numberFormat);
    edNumSplit->setText(ToQt(settings_.numberSplit));
    rgTreeFileNameMode->setItemIndex(settings_.treeNameMode);
    rgTreeFileNameMode->setVisible(tree);
    for (QWidget* w : {static_cast<QWidget*>(lNumFormat), static_cast<QWidget*>(seNumFormat),
                       static_cast<QWidget*>(lNumSplit), static_cast<QWidget*>(edNumSplit)})
        w->setVisible(!tree);
    cbAddNum->setEnabled(mode_ != ProcessDirMode::TranslitDescriptions);
    cbAddNumClick();
}

void TProcessDirForm::cbAddNumClick() {
    const bool on = mode_ == ProcessDirMode::Descriptions && cbAddNum->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(lNumFormat), static_cast<QWidget*>(seNumFormat),
                       static_cast<QWidget*>(lNumSplit), static_cast<QWidget*>(edNumSplit)})
        w->setEnabled(on);
}

std::string TProcessDirForm::saveDirectory() const { return FromQt(deSaveDir->text()); }

std::string TProcessDirForm::NotExists() const { return FromQt(Text(kNotExists, language_)); }

void TProcessDirForm::WriteSaveDir(const std::string& dir) {
    (void)registry_.Load();  // a file that could not be read is never saved over: Save reports it
    if (!registry_.OpenKey(kSettingsKey, true)) return;
    registry_.WriteString("SaveDir", dir);
    registry_.CloseKey();
    if (FileResult saved = registry_.Save(); !saved) prompter_.ShowMessage(Utf8ToCp1251(saved.error).text);
    else storedSaveDir_ = dir;
}

void TProcessDirForm::bbtnOkClick() {
    const std::string save = saveDirectory();
    const std::string scan = FromQt(deProcessDir->text());
    bool stay = false;
    bool saveReported = false;
    if (save != storedSaveDir_) {
        if (DirectoryExists(save)) {
            WriteSaveDir(save);
        } else {
            prompter_.ShowMessage(NotExists());
            stay = saveReported = true;
        }
    }
    if (scan != startDirectory_) {
        if (DirectoryExists(scan)) {
            changeDirectory_(scan);
            startDirectory_ = scan;
            if (!DirectoryExists(save) && !saveReported) {
                prompter_.ShowMessage(save + ": " + NotExists());
                stay = saveReported = true;
            }
        } else {
            prompter_.ShowMessage(scan + ": " + NotExists());
            stay = true;
        }
    }
    // Neither directory may be missing when the operation starts.
    if (!stay && !DirectoryExists(save)) {
        prompter_.ShowMessage(save + ": " + NotExists());
        stay = true;
    }
    if (!stay && !DirectoryExists(scan)) {
        prompter_.ShowMessage(scan + ": " + NotExists());
        stay = true;
    }
    if (mode_ == ProcessDirMode::Tree) {
        settings_.addingDate = cbAddNum->isChecked();
        if (rgTreeFileNameMode->itemIndex() >= 0)
            settings_.treeNameMode = static_cast<std::int8_t>(rgTreeFileNameMode->itemIndex());
    } else {
        settings_.addingNumber = cbAddNum->isChecked();
        settings_.numberFormat = seNumFormat->value();
        settings_.numberSplit = FromQt(edNumSplit->text());
    }
    if (!stay) accept();
}

std::string ShowProcessDirDialog(ProcessDirMode mode, int language, Prompter& prompter, RegistryStore& registry,
                                 TAppSettings& settings, const std::string& currentDirectory,
                                 const std::function<void(const std::string&)>& changeDirectory, QWidget* parent) {
    TProcessDirForm form(mode, language, prompter, registry, settings, currentDirectory, changeDirectory, parent);
    return form.exec() == QDialog::Accepted ? form.saveDirectory() : std::string();
}

}  // namespace tandrel
