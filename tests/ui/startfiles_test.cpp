#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QtEndian>

#include <QThread>

#include <atomic>
#include <chrono>
#include <memory>

#include "app/maskkinds.h"
#include "platform/files.h"
#include "tags/id3v1.h"
#include "text/paths.h"
#include "text/strings.h"
#include "ui/appicon.h"
#include "ui/filelists.h"
#include "ui/startfiles.h"
#include "window_fixture.h"

namespace tandrel {
namespace {

using StartAction = StartArguments::Action;

TEST(StartArgumentsTest, FilesOptionsAndTheirErrors) {
    struct Case {
        std::vector<std::string> args;
        StartAction action;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {{}, StartAction::Run, {}},
        {{"song.mp3", "list.m3u"}, StartAction::Run, {"song.mp3", "list.m3u"}},
        {{"--", "-odd.txt", "--help"}, StartAction::Run, {"-odd.txt", "--help"}},
        {{"-"}, StartAction::Run, {"-"}},  // a lone dash is a file name
        {{"a.txt", "--help"}, StartAction::Help, {}},
        {{"-h"}, StartAction::Help, {}},
        {{"--version"}, StartAction::Version, {}},
        {{"--bogus", "a.txt"}, StartAction::UsageError, {}},
        {{"--bogus", "--help"}, StartAction::Help, {}},  // --help wins wherever it stands
    };
    for (const Case& c : cases) {
        const StartArguments parsed = ParseStartArguments(c.args);
        EXPECT_EQ(parsed.action, c.action) << testing::PrintToString(c.args);
        EXPECT_EQ(parsed.files, c.files) << testing::PrintToString(c.args);
    }
    EXPECT_EQ(ParseStartArguments({"--bogus"}).problem, "unknown option '--bogus'");
}

TEST(StartFilesMessageTest, DecodesWhatIsEncodedAndRefusesMalformedMessages) {
    const std::vector<std::string> paths = {"/music/a.mp3", "/home/ann/\xd0\xa9.txt"};
    std::vector<std::string> decoded;
    ASSERT_TRUE(DecodeStartFiles(EncodeStartFiles(paths), decoded));
    EXPECT_EQ(decoded, paths);

    auto message = [](quint32 length, const QByteArray& payload) {
        QByteArray bytes(4, '\0');
        qToBigEndian(length, bytes.data());
        return bytes + payload;
    };
    const QByteArray malformed[] = {
        QByteArray("\0\0", 2),                               // no whole length
        message(5, QByteArray("/a\0", 3)),                   // shorter than its length
        message(3, QByteArray("/a\0/b\0", 6)),               // longer than its length
        message(2, QByteArray("/a", 2)),                     // the last path not ended
        message(4, QByteArray("/a\0\0", 4)),                 // an empty path
        message(StartFilesServer::kMaxMessage + 1, "x"),     // beyond the limit
    };
    for (const QByteArray& bytes : malformed) {
        EXPECT_FALSE(DecodeStartFiles(bytes, decoded)) << bytes.toHex().toStdString();
        EXPECT_TRUE(decoded.empty());
    }
}

TEST(StartFilesTest, RelativePathsAreMadeAbsoluteAgainstTheStartingDirectory) {
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(AbsoluteStartPath("list.m3u"), cwd + "/list.m3u");
    EXPECT_EQ(AbsoluteStartPath("./a/../b.txt"), cwd + "/b.txt");
    EXPECT_EQ(AbsoluteStartPath("/x/y.mp3"), "/x/y.mp3");
}

TEST(AppIconTest, EveryRenderedSizeIsInTheResources) {
    const QList<QSize> sizes = ApplicationIcon().availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

class StartFilesWindowTest : public test::WindowTest {
protected:
    // An mp3 file whose ID3v1 title is title.
    std::string WriteSong(const std::string& name, const std::string& title) {
        const std::string path = tmp.Write(name, std::string(1000, '\x55'));
        TID3v1 v1;
        v1.SetTitle(title);
        EXPECT_TRUE(v1.SaveToFile(path));
        return path;
    }
    // Runs the event loop until done() holds or seconds pass.
    static bool ProcessEventsUntil(const std::function<bool()>& done, int seconds = 20) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }
    std::vector<std::string> OutputLines() { return form().outputLines(); }
};

TEST_F(StartFilesWindowTest, TextAndPlaylistFilesLoadIntoTheOutputDocument) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"lists/rock.m3u", "#EXTM3U\r\n#EXTINF:200,Kino - Zvezda\r\nD:\\Music\\zvezda.mp3\r\n",
         {"#EXTM3U", "#EXTINF:200,Kino - Zvezda", "D:\\Music\\zvezda.mp3"}},
        {"notes/notes.txt", "first\nsecond\n", {"first", "second"}},
    };
    Start();
    for (const Case& c : cases) {
        const std::string path = tmp.Write(c.name, c.bytes);
        OpenStartFiles(form(), {path});
        EXPECT_EQ(OutputLines(), c.lines) << c.name;
        EXPECT_EQ(form().documentName(), CopyAfterLastChar(path, '/'));
        // As after "Open": the file's folder is the current directory.
        EXPECT_EQ(CurrentDirectory(), ExtractDirPart(path));
    }
}

TEST_F(StartFilesWindowTest, AnAudioFileShowsItsFolderWithTheFileSelectedAndItsTags) {
    WriteSong("album/other.mp3", "Other");
    const std::string path = WriteSong("album/song.mp3", "Zvezda");
    tmp.Write("album/notes.txt", "x\r\n");
    Start();
    ASSERT_EQ(form().fileMask(), "*.txt");  // a mask that does not show the file

    OpenStartFiles(form(), {path});
    EXPECT_EQ(form().currentDirectory(), tmp / "album");
    EXPECT_TRUE(MatchesMaskList("song.mp3", form().fileMask())) << form().fileMask();
    EXPECT_EQ(form().fileList().selectedNames(), std::vector<std::string>{"song.mp3"});
    EXPECT_EQ(Control<QLineEdit>("edID3v1Title")->text(), "Zvezda");
}

