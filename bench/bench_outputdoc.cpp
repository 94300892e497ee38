// The main window's output document with one big text file, driven through the
// real window offscreen: open in the check list, switch to the editor, Sort
// Lines, Check All and Save, and open the same lines in UTF-8. Each operation runs in a fresh process of this
// program (so its peak resident memory is its own); the figures are the time
// of the operation, the window painted after it, and the process's peak
// resident memory against the file's size.
//
//   bench_outputdoc [LINES] [PARENT-DIR]     defaults: 2000000 lines (about 186 MB) under $TMPDIR or /tmp
//   bench_outputdoc --op OP FILE             one operation (open, editor, sort, checkall, save)
#include <QApplication>
#include <QPushButton>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "ui/application.h"

using namespace tandrel::bench;

namespace {

// Answers every dialog without showing anything: saves go to savePath.
class QuietPrompter : public tandrel::Prompter {
public:
    std::string savePath;
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    bool AskYesNo(const std::string&) override { return true; }
    tandrel::YesNoCancel AskYesNoCancel(const std::string&) override { return tandrel::YesNoCancel::Yes; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialogWithFilter(const std::string&, const std::string&, const std::string&,
                                                        int) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const std::string&, const std::string&, const std::string&,
                                              const std::string&) override {
        return savePath;
    }
    std::optional<std::string> DirectoryDialog(const std::string&, const std::string&) override { return std::nullopt; }
    void SetStatusText(const std::string&) override {}
    void SetProgressText(const std::string&) override {}
    void SetWaitCursor(bool) override {}
};

// The processor time of this process so far, user and system, in seconds.
double CpuSeconds() {
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The peak resident memory of this process so far, in MB.
double PeakResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Lines as a music catalogue holds them: Russian and Latin names with a folder
// in brackets, about 91 characters each, in code page 1251 with CR LF; the
// same lines in UTF-8 go to utf8Path.
bool WriteCatalogue(const std::string& path, const std::string& utf8Path, long lines) {
    static const char* const artists[] = {"Кино", "Аквариум", "ДДТ", "Nautilus Pompilius", "The Beatles",
                                          "Ария", "Pink Floyd", "Сплин", "Земфира", "Queen", "Алиса", "Браво"};
    static const char* const words[] = {"звезда", "по имени", "солнце", "Love", "ночь", "город", "Dream",
                                        "дорога", "river", "Зима", "лето", "Ёлка", "время", "Night", "дом"};
    std::ofstream out(path, std::ios::binary);
    std::ofstream utf8Out(utf8Path, std::ios::binary);
    std::uint64_t seed = 12345;
    auto next = [&seed](std::uint64_t n) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % n;
    };
    std::string buffer, utf8Buffer;
    for (long i = 0; i < lines; ++i) {
        std::string line = artists[next(12)];
        line += " - ";
        for (int w = 0, n = 2 + static_cast<int>(next(3)); w < n; ++w) {
            if (w) line += ' ';
            line += words[next(15)];
        }
        line += " " + std::to_string(next(100000)) + ".mp3 \t[/home/ann/Music/";
        line += artists[next(12)];
        line += "/Альбом " + std::to_string(1970 + next(50)) + "/CD" + std::to_string(1 + next(4)) + "]";
        std::string cp1251 = tandrel::Utf8ToCp1251(line).text;
        const std::size_t padded = std::max<std::size_t>(cp1251.size(), 80 + next(23));
        utf8Buffer += line + std::string(padded - cp1251.size(), '_') + "\r\n";
        cp1251.resize(padded, '_');
        buffer += cp1251;
        buffer += "\r\n";
        if (buffer.size() > (1 << 20)) {
            out << buffer;
            utf8Out << utf8Buffer;
            buffer.clear();
            utf8Buffer.clear();
        }
    }
    out << buffer;
    utf8Out << utf8Buffer;
    return out && utf8Out;
}

// One operation in this process; prints "OP seconds peak-MB".
int RunOperation(int argc, char** argv, const std::string& op, const std::string& file) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string home = file + "." + op + ".home";  // settings of its own, left by no earlier run
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    QApplication app(argc, argv);
    QuietPrompter prompter;
    prompter.savePath = file + ".saved";
    tandrel::RegistryStore registry(tandrel::DefaultRegistryPath());
    std::unique_ptr<tandrel::AppWindows> windows = tandrel::CreateAppWindows(prompter, registry);
    tandrel::TMainForm& form = *windows->mainForm;
    form.resize(1000, 700);
    form.show();
    QApplication::processEvents();
    // The check list is the view a document opens in.
    if (form.output->clbOutput->isHidden()) form.output->rgEditMode->button(1)->click();
    QApplication::processEvents();
    auto painted = [&form] {
        QApplication::processEvents();
        form.repaint();
    };

