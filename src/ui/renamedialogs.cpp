#include "ui/renamedialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <algorithm>
#include <initializer_list>

#include "app/language.h"
#include "ui/filelists.h"
#include "ui/widgets.h"

namespace tandrel {

namespace {

// One text of a dialog: the control's objectName (nullptr for the window's
// caption), English and Russian (nullptr: as English), UTF-8.
struct DialogText {
    const char* control;
    const char* english;
    const char* russian;
};

void ApplyTexts(QDialog* dialog, std::initializer_list<DialogText> rows, int language) {
    for (const DialogText& row : rows) {
        const QString text = QString::fromUtf8(language == kRussian && row.russian ? row.russian : row.english);
        if (!row.control) {
            dialog->setWindowTitle(text);
        } else if (QObject* target = dialog->findChild<QObject*>(QString::fromLatin1(row.control))) {
            if (auto* label = qobject_cast<QLabel*>(target)) label->setText(text);
            else if (auto* button = qobject_cast<QAbstractButton*>(target)) button->setText(text);
        }
    }
}

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high) {
    auto* spin = Named(new QSpinBox(parent), name);
    spin->setRange(low, high);
    return spin;
}

// The Ok and Cancel buttons in a row below the grid.
void AddButtons(QDialog* dialog, QGridLayout* grid, QPushButton*& ok, QPushButton*& cancel) {
    grid->addLayout(OkCancelRow(dialog, ok, cancel), grid->rowCount(), 0, 1, 2);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

constexpr DialogText kOk = {"bbtnOk", "Ok", nullptr};
constexpr DialogText kCancel = {"bbtnCancel", "Cancel", "Отмена"};
constexpr DialogText kAddNum = {"cbAddNum", "Adding Numbers to File Name(s)", "Добавлять номер к имени файла(ов)"};
constexpr DialogText kNumFormat = {"lNumFormat", "Number Length:", "Длина числа:"};
constexpr DialogText kRecursiveAdding = {"cdRecursive", "Recursive Adding", "Рекурсивное добавление"};
constexpr DialogText kUseM3u = {"cbUse_m3u", "Use *.m3u-file", nullptr};

}  // namespace

void TNumberingForm::AddNumberingRows(QGridLayout* grid, int row) {
    lNumFormat = Named(new QLabel(this), "lNumFormat");
    seNumFormat = Spin(this, "seNumFormat", 1, 10);
    lNumSplit = Named(new QLabel(this), "lNumSplit");
    edNumSplit = Named(new QLineEdit(this), "edNumSplit");
    cdRecursive = Named(new QCheckBox(this), "cdRecursive");
    cbUse_m3u = Named(new QCheckBox(this), "cbUse_m3u");
    grid->addWidget(lNumFormat, row, 0);
    grid->addWidget(seNumFormat, row, 1);
    grid->addWidget(lNumSplit, row + 1, 0);
    grid->addWidget(edNumSplit, row + 1, 1);
    grid->addWidget(cdRecursive, row + 2, 0, 1, 2);
    grid->addWidget(cbUse_m3u, row + 3, 0, 1, 2);
    AddButtons(this, grid, bbtnOk, bbtnCancel);
    connect(bbtnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TNumberingForm::ShowNumbering(const TAppSettings& s) {
    cbAddNum->setChecked(s.addingNumber);
    seNumFormat->setValue(s.numberFormat);
    edNumSplit->setText(ToQt(s.numberSplit));
    cdRecursive->setChecked(s.recursiveRename);
    cbUse_m3u->setChecked(s.useM3u);
}

void TNumberingForm::TakeNumbering(TAppSettings& s) const {
    s.addingNumber = cbAddNum->isChecked();
    s.numberFormat = seNumFormat->value();
    s.numberSplit = FromQt(edNumSplit->text());
    s.recursiveRename = cdRecursive->isChecked();
    s.useM3u = cbUse_m3u->isChecked();
}

TFileAddNumForm::TFileAddNumForm(QWidget* parent) : TNumberingForm(parent) {
    setObjectName("TFileAddNumForm");
    auto* grid = new QGridLayout(this);
    cbAddNum = Named(new QCheckBox(this), "cbAddNum");
    grid->addWidget(cbAddNum, 0, 0, 1, 2);
    AddNumberingRows(grid, 1);
    connect(cbAddNum, &QCheckBox::toggled, this, [this] { cbAddNumClick(); });
}

void TFileAddNumForm::cbAddNumClick() {
    lNumFormat->setEnabled(cbAddNum->isChecked());
    seNumFormat->setEnabled(cbAddNum->isChecked());
}

bool TFileAddNumForm::Execute(int language, TAppSettings& s) {
    ApplyTexts(this,
               {{nullptr, "Adding Numbering & String to FileName(s)",
                 "Добавление нумерации и строчки к названию файла(ов)"},
                kAddNum, kNumFormat,
                {"lNumSplit", "Splitter between Number and Name:", "Разделитель между номером и именем:"},
                kRecursiveAdding, kUseM3u, kOk, kCancel},
               language);
    ShowNumbering(s);
    cbAddNumClick();
    if (exec() != QDialog::Accepted) return false;
    TakeNumbering(s);
    return true;
}

TFileDelSymForm::TFileDelSymForm(QWidget* parent) : QDialog(parent) {
    setObjectName("TFileDelSymForm");
    auto* grid = new QGridLayout(this);
    lDelFormat = Named(new QLabel(this), "lDelFormat");
    seDelFormat = Spin(this, "seDelFormat", 1, 10);
    cdRecursive = Named(new QCheckBox(this), "cdRecursive");
    grid->addWidget(lDelFormat, 0, 0);
    grid->addWidget(seDelFormat, 0, 1);
    grid->addWidget(cdRecursive, 1, 0, 1, 2);
    AddButtons(this, grid, bbtnOk, bbtnCancel);
    connect(bbtnOk, &QPushButton::clicked, this, &QDialog::accept);
}

bool TFileDelSymForm::Execute(int language, int& deleteCount, bool& recursive) {
    ApplyTexts(this,
               {{nullptr, "Deleting Begin Symbols from FileName(s)", "Удаление первых символов из имени файла(ов)"},
                {"lDelFormat", "Amount of First Symbols for Deleting:", "Количество первых символов для удаления:"},
                {"cdRecursive", "Recursive Deleting", "Рекурсивное удаление"}, kOk, kCancel},
               language);
    seDelFormat->setValue(deleteCount);
    cdRecursive->setChecked(recursive);
    if (exec() != QDialog::Accepted) return false;
    deleteCount = seDelFormat->value();
    recursive = cdRecursive->isChecked();
    return true;
}

TSortFileAddNumForm::TSortFileAddNumForm(QWidget* parent) : TNumberingForm(parent) {
    setObjectName("TSortFileAddNumForm");
    auto* grid = new QGridLayout(this);
    lBeginName = Named(new QLabel(this), "lBeginName");
    edBeginName = Named(new QLineEdit(this), "edBeginName");
    cbAddNum = Named(new QCheckBox(this), "cbAddNum");
    lBeginFrom = Named(new QLabel(this), "lBeginFrom");
    seBeginNum = Spin(this, "seBeginNum", 0, 999999999);
    cbEndNum = Named(new QCheckBox(this), "cbEndNum");
    grid->addWidget(lBeginName, 0, 0);
    grid->addWidget(edBeginName, 0, 1);
    grid->addWidget(cbAddNum, 1, 0);
    grid->addWidget(cbEndNum, 1, 1);
    grid->addWidget(lBeginFrom, 2, 0);
    grid->addWidget(seBeginNum, 2, 1);
    AddNumberingRows(grid, 3);
    connect(cbAddNum, &QCheckBox::toggled, this, [this] { cbAddNumClick(); });
    connect(seBeginNum, &QSpinBox::valueChanged, this, [this] { seBeginNumChange(); });
}

void TSortFileAddNumForm::cbAddNumClick() {
    const bool on = cbAddNum->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(cbEndNum), static_cast<QWidget*>(lBeginFrom),
                       static_cast<QWidget*>(seBeginNum), static_cast<QWidget*>(lNumFormat),
                       static_cast<QWidget*>(seNumFormat)})
        w->setEnabled(on);
}

void TSortFileAddNumForm::seBeginNumChange() {
    // The number length is never shorter than the start number.
    const int digits = static_cast<int>(QString::number(seBeginNum->value()).size());
    if (digits > seNumFormat->value()) seNumFormat->setValue(digits);
}

bool TSortFileAddNumForm::Execute(int language, TAppSettings& s, std::string& startName, long long& startNumber) {
    ApplyTexts(this,
               {{nullptr, "Adding Numbering & String to FileName(s)",
                 "Сортировка по дате и добавление нумерации к имени файла(ов)"},
                {"lBeginName", "Begin File Name:", "Начальное имя для файла:"}, kAddNum,
                {"lBeginFrom", "Begin from:", "Начать с номера:"}, {"cbEndNum", "In End", "в конец"}, kNumFormat,
                {"lNumSplit", "Splitter between Name and Number:", "Разделитель между номером и именем:"},
                kRecursiveAdding, kUseM3u, kOk, kCancel},
               language);
    edBeginName->setText(ToQt(startName));
    ShowNumbering(s);
    cbEndNum->setChecked(s.endingNumber);
    // After the number length, which the start number may lengthen.
    seBeginNum->setValue(static_cast<int>(std::clamp<long long>(startNumber, 0, 999999999)));
    cbAddNumClick();
    if (exec() != QDialog::Accepted) return false;
    startName = FromQt(edBeginName->text());
    startNumber = seBeginNum->value();
    TakeNumbering(s);
    s.endingNumber = cbEndNum->isChecked();
    return true;
}

TExtChangerForm::TExtChangerForm(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode) {
    setObjectName("TExtChangerForm");
    auto* grid = new QGridLayout(this);
    auto combo = [this](const char* name) {
        auto* box = Named(new QComboBox(this), name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        return box;
    };
    edMaskExtSource = combo("edMaskExtSource");
    lChangeTo = Named(new QLabel(this), "lChangeTo");
    edMaskExtTarget = combo("edMaskExtTarget");
    cdRecursive = Named(new QCheckBox(this), "cdRecursive");
    grid->addWidget(edMaskExtSource, 0, 0, 1, 2);
    grid->addWidget(lChangeTo, 1, 0, 1, 2);
    grid->addWidget(edMaskExtTarget, 2, 0, 1, 2);
    grid->addWidget(cdRecursive, 3, 0, 1, 2);
    AddButtons(this, grid, bbtnOk, bbtnCancel);
    connect(bbtnOk, &QPushButton::clicked, this, [this] { bbtnOkClick(); });
}

void TExtChangerForm::bbtnOkClick() {
    if (recursive_) *recursive_ = cdRecursive->isChecked();
    if (edMaskExtSource->currentText() == edMaskExtTarget->currentText()) return;
    accept();
}

bool TExtChangerForm::Execute(int language, const std::vector<std::string>& maskList, const std::string& mask,
                              bool& recursive, std::string& source, std::string& target) {
    const bool extension = mode_ == Mode::Extension;
    ApplyTexts(this,
               {extension ? DialogText{nullptr, "Extension Changer", "Смена расширений"}
                          : DialogText{nullptr, "Change Substring", "Замена подстроки"},
                {"lChangeTo", "change to:", "изменить на:"}, {"cdRecursive", "Recursive", "рекусивно"}, kOk, kCancel},
               language);
    QStringList items;
    if (extension) {
        for (const std::string& m : maskList) items.append(ToQt(m));
    } else {
        items = {"_", "-", "+"};
    }
    for (QComboBox* box : {edMaskExtSource, edMaskExtTarget}) {
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
    }
    edMaskExtSource->setEditText(extension ? ToQt(mask) : QString());
    edMaskExtTarget->setEditText(extension ? QStringLiteral("*.cd") : QString());
    cdRecursive->setChecked(recursive);
    recursive_ = &recursive;
    adjustSize();
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    const bool ok = exec() == QDialog::Accepted;
    recursive_ = nullptr;
    if (!ok) return false;
    source = FromQt(edMaskExtSource->currentText());
    target = FromQt(edMaskExtTarget->currentText());
    return true;
}

}  // namespace tandrel
