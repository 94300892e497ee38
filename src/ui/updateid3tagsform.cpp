#include "ui/updateid3tagsform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/language.h"
#include "tags/tagpanel.h"
#include "ui/filelists.h"
#include "ui/uilanguage.h"

namespace tandrel {

namespace {

using enum TextProperty;

const std::vector<LanguageRow>& UpdateID3tagsFormTexts() {
    static const std::vector<LanguageRow> rows = BuildLanguageRows({
        {"TUpdateID3tagsForm", Caption, -1, "Update ID3 tags", "Обновление/замена ID3 Тэгов"},
        {"gbID3tags", Caption, -1, " ID3 tags ", " ID3 Тэги "},
        {"gbID3", Caption, -1, " ID3 ", " ID3 "},
        {"lID3TrackNum", Caption, -1, "Track #", "Дорожка №"},
        {"lID3Title", Caption, -1, "Title", "Название"},
        {"lID3Artist", Caption, -1, "Artist", "Артист"},
        {"lID3Album", Caption, -1, "Album", "Альбом"},
        {"lID3Year", Caption, -1, "Year", "Год"},
        {"lID3Comment", Caption, -1, "Comment", "Коммет."},
        {"lID3Genre", Caption, -1, "Genre", "Жанр"},
        {"rgID3TagMode", Caption, -1, " Use ID3 Tag(s) ", " Использовать "},
        {"rgID3TagMode", Item, 0, "ID3v1 && ID3v2 Tags", "ID3v1 && ID3v2 Тэги"},
        {"rgID3TagMode", Item, 1, "ID3v1 Tag", "ID3v1 Тэг"},
        {"rgID3TagMode", Item, 2, "ID3v2 Tag", "ID3v2 Тэг"},
        {"bbtnOk", Caption, -1, "Ok", "Ok"},
        {"bbtnCancel", Caption, -1, "Cancel", "Отмена"},
    });
    return rows;
}

}  // namespace

TUpdateID3tagsForm::TUpdateID3tagsForm(QWidget* parent) : QDialog(parent) {
    setObjectName("TUpdateID3tagsForm");
    gbID3tags = Named(new QGroupBox(this), "gbID3tags");
    gbID3 = Named(new QGroupBox(gbID3tags), "gbID3");
    auto* grid = new QGridLayout(gbID3);
    int row = 0;
    auto field = [&](QLabel*& label, const char* labelName, QWidget* control) {
        label = Named(new QLabel(gbID3), labelName);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    };
    auto edit = [&](QLabel*& label, const char* labelName, QLineEdit*& ed, const char* name) {
        ed = Named(new QLineEdit(gbID3), name);
        field(label, labelName, ed);
    };
    edit(lID3TrackNum, "lID3TrackNum", edID3TrackNum, "edID3TrackNum");
    edit(lID3Title, "lID3Title", edID3Title, "edID3Title");
    edit(lID3Artist, "lID3Artist", edID3Artist, "edID3Artist");
    edit(lID3Album, "lID3Album", edID3Album, "edID3Album");
    edit(lID3Year, "lID3Year", edID3Year, "edID3Year");
    cbID3Genre = Named(new QComboBox(gbID3), "cbID3Genre");
    cbID3Genre->setEditable(true);
    cbID3Genre->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& entry : GenreListEntries()) cbID3Genre->addItem(ToQt(entry));
    cbID3Genre->setCurrentIndex(0);
    field(lID3Genre, "lID3Genre", cbID3Genre);
    edit(lID3Comment, "lID3Comment", edID3Comment, "edID3Comment");
    grid->setColumnStretch(1, 1);
    edID3TrackNum->setMaximumWidth(60);
    edID3Year->setMaximumWidth(80);

    rgID3TagMode = Named(new TRadioGroup(QString(), QStringList{QString(), QString(), QString()}, gbID3tags), "rgID3TagMode");
    rgID3TagMode->setItemIndex(0);
    auto* tags = new QHBoxLayout(gbID3tags);
    tags->addWidget(gbID3, 1);
    auto* modes = new QVBoxLayout;
    modes->addWidget(rgID3TagMode);
    modes->addStretch(1);
    tags->addLayout(modes);

    QHBoxLayout* buttons = OkCancelRow(this, bbtnOk, bbtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbID3tags);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    connect(bbtnOk, &QPushButton::clicked, this, &TUpdateID3tagsForm::bbtnOkClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TagFieldUpdate TUpdateID3tagsForm::Fields() const {
    TagFieldUpdate u;
    u.track = FromQt(edID3TrackNum->text());
    u.title = FromQt(edID3Title->text());
    u.artist = FromQt(edID3Artist->text());
    u.album = FromQt(edID3Album->text());
    u.year = FromQt(edID3Year->text());
    u.comment = FromQt(edID3Comment->text());
    // A typed text that is an entry selects it, as a click would.
    u.genrePosition = cbID3Genre->findText(cbID3Genre->currentText());
    u.genre = FromQt(cbID3Genre->currentText());
    return u;
}

TagUpdateMode TUpdateID3tagsForm::Mode() const {
    const int index = rgID3TagMode->itemIndex();
    return index == 1 ? TagUpdateMode::ID3v1 : index == 2 ? TagUpdateMode::ID3v2 : TagUpdateMode::Both;
}

void TUpdateID3tagsForm::bbtnOkClick() {
    bbtnOk->setEnabled(false);
    if (apply_) apply_(Fields(), Mode());
    bbtnOk->setEnabled(true);
    accept();
}

void TUpdateID3tagsForm::Execute(int language, Apply apply) {
    ApplyLanguageRows(this, UpdateID3tagsFormTexts(), language);
    FitButtonsToCaptions(this);
    apply_ = std::move(apply);
    exec();
}

}  // namespace tandrel
