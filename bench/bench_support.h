// What the benchmarks share: the clock, the printed lines, a scratch folder
// removed at the end, running and timing an outside tool, and generated files
// (plain and tagged MP3).
#pragma once

#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagsave.h"

extern char** environ;

namespace tandrel::bench {

using Clock = std::chrono::steady_clock;

// The name the messages on stderr start with; each benchmark sets it first.
inline std::string programName = "bench";

inline double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// One timed line: label in a column of `width`, seconds, microseconds per file.
inline void Report(const char* what, double seconds, long files, int width = 34) {
    std::printf("%-*s %8.3f s %10.2f us/file\n", width, what, seconds, seconds * 1e6 / static_cast<double>(files));
}

// The line scripts/bench collects: Tandrel's time against the reference
// tool's, and what the reference is (one word).
inline void Result(const char* name, double ours, double reference, const char* tool) {
    std::printf("RESULT %s %.6f %.6f %s\n", name, ours, reference, tool);
}

inline int Fail(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", programName.c_str(), why.c_str());
    return 1;
}

// $TMPDIR, or /tmp without it.
inline std::string DefaultParent() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// A fresh folder made with mkdtemp under a parent; removed with everything in
// it when this goes out of scope, unless kept.
class TempDir {
public:
    TempDir(const std::string& parent, const std::string& prefix) {
        std::string pattern = parent + "/" + prefix + "XXXXXX";
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
        else
            error_ = "cannot create a folder under " + parent + ": " + std::strerror(errno);
    }
    ~TempDir() {
        if (path_.empty() || keep_) return;
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }
    void Keep(bool keep) { keep_ = keep; }

private:
    std::string path_, error_;
    bool keep_ = false;
};

// Points the settings registry into an empty folder below `root`, so that
// the commands run take every option from their arguments or the defaults.
inline void UseEmptySettings(const std::string& root) { ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1); }

inline long CountLines(const std::string& text) {
    long lines = 0;
    for (const char c : text) lines += c == '\n';
    return lines;
}

// Runs a shell command, its output read through a pipe and counted as lines
// (-1 when it could not run, or also when it exited non-zero and
// `failOnExit`); returns the seconds taken.
inline double TimeCommand(const std::string& command, long& lines, bool failOnExit = false) {
    const Clock::time_point start = Clock::now();
    lines = -1;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        lines = 0;
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            for (std::size_t i = 0; i < n; ++i) lines += buffer[i] == '\n';
        const int status = ::pclose(pipe);
        if (status == -1 || (failOnExit && status != 0)) lines = -1;
    }
    return Seconds(start);
}

// Runs a program with its arguments, no shell; true when it exits with 0.
inline bool Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes the bytes to a new file; false when that fails.
inline bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    out.flush();
    return static_cast<bool>(out);
}

// The bytes of a small MP3 file built by hand: an ID3v2.3 tag with artist and
// title, one MPEG frame header and filler, an ID3v1 tag with artist and track.
inline std::string TaggedMp3Bytes(int track, const std::string& artist, const std::string& title) {
    const auto be32 = [](std::uint32_t n) {
        return std::string{static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
                           static_cast<char>(n)};
    };
    const auto frame = [&](const char* id, const std::string& text) {
        return id + be32(static_cast<std::uint32_t>(text.size() + 1)) + std::string(2, '\0') + '\0' + text;
    };
    const std::string frames = frame("TPE1", artist) + frame("TIT2", title);
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

// Writes `audio` to the path and tags it through the tag code: title and
// artist in both versions, the album in ID3v2 when given. Returns the error,
// empty on success.
inline std::string WriteTaggedMp3(const std::string& path, const std::string& audio, const std::string& title,
                                  const std::string& artist, const std::string& album = {}) {
    if (!WriteFile(path, audio)) return "cannot write " + path;
    TID3v1 v1;
    TID3v2 v2;
    v1.SetTitle(title);
    v1.SetArtist(artist);
    v2.SetTitle(title);
    v2.SetArtist(artist);
    if (!album.empty()) v2.SetAlbum(album);
    if (FileResult r = SaveTagsToFile(path, &v1, &v2); !r) return r.error;
    return {};
}

}  // namespace tandrel::bench
