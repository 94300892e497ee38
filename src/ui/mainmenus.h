// The main menu and the pop-up menus of the main window, built from one table:
// every entry with its documented name, built-in caption and shortcut.
#pragma once

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QMenuBar>

namespace tandrel {

struct MainMenus {
    QHash<QString, QAction*> actions;  // by entry name ("mnOpen", "pmRename", ...)
    QHash<QString, QMenu*> menus;      // by menu name ("mnFile", "FilesListBoxPopupMenu", ...)

    QAction* operator[](const char* name) const { return actions.value(QString::fromLatin1(name)); }
};

// Creates the menus as children of window (entries are findable by object name)
// and fills the menu bar. Entries start disabled; wiring an entry to its command enables it.
MainMenus BuildMainMenus(QWidget* window, QMenuBar* menuBar);

}  // namespace tandrel
