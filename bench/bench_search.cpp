// Builds a corpus and times the file search side by side with the usual tools
// on the same files:
//   name search         against  find DIR -iname '*QUERY*'
//   inside-file search  against  grep -r -i -F QUERY DIR   (LC_ALL=C)
//                       and      rg -j1 -i -F QUERY DIR    (code page 1251 and UTF-8 files)
//   tag search          against  a python3-mutagen loop reading every MP3
//
//   bench_search [--files N] [--text-mb M] [--mp3 K] [--dir PARENT] [--quick] [--keep]
// Defaults: 100000 files in nested folders, 200 MB of text, 5000 MP3 files with
// tags, under $TMPDIR or /tmp. --quick uses 5000 files, 10 MB and 300 MP3 files
// for a run of a few seconds. The corpus is removed at the end unless --keep.
#include <sstream>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cli/streamprompter.h"
#include "app/dirwalk.h"
#include "app/prompts.h"
#include "search/searchengine.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "text/cp1251.h"
#include "bench_support.h"

namespace {

using namespace tandrel;
using namespace tandrel::bench;
namespace fs = std::filesystem;

constexpr const char* kQuery = "quasar";

struct Sizes {
    long files = 100000;
    long textMb = 200;
    long mp3 = 5000;
    std::string parent;
    bool keep = false;
};

const char* const kWords[] = {"rock", "jazz", "live", "night", "road", "blue", "river", "song", "dream", "city",
                              "summer", "light", "heart", "fire", "Ночь", "Река", "Песня", "Город", "Лето", "Звезда"};
constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];

std::string Phrase(std::mt19937& rng, int words) {
    std::string s;
    for (int i = 0; i < words; ++i) {
        if (i) s += ' ';
        s += kWords[rng() % kWordCount];
    }
    return s;
}

// Names in folders 20 x 20 deep; one name in a hundred holds the query.
void MakeNames(const fs::path& root, long count, std::mt19937& rng) {
    for (long i = 0; i < count; ++i) {
        const fs::path dir = root / ("d" + std::to_string(i % 20)) / ("e" + std::to_string(i / 20 % 20));
        if (i < 400) fs::create_directories(dir);
        std::string name = Phrase(rng, 3);
        if (i % 100 == 7) name += " Quasar";
        WriteFile(dir / (name + " " + std::to_string(i) + ".mp3"), "");
    }
}

// Text files of about 100 KB, lines of a few words; one line in a thousand holds
// the query. The same files go to root1251 in code page 1251.
void MakeText(const fs::path& root, const fs::path& root1251, long megabytes, std::mt19937& rng) {
    const long total = megabytes * 1024 * 1024;
    long written = 0;
    long line = 0;
    for (int file = 0; written < total; ++file) {
        const std::string sub = "t" + std::to_string(file % 10);
        fs::create_directories(root / sub);
        fs::create_directories(root1251 / sub);
        std::string bytes;
        while (bytes.size() < 100 * 1024) {
            bytes += Phrase(rng, 8);
            if (++line % 1000 == 0) bytes += " QUASAR";
            bytes += "\r\n";
        }
        written += static_cast<long>(bytes.size());
        const std::string name = "text" + std::to_string(file) + ".txt";
        WriteFile(root / sub / name, bytes);
        WriteFile(root1251 / sub / name, Utf8ToCp1251(bytes).text);
    }
}

// MP3 files with an ID3v2 and an ID3v1 tag; one artist in fifty holds the query.
bool MakeMp3(const fs::path& root, long count, std::mt19937& rng) {
    const std::string audio(4096, '\x55');
    for (long i = 0; i < count; ++i) {
        const fs::path dir = root / ("m" + std::to_string(i % 10));
        if (i < 10) fs::create_directories(dir);
        const std::string path = (dir / ("track" + std::to_string(i) + ".mp3")).string();
        const std::string artist = i % 50 == 3 ? "Quasar Band" : "Artist " + std::to_string(rng() % 1000);
        if (const std::string error = WriteTaggedMp3(path, audio, "Title " + std::to_string(i), artist, "Album");
            !error.empty()) {
            Fail("cannot tag " + path + ": " + error);
            return false;
        }
    }
    return true;
}

