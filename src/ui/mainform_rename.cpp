// The "&Rename" menu and the rename entries of the file list's pop-up menu.
#include "ui/mainform.h"
#include "ui/renamecommands.h"

namespace tandrel {

void TMainForm::WireRenameCommands() {
    auto* commands = new TRenameCommands(*this);
    struct Wire {
        const char* name;
        void (TRenameCommands::*handler)();
    };
    const Wire wires[] = {
        {"mnRenameToTranslit", &TRenameCommands::mnRenameToTranslitClick},
        {"mnRenameToLowerCase", &TRenameCommands::mnRenameToLowerCaseClick},
        {"mnRenameToUpperCase", &TRenameCommands::mnRenameToUpperCaseClick},
        {"mnRenameToUpLoCase", &TRenameCommands::mnRenameToUpLoCaseClick},
        {"mnRenameToUpFirstLettersOfArtistAndTitleLoCase",
         &TRenameCommands::mnRenameToUpFirstLettersOfArtistAndTitleLoCaseClick},
        {"mnRenameToUpFirstLetterLoCase", &TRenameCommands::mnRenameToUpFirstLetterLoCaseClick},
        {"mnRenameFromIniFileRen", &TRenameCommands::mnRenameFromIniFileRenClick},
        {"mnRenameFromIniFileDel", &TRenameCommands::mnRenameFromIniFileDelClick},
        {"mnAddCountStrToFileNames", &TRenameCommands::mnAddCountStrToFileNamesClick},
        {"mnDelFrstSymFromFileNames", &TRenameCommands::mnDelFrstSymFromFileNamesClick},
        {"mnSortDateAddCountToFileNames", &TRenameCommands::mnSortDateAddCountToFileNamesClick},
        {"mnRenExtToLowCase", &TRenameCommands::mnRenExtToLowCaseClick},
        {"mnExtChange", &TRenameCommands::mnExtChangeClick},
        {"mnSubStrChange", &TRenameCommands::mnSubStrChangeClick},
        {"pmRename", &TRenameCommands::pmRenameClick},
        {"pmRenameToTranslit", &TRenameCommands::pmRenameToTranslitClick},
        {"pmRenameToLowerCase", &TRenameCommands::pmRenameToLowerCaseClick},
        {"pmRenameToUpperCase", &TRenameCommands::pmRenameToUpperCaseClick},
        {"pmRenameToUpLoCase", &TRenameCommands::pmRenameToUpLoCaseClick},
        {"pmRenameToUpFirstLettersOfArtistAndTitleLoCase",
         &TRenameCommands::pmRenameToUpFirstLettersOfArtistAndTitleLoCaseClick},
        {"pmRenameToUpFirstLetterLoCase", &TRenameCommands::pmRenameToUpFirstLetterLoCaseClick},
    };
    for (const Wire& w : wires) {
        QAction* action = menus_[w.name];
        action->setEnabled(true);
        connect(action, &QAction::triggered, commands, w.handler);
    }
}

}  // namespace tandrel
