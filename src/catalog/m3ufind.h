// "Find mp3-names from M3U": every entry of a playlist is looked for by its
// file name on the given roots, and its line is replaced by the path found
// (single mode) or by every path found (search-all mode); an entry found
// nowhere stays as it is. Texts and paths are code-page-1251.
//
// Each root is walked once for all entries together, and the result is the
// one a separate walk per entry would give. A separate walk in single mode
// stops entering sub-directories once its entry is found, skips the later
// roots, and lets later files of the directories still being listed (up to
// each one's next sub-directory entry) replace the path found.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace tandrel {

struct M3UFindOptions {
    bool searchAll = false;    // M3USearchAll: every match takes the entry's place
    bool useMask = false;      // "Use Mask:" checked and enabled: the name loses its extension, searchMask filters
    std::string searchMask;    // the search mask (cboxMask)
    bool anyMask = true;       // AnyMask: an entry without an extension admits every file
    bool addFileName = false;  // "File Name": lines become name " " TAB "[" directory "]"
};

// What one entry is looked for by: the text a file's name must contain
// (without regard to case) and the mask its extension must pass.
struct EntryQuery {
    std::string name;
    std::string mask;
    bool operator==(const EntryQuery&) const = default;
};
EntryQuery FindQueryFor(const std::string& entry, const M3UFindOptions& options);

// The extension filter of the find: a mask whose text after its last "." is
// "*" or empty admits every file; otherwise the file's lower-cased extension
// must be a token of the lower-cased mask, or the file has no extension.
bool FindMaskAdmits(const std::string& mask, const std::string& fileName);

// "name \t[directory]" from a line, split at its last "\" or "/" (an empty
// directory when it has neither).
std::string NameAndDirectoryLine(const std::string& line);

struct M3UFindResult {
    std::vector<std::string> lines;  // the playlist with the entries replaced, empty lines removed
    std::size_t entries = 0;         // entry lines of the playlist
    std::size_t found = 0;           // of them, found at least once
    // The directories that could not be listed, each once with the status text it was reported with.
    std::vector<std::string> unreadable;
    // The user stopped the find: entries not found by then stay as they are.
    bool cancelled = false;
};

// Runs the find over the playlist lines. The prompter is told the directory
// being listed (progress text) and each directory that cannot be listed, once
// (status text); keepAlive, when given, is called for each file. The prompter
// is asked between two entries whether to stop.
M3UFindResult FindPlaylistFiles(const std::vector<std::string>& lines, const std::vector<std::string>& roots,
                                const M3UFindOptions& options, Prompter& prompter,
                                const std::function<void()>& keepAlive = {});

}  // namespace tandrel
