#include "ui/editform.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/language.h"
#include "app/messages.h"
#include "catalog/outputdoc.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "ui/filelists.h"
#include "ui/finddialog.h"
#include "ui/uilanguage.h"
#include "ui/widgets.h"

namespace tandrel {

namespace {

using enum TextProperty;

const std::vector<LanguageRow>& EditFormTexts() {
    static const std::vector<LanguageRow> rows = BuildLanguageRows({
        {"mnFile", Caption, -1, "&File", "&Файл"},
        {"mnSave", Caption, -1, "&Save", "&Сохранить"},
        {"mnSaveAs", Caption, -1, "Save &As...", "Сохранить &как..."},
        {"mnExit", Caption, -1, "E&xit", "Вы&ход"},
        {"mnEdit", Caption, -1, "&Edit", "&Редактирование"},
        {"mnFind", Caption, -1, "&Find...", "&Поиск..."},
        {"mnFindText", Caption, -1, "Find &Text...", "Поиск &Текста..."},
        {"mnSortLines", Caption, -1, "Sort Lines", "Сортировать линии"},
        {"mnSortByPath", Caption, -1, "Sort By &Path", "Сортировать по Пути"},
    });
    return rows;
}

const char* kSaveFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";

}  // namespace

TFindForm::TFindForm(int language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TFindForm");
    setWindowTitle("Find text");
    setModal(true);
    auto* group = Named(new QGroupBox("Text Finder", this), "gbTextFinder");
    auto* row = new QHBoxLayout(group);
    row->addWidget(Named(new QLabel("Find:", group), "lFind"));
    edFind = Named(new QLineEdit(group), "edFind");
    row->addWidget(edFind, 1);
    bbtnFind = Named(new QPushButton(language == kRussian ? QString::fromUtf8("&Найти") : "&Find", this), "bbtnFind");
    bbtnFind->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(bbtnFind, 0, Qt::AlignRight);
    connect(bbtnFind, &QPushButton::clicked, this, &QDialog::accept);
}

TEditForm::TEditForm(Links links, QWidget* parent) : QMainWindow(parent), links_(std::move(links)) {
    setObjectName("TEditForm");
    reOutput = Named(new QPlainTextEdit(this), "reOutput");
    reOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    reOutput->installEventFilter(this);
    setCentralWidget(reOutput);
    resize(400, 300);

    struct Item { QAction*& action; const char* menu; const char* name; const char* caption; const char* key;
                  void (TEditForm::*handler)(); };
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnFile");
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnEdit");
    const Item items[] = {
        {mnSave, "file", "mnSave", "&Save", "Ctrl+S", &TEditForm::mnSaveClick},
        {mnSaveAs, "file", "mnSaveAs", "Save &As...", "F2", &TEditForm::mnSaveAsClick},
        {mnExit, "file", "mnExit", "E&xit", "Ctrl+F4", nullptr},
        {mnFind, "edit", "mnFind", "&Find...", "Ctrl+F", &TEditForm::mnFindClick},
        {mnFindText, "edit", "mnFindText", "Find &Text...", "F3", &TEditForm::mnFindTextClick},
        {mnSortLines, "edit", "mnSortLines", "Sort Lines", "", &TEditForm::mnSortLinesClick},
        {mnSortByPath, "edit", "mnSortByPath", "Sort By &Path", "F5", &TEditForm::mnSortByPathClick},
    };
    for (const Item& i : items) {
        i.action = Named(new QAction(i.caption, this), i.name);
        if (*i.key) i.action->setShortcut(QKeySequence(i.key));
        (std::string(i.menu) == "file" ? file : edit)->addAction(i.action);
        if (i.handler) connect(i.action, &QAction::triggered, this, i.handler);
    }
    connect(mnExit, &QAction::triggered, this, &QWidget::close);
    connect(reOutput, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_) saved_ = false;  // reOutputChange
    });

    // The stored bounds. A settings file that cannot be read has been reported
    // at start; the window then keeps its built-in bounds.
    RegistryStore& registry = links_.registry;
    (void)registry.Load();
    if (registry.OpenKey(kSettingsKey, false)) {
        const int top = registry.ReadInteger("EditTop").value_or(0);
        const int left = registry.ReadInteger("EditLeft").value_or(0);
        const int height = registry.ReadInteger("EditHeight").value_or(0);
        const int width = registry.ReadInteger("EditWidth").value_or(0);
        if (width > 0 && height > 0) setGeometry(left, top, width, height);
        registry.CloseKey();
    }
    saved_ = false;
}

TEditForm::~TEditForm() {
    // The bounds are a convenience: a settings file that cannot be read or
    // written is reported by the main window's exit save, which follows.
    RegistryStore& registry = links_.registry;
    (void)registry.Load();
    if (registry.OpenKey(kSettingsKey, true)) {
        const QRect g = geometry();
        registry.WriteInteger("EditTop", g.top());
        registry.WriteInteger("EditLeft", g.left());
        registry.WriteInteger("EditHeight", g.height());
        registry.WriteInteger("EditWidth", g.width());
        registry.CloseKey();
        (void)registry.Save();
    }
}

