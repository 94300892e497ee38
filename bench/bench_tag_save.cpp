// Times `tandrel-cli tag update` saving both tags of one big MP3 file (the
// terminal program itself, as a user runs it) against `cp` of the same file,
// and `cp` followed by `sync` of the copy (the save makes its file durable
// before the rename; cp does not). Prints the peak memory of each save: it
// must not grow with the file. Each is run three times, in turns; the best
// time counts.
//
//   bench_tag_save [MB...] [--dir PARENT]    defaults: 10 and 100 MB under $TMPDIR or /tmp
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

using namespace tandrel;
using namespace tandrel::bench;

// Runs the program with its output discarded; the seconds taken, or -1 when it
// fails. maxRssKib: the child's peak resident memory.
double TimeChild(std::vector<std::string> args, long& maxRssKib) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    struct rusage usage {};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    maxRssKib = usage.ru_maxrss;
    return Seconds(start);
}

// An MP3 file of about mb megabytes written in blocks, then tagged.
std::string MakeFile(const std::string& path, long mb) {
    {
        std::ofstream out(path, std::ios::binary);
        std::string block(1 << 20, '\x55');
        block.replace(0, 4, "\xFF\xFB\x90\x64");
        for (long i = 0; i < mb && out; ++i) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.replace(0, 4, std::string(4, '\x55'));
        }
        if (!out.flush()) return "cannot write " + path;
    }
    TID3v1 v1;
    TID3v2 v2;
    v1.SetTitle("Big");
    v2.SetTitle("Big");
    v2.SetArtist("Bench");
    if (FileResult r = SaveTagsToFile(path, &v1, &v2); !r) return r.error;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_tag_save";
    std::vector<long> sizes;
    std::string parent = DefaultParent();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc) {
            parent = argv[++i];
        } else if (const long mb = std::atol(a.c_str()); mb > 0) {
            sizes.push_back(mb);
        } else {
            std::fprintf(stderr, "usage: bench_tag_save [MB...] [--dir PARENT]\n");
            return 2;
        }
    }
    if (sizes.empty()) sizes = {10, 100};
    // tandrel-cli is built beside the benchmarks: build/bench/.. /src/cli.
    const std::string self = argv[0];
    const std::string buildDir = self.substr(0, self.rfind('/') == std::string::npos ? 0 : self.rfind('/'));
    const std::string cli = (buildDir.empty() ? std::string(".") : buildDir) + "/../src/cli/tandrel-cli";
    if (::access(cli.c_str(), X_OK) != 0) return Fail("tandrel-cli not found at " + cli);
    const TempDir scratch(parent, "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    UseEmptySettings(scratch.path());

    for (const long mb : sizes) {
        const std::string path = scratch.path() + "/big " + std::to_string(mb) + ".mp3";
        const std::string copy = scratch.path() + "/copy.mp3";
        if (const std::string error = MakeFile(path, mb); !error.empty()) return Fail(error);
        ::sync();
        double save = 1e300, cp = 1e300, cpSync = 1e300;
        long rss = 0, maxRss = 0, cpRss = 0;
        for (int round = 0; round < 3; ++round) {
            const std::string title = "Round " + std::to_string(round);
            const double s = TimeChild({cli, "tag", "update", path, "--title", title}, rss);
            if (s < 0) return Fail("tag update failed on " + path);
            save = std::min(save, s);
            maxRss = std::max(maxRss, rss);
            std::remove(copy.c_str());
            const double c = TimeChild({"cp", path, copy}, cpRss);
            if (c < 0) return Fail("cp failed");
            cp = std::min(cp, c);
            std::remove(copy.c_str());
            const Clock::time_point start = Clock::now();
            if (!Run({"cp", path, copy}) || !Run({"sync", copy})) return Fail("cp and sync failed");
            cpSync = std::min(cpSync, Seconds(start));
            std::remove(copy.c_str());
        }
        std::printf("ID3v2 save, %ld MB: tandrel %8.3f s (peak %ld KiB)   cp %8.3f s (peak %ld KiB)   cp+sync %8.3f s\n",
                    mb, save, maxRss, cp, cpRss, cpSync);
        const std::string name = "tag_save_" + std::to_string(mb) + "mb";
        Result(name.c_str(), save, cp, "cp");
        Result((name + "_sync").c_str(), save, cpSync, "cp+sync");
    }
    return 0;
}
