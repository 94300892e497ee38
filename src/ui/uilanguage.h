// Applying a window's language table to its controls, found by object name.
#pragma once

#include <QWidget>
#include <vector>

#include "app/language.h"

namespace tandrel {

// Sets every text of the rows in the language (1 Russian, otherwise English).
void ApplyLanguageRows(QWidget* window, const std::vector<LanguageRow>& rows, int language);

}  // namespace tandrel
