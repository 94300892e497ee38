#include <QApplication>
#include <QLockFile>

#include <csignal>
#include <cstdio>

#include "platform/registry.h"
#include "platform/windowlookup.h"
#include "ui/appicon.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"
#include "ui/startfiles.h"

int main(int argc, char** argv) {
    auto arguments = [&argc, argv] {
        return tandrel::ParseStartArguments(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    };
    // --help and --version answer without a display; Qt's own options (as
    // -platform) are taken out of the command line by QApplication below.
    if (const tandrel::StartArguments early = arguments();
        early.action == tandrel::StartArguments::Action::Help) {
        std::fputs(tandrel::StartUsage().c_str(), stdout);
        return 0;
    } else if (early.action == tandrel::StartArguments::Action::Version) {
        std::printf("tandrel %s\n", TANDREL_VERSION);
        return 0;
    }
    // A running window of the former program is brought to the front instead.
    if (tandrel::ActivateRunningInstance()) return 0;
    // Past a file-size limit a write then fails with EFBIG, which is reported
    // and cleaned up, instead of the signal killing the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    const tandrel::StartArguments start = arguments();
    if (start.action == tandrel::StartArguments::Action::UsageError) {
        std::fprintf(stderr, "tandrel: %s\n%s", start.problem.c_str(), tandrel::StartUsage().c_str());
        return 2;
    }
    QApplication::setApplicationName("Tandrel");
    QApplication::setApplicationVersion(TANDREL_VERSION);
    QApplication::setDesktopFileName("com.velmora.Tandrel");
    QApplication::setWindowIcon(tandrel::ApplicationIcon());

    // Files named here go to the Tandrel window already running, if there is
    // one; the lock keeps two starts from both becoming the first.
    std::vector<std::string> files;
    for (const std::string& file : start.files) files.push_back(tandrel::AbsoluteStartPath(file));
    const QString serverName = tandrel::DefaultStartFilesServerName();
    tandrel::StartFilesServer server;
    {
        QLockFile lock(serverName + ".lock");
        lock.tryLock(5000);
        if (!files.empty() && tandrel::HandFilesToRunningWindow(serverName, files)) return 0;
        if (!tandrel::StartFilesServerRuns(serverName) && !server.Listen(serverName))
            std::fprintf(stderr, "tandrel: files of later starts cannot be received: %s\n",
                         qPrintable(server.errorString()));
    }

    tandrel::RegistryStore registry(tandrel::DefaultRegistryPath());
    tandrel::QtDialogs dialogs;
    auto windows = tandrel::CreateAppWindows(dialogs, registry);
    dialogs.setParentWindow(windows->mainForm.get());
    windows->mainForm->show();
    tandrel::TMainForm* mainForm = windows->mainForm.get();
    QObject::connect(&server, &tandrel::StartFilesServer::filesReceived, mainForm,
                     [mainForm](const std::vector<std::string>& received) {
                         tandrel::BringToFront(*mainForm);
                         tandrel::OpenStartFiles(*mainForm, received);
                     });
    tandrel::OpenStartFiles(*mainForm, files);
    const int code = QApplication::exec();
    tandrel::CloseAppWindows(windows, dialogs);
    return code;
}
