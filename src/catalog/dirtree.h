// The directory tree file: every directory and every file the mask admits
// below a scanned directory, one line each, in one of four layouts, written
// as code-page-1251 text with CR LF into the directory for writing.
//
// Also what the tree and the description files share: the name of a
// directory in a file name, the drive roots and the result of a run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace tandrel {

// What one tree or description run did.
struct CatalogStats {
    int directories = 0;               // directories listed
    std::vector<std::string> written;  // files written, in order
    // Each directory that could not be read, created or written, once, with why.
    std::vector<std::string> failures;
    // The user stopped the run: what was written is kept, nothing more is.
    bool cancelled = false;
};

// "Written: N file(s), failed: M" and the first failure.
std::string CatalogSummary(const CatalogStats& stats);

// The last component of dir (trailing delimiters ignored); "root" for the
// file system root. Never holds the delimiter.
std::string DirectoryLabel(const std::string& dir);
// dir without trailing delimiters ("/" stays).
std::string TrimTrailingDelimiters(std::string dir);
// True when dir is one of the drive roots (trailing delimiters ignored).
bool IsDriveRoot(const std::string& dir, const std::vector<std::string>& driveRoots);

struct TreeOptions {
    int treeMode = 0;       // TreeMode: 0 full paths, 1 lines, 2 indented, 3 indented without the start line
    int treeNameMode = 0;   // TreeNameMode: 0 date, 1 dir, 2 date_dir, 3 dir_date, else "Tree.td"
    bool addingDate = false;  // AddingDate: "Date: ", "Time: " and an empty line first
    std::int64_t now = 0;   // the moment whose local date and time the run uses (seconds since 1970)
};

// The tree file's name: date is the "yyyy.mm.dd" text, dir the scanned
// directory's label.
std::string TreeFileName(int treeNameMode, const std::string& scanDir, const std::string& date);

// The lines of the tree of scanDir through mask (the walkers' mask filter).
// Directories that cannot be read are counted in stats.failures and on the
// status line; the progress counts and shows each directory and file. The walk
// asks the prompter between two entries whether to stop (stats.cancelled).
std::vector<std::string> TreeLines(const std::string& scanDir, const std::string& mask, const TreeOptions& options,
                                   Prompter& prompter, CatalogStats& stats);

// TreeLines written to the tree file in writeDir (replacing one there); a
// cancelled walk writes no tree, which would pass for the whole.
CatalogStats MakeTree(const std::string& scanDir, const std::string& writeDir, const std::string& mask,
                      const TreeOptions& options, Prompter& prompter);

}  // namespace tandrel
