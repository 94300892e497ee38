#include "tags/tagfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/files.h"
#include "text/cp1251.h"

namespace tandrel {

namespace fs = std::filesystem;

namespace {

FileResult Fail(const std::string& action, const std::string& native, const std::string& reason) {
    return FileResult::Failure("Cannot " + action + " \"" + native + "\": " + reason);
}

std::string LastErrno() {
    return errno != 0 ? std::string(std::strerror(errno)) : std::string("input/output error");
}

// The UTF-8 name on disk, or a failure for a name the platform refuses.
FileResult NativeName(const std::string& action, const std::string& path, std::string& native) {
    native = Cp1251ToUtf8(path);
    if (path.empty()) return Fail(action, native, "the name is empty");
    if (PathIsUnmappable(path)) return Fail(action, native, "the name holds a character outside code page 1251");
    return FileResult::Success();
}

FileResult CheckRegularFile(const std::string& action, const std::string& native, std::int64_t& size) {
    std::error_code ec;
    const fs::file_status st = fs::status(native, ec);
    if (ec) return Fail(action, native, ec.message());
    if (fs::is_directory(st)) return Fail(action, native, "it is a folder");
    if (!fs::is_regular_file(st)) return Fail(action, native, "it is not a regular file");
    const std::uintmax_t n = fs::file_size(native, ec);
    if (ec) return Fail(action, native, ec.message());
    size = static_cast<std::int64_t>(n);
    return FileResult::Success();
}

}  // namespace

namespace {

constexpr std::int64_t kHeadWindow = 8 * 1024;
constexpr std::int64_t kTailWindow = 128;
static_assert(kTailWindow == std::tuple_size_v<std::array<char, 128>>);

}  // namespace

TagFileReader::~TagFileReader() { Close(); }

void TagFileReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    headLoaded_ = tailLoaded_ = false;
}

const std::string& TagFileReader::Name() const {
    if (!nativeKnown_) {
        native_ = Cp1251ToUtf8(path_);
        nativeKnown_ = true;
    }
    return native_;
}

FileResult TagFileReader::Open(const std::string& path) {
    Close();
    size_ = 0;
    lastErrno_ = 0;
    missing_ = false;
    nativeKnown_ = true;
    if (FileResult r = NativeName("read", path, native_); !r) return r;
    // Only a regular file is opened: the stat comes first.
    struct stat st {};
    if (::stat(native_.c_str(), &st) != 0) {
        const int err = errno;
        missing_ = err == ENOENT || err == ENOTDIR;
        return Fail("read", native_, std::strerror(err));
    }
    if (S_ISDIR(st.st_mode)) {
        missing_ = true;
        return Fail("read", native_, "it is a folder");
    }
    if (!S_ISREG(st.st_mode)) return Fail("read", native_, "it is not a regular file");
    // Non-blocking: a pipe put in the file's place since the stat cannot hang the open.
    const int fd = ::open(native_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        missing_ = err == ENOENT;
        return Fail("read", native_, std::strerror(err));
    }
    fd_ = fd;
    size_ = static_cast<std::int64_t>(st.st_size);
    return FileResult::Success();
}