    Clock::time_point start = Clock::now();
    double cpuStart = CpuSeconds();
    form.OpenOutputDocument(tandrel::OpenMode::FileList, file);
    painted();
    double seconds = Seconds(start);
    if (form.checkList().rowCount() == 0) return Fail("the document opened empty");
    if (op != "open") {
        start = Clock::now();
        cpuStart = CpuSeconds();
        if (op == "editor") {
            form.output->rgEditMode->button(0)->click();
        } else if (op == "sort") {
            form.mnSortLinesClick();
        } else if (op == "checkall") {
            form.output->bbtnCheckAll->click();
        } else if (op == "save") {
            form.mnSaveAsClick();
        } else {
            return Fail("unknown operation " + op);
        }
        painted();
        seconds = Seconds(start);
    }
    std::printf("%s %.6f %.6f %.1f\n", op.c_str(), seconds, CpuSeconds() - cpuStart, PeakResidentMb());
    windows.reset();
    return 0;
}

// Runs a program with its standard output going to a file; true when it exits with 0.
bool RunCapture(std::vector<std::string> args, const std::string& outPath) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads a file whole, so that it is warm in the page cache.
std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_outputdoc";
    if (argc == 4 && std::string(argv[1]) == "--op") return RunOperation(argc, argv, argv[2], argv[3]);
    const long lines = argc > 1 ? std::atol(argv[1]) : 2000000;
    if (lines <= 0) return Fail("the number of lines must be positive");
    const TempDir scratch(argc > 2 ? argv[2] : DefaultParent(), "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    const std::string file = scratch.path() + "/catalogue.txt";
    const std::string utf8File = scratch.path() + "/catalogue-utf8.txt";
    if (!WriteCatalogue(file, utf8File, lines)) return Fail("cannot write " + file);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return Fail("cannot read " + file);
    const double fileMb = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
    if (::stat(utf8File.c_str(), &st) != 0) return Fail("cannot read " + utf8File);
    const double utf8FileMb = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
    std::printf("file: %ld lines, %.1f MB in %s\n", lines, fileMb, file.c_str());

    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return Fail("cannot find this program");
    self[n] = '\0';

    // The reference tools on the same warm file.
    const std::string original = ReadWhole(file);
    Clock::time_point start = Clock::now();
    if (!Run({"sort", "-f", "-o", file + ".sorted", file})) return Fail("sort failed");
    const double sortSeconds = Seconds(start);
    start = Clock::now();
    if (!Run({"cp", file, file + ".copy"})) return Fail("cp failed");
    const double cpSeconds = Seconds(start);

    // The processor time shows what the operation costs when other programs share the machine.
    std::printf("%-10s %9s %9s %10s %9s\n", "operation", "seconds", "cpu s", "peak MB", "x file");
    // The last one opens the same lines in UTF-8, converted as they are read.
    for (const char* op : {"open", "editor", "sort", "checkall", "save", "open_utf8"}) {
        const std::string out = scratch.path() + "/" + op + ".out";
        const bool utf8 = std::string(op) == "open_utf8";
        if (!RunCapture({self, "--op", utf8 ? "open" : op, utf8 ? utf8File : file}, out))
            return Fail(std::string(op) + " failed");
        std::ifstream result(out);
        std::string name;
        double seconds = 0, cpu = 0, peakMb = 0;
        if (!(result >> name >> seconds >> cpu >> peakMb)) return Fail(std::string(op) + " printed no figures");
        std::printf("%-10s %9.3f %9.3f %10.1f %9.2f\n", op, seconds, cpu, peakMb, peakMb / (utf8 ? utf8FileMb : fileMb));
        const std::string label = std::string("outputdoc_") + op;
        const std::string tool = op == std::string("sort") ? "sort" : op == std::string("save") ? "cp" : "-";
        const double reference = tool == "sort" ? sortSeconds : tool == "cp" ? cpSeconds : 0;
        Result(label.c_str(), seconds, reference, tool.c_str());
        if (std::string(op) == "save") {
            if (ReadWhole(file + ".saved") != original) return Fail("the saved file differs from the opened one");
        }
    }
    return 0;
}
