// Renames a directory of tagged MP3 files after their tags through the
// terminal's `tag rename` (both tags read per file), and times a plain loop of
// the same system calls (open, read the ID3v2 header and tag, read the ID3v1
// record, close, rename) that names the files back, per file.
//
//   bench_tag_rename [FILES] [PARENT-DIR]     defaults: 5000 files under $TMPDIR or /tmp
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/tag_command.h"

namespace {

using namespace tandrel;
using namespace tandrel::bench;

// What the plain loop does for one file: the tags' bytes read, then the rename.
bool ReadTagsAndRename(const std::string& from, const std::string& to) {
    const int fd = ::open(from.c_str(), O_RDONLY);
    if (fd < 0) return false;
    char header[10];
    bool ok = ::pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
    if (ok) {
        const std::size_t size = (header[6] & 127) << 21 | (header[7] & 127) << 14 | (header[8] & 127) << 7 |
                                 (header[9] & 127);
        std::vector<char> tag(size);
        ok = ::pread(fd, tag.data(), size, 10) == static_cast<ssize_t>(size);
        const off_t end = ::lseek(fd, 0, SEEK_END);
        char record[128];
        ok = ok && end >= 128 && ::pread(fd, record, sizeof record, end - 128) == static_cast<ssize_t>(sizeof record);
    }
    ::close(fd);
    return ok && ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_tag_rename";
    const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
    if (files <= 0) return Fail("the file count must be positive");
    const TempDir scratch(argc > 2 ? argv[2] : DefaultParent(), "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    const std::string root = scratch.path();
    // An empty settings registry: every option comes from the command line.
    UseEmptySettings(root);
    const std::string dir = root + "/music";
    std::filesystem::create_directories(dir);

    std::vector<std::string> args = {"rename"}, plainNames, tagNames;
    for (int i = 0; i < files; ++i) {
        const int track = i % 99 + 1;
        const std::string artist = "Artist " + std::to_string(i % 97), title = "Song " + std::to_string(i);
        char name[32];
        std::snprintf(name, sizeof name, "file_%06d.mp3", i);
        plainNames.push_back(dir + "/" + name);
        char number[8];
        std::snprintf(number, sizeof number, "%02d", track);
        tagNames.push_back(dir + "/" + number + "_-_" + artist + "_-_" + title + ".mp3");
        std::ofstream(plainNames.back(), std::ios::binary) << TaggedMp3Bytes(track, artist, title);
        args.push_back(plainNames.back());
    }
    for (const char* option : {"--pattern", "N-A-T", "--tags", "both", "--sources", "12200"}) args.push_back(option);
    std::printf("files: %d in %s\n", files, dir.c_str());

    std::ostringstream out, err;
    Clock::time_point start = Clock::now();
    const int code = RunTagCommand(args, out, err);
    const double command = Seconds(start);
    if (code != 0 || !err.str().empty()) return Fail("tag rename failed: " + err.str());
    for (const std::string& target : tagNames)
        if (!std::filesystem::exists(target)) return Fail("tag rename did not make " + target);

    start = Clock::now();
    for (int i = 0; i < files; ++i)
        if (!ReadTagsAndRename(tagNames[i], plainNames[i])) return Fail("the plain loop failed on " + tagNames[i]);
    const double plain = Seconds(start);

    Report("tag rename (both tags)", command, files);
    Report("open+read tags+rename(2) loop", plain, files);
    std::printf("tag rename / plain loop: %.1fx\n", command / plain);
    Result("tag_rename", command, plain, "syscall-loop");
    return 0;
}
