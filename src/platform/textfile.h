// Files as bytes and as text lines. Lines end at CR, LF or CR LF when read and
// are written with CR LF. Every whole-file write goes to a temporary file in
// the same folder that is then renamed over the original, so a failure leaves
// the old or the new file, never a torn one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

FileResult ReadFileBytes(const std::string& path, std::string& bytes);
FileResult ReplaceFileContents(const std::string& path, const std::string& bytes);

FileResult ReadTextLines(const std::string& path, std::vector<std::string>& lines);
FileResult WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

// Reads a text file line by line without holding it whole; lines of any length.
class TextLineReader {
public:
    // Bytes read from the file at a time.
    static constexpr std::size_t kBufferSize = 64 * 1024;

    TextLineReader() = default;
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    FileResult Open(const std::string& path);
    // False at the end of the file or on a read error (then Failed() is true).
    bool Next(std::string& line);
    bool Failed() const { return failed_; }
    void Close();

private:
    bool Fill();

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool pendingCr_ = false;  // the last line ended with CR; a LF that follows belongs to it
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
};

}  // namespace tandrel