void TEditForm::ApplyLanguage(int language) {
    if (AppliesTexts(language)) ApplyLanguageRows(this, EditFormTexts(), language);
}

void TEditForm::showEvent(QShowEvent* event) {
    setWindowTitle(ToQt(Message(links_.language(), MessageId::EditFilePrefix) + fileName_));
    savePath_ = fileName_;
    QMainWindow::showEvent(event);
}

void TEditForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) findPosition_ = 0;
    QMainWindow::changeEvent(event);
}

bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == reOutput && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TEditForm::closeEvent(QCloseEvent* event) {
    CloseQuery();
    event->accept();
}

bool TEditForm::CloseQuery() {
    if (!saved_ && !lines().empty() &&
        links_.prompter.AskYesNo(Message(links_.language(), MessageId::NotSaved)))
        mnSaveAsClick();
    return true;
}

void TEditForm::clearText() {
    loading_ = true;
    reOutput->clear();
    loading_ = false;
    saved_ = false;
    origin_ = TextOrigin{};
}

void TEditForm::setLines(const std::vector<std::string>& lines) {
    reOutput->setPlainText(ToQt(JoinTextLines(lines)));
}

bool TEditForm::loadFile(const std::string& path) {
    std::vector<std::string> lines;
    TextOrigin origin;
    if (!FileExists(path) || !ReadTextDocument(path, lines, origin)) return false;
    origin_ = std::move(origin);
    loading_ = true;
    setLines(lines);
    loading_ = false;
    saved_ = true;
    return true;
}

void TEditForm::appendLine(const std::string& line) {
    reOutput->appendPlainText(ToQt(line));
    saved_ = false;
}

std::vector<std::string> TEditForm::lines() const { return SplitTextLines(FromQt(reOutput->toPlainText())); }

bool TEditForm::WriteTo(const std::string& path) {
    const std::vector<std::string> current = lines();
    if (!ConfirmCharacterLoss(links_.prompter, links_.language(), current, origin_)) return false;
    if (FileResult written = WriteTextDocument(path, current, origin_); !written) {
        links_.prompter.ShowMessage(path + ": " + Utf8ToCp1251(written.error).text);
        return false;
    }
    saved_ = true;
    return true;
}

void TEditForm::mnSaveClick() {
    const int language = links_.language();
    if (FileExists(savePath_)) {
        switch (links_.prompter.AskYesNoCancel(ReplaceQuestion(language, savePath_))) {
            case YesNoCancel::Yes:
                WriteTo(savePath_);
                break;
            case YesNoCancel::No:
                fileName_ = savePath_;
                mnSaveAsClick();
                break;
            case YesNoCancel::Cancel:
                break;
        }
        return;
    }
    WriteTo(savePath_);
}

void TEditForm::mnSaveAsClick() {
    const std::optional<std::string> chosen = links_.prompter.SaveFileDialog("", CurrentDirectory(), fileName_, kSaveFilter);
    if (!chosen) return;
    savePath_ = *chosen;
    WriteTo(savePath_);
}

void TEditForm::mnFindClick() {
    if (!findDialog_) {
        findDialog_ = new FindDialog(this);
        connect(findDialog_, &FindDialog::find, this, &TEditForm::FindDialogFind);
    }
    findDialog_->show();
    findDialog_->raise();
}

void TEditForm::FindDialogFind(const QString& text, bool matchCase) {
    const std::string content = FromQt(reOutput->toPlainText());
    if (std::optional<TextSelection> hit = FindStep(content, FromQt(text), matchCase, findPosition_)) {
        QTextCursor cursor = reOutput->textCursor();
        cursor.setPosition(hit->start);
        cursor.setPosition(hit->start + hit->length, QTextCursor::KeepAnchor);
        reOutput->setTextCursor(cursor);
        reOutput->setFocus();
    } else {
        links_.prompter.ShowMessage(Message(links_.language(), MessageId::SearchFinished));
    }
}

void TEditForm::mnFindTextClick() {
    TFindForm form(links_.language(), this);
    form.exec();
    const std::string text = FromQt(form.edFind->text());
    if (text.empty() || text == " ") return;
    links_.prompter.ShowMessage(std::to_string(FindTextPosition(links_.outputText(), text)));
}

void TEditForm::mnSortLinesClick() {
    std::vector<std::string> sorted = lines();
    SortLines(sorted);
    setLines(sorted);
}

void TEditForm::mnSortByPathClick() {
    const std::vector<std::string> current = lines();
    if (current.empty()) return;
    setLines(SortByPath(current));
    saved_ = false;
}

}  // namespace tandrel
