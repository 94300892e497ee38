#include "platform/launcher.h"

#include <QFile>
#include <QMimeDatabase>
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

// The command of the desktop entry app (an id such as "vlc.desktop") for a
// UTF-8 file name; empty when the entry is not found or has no usable Exec.
std::vector<std::string> DesktopEntryCommand(const std::string& app, const std::string& file) {
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, QString::fromStdString(app));
    QFile in(entry);
    if (entry.isEmpty() || !in.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = QString::fromUtf8(in.readLine()).trimmed();
        if (line.startsWith('[')) inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.startsWith("Exec="))
            return DesktopExecArguments(line.mid(5).toStdString(), file);
    }
    return {};
}

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
        // A player runs on its own: it neither reads nor writes the program's terminal.
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
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
        // A local file starts the program registered for its type; without
        // one, xdg-open would guess (a terminal, a browser): say so instead.
        if (path.find("://") == std::string::npos) {
            const std::string type = QMimeDatabase().mimeTypeForFile(Native(path)).name().toStdString();
            const std::string app = DefaultApplicationFor(type);
            if (app.empty())
                return FileResult::Failure("No program is registered to open " + type + " files (" + NativePath(path) +
                                           ")");
            const std::vector<std::string> command = DesktopEntryCommand(app, NativePath(path));
            if (!command.empty()) {
                std::vector<std::string> args(command.begin() + 1, command.end());
                for (std::string& a : args) a = Utf8ToCp1251(a).text;
                return StartDetached(Utf8ToCp1251(command.front()).text, args);
            }
        }
        QProcess process;
        process.setProgram(opener);
        process.setArguments({Native(path)});
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        if (!process.startDetached()) return FileResult::Failure(NativePath(path) + ": xdg-open cannot be started");
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

std::vector<std::string> DesktopExecArguments(const std::string& exec, const std::string& file) {
    std::vector<std::string> args;
    bool fileGiven = false;
    std::string current;
    bool inArgument = false, quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) current += exec[++i];
            else if (c == '"') quoted = false;
            else current += c;
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inArgument) args.push_back(current);
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '"') {
            quoted = true;
        } else if (c == '%' && i + 1 < exec.size()) {
            const char code = exec[++i];
            if (code == '%') {
                current += '%';
            } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
                current += file;
                fileGiven = true;
            }
            // Other field codes (%i, %c, %k and the deprecated ones) stand for nothing here.
            if (current.empty() && code != '%' && (i + 1 == exec.size() || exec[i + 1] == ' ')) inArgument = false;
        } else {
            current += c;
        }
    }
    if (quoted) return {};
    if (inArgument) args.push_back(current);
    if (args.empty()) return {};
    if (!fileGiven) args.push_back(file);
    return args;
}

std::unique_ptr<Launcher> MakeDesktopLauncher() { return std::make_unique<DesktopLauncher>(); }

}  // namespace tandrel