double TimeSearch(SearchOptions o, const std::string& dir, const std::string& mask, long& hits) {
    std::ostringstream notes;
    StreamPrompter prompter(notes);
    TID3v1 v1;
    TID3v2 v2;
    std::vector<std::string> results;
    const Clock::time_point start = Clock::now();
    SearchEngine(o, SearchEnvironment{prompter, 0, v1, v2, nullptr}, results).RunScan({{dir, mask}}, kQuery, 0, false);
    hits = static_cast<long>(results.size());
    return Seconds(start);
}

// One row of figures, and its RESULT line under `key`.
void Row(const char* key, const char* what, double ours, long ourHits, const char* tool, double theirs,
         long theirHits) {
    std::printf("%-22s tandrel %8.3f s (%6ld hits)   %-10s %8.3f s (%6ld hits)   ratio %5.2f\n", what, ours,
                ourHits, tool, theirs, theirHits, ours / theirs);
    Result(key, ours, theirs, tool);
}

std::string Python() {
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        const std::string probe = std::string(candidate) + " -c 'import mutagen' 2>/dev/null";
        if (std::system(probe.c_str()) == 0) return candidate;
    }
    return {};
}

// The mutagen loop: every MP3 below the folder, both tag versions, the same fields.
const char* kMutagenLoop = R"PY(
import os, sys
from mutagen.id3 import ID3, ID3NoHeaderError
query = sys.argv[2].lower()
for top, dirs, files in os.walk(sys.argv[1]):
    for name in files:
        if not name.lower().endswith('.mp3'):
            continue
        path = os.path.join(top, name)
        try:
            tags = ID3(path)
        except ID3NoHeaderError:
            continue
        texts = [str(tags.get(k, '')) for k in ('TIT2', 'TPE1', 'TALB', 'TYER', 'TDRC', 'TCON')]
        texts += [str(c) for c in tags.getall('COMM')]
        if any(query in t.lower() for t in texts):
            print(path)
)PY";

