// The three windows that live for the whole run, created in order: the main
// window, the editor window, the language dialog.
#pragma once

#include <memory>

#include "ui/editform.h"
#include "ui/langform.h"
#include "ui/mainform.h"

namespace tandrel {

class RegistryStore;
class Prompter;

struct AppWindows {
    // Destroyed in reverse order: the dialog, the editor, then the main window.
    std::unique_ptr<TMainForm> mainForm;
    std::unique_ptr<TEditForm> editForm;
    std::unique_ptr<TLangForm> langForm;
};

// dialogs answers the questions of every window (Qt dialogs, or a test script).
// A settings file that cannot be read is shown as a message once the windows exist.
std::unique_ptr<AppWindows> CreateAppWindows(Prompter& dialogs, RegistryStore& registry);

// Closes the windows as at program exit (the main window saves the settings)
// and shows a message when the settings file could not be written.
void CloseAppWindows(std::unique_ptr<AppWindows>& windows, Prompter& dialogs);

}  // namespace tandrel
