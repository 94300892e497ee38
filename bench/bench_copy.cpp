// Copies generated files into a directory through the code the terminal's
// "copy" command runs, and the same files with cp(1), timed in the same run on
// the same warm files. The copy syncs each file before it replaces the target,
// so cp followed by sync(1) is timed too.
//
//   bench_copy [TOTAL-MB] [PARENT-DIR]     defaults: 2048 MB in 64 files under $TMPDIR or /tmp
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/copy_command.h"

using namespace tandrel::bench;

int main(int argc, char** argv) {
    programName = "bench_copy";
    const long totalMb = argc > 1 ? std::atol(argv[1]) : 2048;
    if (totalMb <= 0) return Fail("the size in MB must be positive");
    const TempDir scratch(argc > 2 ? argv[2] : DefaultParent(), "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    const std::string dir = scratch.path();
    const std::string src = dir + "/src", ours = dir + "/tandrel", theirs = dir + "/cp";
    for (const std::string& d : {src, ours, theirs}) std::filesystem::create_directories(d);

    const long files = totalMb >= 64 ? 64 : totalMb;
    const long fileBytes = totalMb * 1024 * 1024 / files;
    std::vector<std::string> names;
    std::string block(1024 * 1024, '\0');
    for (long i = 0; i < files; ++i) {
        names.push_back(src + "/track " + std::to_string(i) + ".mp3");
        std::ofstream out(names.back(), std::ios::binary);
        for (long written = 0; written < fileBytes; written += static_cast<long>(block.size())) {
            for (std::size_t k = 0; k < block.size(); k += 4096) block[k] = static_cast<char>(i + written / 4096);
            out.write(block.data(), static_cast<std::streamsize>(std::min<long>(block.size(), fileBytes - written)));
        }
        if (!out) return Fail("cannot write " + names.back());
    }
    if (!Run({"sync"})) return Fail("sync failed");
    std::printf("files: %ld of %ld MB in %s\n", files, fileBytes / (1024 * 1024), dir.c_str());

    std::vector<std::string> args{ours};
    args.insert(args.end(), names.begin(), names.end());
    std::ostringstream out, err;
    Clock::time_point start = Clock::now();
    if (tandrel::RunCopyCommand(args, out, err) != 0) return Fail("the copy failed: " + err.str());
    const double copy = Seconds(start);

    std::vector<std::string> cp{"cp"};
    cp.insert(cp.end(), names.begin(), names.end());
    cp.push_back(theirs);
    start = Clock::now();
    if (!Run(cp)) return Fail("cp failed");
    const double plain = Seconds(start);
    if (!Run({"sync"})) return Fail("sync failed");
    const double plainSynced = Seconds(start);

    const double mb = static_cast<double>(files * fileBytes) / (1024 * 1024);
    std::printf("%-24s %8.3f s %8.0f MB/s\n", "tandrel-cli copy", copy, mb / copy);
    std::printf("%-24s %8.3f s %8.0f MB/s\n", "cp", plain, mb / plain);
    std::printf("%-24s %8.3f s %8.0f MB/s\n", "cp + sync", plainSynced, mb / plainSynced);
    std::printf("copy / cp: %.2fx, copy / (cp + sync): %.2fx\n", copy / plain, copy / plainSynced);
    Result("copy", copy, plainSynced, "cp+sync");
    return 0;
}
