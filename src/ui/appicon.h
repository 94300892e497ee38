// Tandrel's icon, drawn for the program (data/icons/tandrel.svg) and rendered
// into the hicolor sizes at build time; the windows show it.
#pragma once

#include <QIcon>

namespace tandrel {

// Every rendered size of the icon, from the program's resources.
QIcon ApplicationIcon();

}  // namespace tandrel
