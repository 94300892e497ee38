#include "ui/synonymsform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/language.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "ui/filelists.h"
#include "ui/widgets.h"

namespace tandrel {

namespace {

QString Localised(const char* english, const char* russian, int language) {
    return QString::fromUtf8(language == kRussian ? russian : english);
}

constexpr int kSynonymsColumnWidth = 320;

}  // namespace

TSynonymsForm::TSynonymsForm(std::string folder, Prompter& prompter, int language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      folder_(std::move(folder)), prompter_(prompter) {
    setObjectName("TSynonymsForm");
    setModal(true);
    setWindowTitle(Localised("Synonyms", "Синонимы", language));

    StringListView = Named(new QTreeWidget(this), "StringListView");
    StringListView->setColumnCount(2);
    StringListView->setHeaderLabels({Localised("Name", "Имя", language), Localised("Synonyms", "Синонимы", language)});
    StringListView->setRootIsDecorated(false);
    StringListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringListView->setSelectionMode(QAbstractItemView::SingleSelection);
    StringListView->setColumnWidth(1, kSynonymsColumnWidth);
    StringListView->setContextMenuPolicy(Qt::CustomContextMenu);
    StringListView->setMinimumSize(460, 240);
    edString4ListView = Named(new QLineEdit(StringListView->viewport()), "edString4ListView");
    edString4ListView->hide();

    pmList = Named(new QMenu(this), "pmList");
    pmEdit = Named(pmList->addAction(Localised("Edit", "Редактировать", language)), "pmEdit");
    pmAddCopy = Named(pmList->addAction(Localised("Add/Copy", "Добавить/Копировать", language)), "pmAddCopy");
    pmDelete = Named(pmList->addAction(Localised("Delete", "Удалить", language)), "pmDelete");
    // The keys act through the list's key handler; the menu only shows them.
    for (auto [action, key] : {std::pair{pmEdit, Qt::Key_F4}, std::pair{pmAddCopy, Qt::Key_F5},
                               std::pair{pmDelete, Qt::Key_F8}}) {
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    connect(pmEdit, &QAction::triggered, this, &TSynonymsForm::pmEditClick);
    connect(pmAddCopy, &QAction::triggered, this, &TSynonymsForm::pmAddCopyClick);
    connect(pmDelete, &QAction::triggered, this, &TSynonymsForm::pmDeleteClick);
    connect(StringListView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmList->popup(StringListView->viewport()->mapToGlobal(at)); });

    bbtnOk = Named(new QPushButton(Localised("Close", "Закрыть", language), this), "bbtnOk");
    bbtnOk->setDefault(true);
    connect(bbtnOk, &QPushButton::clicked, this, &TSynonymsForm::bbtnOkClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bbtnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringListView);
    layout->addLayout(buttons);

    StringListView->installEventFilter(this);
    edString4ListView->installEventFilter(this);
    FormCreate();
}

std::string TSynonymsForm::FilePath() const { return JoinPath(folder_, kSynonymsFileName); }

void TSynonymsForm::FormCreate() {
    const std::string path = FilePath();
    if (!FileExists(path)) return;
    std::vector<SynonymGroup> groups;
    if (FileResult read = LoadSynonymGroups(path, groups); !read) {
        unreadable_ = true;
        prompter_.ShowMessage(Utf8ToCp1251(read.error).text);
        return;
    }
    for (const SynonymGroup& g : groups)
        StringListView->addTopLevelItem(new QTreeWidgetItem(QStringList{ToQt(g.name), ToQt(g.list)}));
}

std::vector<SynonymGroup> TSynonymsForm::groups() const {
    std::vector<SynonymGroup> out;
    for (int i = 0; i < StringListView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = StringListView->topLevelItem(i);
        out.push_back({FromQt(item->text(0)), FromQt(item->text(1))});
    }
    return out;
}

void TSynonymsForm::ShowEditor(int row, int top, const QString& text) {
    editIndex_ = row;
    QHeaderView* header = StringListView->header();
    const int height = edString4ListView->sizeHint().height();
    const int lowest = StringListView->viewport()->height() - height;
    edString4ListView->setGeometry(header->sectionViewportPosition(1), std::max(0, std::min(top, lowest)),
                                   header->sectionSize(1), height);
    edString4ListView->setText(text);
    edString4ListView->show();
    edString4ListView->setFocus();
}

void TSynonymsForm::HideEditor() {
    edString4ListView->hide();
    StringListView->setFocus();
}

void TSynonymsForm::pmAddCopyClick() {
    state_ = EditState::Adding;
    const int count = StringListView->topLevelItemCount();
    if (count == 0) {
        ShowEditor(-1, 0, QString());
        return;
    }
    // A new group starts as a copy of the last one, one row below it.
    QTreeWidgetItem* last = StringListView->topLevelItem(count - 1);
    const QRect rect = StringListView->visualItemRect(last);
    ShowEditor(count - 1, rect.bottom() + 1, last->text(1));
}

void TSynonymsForm::pmEditClick() {
    QTreeWidgetItem* item = StringListView->currentItem();
    if (!item || !item->isSelected()) return;
    state_ = EditState::Editing;
    ShowEditor(StringListView->indexOfTopLevelItem(item), StringListView->visualItemRect(item).top(), item->text(1));
}

void TSynonymsForm::pmDeleteClick() {
    QTreeWidgetItem* item = StringListView->currentItem();
    if (!item || !item->isSelected()) return;
    delete item;
    state_ = EditState::None;
}

void TSynonymsForm::StringListViewKeyUp(int key) {
    switch (key) {
        case Qt::Key_F4: pmEditClick(); break;
        case Qt::Key_F5: pmAddCopyClick(); break;
        case Qt::Key_F8: pmDeleteClick(); break;
        default: break;
    }
}

void TSynonymsForm::edString4ListViewKeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
        const QString text = edString4ListView->text();
        if (state_ == EditState::Adding) {
            auto* item = new QTreeWidgetItem(QStringList{QString(), text});
            StringListView->addTopLevelItem(item);
            item->setText(0, ToQt(NewSynonymGroupName(static_cast<std::size_t>(StringListView->topLevelItemCount()))));
        } else if (state_ == EditState::Editing && editIndex_ >= 0 &&
                   editIndex_ < StringListView->topLevelItemCount()) {
            StringListView->topLevelItem(editIndex_)->setText(1, text);
        }
        HideEditor();
    } else if (key == Qt::Key_Escape) {
        HideEditor();
    }
}

