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

#include "cli/tag_command.h"
#include "tags/id3v1.h"

namespace {

using namespace tandrel;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void Report(const char* what, double seconds, int files) {
    std::printf("%-34s %8.3f s %10.2f us/file\n", what, seconds, seconds * 1e6 / files);
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "bench_tag_rename: %s\n", why.c_str());
    return 1;
}

std::string Be32(std::uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}

std::string Frame(const char* id, const std::string& text) {
    return id + Be32(static_cast<std::uint32_t>(text.size() + 1)) + std::string(2, '\0') + '\0' + text;
}

// An ID3v2.3 tag with artist and title, MPEG audio, an ID3v1 tag with the track.
std::string TaggedFile(int track, const std::string& artist, const std::string& title) {
    const std::string frames = Frame("TPE1", artist) + Frame("TIT2", title);
    const auto n = static_cast<std::uint32_t>(frames.size());
    std::string bytes = std::string("ID3\x03\x00\x00", 6) +
                        std::string{static_cast<char>(n >> 21 & 127), static_cast<char>(n >> 14 & 127),
                                    static_cast<char>(n >> 7 & 127), static_cast<char>(n & 127)} +
                        frames;
    bytes += "\xFF\xFB\x90\x64";
    bytes.resize(bytes.size() + 2000, '\x55');
    TID3v1 v1;
    v1.SetTrack(static_cast<std::uint8_t>(track));
    v1.SetArtist(artist);
    return bytes + v1.Record();
}

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
    const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
    if (files <= 0) return Fail("the file count must be positive");
    std::string parent = argc > 2 ? argv[2] : (getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp");
    std::string pattern = parent + "/tandrel-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) return Fail("cannot create a folder under " + parent);
    const std::string root = pattern;
    struct Cleanup {
        std::string dir;
        ~Cleanup() {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        }
    } cleanup{root};
    // An empty settings registry: every option comes from the command line.
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
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
        std::ofstream(plainNames.back(), std::ios::binary) << TaggedFile(track, artist, title);
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
    return 0;
}