TEST_F(StartFilesWindowTest, SeveralAudioFilesOfOneFolderAreAllSelectedWithTheFirstOnesTags) {
    const std::string a = WriteSong("album/a.mp3", "First");
    WriteSong("album/b.mp3", "Between");
    const std::string c = WriteSong("album/c.mp3", "Third");
    Start();
    OpenStartFiles(form(), {c, a});
    EXPECT_EQ(form().fileList().selectedNames(), (std::vector<std::string>{"a.mp3", "c.mp3"}));
    EXPECT_EQ(form().fileList().currentName(), "c.mp3");
    EXPECT_EQ(Control<QLineEdit>("edID3v1Title")->text(), "Third");
}

TEST_F(StartFilesWindowTest, AMissingFileIsNamedInTheStatusLineAndTheOutputStays) {
    const std::string kept = tmp.Write("kept.txt", "kept\r\n");
    Start();
    OpenStartFiles(form(), {kept});
    for (const std::string& missing : {tmp / "gone.txt", tmp / "gone.mp3"}) {
        OpenStartFiles(form(), {missing});
        EXPECT_EQ(form().statusText(), "The file does not exist: " + missing);
        EXPECT_EQ(OutputLines(), std::vector<std::string>{"kept"});
    }
}

TEST_F(StartFilesWindowTest, ASecondStartHandsItsFilesToTheRunningWindow) {
    const std::string path = tmp.Write("list.m3u", "#EXTM3U\r\none.mp3\r\ntwo.mp3\r\n");
    Start();
    StartFilesServer server;
    const QString name = StartFilesServerName(QString::fromStdString(tmp.str()), DefaultRegistryPath());
    ASSERT_TRUE(server.Listen(name)) << server.errorString().toStdString();
    QObject::connect(&server, &StartFilesServer::filesReceived, &form(),
                     [this](const std::vector<std::string>& files) { OpenStartFiles(form(), files); });

    // The second start waits for the window's answer, so it runs beside the event loop.
    std::atomic<int> handed{-1};
    std::unique_ptr<QThread> second(
        QThread::create([&] { handed = HandFilesToRunningWindow(name, {path}) ? 1 : 0; }));
    second->start();
    const bool answered = ProcessEventsUntil([&] { return handed >= 0; });
    second->wait();
    ASSERT_TRUE(answered);
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(OutputLines(), (std::vector<std::string>{"#EXTM3U", "one.mp3", "two.mp3"}));
}

TEST_F(StartFilesWindowTest, AHandOverPastTheLimitIsCutOffAndDeliversNothing) {
    Start();
    StartFilesServer server;
    const QString name = StartFilesServerName(QString::fromStdString(tmp.str()), DefaultRegistryPath());
    ASSERT_TRUE(server.Listen(name));
    int deliveries = 0;
    QObject::connect(&server, &StartFilesServer::filesReceived, [&deliveries] { ++deliveries; });

    std::atomic<int> closed{-1};
    std::unique_ptr<QThread> client(QThread::create([&] {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(5000)) return void(closed = 0);
        QByteArray header(4, '\0');
        qToBigEndian(StartFilesServer::kMaxMessage + 1, header.data());
        socket.write(header + QByteArray(64, 'x'));
        socket.waitForBytesWritten(5000);
        // The window drops the connection without an answer.
        const bool answered = socket.waitForReadyRead(5000);
        closed = !answered && socket.state() != QLocalSocket::ConnectedState ? 1 : 0;
    }));
    client->start();
    const bool finished = ProcessEventsUntil([&] { return closed >= 0; });
    client->wait();
    ASSERT_TRUE(finished);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(deliveries, 0);
}

// The real program, started as a file manager starts it, with a playlist path
// relative to its own directory: it finds this window running and hands the
// playlist over, and the playlist's lines are in this window's output.
TEST_F(StartFilesWindowTest, TandrelStartedWithAPlaylistPathPutsItsLinesIntoTheRunningWindow) {
    tmp.Write("lists/rock.m3u", "#EXTM3U\r\n#EXTINF:200,Kino - Zvezda\r\nzvezda.mp3\r\n");
    Start();
    StartFilesServer server;
    ASSERT_TRUE(server.Listen(DefaultStartFilesServerName())) << server.errorString().toStdString();
    QObject::connect(&server, &StartFilesServer::filesReceived, &form(),
                     [this](const std::vector<std::string>& files) { OpenStartFiles(form(), files); });

    QProcess tandrel;
    tandrel.setWorkingDirectory(QString::fromStdString(tmp / "lists"));
    tandrel.start(QStringLiteral(TANDREL_GUI_BINARY), {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                                       QStringLiteral("rock.m3u")});
    ASSERT_TRUE(tandrel.waitForStarted(10000));
    const bool ended = ProcessEventsUntil([&] { return tandrel.state() == QProcess::NotRunning; });
    if (!ended) tandrel.kill();
    tandrel.waitForFinished(5000);
    ASSERT_TRUE(ended) << "the second start did not end: it opened a window of its own";
    EXPECT_EQ(tandrel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tandrel.exitCode(), 0) << tandrel.readAllStandardError().toStdString();
    EXPECT_EQ(OutputLines(), (std::vector<std::string>{"#EXTM3U", "#EXTINF:200,Kino - Zvezda", "zvezda.mp3"}));
    EXPECT_EQ(form().documentName(), "rock.m3u");
}

}  // namespace
}  // namespace tandrel
