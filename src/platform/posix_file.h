// Internal helpers of the platform library: error texts, the refusal of names
// that have no code-page-1251 form, whole-file reads, the splitting of text into
// lines, and the writer that replaces a file through a temporary file.
#pragma once

#include <sys/types.h>

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

// Reads the whole file; errnoOut receives the errno of a failure (0 on success).
FileResult ReadWholeFile(const std::string& nativePath, std::string& bytes, int* errnoOut = nullptr);

// Splits bytes into lines ending at CR, LF or CR LF. A last line without an
// ending counts; an ending at the very end adds no empty line.
void SplitTextLines(const std::string& bytes, std::vector<std::string>& lines);

// The move of MoveFileNoReplace for file systems without RENAME_NOREPLACE:
// link and unlink for files, a checked rename for folders and for file systems
// without hard links. Code-page-1251 paths, already checked.
FileResult MoveWithoutRenameFlags(const std::string& from, const std::string& to);

// Creates a folder and every missing parent (UTF-8 path).
FileResult MakeDirectories(const std::string& nativePath);

// Writes a file whole: the bytes go to a temporary file in the target's folder,
// which is synced and then renamed over the target. Until Commit succeeds the
// target is untouched; a writer destroyed without a commit removes its
// temporary file. A target without owner write permission is refused, as a
// read-only file is; an existing target's permissions are kept.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // newFileMode: permissions of a file that does not exist yet (the umask applies).
    FileResult Begin(const std::string& nativeTarget, mode_t newFileMode = 0666);
    FileResult Write(const char* data, std::size_t size);
    FileResult Commit();
    int Fd() const { return fd_; }

private:
    void Discard();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

FileResult WriteFileAtomic(const std::string& nativeTarget, const std::string& bytes);

}  // namespace tandrel::detail
