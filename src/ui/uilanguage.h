// Applying a window's language table to its controls, found by object name.
#pragma once

#include <QWidget>
#include <vector>

#include "app/language.h"

namespace tandrel {

// Sets every text of the rows in the language (1 Russian, otherwise English).
void ApplyLanguageRows(QWidget* window, const std::vector<LanguageRow>& rows, int language);
// Qt's own texts (the standard buttons of message boxes, the file dialogs)
// follow the program's language.
void ApplyQtTranslations(int language);
// The texts one control of the main window passes on to another control, of
// the main window or of the editor window (which may be null).
void ApplyTextCopies(QWidget* mainWindow, QWidget* editWindow);

}  // namespace tandrel