void TSynonymsForm::edString4ListViewExit() { edString4ListView->hide(); }

void TSynonymsForm::bbtnOkClick() {
    // Enter in the edit box also presses the default button: its release commits the edit.
    if (edString4ListView->isVisible()) return;
    if (unreadable_) {
        prompter_.ShowMessage(FilePath() + ": the file could not be read, so it was not replaced");
        accept();
        return;
    }
    if (FileResult saved = SaveSynonymGroups(FilePath(), groups()); !saved) {
        prompter_.ShowMessage(Utf8ToCp1251(saved.error).text);  // the dialog stays open with the groups
        return;
    }
    accept();
}

void TSynonymsForm::reject() { bbtnOkClick(); }

void TSynonymsForm::keyPressEvent(QKeyEvent* event) {
    // Esc does not leave the dialog: there is no way out but "Close".
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

bool TSynonymsForm::eventFilter(QObject* watched, QEvent* event) {
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    const int key = keyEvent && !static_cast<QKeyEvent*>(event)->isAutoRepeat() ? static_cast<QKeyEvent*>(event)->key() : 0;
    if (event->type() == QEvent::KeyPress && key != 0) (watched == edString4ListView ? editKeys_ : listKeys_).Pressed(key);
    if (watched == edString4ListView) {
        if (event->type() == QEvent::KeyRelease && key != 0) {
            if (editKeys_.Released(key)) edString4ListViewKeyUp(key);
            return true;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return true;
        // Leaving the box hides it; the window losing the focus does not.
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
            edString4ListViewExit();
    } else if (watched == StringListView && event->type() == QEvent::KeyRelease && key != 0 &&
               listKeys_.Released(key)) {
        StringListViewKeyUp(key);
    }
    return QDialog::eventFilter(watched, event);
}

void SynonymsEditor(int language, const std::string& folder, Prompter& prompter, QWidget* parent) {
    TSynonymsForm form(folder, prompter, language, parent);
    form.adjustSize();
    if (QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    form.exec();
}

}  // namespace tandrel
