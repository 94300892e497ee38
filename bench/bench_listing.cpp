// Generates a server listing and times the local-file search side by side
// with grep on the same warm file:
//   tandrel-cli search-listing quasar LISTING --no-map   against   grep -i -F quasar LISTING
//
//   bench_listing [MEGABYTES] [--dir PARENT] [--keep]
// Default 1024 MB under $TMPDIR or /tmp; one directory of 50 entries per
// header, one entry in a thousand holds the query. grep writes to a pipe:
// with /dev/null as its output GNU grep stops at the first match. The listing
// is removed at the end unless --keep.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/commands.h"

namespace {

using namespace tandrel::bench;
namespace fs = std::filesystem;

const char* const kWords[] = {"rock", "jazz", "live", "night", "road", "blue", "river", "song", "dream", "city",
                              "Ночь", "Река", "Песня", "Город", "Лето", "Звезда"};
constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];

// Long-listing lines under "/pub/..." headers. The Cyrillic words are UTF-8,
// as in a listing made on Linux, so every line is also converted.
bool MakeListing(const std::string& path, long megabytes) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937 rng(7);
    const long total = megabytes * 1024L * 1024L;
    long written = 0, entry = 0;
    std::string block;
    for (long dir = 0; written < total; ++dir) {
        block = "/pub/music/" + std::string(kWords[dir % kWordCount]) + "/d" + std::to_string(dir) + "/:\n";
        for (int i = 0; i < 50; ++i, ++entry) {
            block += "-rw-r--r--   1 ftp  ftp  " + std::to_string(1000000 + rng() % 9000000) + " Jan 01 12:30 ";
            for (int w = 0; w < 4; ++w) (block += kWords[rng() % kWordCount]) += ' ';
            if (entry % 1000 == 999) block += "Quasar ";
            block += std::to_string(entry) + ".mp3\n";
        }
        out << block;
        written += static_cast<long>(block.size());
    }
    out.flush();
    return static_cast<bool>(out);
}

// Counts the lines written to it.
class LineCounter : public std::streambuf {
public:
    long lines = 0;

protected:
    int_type overflow(int_type c) override {
        if (c == '\n') ++lines;
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        for (std::streamsize i = 0; i < n; ++i) lines += s[i] == '\n';
        return n;
    }
};

double TimeGrep(const std::string& path, long& lines) {
    return TimeCommand("LC_ALL=C grep -i -F quasar '" + path + "'", lines, true);
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_listing";
    long megabytes = 1024;
    std::string parent = fs::temp_directory_path().string();
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dir" && i + 1 < argc) {
            parent = argv[++i];
        } else if (arg == "--keep") {
            keep = true;
        } else if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos) {
            megabytes = std::stol(arg);
        } else {
            std::fprintf(stderr, "usage: bench_listing [MEGABYTES] [--dir PARENT] [--keep]\n");
            return 2;
        }
    }
    const std::string path = (fs::path(parent) / ("tandrel-listing-" + std::to_string(::getpid()) + ".txt")).string();
    std::printf("generating a %ld MB listing in %s\n", megabytes, path.c_str());
    if (!MakeListing(path, megabytes)) {
        fs::remove(path);
        return Fail("cannot write " + path);
    }
    long grepLines = 0;
    TimeGrep(path, grepLines);  // warms the file in the page cache
    const double theirs = TimeGrep(path, grepLines);

    LineCounter counter;
    std::ostream out(&counter);
    std::ostringstream err;
    const Clock::time_point start = Clock::now();
    const int code = tandrel::RunCli({"search-listing", "quasar", path, "--no-map"}, out, err);
    const double ours = Seconds(start);
    if (!keep) fs::remove(path);
    if (code != 0) {
        return Fail("search-listing failed: " + err.str());
    }
    std::printf("search-listing %8.3f s (%7ld lines: hits, headers, empty lines)\n", ours, counter.lines);
    std::printf("grep -i -F     %8.3f s (%7ld lines)\n", theirs, grepLines);
    std::printf("ratio          %8.2f\n", ours / theirs);
    Result("listing", ours, theirs, "grep");
    return 0;
}
