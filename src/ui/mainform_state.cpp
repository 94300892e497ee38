// The main window's lower panels, language and settings commands.
#include <QMessageBox>

#include "app/settings.h"
#include "text/cp1251.h"
#include "ui/langform.h"
#include "ui/mainform.h"

namespace tandrel {

namespace {

constexpr int kMinHeightNoPanel = 334;
constexpr int kMinHeightAdvanced = 450;
constexpr int kMinHeightTags = 520;

}  // namespace

void TMainForm::btnID3ShowClick() {
    const bool advancedWasVisible = !advancedSearch->isHidden();
    const int advancedHeight = advancedSearch->height();
    advancedSearch->hide();
    const bool show = tagPanel->isHidden();
    tagPanel->setVisible(show);
    if (show) {
        btnID3Show->setText("<< ID3");
        if (advancedWasVisible) searchBox->btnFindAdvancedShow->setText("Advanced >>");
        SetMinimumWindowHeight(kMinHeightTags);
        resize(width(), height() + tagPanel->height() - (advancedWasVisible ? advancedHeight : 0));
    } else {
        btnID3Show->setText("ID3 >>");
        SetMinimumWindowHeight(kMinHeightNoPanel);
        resize(width(), height() - tagPanel->height());
    }
}

void TMainForm::btnFindAdvancedShowClick() {
    const bool tagsWereVisible = !tagPanel->isHidden();
    const int tagsHeight = tagPanel->height();
    tagPanel->hide();
    const bool show = advancedSearch->isHidden();
    advancedSearch->setVisible(show);
    if (show) {
        searchBox->btnFindAdvancedShow->setText("<< Advanced");
        if (tagsWereVisible) btnID3Show->setText("ID3 >>");
        SetMinimumWindowHeight(kMinHeightAdvanced);
        resize(width(), height() + advancedSearch->height() - (tagsWereVisible ? tagsHeight : 0));
    } else {
        searchBox->btnFindAdvancedShow->setText("Advanced >>");
        SetMinimumWindowHeight(kMinHeightNoPanel);
        resize(width(), height() - advancedSearch->height());
    }
}

void TMainForm::mnLangClick() {
    if (langForm_) langForm_->exec();
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
    QMessageBox::about(this, "About Tandrel",
                       QStringLiteral("<b>Tandrel</b> %1<p>Catalogues, finds, renames and tags music and video "
                                      "collections.</p>")
                           .arg(QStringLiteral(TANDREL_VERSION)));
}

void TMainForm::mnExitClick() { close(); }

}  // namespace tandrel
