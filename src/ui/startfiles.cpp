#include "ui/startfiles.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QLocalSocket>
#include <QPointer>
#include <QWidget>
#include <QtEndian>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/maskkinds.h"
#include "app/messages.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"
#include "ui/filelists.h"
#include "ui/mainform.h"

namespace tandrel {

StartArguments ParseStartArguments(const std::vector<std::string>& args) {
    StartArguments parsed;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            return {StartArguments::Action::Help, {}, {}};
        } else if (options && arg == "--version") {
            return {StartArguments::Action::Version, {}, {}};
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            // Reported once the whole line is read: --help anywhere still wins.
            if (parsed.problem.empty()) parsed.problem = "unknown option '" + arg + "'";
        } else if (!arg.empty()) {
            parsed.files.push_back(arg);
        }
    }
    if (!parsed.problem.empty()) {
        parsed.action = StartArguments::Action::UsageError;
        parsed.files.clear();
    }
    return parsed;
}

std::string StartUsage() {
    return "usage: tandrel [FILE...]\n"
           "Starts the Tandrel window. A text or playlist FILE loads into the output\n"
           "document; an audio or video FILE's folder is shown with the file selected\n"
           "and its tags; a directory is shown. When Tandrel already runs, the files\n"
           "go to its window.\n"
           "  -h, --help   this text\n"
           "  --version    the version\n"
           "  --           every later argument is a FILE\n";
}

std::string AbsoluteStartPath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    if (error) return path;
    return (cwd / path).lexically_normal().string();
}

StartFileKind ClassifyStartFile(const std::string& path) {
    if (DirectoryExists(path)) return StartFileKind::Directory;
    const std::string name = CopyAfterLastChar(path, kPathDelim);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && IsMediaMask("*" + name.substr(dot))) return StartFileKind::Media;
    return StartFileKind::Document;
}

namespace {

// The folder of an absolute path; the root for a file in it.
std::string FolderOf(const std::string& path) {
    const std::string dir = ExtractDirPart(path);
    return dir.empty() ? std::string(1, kPathDelim) : dir;
}

// A mask of the window that shows every one of names: the current mask, else
// the first media mask of the mask list that does, else "*.EXT" of the first.
std::string MaskShowing(TMainForm& window, const std::vector<std::string>& names) {
    auto showsAll = [&names](const std::string& mask) {
        if (!IsMediaMask(mask)) return false;
        for (const std::string& name : names)
            if (!MatchesMaskList(name, mask)) return false;
        return true;
    };
    if (const std::string current = window.fileMask(); showsAll(current)) return current;
    for (const std::string& mask : window.MaskList())
        if (showsAll(mask)) return mask;
    return "*." + ToLowerCase(CopyAfterLastChar(names.front(), '.'));
}

void ShowMediaFiles(TMainForm& window, const std::string& dir, const std::vector<std::string>& names) {
    const std::string mask = MaskShowing(window, names);
    if (mask != window.fileMask()) window.setFileMask(mask);
    if (!window.GoToDirectory(dir)) {
        window.setStatusText(Message(window.language(), MessageId::FileMissing) + dir);
        return;
    }
    FileListBox& list = window.fileList();
    list.setCurrentName(names.front());
    if (list.currentName() != names.front()) {
        window.setStatusText(Message(window.language(), MessageId::FileMissing) + JoinPath(dir, names.front()));
        return;
    }
    const std::vector<std::string>& shown = list.names();
    for (std::size_t i = 1; i < names.size(); ++i) {
        const auto it = std::find(shown.begin(), shown.end(), names[i]);
        if (it == shown.end()) continue;
        const QModelIndex row = list.model()->index(static_cast<int>(it - shown.begin()), 0);
        list.selectionModel()->select(row, QItemSelectionModel::Select);
    }
    // As a click on the file: its path in the status line, its tags in the panel.
    window.FilesListBoxClick();
}

}  // namespace

