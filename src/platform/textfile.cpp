#include "platform/textfile.h"

#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix_file.h"

namespace tandrel {

using detail::CheckMappable;
using detail::NativePath;

FileResult ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (FileResult r = CheckMappable("read", path); !r) return r;
    return detail::ReadWholeFile(NativePath(path), bytes);
}

FileResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
    if (FileResult r = CheckMappable("write", path); !r) return r;
    return detail::WriteFileAtomic(NativePath(path), bytes);
}

FileResult ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    if (FileResult r = ReadFileBytes(path, bytes); !r) return r;
    detail::SplitTextLines(bytes, lines);
    return FileResult::Success();
}

FileResult WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size() + 2;
    std::string bytes;
    bytes.reserve(total);
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return ReplaceFileContents(path, bytes);
}

TextLineReader::~TextLineReader() { Close(); }

FileResult TextLineReader::Open(const std::string& path) {
    Close();
    failed_ = false;
    cutLines_ = 0;
    if (FileResult r = CheckMappable("read", path); !r) return r;
    const std::string native = NativePath(path);
    int fd = -1;
    struct stat st {};
    if (FileResult r = detail::OpenRegularFile(native, fd, st); !r) return r;
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        return detail::FailErrno("read", native, err);
    }
    buffer_.resize(kBufferSize);
    return FileResult::Success();
}

bool TextLineReader::FirstBlockHoldsNul() {
    if (!file_) return false;
    if (pos_ == 0 && size_ == 0) Fill();
    return std::memchr(buffer_.data(), '\0', size_) != nullptr;
}

bool TextLineReader::Fill() {
    pos_ = 0;
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (size_ == 0 && std::ferror(file_)) failed_ = true;
    return size_ > 0;
}

bool TextLineReader::Next(std::string& line) {
    line.clear();
    if (!file_ || failed_) return false;
    bool any = false;  // bytes of this line were seen (an empty ended line counts too)
    bool cut = false;  // the line reached the limit; the rest of it is skipped
    for (;;) {
        if (pos_ == size_ && !Fill()) return any && !failed_;
        if (pendingCr_) {
            pendingCr_ = false;
            if (buffer_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        std::size_t start = pos_;
        while (pos_ < size_ && buffer_[pos_] != '\r' && buffer_[pos_] != '\n') ++pos_;
        if (!cut) {
            const std::size_t room = maxLine_ - line.size();
            if (pos_ - start > room) {
                line.append(buffer_, start, room);
                cut = true;
                ++cutLines_;
            } else {
                line.append(buffer_, start, pos_ - start);
            }
        }
        any = true;
        if (pos_ < size_) {
            pendingCr_ = buffer_[pos_] == '\r';
            ++pos_;
            return true;
        }
    }
}

void TextLineReader::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    pendingCr_ = false;
    pos_ = size_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
}

}  // namespace tandrel
