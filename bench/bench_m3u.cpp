// Builds a tree of files and a playlist naming some of them, and times
// "Find mp3-names from M3U" through the terminal command beside a plain walk
// of the same tree by find(1):
//   m3u find (single mode)      against  find DIR -type f
//   m3u find --all              against  find DIR -type f
//
//   bench_m3u [--files N] [--entries K] [--dir PARENT] [--keep]
// Defaults: 100000 files in nested folders, a playlist of 1000 entries (one in
// ten names no file), under $TMPDIR or /tmp. The tree is removed at the end
// unless --keep.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "text/cp1251.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

const char* const kWords[] = {"rock", "jazz", "live", "night", "road", "blue", "river", "song", "dream", "city",
                              "Ночь", "Река", "Песня", "Город", "Лето", "Звезда"};

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

long CountLines(const std::string& text) {
    long lines = 0;
    for (const char c : text) lines += c == '\n';
    return lines;
}

// Runs a shell command, its output counted as lines; returns the seconds taken.
double TimeCommand(const std::string& command, long& lines) {
    const Clock::time_point start = Clock::now();
    lines = -1;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        lines = 0;
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            for (std::size_t i = 0; i < n; ++i) lines += buffer[i] == '\n';
        if (::pclose(pipe) == -1) lines = -1;
    }
    return Seconds(start);
}

// The terminal command as a user runs it; its output lines counted, and of
// them the paths found below tree.
double TimeCli(const std::vector<std::string>& args, const std::string& tree, long& lines, long& found, int& code) {
    std::ostringstream out, err;
    const Clock::time_point start = Clock::now();
    code = tandrel::RunCli(args, out, err);
    const double seconds = Seconds(start);
    lines = CountLines(out.str());
    found = 0;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) found += line.rfind(tree + "/", 0) == 0;
    if (!err.str().empty()) std::fprintf(stderr, "%s", err.str().c_str());
    return seconds;
}

void Row(const char* what, double ours, long ourLines, long found, double theirs, long theirLines) {
    std::printf("%-20s tandrel %8.3f s (%5ld lines, %5ld found)   find %8.3f s (%6ld lines)   ratio %5.2f\n", what,
                ours, ourLines, found, theirs, theirLines, ours / theirs);
}

}  // namespace

int main(int argc, char** argv) {
    long files = 100000, entries = 1000;
    std::string parent = getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp";
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--files" && i + 1 < argc) files = std::atol(argv[++i]);
        else if (a == "--entries" && i + 1 < argc) entries = std::atol(argv[++i]);
        else if (a == "--dir" && i + 1 < argc) parent = argv[++i];
        else if (a == "--keep") keep = true;
        else {
            std::fprintf(stderr, "usage: bench_m3u [--files N] [--entries K] [--dir PARENT] [--keep]\n");
            return 2;
        }
    }
    if (files <= 0 || entries <= 0) return 2;
    std::string pattern = parent + "/tandrel-bench-m3u-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "bench_m3u: cannot create a folder under %s\n", parent.c_str());
        return 1;
    }
    const fs::path base = pattern;
    const fs::path tree = base / "tree";
    // An empty settings folder: the command runs with the settings' defaults.
    setenv("XDG_CONFIG_HOME", (base / "config").c_str(), 1);

    // Names in folders 20 x 20 deep.
    std::mt19937 rng(42);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(files));
    for (long i = 0; i < files; ++i) {
        const fs::path dir = tree / ("d" + std::to_string(i % 20)) / ("e" + std::to_string(i / 20 % 20));
        if (i < 400) fs::create_directories(dir);
        std::string name = std::string(kWords[rng() % std::size(kWords)]) + " " + kWords[rng() % std::size(kWords)] +
                           " " + std::to_string(i) + ".mp3";
        std::ofstream(dir / fs::u8path(name));
        names.push_back(std::move(name));
    }
    // A playlist written on Windows in code page 1251; one entry in ten names no file.
    const std::string playlist = (base / "list.m3u").string();
    {
        std::ofstream out(playlist, std::ios::binary);
        out << "#EXTM3U\r\n";
        for (long i = 0; i < entries; ++i) {
            const std::string name = i % 10 == 9 ? "missing " + std::to_string(i) + ".mp3"
                                                 : names[rng() % names.size()];
            out << "#EXTINF:200," << tandrel::Utf8ToCp1251(name).text << "\r\n"
                << "D:\\Music\\" << tandrel::Utf8ToCp1251(name).text << "\r\n";
        }
    }
    std::printf("tree: %ld files in %s, playlist: %ld entries\n", files, tree.c_str(), entries);

    long findLines = 0;
    const std::string findCommand = "find '" + tree.string() + "' -type f";
    TimeCommand(findCommand, findLines);  // warms the caches
    long lines = 0, found = 0;
    int code = 0, failed = 0;
    const double single = TimeCli({"m3u", "find", playlist, "--drives", tree.string()}, tree.string(), lines, found, code);
    failed |= code;
    const double findSingle = TimeCommand(findCommand, findLines);
    Row("m3u find (single)", single, lines, found, findSingle, findLines);
    const double all =
        TimeCli({"m3u", "find", playlist, "--all", "--drives", tree.string()}, tree.string(), lines, found, code);
    failed |= code;
    const double findAll = TimeCommand(findCommand, findLines);
    Row("m3u find --all", all, lines, found, findAll, findLines);

    if (!keep) {
        std::error_code ec;
        fs::remove_all(base, ec);
    } else {
        std::printf("kept %s\n", base.c_str());
    }
    return failed == 0 ? 0 : 1;
}
