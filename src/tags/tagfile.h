// Byte access to the files whose tags are read and written: a file named in
// code page 1251, read at any position without being changed, and bytes
// written in place. Names that hold a character outside code page 1251 are
// refused, as everywhere in the platform layer. Errors are UTF-8 texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace tandrel {

class TagFileReader {
public:
    TagFileReader() = default;
    ~TagFileReader();
    TagFileReader(const TagFileReader&) = delete;
    TagFileReader& operator=(const TagFileReader&) = delete;

    // Fails for a missing file and for anything but a regular file (a folder,
    // a pipe that would block). One stat and one open; the reads that follow
    // are positioned, and the start and the last 128 bytes are read once each.
    FileResult Open(const std::string& path);
    std::int64_t Size() const { return size_; }
    // Reads exactly n bytes at pos; false on a short read or an error.
    bool ReadAt(std::int64_t pos, char* out, std::size_t n);
    // The reason of the last failed ReadAt.
    FileResult ReadFailure() const;
    // True when the last Open failed because there is no file by that name
    // (nothing, or a folder).
    bool Missing() const { return missing_; }
    // The open descriptor, for copies by the kernel; -1 when not open.
    int Fd() const { return fd_; }
    // The UTF-8 name of the file last opened, as the messages give it.
    const std::string& Name() const { return native_; }
    void Close();

private:
    bool ReadDirect(std::int64_t pos, char* out, std::size_t n);
    bool Cached(std::string& window, bool& loaded, std::int64_t start, std::int64_t length, std::int64_t pos,
                char* out, std::size_t n);

    int fd_ = -1;
    std::string native_;
    std::int64_t size_ = 0;
    int lastErrno_ = 0;
    bool missing_ = false;
    std::string head_;  // the first bytes, where a tag header and its frames lie
    std::string tail_;  // the last 128 bytes, where an ID3v1 record lies
    bool headLoaded_ = false;
    bool tailLoaded_ = false;
};

// Writes bytes at pos of an existing file without cutting it. When the write
// fails, a file it had grown is cut back to originalSize, so a failed append
// leaves no partial tail.
FileResult WriteFileBytesAt(const std::string& path, std::int64_t pos, std::string_view bytes,
                            std::int64_t originalSize);

// Cuts an existing file to size bytes.
FileResult CutFile(const std::string& path, std::int64_t size);

// The size of a regular file, or -1 when it is missing or cannot be examined.
std::int64_t TagFileSize(const std::string& path);

}  // namespace tandrel