bool ParseArgs(int argc, char** argv, Sizes& s) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](long& out) {
            if (i + 1 >= argc) return false;
            out = std::strtol(argv[++i], nullptr, 10);
            return out > 0;
        };
        if (a == "--files") {
            if (!number(s.files)) return false;
        } else if (a == "--text-mb") {
            if (!number(s.textMb)) return false;
        } else if (a == "--mp3") {
            if (!number(s.mp3)) return false;
        } else if (a == "--dir" && i + 1 < argc) {
            s.parent = argv[++i];
        } else if (a == "--quick") {
            s.files = 5000;
            s.textMb = 10;
            s.mp3 = 300;
        } else if (a == "--keep") {
            s.keep = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    programName = "bench_search";
    Sizes sizes;
    if (!ParseArgs(argc, argv, sizes)) {
        std::fprintf(stderr,
                     "usage: bench_search [--files N] [--text-mb M] [--mp3 K] [--dir PARENT] [--quick] [--keep]\n");
        return 2;
    }
    if (sizes.parent.empty()) sizes.parent = DefaultParent();
    TempDir scratch(sizes.parent, "tandrel-bench-search-");
    if (!scratch.ok()) return Fail(scratch.error());
    scratch.Keep(sizes.keep);
    const std::string root = scratch.path();
    const fs::path names = fs::path(root) / "names", text = fs::path(root) / "text", mp3 = fs::path(root) / "mp3";
    const fs::path text1251 = fs::path(root) / "text1251";
    std::mt19937 rng(12345);
    Clock::time_point start = Clock::now();
    MakeNames(names, sizes.files, rng);
    MakeText(text, text1251, sizes.textMb, rng);
    const bool tagged = MakeMp3(mp3, sizes.mp3, rng);
    std::printf("corpus: %ld names, %ld MB of text, %ld MP3 files in %s (%.1f s)\n", sizes.files, sizes.textMb,
                sizes.mp3, root.c_str(), Seconds(start));

    // Every tree is read once before timing, so that both sides find it in the cache.
    long lines = 0, ours = 0;
    TimeCommand("find '" + root + "' -type f | wc -l; cat -- $(find '" + text.string() + "' '" +
                    text1251.string() + "' -type f) >/dev/null",
                lines);

    SearchOptions byName;
    byName.findMode = 0;
    byName.overSearch = false;
    byName.recursive = true;
    double t = TimeSearch(byName, names.string(), "*.*", ours);
    double theirs = TimeCommand("find '" + names.string() + "' -iname '*" + kQuery + "*'", lines);
    Row("search_name", "name search", t, ours, "find", theirs, lines);
    byName.overSearch = true;
    t = TimeSearch(byName, names.string(), "*.*", ours);
    Row("search_name_over", "  with Over Search", t, ours, "find", theirs, lines);
    start = Clock::now();
    long walked = 0;
    WalkDirectory(names.string(), true, MaskFilter("*.*"),
                  WalkHandler{nullptr, nullptr, [&walked](const std::string&, const FindData&) { ++walked; }, nullptr});
    std::printf("  of which the directory walk alone: %.3f s for %ld files\n", Seconds(start), walked);

    // The inside-file rows take the best of three runs on each side: a shared
    // machine adds noise that only ever makes a run slower.
    const auto best = [](auto&& run) {
        double t = run();
        for (int i = 0; i < 2; ++i) t = std::min(t, run());
        return t;
    };
    const auto ourBest = [&](const SearchOptions& o, const fs::path& dir) {
        return best([&] { return TimeSearch(o, dir.string(), "*.*", ours); });
    };
    const auto theirBest = [&](const std::string& command) { return best([&] { return TimeCommand(command, lines); }); };
    const std::string grep = "LC_ALL=C grep -r -i -F " + std::string(kQuery) + " ";
    const std::string rg = "rg -j1 -i -F " + std::string(kQuery) + " ";
    const bool haveRg = std::system("command -v rg >/dev/null 2>&1") == 0;

    SearchOptions inside = byName;
    inside.findMode = 1;
    inside.overSearch = false;
    t = ourBest(inside, text1251);
    theirs = theirBest(grep + "'" + text1251.string() + "'");
    Row("search_inside", "inside-file search", t, ours, "grep", theirs, lines);
    if (haveRg) {
        theirs = theirBest(rg + "'" + text1251.string() + "'");
        Row("search_inside_rg", "  against rg", t, ours, "rg", theirs, lines);
    }
    inside.overSearch = true;
    t = ourBest(inside, text1251);
    theirs = theirBest(grep + "'" + text1251.string() + "'");
    Row("search_inside_over", "  with Over Search", t, ours, "grep", theirs, lines);
    inside.overSearch = false;
    t = ourBest(inside, text);
    theirs = theirBest(grep + "'" + text.string() + "'");
    Row("search_inside_utf8", "  UTF-8 files", t, ours, "grep", theirs, lines);
    if (haveRg) {
        theirs = theirBest(rg + "'" + text.string() + "'");
        Row("search_inside_utf8_rg", "  UTF-8 against rg", t, ours, "rg", theirs, lines);
    }

    if (tagged) {
        SearchOptions tags = inside;
        tags.overSearch = false;
        tags.tagSearch = true;
        t = TimeSearch(tags, mp3.string(), "*.mp3", ours);
        const std::string python = Python();
        if (python.empty()) {
            std::printf("tag search             tandrel %8.3f s (%6ld hits)   python3-mutagen not found\n", t, ours);
        } else {
            const std::string script = (fs::path(root) / "mutagen_loop.py").string();
            WriteFile(script, kMutagenLoop);
            theirs = TimeCommand(python + " '" + script + "' '" + mp3.string() + "' " + kQuery, lines);
            Row("search_tags", "tag search", t, ours, "mutagen", theirs, lines);
        }
    }

    return tagged ? 0 : 1;
}
