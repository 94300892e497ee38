// Applying the language tables to windows' controls: their rows, the texts
// passed from control to control, and Qt's own texts.
#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QTabWidget>
#include <QTranslator>

#include "app/language.h"
#include "ui/uilanguage.h"
#include "ui/filelists.h"
#include "ui/widgets.h"

namespace tandrel {

// The translator belongs to the application, which is process-wide; it is
// loaded the first time Russian is chosen.
void ApplyQtTranslations(int language) {
    static QTranslator* russian = nullptr;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (language == kRussian && !russian) {
        auto* translator = new QTranslator(app);
        if (!translator->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete translator;  // Qt's texts stay English where the translations are not installed
            return;
        }
        russian = translator;
    }
    if (!russian) return;
    if (language == kRussian)
        QCoreApplication::installTranslator(russian);
    else
        QCoreApplication::removeTranslator(russian);
}

namespace {

QObject* FindControl(QWidget* window, const std::string& name) {
    const QString objectName = QString::fromStdString(name);
    if (window->objectName() == objectName) return window;
    // A menu and its menu-bar entry share a name; the menu holds the title.
    if (auto* menu = window->findChild<QMenu*>(objectName)) return menu;
    return window->findChild<QObject*>(objectName);
}

// The tab widget whose page the widget is, if it is one.
QTabWidget* TabOf(QObject* target) {
    auto* page = qobject_cast<QWidget*>(target);
    if (!page || !page->parentWidget()) return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget());
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

QString GetText(QObject* target, TextProperty property, int index) {
    if (!target) return {};
    if (QTabWidget* tabs = TabOf(target); tabs && property == TextProperty::Caption)
        return tabs->tabText(tabs->indexOf(static_cast<QWidget*>(target)));
    if (property == TextProperty::Hint) {
        if (auto* a = qobject_cast<QAction*>(target)) return a->toolTip();
        if (auto* w = qobject_cast<QWidget*>(target)) return w->toolTip();
        return {};
    }
    if (property == TextProperty::Item) {
        auto* group = qobject_cast<TRadioGroup*>(target);
        return group ? group->itemText(index) : QString();
    }
    if (auto* a = qobject_cast<QAction*>(target)) return a->text();
    if (auto* m = qobject_cast<QMenu*>(target)) return m->title();
    if (auto* g = qobject_cast<QGroupBox*>(target)) return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(target)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(target)) return l->text();
    if (auto* w = qobject_cast<QWidget*>(target)) return w->windowTitle();
    return {};
}

void SetText(QObject* target, TextProperty property, int index, const QString& text) {
    if (!target) return;
    if (QTabWidget* tabs = TabOf(target); tabs && property == TextProperty::Caption) {
        tabs->setTabText(tabs->indexOf(static_cast<QWidget*>(target)), text);
        return;
    }
    if (property == TextProperty::Hint) {
        if (auto* a = qobject_cast<QAction*>(target)) a->setToolTip(text);
        else if (auto* w = qobject_cast<QWidget*>(target)) w->setToolTip(text);
        return;
    }
    if (property == TextProperty::Item) {
        if (auto* group = qobject_cast<TRadioGroup*>(target)) group->setItemText(index, text);
        return;
    }
    if (auto* a = qobject_cast<QAction*>(target)) a->setText(text);
    else if (auto* m = qobject_cast<QMenu*>(target)) m->setTitle(text);
    else if (auto* g = qobject_cast<QGroupBox*>(target)) g->setTitle(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(target)) b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(target)) l->setText(text);
    else if (auto* w = qobject_cast<QWidget*>(target)) w->setWindowTitle(text);
}

}  // namespace

void ApplyLanguageRows(QWidget* window, const std::vector<LanguageRow>& rows, int language) {
    for (const LanguageRow& row : rows) {
        if (row.control == kApplicationTitleControl) continue;  // the application keeps its name
        SetText(FindControl(window, row.control), row.property, row.index, ToQt(TextFor(row, language)));
    }
}

void ApplyTextCopies(QWidget* mainWindow, QWidget* editWindow) {
    for (const TextCopy& copy : TextCopies()) {
        QWidget* window = copy.targetWindow == kEditWindowControl ? editWindow : mainWindow;
        if (!window) continue;
        const QString text = GetText(FindControl(mainWindow, copy.sourceControl), copy.sourceProperty, -1);
        SetText(FindControl(window, copy.targetControl), copy.targetProperty, -1, text);
    }
}

}  // namespace tandrel
