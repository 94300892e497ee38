#include "ui/fromid3renameoptionsform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "app/language.h"
#include "app/prompts.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "text/strings.h"
#include "ui/filelists.h"
#include "ui/uilanguage.h"

namespace tandrel {

namespace {

using enum TextProperty;

const std::vector<LanguageRow>& FromID3RenameOptionsFormTexts() {
    static const std::vector<LanguageRow> rows = BuildLanguageRows({
        {"TFromID3RenameOptionsForm", Caption, -1, "From ID3 Rename Options", "Опции переименования из ID3 Тэгов"},
        {"gbID3tags", Caption, -1, " ID3 tags ", " ID3 Тэги "},
        {"rgID3TagMode", Caption, -1, " Use ID3 Tag(s) ", " Использовать "},
        {"rgID3TagMode", Item, 0, "ID3v1 && ID3v2 Tags", "ID3v1 && ID3v2 Тэги"},
        {"rgID3TagMode", Item, 1, "ID3v1 Tag", "ID3v1 Тэг"},
        {"rgID3TagMode", Item, 2, "ID3v2 Tag", "ID3v2 Тэг"},
        {"gbID3v1", Caption, -1, " ID3v1 ", " ID3v1 "},
        {"gbID3v2", Caption, -1, " ID3v2 ", " ID3v2 "},
        {"cbID3v1TrackNum", Caption, -1, "Track Number", "Номер трэка"},
        {"cbID3v1Artist", Caption, -1, "Artist", "Артист"},
        {"cbID3v1Title", Caption, -1, "Title", "Название"},
        {"cbID3v1Album", Caption, -1, "Album", "Альбом"},
        {"cbID3v1Year", Caption, -1, "Year", "Год"},
        {"cbID3v2TrackNum", Caption, -1, "Track Number", "Номер трэка"},
        {"cbID3v2Artist", Caption, -1, "Artist", "Артист"},
        {"cbID3v2Title", Caption, -1, "Title", "Название"},
        {"cbID3v2Album", Caption, -1, "Album", "Альбом"},
        {"cbID3v2Year", Caption, -1, "Year", "Год"},
        {"bbtnID3v1CheckAll", Hint, -1, "Check All", "Пометить все"},
        {"bbtnID3v2CheckAll", Hint, -1, "Check All", "Пометить все"},
        {"bbtnID3v1UnCheckAll", Hint, -1, "UnCheck All", "Снять пометки"},
        {"bbtnID3v2UnCheckAll", Hint, -1, "UnCheck All", "Снять пометки"},
        {"lNumFormat", Caption, -1, "Number Length:", "Длина числа:"},
        {"sbtnAddSymbol", Hint, -1, "Add Split", "Добавить разделитель"},
        {"sbtnDelSymbol", Hint, -1, "Delete Split", "Удалить разделитель"},
        {"lBasicSplit", Caption, -1, "Basic Split:", "Основной разделитель:"},
        {"btnRenOptions", Caption, -1, "Rename Options...", "Опции переименования..."},
        {"bbtnOk", Caption, -1, "Ok", "Ok"},
        {"bbtnCancel", Caption, -1, "Cancel", "Отмена"},
    });
    return rows;
}

const char* const kFieldSuffixes[kNameFieldCount] = {"TrackNum", "Artist", "Title", "Album", "Year"};

QPushButton* GroupButton(QWidget* parent, const char* name, const QString& symbol) {
    auto* b = Named(new QPushButton(symbol, parent), name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TFromID3RenameOptionsForm::TFromID3RenameOptionsForm(RegistryStore& registry, Prompter& prompter,
                                                     std::function<void(QWidget*)> renameOptions, QWidget* parent)
    : QDialog(parent), registry_(registry), prompter_(prompter), renameOptions_(std::move(renameOptions)) {
    setObjectName("TFromID3RenameOptionsForm");
    BuildLayout();

    connect(rgID3TagMode, &TRadioGroup::itemClicked, this, [this] { rgID3TagModeClick(); });
    for (auto* boxes : {&v1Boxes, &v2Boxes})
        for (QCheckBox* box : *boxes) connect(box, &QCheckBox::toggled, this, [this, box] { FieldBoxClick(box); });
    connect(bbtnID3v1CheckAll, &QPushButton::clicked, this, [this] { CheckAllClick(0); });
    connect(bbtnID3v2CheckAll, &QPushButton::clicked, this, [this] { CheckAllClick(1); });
    connect(bbtnID3v1UnCheckAll, &QPushButton::clicked, this, [this] { UnCheckAllClick(0); });
    connect(bbtnID3v2UnCheckAll, &QPushButton::clicked, this, [this] { UnCheckAllClick(1); });
    connect(sbtnAddSymbol, &QToolButton::clicked, this, &TFromID3RenameOptionsForm::sbtnAddSymbolClick);
    connect(sbtnDelSymbol, &QToolButton::clicked, this, &TFromID3RenameOptionsForm::sbtnDelSymbolClick);
    connect(btnRenOptions, &QPushButton::clicked, this, &TFromID3RenameOptionsForm::btnRenOptionsClick);
    connect(bbtnOk, &QPushButton::clicked, this, &TFromID3RenameOptionsForm::bbtnOkClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFromID3RenameOptionsForm::BuildLayout() {
    auto* column = new QVBoxLayout(this);
    gbID3tags = Named(new QGroupBox(this), "gbID3tags");
    auto* tags = new QGridLayout(gbID3tags);
    rgID3TagMode = Named(new TRadioGroup(QString(), QStringList{QString(), QString(), QString()}, gbID3tags), "rgID3TagMode");
    tags->addWidget(rgID3TagMode, 0, 0, 1, 2);
    struct Group {
        QGroupBox*& box;
        const char* name;
        const char* prefix;
        std::array<QCheckBox*, kNameFieldCount>& checks;
        QPushButton*& checkAll;
        const char* checkAllName;
        QPushButton*& unCheckAll;
        const char* unCheckAllName;
    };
    const Group groups[] = {
        {gbID3v1, "gbID3v1", "cbID3v1", v1Boxes, bbtnID3v1CheckAll, "bbtnID3v1CheckAll", bbtnID3v1UnCheckAll,
         "bbtnID3v1UnCheckAll"},
        {gbID3v2, "gbID3v2", "cbID3v2", v2Boxes, bbtnID3v2CheckAll, "bbtnID3v2CheckAll", bbtnID3v2UnCheckAll,
         "bbtnID3v2UnCheckAll"},
    };
    int column0 = 0;
    for (const Group& g : groups) {
        g.box = Named(new QGroupBox(gbID3tags), g.name);
        auto* grid = new QGridLayout(g.box);
        for (int f = 0; f < kNameFieldCount; ++f) {
            const std::string name = std::string(g.prefix) + kFieldSuffixes[f];
            QCheckBox* check = Named(new QCheckBox(g.box), name.c_str());
            g.checks[static_cast<std::size_t>(f)] = check;
            grid->addWidget(check, f, 0, 1, 2);
        }
        // The buttons of a group are inside it: they follow its enabled state.
        g.checkAll = GroupButton(g.box, g.checkAllName, QString::fromUtf8("\u2611"));
        g.unCheckAll = GroupButton(g.box, g.unCheckAllName, QString::fromUtf8("\u2610"));
        grid->addWidget(g.checkAll, kNameFieldCount, 0);
        grid->addWidget(g.unCheckAll, kNameFieldCount, 1);
        tags->addWidget(g.box, 1, column0++);
    }
    column->addWidget(gbID3tags);

    edFileFormat = Named(new QLineEdit(this), "edFileFormat");
    edFileFormat->setReadOnly(true);
    column->addWidget(edFileFormat);

    auto* options = new QGridLayout;
    lNumFormat = Named(new QLabel(this), "lNumFormat");
    seNumFormat = Named(new QSpinBox(this), "seNumFormat");
    seNumFormat->setRange(1, kMaxNumberWidth);
    seNumFormat->setValue(2);
    edSymbol = Named(new QLineEdit("-", this), "edSymbol");
    sbtnAddSymbol = Named(new QToolButton(this), "sbtnAddSymbol");
    sbtnAddSymbol->setText("+");
    sbtnDelSymbol = Named(new QToolButton(this), "sbtnDelSymbol");
    sbtnDelSymbol->setText("-");
    lBasicSplit = Named(new QLabel(this), "lBasicSplit");
    edBasicSplit = Named(new QLineEdit("_", this), "edBasicSplit");
    options->addWidget(lNumFormat, 0, 0);
    options->addWidget(seNumFormat, 0, 1);
    auto* symbol = new QHBoxLayout;
    symbol->addWidget(edSymbol, 1);
    symbol->addWidget(sbtnAddSymbol);
    symbol->addWidget(sbtnDelSymbol);
    options->addLayout(symbol, 0, 2);
    options->addWidget(lBasicSplit, 1, 0);
    options->addWidget(edBasicSplit, 1, 1, 1, 2);
    column->addLayout(options);

    QHBoxLayout* buttons = OkCancelRow(this, bbtnOk, bbtnCancel);
    btnRenOptions = Named(new QPushButton(this), "btnRenOptions");
    btnRenOptions->setAutoDefault(false);
    buttons->insertWidget(0, btnRenOptions);
    column->addLayout(buttons);

    // The design state: both tags, nothing checked.
    rgID3TagMode->setItemIndex(0);
}

void TFromID3RenameOptionsForm::ApplyTexts(int language) {
    ApplyLanguageRows(this, FromID3RenameOptionsFormTexts(), language);
    FitButtonsToCaptions(this);
}

bool TFromID3RenameOptionsForm::Execute(int language) {
    ApplyTexts(language);
    FormCreate();
    return exec() == QDialog::Accepted;
}

void TFromID3RenameOptionsForm::FormCreate() {
    // A file that cannot be read opens no key: the controls keep their design values.
    (void)registry_.Load();
    if (!registry_.OpenKey(kSettingsKey, false)) return;
    registry_.CloseKey();
    const TagNameOptions o = ReadTagNameOptions(registry_, TAppSettings{});
    if (o.tagMode) rgID3TagMode->setItemIndex(*o.tagMode);
    for (std::size_t f = 0; f < v1Boxes.size(); ++f) {
        // Loading sets the boxes as stored; the pattern comes from the store too.
        const QSignalBlocker block1(v1Boxes[f]), block2(v2Boxes[f]);
        v1Boxes[f]->setChecked(o.sources[f] == kSourceID3v1);
        v2Boxes[f]->setChecked(o.sources[f] == kSourceID3v2);
    }
    SetPattern(o.pattern);
    seNumFormat->setValue(o.numberWidth);
    edBasicSplit->setText(ToQt(o.basicSplit));
    rgID3TagModeClick();
}

std::string TFromID3RenameOptionsForm::Pattern() const { return FromQt(edFileFormat->text()); }

void TFromID3RenameOptionsForm::SetPattern(const std::string& pattern) { edFileFormat->setText(ToQt(pattern)); }

QCheckBox* TFromID3RenameOptionsForm::TwinOf(QCheckBox* box) const {
    for (std::size_t f = 0; f < v1Boxes.size(); ++f) {
        if (v1Boxes[f] == box) return v2Boxes[f];
        if (v2Boxes[f] == box) return v1Boxes[f];
    }
    return nullptr;
}

char TFromID3RenameOptionsForm::LetterOf(QCheckBox* box) const {
    for (std::size_t f = 0; f < v1Boxes.size(); ++f)
        if (v1Boxes[f] == box || v2Boxes[f] == box) return kNameFieldLetters[f];
    return '\0';
}

void TFromID3RenameOptionsForm::rgID3TagModeClick() {
    const int mode = rgID3TagMode->itemIndex();
    gbID3v1->setEnabled(mode != 2);
    gbID3v2->setEnabled(mode != 1);
}

void TFromID3RenameOptionsForm::FieldBoxClick(QCheckBox* box) {
    QCheckBox* twin = TwinOf(box);
    const char letter = LetterOf(box);
    if (!twin || !letter) return;
    const std::string pattern = Pattern();
    if (box->isChecked()) {
        if (!twin->isChecked()) SetPattern(pattern + letter);
        // A field has one source: the twin's own handler then keeps the letter.
        twin->setChecked(false);
    } else if (pattern.find(letter) != std::string::npos && !twin->isChecked()) {
        SetPattern(DeleteChar(pattern, letter));
    }
}

void TFromID3RenameOptionsForm::CheckAllClick(int group) {
    for (QCheckBox* box : group == 0 ? v1Boxes : v2Boxes) box->setChecked(true);
    SetPattern(kNameFieldLetters);
}

void TFromID3RenameOptionsForm::UnCheckAllClick(int group) {
    for (QCheckBox* box : group == 0 ? v1Boxes : v2Boxes) box->setChecked(false);
    SetPattern("");
}

void TFromID3RenameOptionsForm::sbtnAddSymbolClick() { SetPattern(Pattern() + FromQt(edSymbol->text())); }

void TFromID3RenameOptionsForm::sbtnDelSymbolClick() { SetPattern(DeleteSubStr(FromQt(edSymbol->text()), Pattern())); }

void TFromID3RenameOptionsForm::btnRenOptionsClick() {
    if (renameOptions_) renameOptions_(this);
}

void TFromID3RenameOptionsForm::bbtnOkClick() {
    TagNameOptions o;
    o.tagMode = std::max(0, rgID3TagMode->itemIndex());
    o.pattern = Pattern();
    for (std::size_t f = 0; f < o.sources.size(); ++f)
        o.sources[f] = v1Boxes[f]->isChecked() ? kSourceID3v1 : v2Boxes[f]->isChecked() ? kSourceID3v2 : 0;
    o.numberWidth = seNumFormat->value();
    o.basicSplit = FromQt(edBasicSplit->text());
    // Read again first, so that what others wrote meanwhile is kept; a file
    // that could not be read is not written over, and Save says so.
    (void)registry_.Load();
    if (FileResult saved = WriteTagNameOptions(registry_, o); !saved)
        prompter_.ShowMessage(Utf8ToCp1251(saved.error).text);
    accept();
}

}  // namespace tandrel
