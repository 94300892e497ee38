#include "ui/directoryform.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/language.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "ui/filelists.h"

namespace tandrel {

namespace {

std::string Localised(const char* english, const char* russian, int language) {
    return Utf8ToCp1251(language == kRussian ? russian : english).text;
}

const char* ValueName(DirectoryMode mode) { return mode == DirectoryMode::Home ? "HomeDir" : "SaveDir"; }

}  // namespace

TDirectoryForm::TDirectoryForm(DirectoryMode mode, Prompter& prompter, RegistryStore& registry,
                               std::string currentDirectory, int language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mode_(mode), prompter_(prompter), registry_(registry), language_(language) {
    setObjectName("TDirectoryForm");
    setModal(true);
    setWindowTitle(ToQt(mode == DirectoryMode::Home ? Localised("Home Directory", "Домашний каталог", language)
                                                    : Localised("Save to Directory...", "Записать в каталог...",
                                                                language)));
    DirectoryEdit = Named(new PathEdit(
                              [this](const QString& current) -> std::optional<QString> {
                                  if (auto dir = prompter_.DirectoryDialog("", FromQt(current))) return ToQt(*dir);
                                  return std::nullopt;
                              },
                              this),
                          "DirectoryEdit");
    DirectoryEdit->setMinimumWidth(360);
    QHBoxLayout* buttons = OkCancelRow(this, bbtnOk, bbtnCancel);
    bbtnCancel->setText(ToQt(Localised("Cancel", "Отмена", language)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DirectoryEdit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(bbtnOk, &QPushButton::clicked, this, &TDirectoryForm::bbtnOkClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate(currentDirectory);
}

void TDirectoryForm::FormCreate(const std::string& currentDirectory) {
    (void)registry_.Load();  // unreadable: the key does not open and the box starts empty
    if (!registry_.OpenKey(kSettingsKey, false)) return;  // the box stays empty
    if (std::optional<std::string> stored = registry_.ReadString(ValueName(mode_))) {
        opening_ = *stored;
        DirectoryEdit->setText(ToQt(*stored));
    } else {
        DirectoryEdit->setText(ToQt(currentDirectory));
    }
    registry_.CloseKey();
}

void TDirectoryForm::WriteValue(const std::string& text) {
    (void)registry_.Load();  // a file that could not be read is never saved over: Save reports it
    if (!registry_.OpenKey(kSettingsKey, true)) return;
    registry_.WriteString(ValueName(mode_), text);
    registry_.CloseKey();
    if (FileResult saved = registry_.Save(); !saved) prompter_.ShowMessage(Utf8ToCp1251(saved.error).text);
}

void TDirectoryForm::bbtnOkClick() {
    const std::string text = FromQt(DirectoryEdit->text());
    const std::string notExists = Localised("This Directory not exists!!!", "Такой каталог не существует!!!", language_);
    if (mode_ == DirectoryMode::Home) {
        if (text == opening_) {
            accept();
        } else if (DirectoryExists(text)) {
            WriteValue(text);
            accept();
        } else {
            prompter_.ShowMessage(notExists);
        }
        return;
    }
    if (!DirectoryExists(text)) {
        const std::string question =
            notExists + "\n\r" + Localised("Create specified Directory?", "Создать указанный каталог?", language_);
        if (!prompter_.AskYesNo(question)) return;
        if (FileResult created = CreateDirectories(text); !created) {
            prompter_.ShowMessage(text + "\n\r" + Utf8ToCp1251(created.error).text);
            return;
        }
    }
    chosen_ = text;
    if (text != opening_) WriteValue(text);
    accept();
}

void ShowHomeDirDialog(Prompter& prompter, RegistryStore& registry, const std::string& currentDirectory,
                       int language, QWidget* parent) {
    TDirectoryForm form(DirectoryMode::Home, prompter, registry, currentDirectory, language, parent);
    form.exec();
}

std::string ShowSaveDirDialog(Prompter& prompter, RegistryStore& registry, const std::string& currentDirectory,
                              int language, QWidget* parent) {
    TDirectoryForm form(DirectoryMode::Save, prompter, registry, currentDirectory, language, parent);
    return form.exec() == QDialog::Accepted ? form.chosen() : std::string();
}

}  // namespace tandrel
