// The one-walk find against a separate walk per entry written straight from
// the rules, on generated trees, playlists, options and roots.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "catalog/m3u.h"
#include "catalog/m3ufind.h"
#include "platform/files.h"
#include "support/cp1251_text.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

struct EntryState {
    bool found = false;
    Lines paths;
};

// One entry's own walk of a directory: in single mode it ends a listing at
// the first sub-directory entry after its match and enters nothing more.
void EntryWalk(const std::string& dir, const EntryQuery& q, bool searchAll, EntryState& state) {
    if (!searchAll && state.found) return;
    const std::string needle = ToLowerCase(q.name);
    FileFind find;
    FindData e;
    for (bool more = find.FindFirst(CollapseCharRuns(dir + "/*.*", '/'), e); more; more = find.FindNext(e)) {
        if (e.IsDirectory()) {
            if (e.name == "." || e.name == "..") continue;
            if (!searchAll && state.found) break;
            if ((e.attr & faSymLink) == 0) EntryWalk(JoinPath(dir, e.name), q, searchAll, state);
            continue;
        }
        if (!FindMaskAdmits(q.mask, e.name) || needle.empty()) continue;
        if (ToLowerCase(e.name).find(needle) == std::string::npos) continue;
        state.found = true;
        if (!searchAll) state.paths.clear();
        state.paths.push_back(JoinPath(dir, e.name));
    }
}

Lines FindEntryByEntry(const Lines& playlist, const Lines& roots, const M3UFindOptions& o) {
    Lines out;
    for (const std::string& line : playlist) {
        if (!IsPlaylistEntry(line)) {
            if (!line.empty()) out.push_back(line);
            continue;
        }
        EntryState state;
        for (const std::string& root : roots) EntryWalk(root, FindQueryFor(line, o), o.searchAll, state);
        if (state.found) out.insert(out.end(), state.paths.begin(), state.paths.end());
        else out.push_back(line);
    }
    if (o.addFileName)
        for (std::string& line : out) line = NameAndDirectoryLine(line);
    return out;
}

const char* const kWords[] = {"song", "Song", "rock", "Рок", "ёлка", "ЕЛКА", "live", "a", "b b"};
const char* const kExtensions[] = {".mp3", ".MP3", ".wav", ".txt", "", ".tar.gz"};
const char* const kMasks[] = {"*.mp3", "*.mp3;*.wav", "*.*", "*.TXT", ""};

template <class T, std::size_t N>
const T& Pick(std::mt19937& rng, const T (&items)[N]) {
    return items[rng() % N];
}

std::string RandomName(std::mt19937& rng) {
    std::string name = Pick(rng, kWords);
    if (rng() % 2) name += std::string(" ") + Pick(rng, kWords);
    if (rng() % 3 == 0) name += std::to_string(rng() % 3);
    return name + Pick(rng, kExtensions);
}

// Files and directories interleaved at each level, a linked directory now and then.
void MakeTree(const std::filesystem::path& dir, std::mt19937& rng, int depth, Lines& names) {
    std::filesystem::create_directories(dir);
    const int entries = 2 + static_cast<int>(rng() % 7);
    for (int i = 0; i < entries; ++i) {
        const unsigned kind = rng() % 10;
        if (kind < 3 && depth < 3) {
            MakeTree(dir / ("d" + std::to_string(i)), rng, depth + 1, names);
        } else if (kind == 3 && depth > 0) {
            std::error_code ec;
            std::filesystem::create_directory_symlink("..", dir / ("up" + std::to_string(i)), ec);
        } else {
            const std::string name = RandomName(rng);
            names.push_back(Cp(name));
            std::ofstream(dir / std::filesystem::u8path(name)) << "";
        }
    }
}

Lines RandomPlaylist(std::mt19937& rng, const Lines& names) {
    Lines playlist = {"#EXTM3U"};
    const int lines = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < lines; ++i) {
        switch (rng() % 8) {
            case 0: playlist.push_back(""); break;
            case 1: playlist.push_back("#EXTINF:1," + names[rng() % names.size()]); break;
            case 2: playlist.push_back(Cp(RandomName(rng))); break;  // may exist or not
            case 3: playlist.push_back(Cp(Pick(rng, kWords))); break;  // no extension
            case 4: playlist.push_back("D:\\Music\\" + ToUpperCase(names[rng() % names.size()])); break;
            default: playlist.push_back("/old/place/" + names[rng() % names.size()]); break;
        }
    }
    return playlist;
}

TEST(M3UFindProperty, OneWalkGivesWhatAWalkPerEntryGives) {
    std::mt19937 rng(20261206);
    for (int tree = 0; tree < 12; ++tree) {
        test::TempDir tmp;
        Lines names;
        MakeTree(tmp.str(), rng, 0, names);
        if (names.empty()) continue;
        const Lines candidates = {tmp.str(), tmp / "d0", tmp / "d1/d0", tmp / "missing"};
        for (int run = 0; run < 40; ++run) {
            M3UFindOptions o;
            o.searchAll = rng() % 3 == 0;
            o.anyMask = rng() % 2;
            o.useMask = rng() % 4 == 0;
            o.searchMask = Pick(rng, kMasks);
            o.addFileName = rng() % 4 == 0;
            Lines roots;
            for (unsigned r = 0, n = 1 + rng() % 3; r < n; ++r) roots.push_back(candidates[rng() % candidates.size()]);
            const Lines playlist = RandomPlaylist(rng, names);

            test::ScriptedPrompter prompter;
            const Lines oneWalk = FindPlaylistFiles(playlist, roots, o, prompter).lines;
            ASSERT_EQ(oneWalk, FindEntryByEntry(playlist, roots, o))
                << "tree " << tree << " run " << run << " all " << o.searchAll << " anyMask " << o.anyMask
                << " mask " << (o.useMask ? o.searchMask : "-");
        }
    }
}

}  // namespace
}  // namespace tandrel
