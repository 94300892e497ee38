// The main window's lower panels, language and settings commands.
#include <QMessageBox>
#include <QSplitter>
#include <algorithm>

#include "app/settings.h"
#include "text/cp1251.h"
#include "ui/directoryform.h"
#include "ui/editform.h"
#include "ui/langform.h"
#include "ui/settingsform.h"
#include "ui/mainform.h"
#include "ui/uilanguage.h"

namespace tandrel {

namespace {

constexpr int kMinHeightNoPanel = 334;
constexpr int kMinHeightAdvanced = 450;
constexpr int kMinHeightTags = 520;

}  // namespace

// Only one lower panel is visible at a time: showing one hides the other, and
// the window grows or shrinks by the panels' heights.
void TMainForm::ToggleLowerPanel(const LowerPanel& panel, const LowerPanel& other) {
    const bool otherWasVisible = !other.widget->isHidden();
    const int otherHeight = other.widget->height();
    other.widget->hide();
    const bool show = panel.widget->isHidden();
    panel.widget->setVisible(show);
    if (show) {
        panel.button->setText(panel.shownCaption);
        if (otherWasVisible) other.button->setText(other.hiddenCaption);
        SetMinimumWindowHeight(panel.minHeight);
        resize(width(), height() + panel.widget->height() - (otherWasVisible ? otherHeight : 0));
    } else {
        panel.button->setText(panel.hiddenCaption);
        SetMinimumWindowHeight(kMinHeightNoPanel);
        resize(width(), height() - panel.widget->height());
    }
}

void TMainForm::btnID3ShowClick() {
    ToggleLowerPanel({tagPanel, btnID3Show, "<< ID3", "ID3 >>", kMinHeightTags},
                     {advancedSearch, searchBox->btnFindAdvancedShow, "<< Advanced", "Advanced >>", kMinHeightAdvanced});
}

void TMainForm::btnFindAdvancedShowClick() {
    ToggleLowerPanel({advancedSearch, searchBox->btnFindAdvancedShow, "<< Advanced", "Advanced >>", kMinHeightAdvanced},
                     {tagPanel, btnID3Show, "<< ID3", "ID3 >>", kMinHeightTags});
}

void TMainForm::mnLangClick() {
    if (langForm_) langForm_->exec();
}

void TMainForm::mnSettingsClick() {
    std::vector<std::string> masks = MaskList();
    const SettingsDialogContext context{prompter(), registry_, settings_, masks,
                                        fileManager->dirListBox->directory(), language()};
    if (!ShowSettingsDialog(context, kSettingsModeMain, this)) return;
    SetMaskList(masks);
    QPushButton* playList = output->bbtnPlayList;
    playList->setEnabled(!settings_.disablePlayListButton);
    QAction* findM3U = menus_["mnFindM3Unames"];
    findM3U->setEnabled(settings_.m3uDlgBox);
}

void TMainForm::mnHomeDirClick() {
    ShowHomeDirDialog(prompter(), registry_, fileManager->dirListBox->directory(), language(), this);
}

void TMainForm::mnSaveSettingsClick() {
    const SettingsFileOutcome outcome = ExportSettings(programDir_, registry_, settings_, GatherControlValues());
    if (outcome.fileFound && !outcome.result) setStatusText(Utf8ToCp1251(outcome.result.error).text);
}

void TMainForm::mnRestoreSettingsClick() {
    MainControlValues values = GatherControlValues();
    values.homeDir.reset();
    const SettingsFileOutcome outcome = ImportSettings(programDir_, registry_, settings_, values);
    if (!outcome.fileFound) return;
    if (!outcome.result) setStatusText(Utf8ToCp1251(outcome.result.error).text);
    if (values.homeDir) fileManager->dirListBox->setDirectory(*values.homeDir);
    ApplyControlValues(values);
    SelectMask(settings_.saveMaskPosition ? values.maskPosition : 0);
    edMaskChange();
}

void TMainForm::mnAboutClick() {
    const bool russian = language() == 1;
    auto* box = new QMessageBox(QMessageBox::Information,
                                russian ? QString::fromUtf8("О программе Tandrel") : QStringLiteral("About Tandrel"),
                                QString(), QMessageBox::Ok, this);
    box->setObjectName("AboutBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::RichText);
    const QString text =
        russian ? QString::fromUtf8("<b>Tandrel</b> %1<p>Каталоги, поиск, переименование и ID3-тэги "
                                    "музыкальных и видео коллекций.</p><p>Интерфейс на английском и русском "
                                    "языках (Сервис → Язык).</p>")
                : QStringLiteral("<b>Tandrel</b> %1<p>Catalogues, finds, renames and tags music and video "
                                 "collections.</p><p>Its interface speaks English and Russian "
                                 "(Service → Language).</p>");
    box->setText(text.arg(QStringLiteral(TANDREL_VERSION)));
    // Not modal to the program: the window stays usable while the box is open.
    box->open();
}

void TMainForm::mnExitClick() { close(); }

void TMainForm::ApplyLanguage(int language) {
    if (langForm_) {
        // A radio group shows an index past its end as its last item.
        const int item = std::min(language, langForm_->rgLang->count() - 1);
        if (QRadioButton* b = langForm_->rgLang->button(item)) b->setChecked(true);
    }
    settings_.currentLanguage = static_cast<std::int8_t>(language);
    if (AppliesTexts(language)) {
        ApplyQtTranslations(language);
        ApplyLanguageRows(this, MainFormTexts(), language);
        if (langForm_) ApplyLanguageRows(langForm_, LangFormTexts(), language);
    }
    if (editForm_) editForm_->ApplyLanguage(language);
    ApplyTextCopies(this, editForm_);
    // The captions that carry the output document's name keep it in every language.
    ShowDocumentName();
    FitButtonsToCaptions(this);
    // Captions of another length change the panels' minimum widths: the
    // splitters share the room out again.
    for (QSplitter* splitter : {gbRightSplitter, gbLeftSplitter, fileManager->gbFileManagerSplitter})
        splitter->setSizes(splitter->sizes());
}

}  // namespace tandrel
