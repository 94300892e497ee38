// Times `tandrel-cli tag update` (the terminal's own code) over a folder of
// tagged MP3 files, and a plain loop of the system calls one atomic rewrite
// of each file needs (read it, write a temporary file, fsync, rename over,
// fsync the folder), per file. Each is run twice; the best times count.
//
//   bench_tag_update [FILES] [KIB-PER-FILE] [PARENT-DIR]
//                    defaults: 5000 files of 64 KiB under $TMPDIR or /tmp
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/tag_command.h"

namespace {

using namespace tandrel;
using namespace tandrel::bench;

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadAll(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bytes.clear();
    char buffer[1 << 16];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return n == 0;
}

// What an atomic rewrite of one file does at the least.
bool PlainRewrite(const std::string& path, int folder, std::string& bytes) {
    if (!ReadAll(path, bytes)) return false;
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) return false;
    return ::rename(temp.c_str(), path.c_str()) == 0 && ::fsync(folder) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_tag_update";
    const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int kib = argc > 2 ? std::atoi(argv[2]) : 64;
    if (files <= 0 || kib <= 0) return Fail("the file count and the size must be positive");
    const TempDir scratch(argc > 3 ? argv[3] : DefaultParent(), "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    const std::string dir = scratch.path();

    // Files with both tags: the update reads and keeps them.
    const std::string audio(static_cast<std::size_t>(kib) << 10, '\x55');
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        const std::string path = dir + "/" + std::to_string(i) + " - Song.mp3";
        if (const std::string error = WriteTaggedMp3(path, audio, "Song " + std::to_string(i), "Artist");
            !error.empty())
            return Fail(error);
        paths.push_back(path);
    }
    std::printf("files: %d of %d KiB in %s\n", files, kib, dir.c_str());

    std::vector<std::string> args = {"update"};
    args.insert(args.end(), paths.begin(), paths.end());
    for (const char* option : {"--year", "1989", "--genre", "Rock", "--album", "Bench"}) args.emplace_back(option);
    const int folder = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return Fail("cannot open " + dir);
    ::sync();  // the set-up's writes do not land on the first timed run

    // Two rounds in both orders; the best time of each counts, so that the
    // write-back of one run weighs on neither more than on the other.
    double tagUpdate = 1e300, plain = 1e300;
    std::string bytes;
    for (int round = 0; round < 4; ++round) {
        const Clock::time_point start = Clock::now();
        if (round == 0 || round == 3) {
            std::ostringstream out, err;
            const int code = RunTagCommand(args, out, err);
            if (code != 0) return Fail("tag update exited " + std::to_string(code) + ": " + err.str());
            tagUpdate = std::min(tagUpdate, Seconds(start));
        } else {
            for (const std::string& path : paths)
                if (!PlainRewrite(path, folder, bytes)) return Fail("the plain rewrite failed on " + path);
            plain = std::min(plain, Seconds(start));
        }
    }
    ::close(folder);

    Report("tag update (both tags)", tagUpdate, files);
    Report("read+write+fsync+rename loop", plain, files);
    std::printf("tag update / plain loop: %.2fx\n", tagUpdate / plain);
    Result("tag_update", tagUpdate, plain, "syscall-loop");
    return 0;
}
