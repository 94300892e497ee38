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

#include "bench_support.h"
#include "cli/commands.h"
#include "text/cp1251.h"

namespace {

using namespace tandrel::bench;
namespace fs = std::filesystem;

const char* const kWords[] = {"rock", "jazz", "live", "night", "road", "blue", "river", "song", "dream", "city",
                              "Ночь", "Река", "Песня", "Город", "Лето", "Звезда"};

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

// One row of figures, and its RESULT line under `key`.
void Row(const char* key, const char* what, double ours, long ourLines, long found, double theirs, long theirLines) {
    std::printf("%-20s tandrel %8.3f s (%5ld lines, %5ld found)   find %8.3f s (%6ld lines)   ratio %5.2f\n", what,
                ours, ourLines, found, theirs, theirLines, ours / theirs);
    Result(key, ours, theirs, "find");
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_m3u";
    long files = 100000, entries = 1000;
    std::string parent = DefaultParent();
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
    TempDir scratch(parent, "tandrel-bench-m3u-");
    if (!scratch.ok()) return Fail(scratch.error());
    scratch.Keep(keep);
    const fs::path base = scratch.path();
    const fs::path tree = base / "tree";
    // An empty settings folder: the command runs with the settings' defaults.
    UseEmptySettings(base.string());

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
    Row("m3u_single", "m3u find (single)", single, lines, found, findSingle, findLines);
    const double all =
        TimeCli({"m3u", "find", playlist, "--all", "--drives", tree.string()}, tree.string(), lines, found, code);
    failed |= code;
    const double findAll = TimeCommand(findCommand, findLines);
    Row("m3u_all", "m3u find --all", all, lines, found, findAll, findLines);

    if (keep) std::printf("kept %s\n", base.c_str());
    return failed == 0 ? 0 : 1;
}
