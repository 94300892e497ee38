// The file system as the core sees it. Every path is code-page-1251 text;
// names on disk are UTF-8. A path holding kUnmappableChar (a name on disk with a
// character outside code page 1251) is refused by every operation that changes
// or opens a file, so such a file is listed but never touched.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/result.h"

namespace tandrel {

enum FileAttr : unsigned {
    faReadOnly = 0x01,   // no owner write permission
    faHidden = 0x02,     // name begins with "."
    faDirectory = 0x10,
    faArchive = 0x20,    // every regular file
    faSymLink = 0x400,   // a symbolic link; the other bits describe what it points to
};

struct FindData {
    std::string name;       // code-page-1251; kUnmappableChar where a character did not fit
    unsigned attr = 0;      // FileAttr bits
    std::int64_t size = 0;
    std::uint32_t dosTime = 0;  // last write, DOS packed local time
    bool IsDirectory() const { return (attr & faDirectory) != 0; }
};

// How much a listing tells of each entry: everything, or only its name and
// whether it is a directory (faster: the file system is not asked about each
// entry where the listing itself says what it is).
enum class FindDetail { Full, NamesAndKinds };

// Where the entry a listing handed on last lies: its open directory and its
// name on disk, for opening it by that name alone instead of by a whole path.
// Valid until the listing moves on or closes.
struct ListedEntry {
    int directoryFd = -1;
    const char* nativeName = nullptr;  // UTF-8, as the directory holds it
};

// Find-first / find-next over one directory: every entry (including "." and
// ".."), all attributes, in the file system's own order, unsorted. The pattern
// is a directory, the delimiter and a name pattern with "*" and "?" ("*.*" and
// "*" list everything).
class FileFind {
public:
    FileFind();
    ~FileFind();
    FileFind(const FileFind&) = delete;
    FileFind& operator=(const FileFind&) = delete;

    // False when the directory cannot be listed or nothing matches.
    bool FindFirst(const std::string& pattern, FindData& out, FindDetail detail = FindDetail::Full);
    bool FindNext(FindData& out);
    void FindClose();
    // The entry last handed on; directoryFd -1 when there is none.
    ListedEntry Current() const;
    // Why the listing stopped early: the reason a directory could not be
    // opened or read, "" when it ended normally or nothing matched.
    const std::string& Error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Wildcard match of a name against a pattern with "*" (any run) and "?" (one
// character), byte for byte: callers lower-case both sides to ignore case.
bool WildcardMatch(const std::string& name, const std::string& pattern);

// True when path names an existing file whose modification time can be read
// (directories are not files).
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// True when the path holds a character that had no code-page-1251 form.
bool PathIsUnmappable(const std::string& path);

// Moves (renames) a file or directory; never replaces an existing target.
FileResult MoveFileNoReplace(const std::string& from, const std::string& to);
// The moves of one batch inside one directory, which is opened once: each
// move is relative to it and never replaces an existing target. Results and
// errors are those of MoveFileNoReplace on the joined paths.
class DirectoryMover {
public:
    explicit DirectoryMover(std::string dir);
    ~DirectoryMover();
    DirectoryMover(const DirectoryMover&) = delete;
    DirectoryMover& operator=(const DirectoryMover&) = delete;

    const std::string& dir() const { return dir_; }
    FileResult Move(const std::string& from, const std::string& to);

private:
    std::string dir_;
    int fd_ = -1;
    std::string from_, to_;  // the names on disk, buffers used again by each move
};

// Why MoveFileNoReplace refuses from -> to when an entry named to exists
// (UTF-8, as the move's own error).
std::string TargetExistsError(const std::string& from, const std::string& to);
// The checked rename of the message helpers: true when the rename succeeded.
[[nodiscard]] bool RenameFileChecked(const std::string& oldName, const std::string& newName);
// Copies a file, replacing an existing target.
FileResult CopyFileOver(const std::string& source, const std::string& target);
FileResult DeleteFileChecked(const std::string& path);
// Creates the directory with all missing parents.
FileResult CreateDirectories(const std::string& path);
// Gives the owner write permission.
FileResult SetAttributesNormal(const std::string& path);
// Last write time in DOS packed local form; false when it cannot be read.
bool FileDosTime(const std::string& path, std::uint32_t& dosTime);
// Converts a time_t to the DOS packed local form (dates before 1980 clamp to 1980-01-01).
std::uint32_t ToDosTime(std::int64_t unixTime);

// The process's current directory as code-page-1251 text, and changing it.
std::string CurrentDirectory();
FileResult SetCurrentDirectory(const std::string& path);

}  // namespace tandrel