void OpenStartFiles(TMainForm& window, const std::vector<std::string>& paths) {
    std::string mediaDir;
    std::vector<std::string> mediaNames;
    for (const std::string& given : paths) {
        const Cp1251Text converted = Utf8ToCp1251(given);
        const std::string& path = converted.text;
        if (!converted.lossless) {
            window.setStatusText(path + ": the name holds a character outside code page 1251");
            continue;
        }
        switch (ClassifyStartFile(path)) {
            case StartFileKind::Directory:
                mediaDir.clear();
                mediaNames.clear();
                if (!window.GoToDirectory(path))
                    window.setStatusText(Message(window.language(), MessageId::FileMissing) + path);
                break;
            case StartFileKind::Media: {
                if (!FileExists(path)) {
                    window.setStatusText(Message(window.language(), MessageId::FileMissing) + path);
                    break;
                }
                const std::string dir = FolderOf(path);
                if (dir != mediaDir) {
                    mediaDir = dir;
                    mediaNames.clear();
                }
                mediaNames.push_back(CopyAfterLastChar(path, kPathDelim));
                break;
            }
            case StartFileKind::Document:
                if (!FileExists(path)) {
                    window.setStatusText(Message(window.language(), MessageId::FileMissing) + path);
                    break;
                }
                // As the "Open" command: the file's folder becomes the current
                // directory, and the document is read by its name there.
                if (FileResult moved = SetCurrentDirectory(FolderOf(path)); !moved) {
                    window.setStatusText(Utf8ToCp1251(moved.error).text);
                    break;
                }
                window.OpenOutputDocument(OpenMode::OpenDialog, path);
                break;
        }
    }
    if (!mediaNames.empty()) ShowMediaFiles(window, mediaDir, mediaNames);
}

void BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

QString StartFilesServerName(const QString& runtimeDir, const std::string& registryPath) {
    // FNV-1a of the settings file's path: short enough for a socket path.
    quint32 hash = 2166136261u;
    for (unsigned char c : registryPath) hash = (hash ^ c) * 16777619u;
    const QString dir = runtimeDir.endsWith('/') ? runtimeDir.chopped(1) : runtimeDir;
    return QStringLiteral("%1/tandrel-%2-%3").arg(dir).arg(::getuid()).arg(hash, 8, 16, QLatin1Char('0'));
}

QString DefaultStartFilesServerName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString dir = !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
    return StartFilesServerName(dir, DefaultRegistryPath());
}

QByteArray EncodeStartFiles(const std::vector<std::string>& paths) {
    QByteArray payload;
    for (const std::string& path : paths) {
        payload.append(path.data(), static_cast<qsizetype>(path.size()));
        payload.append('\0');
    }
    QByteArray message(4, '\0');
    qToBigEndian(static_cast<quint32>(payload.size()), message.data());
    return message + payload;
}

bool DecodeStartFiles(const QByteArray& message, std::vector<std::string>& paths) {
    paths.clear();
    if (message.size() < 4) return false;
    const quint32 length = qFromBigEndian<quint32>(message.constData());
    if (length > StartFilesServer::kMaxMessage || static_cast<quint64>(message.size()) != 4ull + length) return false;
    const QByteArray payload = message.mid(4);
    if (!payload.isEmpty() && !payload.endsWith('\0')) return false;
    qsizetype start = 0;
    while (start < payload.size()) {
        const qsizetype end = payload.indexOf('\0', start);
        if (end == start) {  // an empty path
            paths.clear();
            return false;
        }
        paths.emplace_back(payload.constData() + start, static_cast<std::size_t>(end - start));
        start = end + 1;
    }
    return true;
}

StartFilesServer::StartFilesServer(QObject* parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &StartFilesServer::Accept);
}

bool StartFilesServer::Listen(const QString& name) {
    QLocalServer::removeServer(name);
    return server_.listen(name);
}

void StartFilesServer::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->size() < 4) return;
            const quint32 length = qFromBigEndian<quint32>(buffer->constData());
            if (length > kMaxMessage) {
                socket->abort();
                return;
            }
            if (static_cast<quint64>(buffer->size()) < 4ull + length) return;
            std::vector<std::string> paths;
            if (!DecodeStartFiles(*buffer, paths)) {
                socket->abort();
                return;
            }
            buffer->clear();
            socket->write("1");
            socket->flush();
            socket->disconnectFromServer();
            emit filesReceived(paths);
        });
    }
}

bool HandFilesToRunningWindow(const QString& name, const std::vector<std::string>& paths, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    const QByteArray message = EncodeStartFiles(paths);
    if (socket.write(message) != message.size()) return false;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.read(1) == "1";
}

bool StartFilesServerRuns(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    const bool runs = socket.waitForConnected(1000);
    socket.abort();
    return runs;
}

}  // namespace tandrel
