#include <QApplication>

#include <csignal>

#include "platform/registry.h"
#include "platform/windowlookup.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

int main(int argc, char** argv) {
    // A running window of the former program is brought to the front instead.
    if (tandrel::ActivateRunningInstance()) return 0;
    // Past a file-size limit a write then fails with EFBIG, which is reported
    // and cleaned up, instead of the signal killing the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tandrel");
    tandrel::RegistryStore registry(tandrel::DefaultRegistryPath());
    tandrel::QtDialogs dialogs;
    auto windows = tandrel::CreateAppWindows(dialogs, registry);
    dialogs.setParentWindow(windows->mainForm.get());
    windows->mainForm->show();
    const int code = QApplication::exec();
    tandrel::CloseAppWindows(windows, dialogs);
    return code;
}
