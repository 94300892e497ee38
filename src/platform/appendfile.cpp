#include "platform/appendfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix_file.h"

namespace tandrel {

using detail::CheckMappable;
using detail::Fail;
using detail::FailErrno;

AppendFile::~AppendFile() { Close(); }

void AppendFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

FileResult AppendFile::Open(const std::string& path) {
    Close();
    if (FileResult r = CheckMappable("write", path); !r) return r;
    native_ = detail::NativePath(path);
    const int fd = ::open(native_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return FailErrno("write", native_, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return FailErrno("write", native_, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail("write", native_, "it is not a regular file");
    }
    fd_ = fd;
    size_ = static_cast<std::int64_t>(st.st_size);
    return FileResult::Success();
}

FileResult AppendFile::Append(const std::string& bytes) {
    if (fd_ < 0) return Fail("write", native_, "the file is not open");
    const std::int64_t before = size_;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            // A record written in part is taken back.
            if (done > 0 && ::ftruncate(fd_, before) == 0) size_ = before;
            return FailErrno("write", native_, err);
        }
        done += static_cast<std::size_t>(n);
        size_ += n;
    }
    return FileResult::Success();
}

FileResult AppendFile::Truncate(std::int64_t size) {
    if (fd_ < 0) return Fail("write", native_, "the file is not open");
    if (::ftruncate(fd_, size) != 0) return FailErrno("write", native_, errno);
    size_ = size;
    return FileResult::Success();
}

FileResult AppendFile::Sync() {
    if (fd_ < 0) return Fail("write", native_, "the file is not open");
    if (::fdatasync(fd_) != 0) return FailErrno("write", native_, errno);
    return FileResult::Success();
}

bool AppendFile::MoveOver(const std::string& target) {
    if (fd_ < 0 || !CheckMappable("write", target)) return false;
    const std::string nativeTarget = detail::NativePath(target);
    struct stat st {};
    if (::lstat(nativeTarget.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || (st.st_mode & S_IWUSR) == 0) return false;
        if (::fchmod(fd_, st.st_mode & 07777) != 0) return false;
    } else if (errno != ENOENT) {
        return false;
    }
    if (::rename(native_.c_str(), nativeTarget.c_str()) != 0) return false;
    Close();
    detail::SyncFolder(detail::FolderOf(nativeTarget));
    return true;
}

}  // namespace tandrel
