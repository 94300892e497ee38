// A file that grows by appended records, each handed to the file system when
// it is appended (a killed process loses none) and synced on request (a lost
// power loses none that were synced). The journal of the rename log uses it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/result.h"

namespace tandrel {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens path (code-page-1251) for appending, creating it when missing.
    // Anything but a regular file is refused; a link is not followed.
    FileResult Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // Writes the bytes whole at the end, or reports why not.
    FileResult Append(const std::string& bytes);
    // Cuts the file back to size bytes (to take back the last record).
    FileResult Truncate(std::int64_t size);
    std::int64_t Size() const { return size_; }
    // Makes what was appended durable.
    FileResult Sync();
    // Makes this file, as appended and synced so far, the file target
    // (code-page-1251) in the same folder, as a whole-file write would leave
    // it: one rename replaces the old file at once and the folder is synced.
    // Only where that write would simply replace a file: target missing, or a
    // regular file (not a link) that the owner may write, whose permissions
    // this file then takes. Otherwise, and on any failure, both stay as they
    // are and the answer is false; on true this file is closed.
    bool MoveOver(const std::string& target);
    void Close();

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
    std::string native_;
};

}  // namespace tandrel
