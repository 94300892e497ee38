// A regular file read in blocks, for inputs too large to hold whole.
#pragma once

#include <cstddef>
#include <string>

#include "platform/result.h"

namespace tandrel {

class ChunkReader {
public:
    ChunkReader() = default;
    ~ChunkReader();
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;

    // Opens a code-page-1251 path; anything but a regular file is refused.
    FileResult Open(const std::string& path);
    // Reads up to size bytes into data; got is 0 at the end of the file.
    FileResult Read(char* data, std::size_t size, std::size_t& got);
    void Close();

private:
    int fd_ = -1;
    std::string native_;
};

}  // namespace tandrel
