// Byte access to the files whose tags are read and written: a file named in
// code page 1251, read at any position without being changed, and bytes
// written in place. Names that hold a character outside code page 1251 are
// refused, as everywhere in the platform layer. Errors are UTF-8 texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace tandrel {

class TagFileReader {
public:
    // Fails for a missing file and for anything but a regular file (a folder,
    // a pipe that would block).
    FileResult Open(const std::string& path);
    std::int64_t Size() const { return size_; }
    // Reads exactly n bytes at pos; false on a short read or an error.
    bool ReadAt(std::int64_t pos, char* out, std::size_t n);
    // The reason of the last failed ReadAt.
    FileResult ReadFailure() const;

private:
    std::ifstream in_;
    std::string native_;
    std::int64_t size_ = 0;
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
