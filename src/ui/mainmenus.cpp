#include "ui/mainmenus.h"

namespace tandrel {

namespace {

struct Entry {
    const char* menu;      // owning menu; a name starting with "-" is a separator
    const char* name;
    const char* caption;
    const char* shortcut;  // "" for none
};

// Menus in menu-bar order, then the pop-up menus.
constexpr const char* kBarMenus[][2] = {
    {"mnFile", "&File"}, {"mnEdit", "&Edit"},     {"mnM3U", "M&3U"},  {"mnSearch", "Search"},
    {"mnCreate", "&Create"}, {"mnRename", "&Rename"}, {"mnService", "&Service"},
};
constexpr const char* kPopupMenus[] = {"FilesListBoxPopupMenu", "DirListBoxPopupMenu", "CheckListBoxPopupMenu"};

constexpr Entry kEntries[] = {
    {"mnFile", "mnOpen", "&Open...", "Ctrl+O"},
    {"mnFile", "mnOpenWin", "Open in &Window......", "Ctrl+W"},
    {"mnFile", "mnSave", "&Save", "Ctrl+S"},
    {"mnFile", "mnSaveAs", "Save &As...", "F2"},
    {"mnFile", "-", "", ""},
    {"mnFile", "mnExit", "E&xit", "F10"},
    {"mnEdit", "mnSortLines", "Sort Lines", ""},
    {"mnEdit", "-", "", ""},
    {"mnEdit", "mnPasteFromClipboard", "Paste from &Clipboard", "Ctrl+C"},
    {"mnM3U", "mnGetM3Uinf", "Get info-names from M3U", "F5"},
    {"mnM3U", "mnGetM3Unames", "Get mp3-names from M3U", "F6"},
    {"mnM3U", "mnFindM3Unames", "Find mp3-names from M3U", ""},
    {"mnM3U", "mnGetMP3files", "Get mp3(avi,mpg)-names from Directory", "F7"},
    {"mnM3U", "mnGetM3UnamesAndSaveToFile", "Get mp3-names from M3U && Save To File", "F8"},
    {"mnSearch", "mnFind", "&Find...", "Ctrl+F"},
    {"mnSearch", "mnFindDir", "Find Directory", ""},
    {"mnSearch", "mnFindlocal", "Find from local-file...", ""},
    {"mnSearch", "mnSynonyms", "Synonyms...", ""},
    {"mnCreate", "mnProcessDirs", "Processing Directories - Make Descriptions...", "F9"},
    {"mnCreate", "mnProcessRenFiles", "Processing Rename Files to Translit && Correct Description...", "Ctrl+F9"},
    {"mnCreate", "mnMakeTree", "Make Tree of Directory...", "Ctrl+F10"},
    {"mnRename", "mnRenameToTranslit", "Rename RU-FileNames to &Translit All", "Ctrl+F1"},
    {"mnRename", "mnRenameToLowerCase", "Rename FileNames to &LowerCase All", "Ctrl+F2"},
    {"mnRename", "mnRenameToUpperCase", "Rename FileNames to &UPPERCase All", "Ctrl+F3"},
    {"mnRename", "mnRenameToUpLoCase", "Rename FileNames - &Begin from Up Letter All", "Ctrl+F4"},
    {"mnRename", "mnRenameToUpFirstLettersOfArtistAndTitleLoCase",
     "Rename FileNames - begin from upper letters of Artist and Title", "Ctrl+F5"},
    {"mnRename", "mnRenameToUpFirstLetterLoCase", "Rename FileNames - Begin from Upper Letter of string", ""},
    {"mnRename", "-", "", ""},
    {"mnRename", "mnAddCountStrToFileNames", "Adding Numbering && String To FileName(s)...", "Ctrl+F6"},
    {"mnRename", "mnDelFrstSymFromFileNames", "Deleting First Symbols From FileName(s)...", "Ctrl+F8"},
    {"mnRename", "mnSortDateAddCountToFileNames", "Sort Files on Dates && Adding Numbering To FileName(s)...", ""},
    {"mnRename", "mnRenExtToLowCase", "Rename Extensions To Lowercase", "Shift+F9"},
    {"mnRename", "mnExtChange", "Change Extensions...", ""},
    {"mnRename", "mnSubStrChange", "Change Substring...", ""},
    {"mnRename", "-", "", ""},
    {"mnRename", "mnRenameFromIniFileRen", "Rename All From Ini-File [renamed]", ""},
    {"mnRename", "mnRenameFromIniFileDel", "Rename All From Ini-File [deleted]", ""},
    {"mnRename", "mnRepairNames", "Repair Legacy File Names...", ""},
    {"mnRename", "mnRepairNamesBack", "Rename All From Ini-File [names]", ""},
    // Ctrl+O opens a file; the settings dialog is reached through the menu.
    {"mnService", "mnSettings", "Settings...", ""},
    {"mnService", "mnLang", "&Language...", "Ctrl+L"},
    {"mnService", "mnHomeDir", "Home &Directory...", "Ctrl+D"},
    {"mnService", "mnFromID3RenameOptions", "From ID3 Rename Options...", ""},
    {"mnService", "mnRepairTags", "Repair ID3v2 Tag Text...", ""},
    {"mnService", "-", "", ""},
    {"mnService", "mnSaveSettings", "Save Settings", ""},
    {"mnService", "mnRestoreSettings", "Restore Settings", ""},
    {"mnService", "-", "", ""},
    {"mnService", "mnAbout", "&About...", ""},
    {"FilesListBoxPopupMenu", "pmPlay", "Play", ""},
    {"FilesListBoxPopupMenu", "pmLineFile00", "", ""},
    {"FilesListBoxPopupMenu", "pmWordsSearch", "Words Search", ""},
    {"FilesListBoxPopupMenu", "pmCopyWordsToFind", "Copy words to String for Find", ""},
    {"FilesListBoxPopupMenu", "pmCopyFile", "Copy File(s)...", "F5"},
    {"FilesListBoxPopupMenu", "pmLineFile01", "", ""},
    {"FilesListBoxPopupMenu", "pmRename", "Rename", "F6"},
    {"pmRenameFiles", "pmRenameToTranslit", "Rename RU-FileName(s) to &Translit", ""},
    {"pmRenameFiles", "pmRenameToLowerCase", "Rename FileName(s) to &LowerCase", ""},
    {"pmRenameFiles", "pmRenameToUpperCase", "Rename FileName(s) to &UPPERCase", ""},
    {"pmRenameFiles", "pmRenameToUpLoCase", "Rename FileName(s) - &Begin from Upper Letter", ""},
    {"pmRenameFiles", "pmRenameToUpFirstLettersOfArtistAndTitleLoCase",
     "Rename FileName(s) - begin from upper letters of Artist and Title", ""},
    {"pmRenameFiles", "pmRenameToUpFirstLetterLoCase", "Rename FileName(s) - Begin from Upper Letter of string", ""},
    {"DirListBoxPopupMenu", "pmGoToDir", "Go To Directory...", ""},
    {"CheckListBoxPopupMenu", "pmShowID3tags", "Show ID3 Tags", ""},
    {"CheckListBoxPopupMenu", "pmPlayList", "Play List", ""},
    {"CheckListBoxPopupMenu", "pmAddPlayList", "Add to List in WinAmp", ""},
    {"CheckListBoxPopupMenu", "pmToClipBoard", "Copy to Clipboard", ""},
    {"CheckListBoxPopupMenu", "pmCheckedToClipBoard", "Copy Checked To Clipboard", ""},
    {"CheckListBoxPopupMenu", "pmCopyFiles", "Copy Files...", ""},
    {"CheckListBoxPopupMenu", "pmDownloadFile", "Download File (through iexprorer)", ""},
};

// Entries hidden until a media mask shows them.
constexpr const char* kHiddenAtFirst[] = {"pmPlay", "pmCopyFile"};

}  // namespace

MainMenus BuildMainMenus(QWidget* window, QMenuBar* menuBar) {
    MainMenus m;
    for (const auto& [name, caption] : kBarMenus) {
        QMenu* menu = menuBar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        m.menus.insert(QString::fromLatin1(name), menu);
    }
    for (const char* name : kPopupMenus) {
        auto* menu = new QMenu(window);
        menu->setObjectName(QString::fromLatin1(name));
        m.menus.insert(QString::fromLatin1(name), menu);
    }
    int separators = 0;
    for (const Entry& e : kEntries) {
        const QString menuName = QString::fromLatin1(e.menu);
        if (menuName == "pmRenameFiles" && !m.menus.contains(menuName)) {
            QMenu* sub = m.menus["FilesListBoxPopupMenu"]->addMenu("Rename File(s)");
            sub->setObjectName("pmRenameFiles");
            sub->menuAction()->setObjectName("pmRenameFiles");
            m.menus.insert(menuName, sub);
        }
        QMenu* menu = m.menus.value(menuName);
        const QString name = QString::fromLatin1(e.name);
        QAction* action = nullptr;
        if (name == "-" || name.startsWith("pmLineFile")) {
            action = menu->addSeparator();
            action->setObjectName(name == "-" ? QStringLiteral("separator%1").arg(++separators) : name);
        } else {
            action = new QAction(QString::fromUtf8(e.caption), window);
            action->setObjectName(name);
            if (*e.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
            action->setEnabled(false);
            menu->addAction(action);
            // Pop-up shortcuts act where their control has the focus: the window
            // adds those entries to that control.
            if (name.startsWith("pm")) action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            else window->addAction(action);
        }
        m.actions.insert(action->objectName(), action);
    }
    for (const char* name : kHiddenAtFirst) m.actions.value(QString::fromLatin1(name))->setVisible(false);
    return m;
}

}  // namespace tandrel
