// Byte access to the files whose tags are read and written: a file named in
// code page 1251, read at any position without being changed, and bytes
// written in place. Names that hold a character outside code page 1251 are
// refused, as everywhere in the platform layer. Errors are UTF-8 texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"
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
    // Opens a file a directory listing found, by its name relative to the
    // listing's open directory and never through a link; path (code page
    // 1251) names it in messages. The start of the file is read at once: a
    // file smaller than the start window needs nothing more, a larger one is
    // examined on its descriptor for its size and refused unless regular.
    // A reader kept from file to file reuses its buffers.
    FileResult OpenListed(const ListedEntry& at, const std::string& path);
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
    const std::string& Name() const;
    void Close();

private:
    bool ReadDirect(std::int64_t pos, char* out, std::size_t n);
    // The start window's buffer, made once per reader and filled by reads only.
    char* Head();
    bool Cached(char* window, bool& loaded, std::int64_t start, std::int64_t length, std::int64_t pos, char* out,
                std::size_t n);

    int fd_ = -1;
    std::string path_;            // code page 1251, as given to OpenListed
    mutable std::string native_;  // made from path_ when first asked for
    mutable bool nativeKnown_ = false;
    std::int64_t size_ = 0;
    int lastErrno_ = 0;
    bool missing_ = false;
    std::unique_ptr<char[]> head_;  // the first bytes, where a tag header and its frames lie
    std::array<char, 128> tail_{};  // the last 128 bytes, where an ID3v1 record lies
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
