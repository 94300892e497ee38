#include "platform/textfile.h"

#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files.h"
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
    TextOrigin origin;
    return ReadTextDocument(path, lines, origin);
}

FileResult ReadTextDocument(const std::string& path, std::vector<std::string>& lines, TextOrigin& origin) {
    lines.clear();
    origin = TextOrigin{};
    std::string bytes;
    if (FileResult r = ReadFileBytes(path, bytes); !r) return r;
    lines = DecodeTextDocument(bytes, NameMeansUtf8(path), origin);
    return FileResult::Success();
}

FileResult WriteTextDocument(const std::string& path, const std::vector<std::string>& lines,
                             const TextOrigin& origin) {
    return ReplaceFileContents(path, EncodeTextDocument(lines, origin));
}

FileResult ReadTextDocument(const std::string& path, TextLines& lines, TextOrigin& origin) {
    lines = TextLines();
    origin = TextOrigin{};
    std::string bytes;
    if (FileResult r = ReadFileBytes(path, bytes); !r) return r;
    lines = DecodeTextDocumentLines(std::move(bytes), NameMeansUtf8(path), origin);
    return FileResult::Success();
}

FileResult WriteTextDocument(const std::string& path, const LineList& lines, const TextOrigin& origin) {
    // Written a block at a time as it is encoded, never held whole, through
    // the same temporary file ReplaceFileContents writes.
    if (FileResult r = CheckMappable("write", path); !r) return r;
    detail::AtomicFileWriter writer;
    if (FileResult r = writer.Begin(NativePath(path)); !r) return r;
    FileResult failed = FileResult::Success();
    const bool written = EncodeTextDocument(lines, origin, kEncodeBlockSize, [&](std::string_view block) {
        failed = writer.Write(block.data(), block.size());
        return failed.ok;
    });
    if (!written) return failed;
    return writer.Commit();
}

FileResult WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    return ReplaceFileContents(path, EncodeTextDocument(lines, TextOrigin{}));
}

FileResult RewriteTextFile(const std::string& path, const std::vector<std::string>& lines) {
    TextOrigin origin;
    if (FileExists(path)) {
        std::vector<std::string> old;
        if (FileResult r = ReadTextDocument(path, old, origin); !r) return r;
    }
    return WriteTextDocument(path, lines, origin);
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
    decoder_ = TextDecoder(NameMeansUtf8(path));
    atEnd_ = false;
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

// Reads the next block; a block that is not code page 1251 is converted, and
// one that converts to nothing (a mark, a cut sequence) is followed by the next.
bool TextLineReader::Fill() {
    pos_ = 0;
    size_ = 0;
    while (size_ == 0 && !atEnd_) {
        buffer_.resize(kBufferSize);
        const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (got == 0) {
            atEnd_ = true;
            if (std::ferror(file_)) {
                failed_ = true;
                return false;
            }
            decoded_.clear();
            decoder_.Finish(decoded_);
            buffer_.swap(decoded_);
            size_ = buffer_.size();
        } else {
            decoded_.clear();
            if (decoder_.Decode(std::string_view(buffer_.data(), got), decoded_)) {
                buffer_.swap(decoded_);
                size_ = buffer_.size();
            } else {
                size_ = got;
            }
        }
    }
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
    atEnd_ = false;
    pos_ = size_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
    decoded_.clear();
    decoded_.shrink_to_fit();
}

TextBlockReader::~TextBlockReader() { Close(); }

FileResult TextBlockReader::Open(const std::string& path, std::size_t blockSize) {
    Close();
    if (FileResult r = CheckMappable("read", path); !r) return r;
    struct stat st {};
    if (FileResult r = detail::OpenRegularFile(NativePath(path), fd_, st); !r) return r;
    blockSize_ = std::max<std::size_t>(blockSize, 4);  // the first block holds a byte-order mark whole
    decoder_ = TextDecoder(NameMeansUtf8(path));
    atEnd_ = failed_ = seenText_ = firstNul_ = false;
    return FileResult::Success();
}

// Reads up to n bytes; false on a read error.
bool TextBlockReader::ReadBlock(char* to, std::size_t n, std::size_t& got) {
    got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd_, to + got, n - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

std::size_t TextBlockReader::Append(std::string& text) { return Append(text, nullptr); }

std::size_t TextBlockReader::Append(std::string& text, const ByteSet* wanted) {
    if (atEnd_) return 0;
    const std::size_t start = text.size();
    std::size_t got = 0;
    bool rawNul = false;  // of UTF-8 text: a NUL in the bytes is a NUL in the text left out or not
    const bool unicode = decoder_.encoding() != TextEncoding::Cp1251;
    if (unicode) {
        // A Unicode file: the block is converted straight into the text.
        raw_.resize(blockSize_);
        if (!ReadBlock(raw_.data(), blockSize_, got)) {
            failed_ = atEnd_ = true;
            return 0;
        }
        if (!seenText_) rawNul = std::memchr(raw_.data(), '\0', got) != nullptr;
        if (got == 0) {
            atEnd_ = true;
            decoder_.Finish(text);
        } else {
            decoder_.Decode(std::string_view(raw_.data(), got), text, wanted);
        }
    } else {
        text.resize(start + blockSize_);
        const bool read = ReadBlock(text.data() + start, blockSize_, got);
        text.resize(read ? start + got : start);
        if (!read) {
            failed_ = atEnd_ = true;
            return 0;  // what the failed block held is not used
        }
        if (!seenText_) rawNul = std::memchr(text.data() + start, '\0', got) != nullptr;
        if (got == 0) {
            atEnd_ = true;
            decoder_.Finish(text);
        } else {
            raw_.clear();
            if (decoder_.Decode(std::string_view(text.data() + start, got), raw_, wanted)) {
                text.resize(start);
                text += raw_;
            }
        }
    }
    const std::size_t added = text.size() - start;
    if (!seenText_ && added > 0) {
        seenText_ = true;
        firstNul_ = decoder_.encoding() == TextEncoding::Utf8 ? rawNul
                                                              : std::memchr(text.data() + start, '\0', added) != nullptr;
    }
    return added;
}

void TextBlockReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    atEnd_ = true;
    raw_.clear();
    raw_.shrink_to_fit();
}

}  // namespace tandrel
