// Writes the tree file of a generated tree of 100,000 files through the code
// the terminal's "tree" command runs (full paths, sorted), and times
// `tree -a -f -i --noreport` listing the same tree into a file.
//
//   bench_tree [FILES] [PARENT-DIR]     defaults: 100000 files under $TMPDIR or /tmp
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/commands.h"

namespace {

using namespace tandrel::bench;

std::size_t CountFileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_tree";
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (files <= 0) return Fail("the file count must be positive");
    const TempDir scratch(argc > 2 ? argv[2] : DefaultParent(), "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    const std::string root = scratch.path();
    // The settings of the run: none, so only the command line counts.
    UseEmptySettings(root);

    // 100 files a directory, ten directories under each of the first level.
    const std::string tree = root + "/Музыка";
    for (int i = 0; i < files; ++i) {
        const int leaf = i / 100;
        const std::string dir = tree + "/Исполнитель " + std::to_string(leaf / 10) + "/Альбом " + std::to_string(leaf % 10);
        if (i % 100 == 0) std::filesystem::create_directories(dir);
        std::ofstream(dir + "/Песня " + std::to_string(i) + ".mp3");
    }
    const std::string out = root + "/out";
    std::filesystem::create_directories(out);
    std::printf("files: %d in %s\n", files, tree.c_str());

    // Warm the cache once for both.
    if (std::system(("tree -a -f -i --noreport '" + tree + "' > /dev/null").c_str()) != 0)
        return Fail("tree(1) is missing: apt-get install tree");

    std::ostringstream cliOut, cliErr;
    Clock::time_point start = Clock::now();
    const int code = tandrel::RunCli({"tree", tree, "--mode", "0", "--name-mode", "1", "--no-date", "--out", out},
                                     cliOut, cliErr);
    const double ours = Seconds(start);
    if (code != 0) return Fail("tandrel-cli tree failed: " + cliErr.str());

    start = Clock::now();
    if (std::system(("tree -a -f -i --noreport '" + tree + "' > '" + out + "/tree.txt'").c_str()) != 0)
        return Fail("tree(1) failed");
    const double theirs = Seconds(start);

    std::printf("%-36s %8.3f s  %zu lines\n", "tandrel-cli tree --mode 0", ours, CountFileLines(out + "/Музыка.td"));
    std::printf("%-36s %8.3f s  %zu lines\n", "tree -a -f -i --noreport", theirs, CountFileLines(out + "/tree.txt"));
    std::printf("tandrel / tree: %.2fx\n", ours / theirs);
    Result("tree", ours, theirs, "tree");
    return 0;
}
