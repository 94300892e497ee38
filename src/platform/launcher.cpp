#include "platform/launcher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "platform/files.h"
#include "platform/posix_file.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

using detail::CheckMappable;
using detail::NativePath;

QString Native(const std::string& cp1251) { return QString::fromStdString(NativePath(cp1251)); }

class DesktopLauncher : public Launcher {
public:
    FileResult StartDetached(const std::string& program, const std::vector<std::string>& args) override {
        if (FileResult r = CheckMappable("Start", program); !r) return r;
        QStringList list;
        for (const std::string& a : args) {
            if (FileResult r = CheckMappable("Start", a); !r) return r;
            list << Native(a);
        }
        QProcess process;
        process.setProgram(Native(program));
        process.setArguments(list);
        process.setStandardInputFile(QProcess::nullDevice());
        if (!process.startDetached())
            return FileResult::Failure(NativePath(program) + ": cannot start: " + process.errorString().toStdString());
        return FileResult::Success();
    }

    std::string FindProgram(const std::string& name) override {
        if (name.empty() || name.find(kUnmappableChar) != std::string::npos) return {};
        if (name.find('/') != std::string::npos) return FileExists(name) ? name : std::string{};
        return Utf8ToCp1251(QStandardPaths::findExecutable(Native(name)).toStdString()).text;
    }

    FileResult OpenDocument(const std::string& path) override {
        if (FileResult r = CheckMappable("Open", path); !r) return r;
        const QString opener = QStandardPaths::findExecutable("xdg-open");
        if (opener.isEmpty()) return FileResult::Failure("xdg-open is not installed: no program opens " + NativePath(path));
        if (!QProcess::startDetached(opener, {Native(path)}))
            return FileResult::Failure(NativePath(path) + ": xdg-open cannot be started");
        return FileResult::Success();
    }

    std::string DefaultApplicationFor(const std::string& mimeType) override {
        const QString query = QStandardPaths::findExecutable("xdg-mime");
        if (query.isEmpty()) return {};
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(query, {"query", "default", QString::fromStdString(mimeType)});
        // The query reads a few small files; a hung one must not freeze the window.
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(1000);
            return {};
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed().toStdString();
    }
};

}  // namespace

std::unique_ptr<Launcher> MakeDesktopLauncher() { return std::make_unique<DesktopLauncher>(); }

}  // namespace tandrel
