#include "platform/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/cp1251.h"

namespace tandrel::detail {

std::string ErrnoText(int err) {
    char buf[256];
    // GNU strerror_r returns the text, which may or may not be in buf.
    return strerror_r(err, buf, sizeof buf);
}

FileResult Fail(const std::string& action, const std::string& nativePath, const std::string& reason) {
    return FileResult::Failure("Cannot " + action + " \"" + nativePath + "\": " + reason);
}

FileResult FailErrno(const std::string& action, const std::string& nativePath, int err) {
    return Fail(action, nativePath, ErrnoText(err));
}

FileResult CheckMappable(const std::string& action, const std::string& path) {
    if (path.find(kUnmappableChar) == std::string::npos) return FileResult::Success();
    return Fail(action, NativePath(path), "the name holds a character outside code page 1251");
}

std::string NativePath(const std::string& path) { return Cp1251ToUtf8(path); }

FileResult ReadWholeFile(const std::string& nativePath, std::string& bytes, int* errnoOut) {
    bytes.clear();
    auto failed = [&](int err) {
        if (errnoOut) *errnoOut = err;
        return FailErrno("read", nativePath, err);
    };
    if (errnoOut) *errnoOut = 0;
    int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return failed(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        return failed(err);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return failed(EISDIR);
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[64 * 1024];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            bytes.clear();
            return failed(err);
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return FileResult::Success();
}

void SplitTextLines(const std::string& bytes, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(bytes, start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(bytes, start, n - start);
}

FileResult MakeDirectories(const std::string& nativePath) {
    if (nativePath.empty()) return Fail("create folder", nativePath, "the name is empty");
    std::size_t pos = 0;
    for (;;) {
        pos = nativePath.find('/', pos + 1);
        std::string part = nativePath.substr(0, pos);
        if (!part.empty() && part.back() != '/') {
            struct stat st {};
            if (::stat(part.c_str(), &st) == 0) {
                if (!S_ISDIR(st.st_mode)) return Fail("create folder", part, "a file of that name exists");
            } else if (::mkdir(part.c_str(), 0777) != 0) {
                int err = errno;
                if (!(err == EEXIST && ::stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
                    return FailErrno("create folder", part, err);
            }
        }
        if (pos == std::string::npos) break;
    }
    return FileResult::Success();
}

namespace {

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string TempSuffix() {
    static std::atomic<unsigned> counter{0};
    unsigned long long seed =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<unsigned long long>(::getpid()) << 20) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (int i = 0; i < 8; ++i) {
        s += digits[seed % 36];
        seed /= 36;
    }
    return s;
}

void SyncFolder(const std::string& folder) {
    // Makes the rename durable; file systems that cannot sync a folder are fine as they are.
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

FileResult AtomicFileWriter::Begin(const std::string& nativeTarget, mode_t newFileMode) {
    Discard();
    if (nativeTarget.empty()) return Fail("write", nativeTarget, "the name is empty");
    target_ = nativeTarget;

    // A symbolic link is written through, so the link stays a link.
    struct stat lst {};
    if (::lstat(target_.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = ::realpath(target_.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    struct stat st {};
    bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return Fail("write", nativeTarget, "it is a folder");
        if ((st.st_mode & S_IWUSR) == 0) return Fail("write", nativeTarget, "the file is read-only");
    } else if (errno != ENOENT) {
        return FailErrno("write", nativeTarget, errno);
    }

    std::string folder = FolderOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = (folder == "/" ? std::string("/") : folder + "/") + ".tandrel-" + TempSuffix() + ".tmp";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : newFileMode);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = name;
            break;
        }
        if (errno != EEXIST) return FailErrno("write", nativeTarget, errno);
    }
    if (fd_ < 0) return Fail("write", nativeTarget, "no temporary file name is free");
    if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        int err = errno;
        Discard();
        return FailErrno("write", nativeTarget, err);
    }
    return FileResult::Success();
}

FileResult AtomicFileWriter::Write(const char* data, std::size_t size) {
    if (fd_ < 0) return Fail("write", target_, "the file is not open");
    while (size > 0) {
        ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            Discard();
            return FailErrno("write", target_, err);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return FileResult::Success();
}

FileResult AtomicFileWriter::Commit() {
    if (fd_ < 0) return Fail("write", target_, "the file is not open");
    if (::fsync(fd_) != 0) {
        int err = errno;
        Discard();
        return FailErrno("write", target_, err);
    }
    int closeResult = ::close(fd_);
    fd_ = -1;
    if (closeResult != 0) {
        int err = errno;
        Discard();
        return FailErrno("write", target_, err);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        int err = errno;
        Discard();
        return FailErrno("write", target_, err);
    }
    temp_.clear();
    SyncFolder(FolderOf(target_));
    return FileResult::Success();
}

FileResult WriteFileAtomic(const std::string& nativeTarget, const std::string& bytes) {
    AtomicFileWriter writer;
    if (FileResult r = writer.Begin(nativeTarget); !r) return r;
    if (FileResult r = writer.Write(bytes.data(), bytes.size()); !r) return r;
    return writer.Commit();
}

}  // namespace tandrel::detail
