#include <QApplication>

#include "platform/registry.h"
#include "platform/windowlookup.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

int main(int argc, char** argv) {
    // A running window of the former program is brought to the front instead.
    if (tandrel::ActivateRunningInstance()) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tandrel");
    tandrel::RegistryStore registry(tandrel::DefaultRegistryPath());
    tandrel::QtDialogs dialogs;
    auto windows = tandrel::CreateAppWindows(dialogs, registry);
    dialogs.setParentWindow(windows->mainForm.get());
    windows->mainForm->show();
    return QApplication::exec();
}