FileResult TagFileReader::OpenListed(const ListedEntry& at, const std::string& path) {
    Close();
    size_ = 0;
    lastErrno_ = 0;
    missing_ = false;
    path_.assign(path);
    nativeKnown_ = false;
    if (at.directoryFd < 0 || at.nativeName == nullptr) return Fail("read", Name(), "the listing has moved on");
    // Non-blocking and not through a link: a pipe or a link put in the file's
    // place since the listing can neither hang the open nor lead elsewhere.
    const int fd = ::openat(at.directoryFd, at.nativeName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        const int err = errno;
        missing_ = err == ENOENT;
        return Fail("read", Name(), std::strerror(err));
    }
    fd_ = fd;
    ssize_t got;
    do {
        got = ::pread(fd_, Head(), static_cast<std::size_t>(kHeadWindow), 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        const int err = errno;
        Close();
        return Fail("read", Name(), std::strerror(err));
    }
    // A regular file returns less than was asked for only where it ends.
    if (got < kHeadWindow) {
        size_ = got;
        headLoaded_ = true;
        return FileResult::Success();
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        Close();
        return Fail("read", Name(), std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        Close();
        return Fail("read", Name(), "it is not a regular file");
    }
    // The window holds the start of a file of this size (its first size_ bytes when it shrank since the read).
    size_ = static_cast<std::int64_t>(st.st_size);
    headLoaded_ = true;
    return FileResult::Success();
}

bool TagFileReader::ReadDirect(std::int64_t pos, char* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(pos) + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            lastErrno_ = errno;
            return false;
        }
        if (got == 0) {
            lastErrno_ = 0;  // the file ends too early
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// Serves a read from a window of the file read once; false when the read does
// not lie inside the window (or the window cannot be read).
char* TagFileReader::Head() {
    if (!head_) head_.reset(new char[static_cast<std::size_t>(kHeadWindow)]);
    return head_.get();
}

bool TagFileReader::Cached(char* window, bool& loaded, std::int64_t start, std::int64_t length, std::int64_t pos,
                           char* out, std::size_t n) {
    if (length <= 0 || pos < start || pos + static_cast<std::int64_t>(n) > start + length) return false;
    if (!loaded) {
        if (!ReadDirect(start, window, static_cast<std::size_t>(length))) return false;
        loaded = true;
    }
    std::memcpy(out, window + (pos - start), n);
    return true;
}

bool TagFileReader::ReadAt(std::int64_t pos, char* out, std::size_t n) {
    if (fd_ < 0 || pos < 0) {
        lastErrno_ = EBADF;
        return false;
    }
    if (n == 0) return true;
    // A file no larger than the start window is read whole, once.
    const std::int64_t tailStart = std::max<std::int64_t>(0, size_ - kTailWindow);
    if (size_ > kHeadWindow && Cached(tail_.data(), tailLoaded_, tailStart, size_ - tailStart, pos, out, n)) return true;
    if (Cached(Head(), headLoaded_, 0, std::min(size_, kHeadWindow), pos, out, n)) return true;
    return ReadDirect(pos, out, n);
}

FileResult TagFileReader::ReadFailure() const {
    return Fail("read", Name(), lastErrno_ != 0 ? std::strerror(lastErrno_) : "the file ends too early");
}

FileResult WriteFileBytesAt(const std::string& path, std::int64_t pos, std::string_view bytes,
                            std::int64_t originalSize) {
    std::string native;
    if (FileResult r = NativeName("write", path, native); !r) return r;
    std::int64_t size = 0;
    if (FileResult r = CheckRegularFile("write", native, size); !r) return r;
    errno = 0;
    std::fstream out(native, std::ios::in | std::ios::out | std::ios::binary);
    if (!out.is_open()) return Fail("write", native, LastErrno());
    out.seekp(pos);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const bool written = static_cast<bool>(out);
    const std::string reason = written ? std::string() : LastErrno();
    out.close();
    if (written && !out.fail()) return FileResult::Success();
    if (pos + static_cast<std::int64_t>(bytes.size()) > originalSize) {
        std::error_code ec;
        fs::resize_file(native, static_cast<std::uintmax_t>(originalSize), ec);
    }
    return Fail("write", native, reason.empty() ? LastErrno() : reason);
}

FileResult CutFile(const std::string& path, std::int64_t size) {
    std::string native;
    if (FileResult r = NativeName("write", path, native); !r) return r;
    std::error_code ec;
    fs::resize_file(native, static_cast<std::uintmax_t>(size), ec);
    if (ec) return Fail("write", native, ec.message());
    return FileResult::Success();
}

std::int64_t TagFileSize(const std::string& path) {
    std::string native;
    std::int64_t size = -1;
    if (!NativeName("read", path, native) || !CheckRegularFile("read", native, size)) return -1;
    return size;
}

}  // namespace tandrel
