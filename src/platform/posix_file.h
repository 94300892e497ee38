// Internal helpers of the platform library: error texts, the refusal of names
// that have no code-page-1251 form, whole-file reads, the splitting of text into
// lines, and the writer that replaces a file through a temporary file.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel::detail {

std::string ErrnoText(int err);
// "Cannot <action> "<path>": <reason>"; the path is UTF-8 (as on disk).
FileResult Fail(const std::string& action, const std::string& nativePath, const std::string& reason);
FileResult FailErrno(const std::string& action, const std::string& nativePath, int err);

// A failure for a code-page-1251 path that holds kUnmappableChar, success otherwise.
FileResult CheckMappable(const std::string& action, const std::string& path);
// The UTF-8 form of a code-page-1251 path.
std::string NativePath(const std::string& path);

// The errno of a read refused because the path is no regular file (a FIFO, a
// device, a socket): such a file could block a read forever or never end.
inline constexpr int kNotRegularErrno = EINVAL;

// Opens a regular file for reading. Anything else is refused before it is
// opened; the file is opened without blocking (a FIFO swapped in meanwhile
// would wait for a writer), checked again on the open descriptor and then set
// back to blocking reads. fd receives the descriptor, st its status.
FileResult OpenRegularFile(const std::string& nativePath, int& fd, struct stat& st, int* errnoOut = nullptr);

inline constexpr std::size_t kNoSizeLimit = static_cast<std::size_t>(-1);

// Reads a whole regular file; errnoOut receives the errno of a failure (0 on
// success). A file of more than maxBytes is refused (EFBIG).
FileResult ReadWholeFile(const std::string& nativePath, std::string& bytes, int* errnoOut = nullptr,
                         std::size_t maxBytes = kNoSizeLimit);

// Splits bytes into lines ending at CR, LF or CR LF. A last line without an
// ending counts; an ending at the very end adds no empty line.
void SplitTextLines(const std::string& bytes, std::vector<std::string>& lines);

// The move of MoveFileNoReplace for file systems without RENAME_NOREPLACE:
// link and unlink for files, a checked rename for folders and for file systems
// without hard links. Code-page-1251 paths, already checked.
FileResult MoveWithoutRenameFlags(const std::string& from, const std::string& to);

// The folder of a UTF-8 path ("." when it has none).
std::string FolderOf(const std::string& path);
// Makes the renames in a folder durable; file systems that cannot sync a
// folder are left as they are.
void SyncFolder(const std::string& folder);

// Creates a folder and every missing parent (UTF-8 path).
FileResult MakeDirectories(const std::string& nativePath);

// Writes a file whole: the bytes go to a temporary file in the target's folder,
// which is synced and then renamed over the target. Until Commit succeeds the
// target is untouched; a writer destroyed without a commit removes its
// temporary file. A target without owner write permission is refused, as a
// read-only file is, and so is one that is no regular file; an existing
// target's permissions are kept.
//
// The temporary file has no name while it is written (O_TMPFILE) where the
// file system allows it, so a killed process leaves nothing behind; it gets a
// name only at the commit, just before the rename. Elsewhere it is named
// ".tandrel-<pid>-<random>.tmp"; the first save of a process in a folder
// removes the files of that pattern whose process is gone.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // newFileMode: permissions of a file that does not exist yet (the umask applies).
    FileResult Begin(const std::string& nativeTarget, mode_t newFileMode = 0666);
    FileResult Write(const char* data, std::size_t size);
    // Appends count bytes of the open file fd from its offset from, copied by
    // the kernel where it can (plain reads and writes of one small buffer
    // where it cannot). A source that ends early fails as a read of
    // sourceName (UTF-8).
    FileResult CopyFrom(int fd, std::int64_t from, std::int64_t count, const std::string& sourceName);
    FileResult Commit();
    int Fd() const { return fd_; }

private:
    void Discard();
    FileResult BeginNamed(const std::string& folder, mode_t mode);
    FileResult LinkUnnamed(const std::string& folder);

    std::string target_;
    std::string temp_;  // the temporary file's name once it has one
    int fd_ = -1;
};

// Seams for the crash test: a hook called at each step of every save (the test
// kills the process there), and a switch to named temporary files, as on file
// systems without unnamed ones.
enum class WriteStep { Created, Wrote, Synced, Named, Renamed };
using WriteStepHook = void (*)(WriteStep);
void SetWriteStepHook(WriteStepHook hook);
void SetUnnamedTemporariesAllowed(bool allowed);
// A switch to plain reads and writes in file copies, as on kernels without
// copy_file_range.
void SetKernelCopyAllowed(bool allowed);
bool KernelCopyAllowed();

// Removes the temporary files of writers whose process is gone from the folder
// (UTF-8 path). Files of live processes and every other file are left alone.
void RemoveDeadTemporaries(const std::string& nativeFolder);

FileResult WriteFileAtomic(const std::string& nativeTarget, const std::string& bytes);

}  // namespace tandrel::detail
