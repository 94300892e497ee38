// Copying files into a chosen directory: the selected files of the file list,
// or the files named by output lines (plain names, full names, or
// "name TAB [directory]" lines). A file of the same name in the target is
// replaced without a question; a file that does not exist copies nothing; a
// target that is the source itself is skipped with a note, never truncated.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tandrel {

// One file to copy: where it is, and the name it gets in the target directory.
struct CopySource {
    std::string path;
    std::string name;
    bool operator==(const CopySource&) const = default;
};

// The file an output line names, or nothing when there is none on disk.
// With names (lines "name TAB [dir]"): the name is the line up to the first
// of ".mp3", ".mp2", ".mp1", ".wav", ".wmv" (tried in that order, case
// ignored) in the directory between the last brackets; a line without one
// names nothing. Otherwise an existing file name keeps its last component, and
// a bare name is looked up in currentDir with ".mp3", then with ".wav".
std::optional<CopySource> OutputLineSource(const std::string& line, bool linesCarryNames,
                                           const std::string& currentDir);

// The sources of output lines, in order; lines that name nothing are left out.
std::vector<CopySource> OutputLineSources(const std::vector<std::string>& lines, bool linesCarryNames,
                                          const std::string& currentDir);

// The sources of the file list's selection: entries of dir that exist.
std::vector<CopySource> SelectedFileSources(const std::string& dir, const std::vector<std::string>& names);

struct CopyStats {
    int copied = 0;
    int failed = 0;
    int skipped = 0;             // the target was the source itself
    int notFound = 0;            // lines or entries that named no file on disk
    std::int64_t bytes = 0;      // bytes copied
    std::vector<std::string> failures;  // one line per failed copy
    std::vector<std::string> notes;     // one line per skipped file
    bool cancelled = false;             // the user stopped the batch
};

// Where a batch is: files done of all, bytes done of all.
struct CopyProgressInfo {
    std::size_t filesDone = 0, files = 0;
    std::int64_t bytesDone = 0, bytes = 0;
    std::string current;  // the source being copied
};
using CopyProgressSink = std::function<void(const CopyProgressInfo&)>;

// Copies each source into targetDir under its name, in order; every failure
// is recorded and the next file follows. stop, when given, is asked between
// two files and between two chunks of a file: true ends the batch, and the
// file being copied then leaves no target (an older one stays as it was).
CopyStats CopyFilesInto(const std::vector<CopySource>& sources, const std::string& targetDir,
                        const CopyProgressSink& progress = {}, const std::function<bool()>& stop = {});

// "Copied: N file(s), failed: M" and, when some were, "skipped (the same
// file): K" and "not found: L".
std::string CopySummary(const CopyStats& stats);
// The progress line: "Copying N of M file(s), X of Y MB".
std::string CopyProgressText(const CopyProgressInfo& info);

}  // namespace tandrel
