// Files named on the command line of `tandrel`, as a file manager passes them,
// and their hand-over from a second start to the window already running:
// a text or playlist file loads into the output document, an audio or video
// file's folder becomes current with the file selected and its tags shown.
#pragma once

#include <QByteArray>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

namespace tandrel {

class TMainForm;

// The command line of `tandrel` taken apart (the program name not included).
struct StartArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    std::vector<std::string> files;  // as given (bytes of the file system)
    std::string problem;             // what is wrong, for UsageError
};
StartArguments ParseStartArguments(const std::vector<std::string>& args);
// The --help text (several lines, ending in a line break).
std::string StartUsage();

// A path given on the command line made absolute against the directory the
// starting process runs in (the receiving window may run elsewhere).
std::string AbsoluteStartPath(const std::string& path);

// What a file named at start becomes in the window.
enum class StartFileKind { Document, Media, Directory };
// By the name alone (cp1251 text): a directory when one exists there, media
// for the audio and video extensions of the media masks, else a document.
StartFileKind ClassifyStartFile(const std::string& path);

// Opens the files (absolute, in the file system's bytes) in the window, in
// order: each document through the "Open" command (the last one stays in the
// output document); a directory, or the folder of the last media files, becomes
// the shown directory, with the media files of that folder selected, the file
// list's mask switched to one that shows them when it does not, and the tags of
// the first one shown. A file that is missing or whose name code page 1251
// cannot hold is named in the status line.
void OpenStartFiles(TMainForm& window, const std::vector<std::string>& paths);

// Restores a minimized window, raises and activates it.
void BringToFront(QWidget& window);

// The hand-over's address: one per user and settings file, so windows that
// keep different settings do not take each other's files. runtimeDir is the
// folder of the socket (XDG_RUNTIME_DIR, else the temporary folder).
QString StartFilesServerName(const QString& runtimeDir, const std::string& registryPath);
// The name for the settings file in use (DefaultRegistryPath).
QString DefaultStartFilesServerName();

// The running window's end of the hand-over. Each connection sends one
// message: a 4-byte big-endian length, then that many bytes of paths each
// ending in a zero byte; the window answers one byte "1" once it took them.
// A longer or malformed message closes the connection and delivers nothing.
class StartFilesServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 kMaxMessage = 16u << 20;

    explicit StartFilesServer(QObject* parent = nullptr);
    // Listens on name; a socket left behind by a window that died is replaced.
    // Call it only when no window answers on name (see HandFilesToRunningWindow).
    bool Listen(const QString& name);
    QString errorString() const { return server_.errorString(); }

signals:
    void filesReceived(const std::vector<std::string>& paths);

private:
    void Accept();
    QLocalServer server_;
};

// The second start's end: hands the paths to the window listening on name.
// True when that window took them; false when none answers (or it did not
// confirm within timeoutMs), and the caller opens its own window.
bool HandFilesToRunningWindow(const QString& name, const std::vector<std::string>& paths, int timeoutMs = 5000);

// Whether a window answers on name at all.
bool StartFilesServerRuns(const QString& name);

// The message for paths, and its parse (false when malformed or incomplete).
QByteArray EncodeStartFiles(const std::vector<std::string>& paths);
bool DecodeStartFiles(const QByteArray& message, std::vector<std::string>& paths);

}  // namespace tandrel
