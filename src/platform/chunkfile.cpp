#include "platform/chunkfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix_file.h"

namespace tandrel {

ChunkReader::~ChunkReader() { Close(); }

FileResult ChunkReader::Open(const std::string& path) {
    Close();
    if (FileResult r = detail::CheckMappable("read", path); !r) return r;
    native_ = detail::NativePath(path);
    struct stat st {};
    return detail::OpenRegularFile(native_, fd_, st);
}

FileResult ChunkReader::Read(char* data, std::size_t size, std::size_t& got) {
    got = 0;
    if (fd_ < 0) return detail::FailErrno("read", native_, EBADF);
    for (;;) {
        const ssize_t n = ::read(fd_, data, size);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return FileResult::Success();
        }
        if (errno != EINTR) return detail::FailErrno("read", native_, errno);
    }
}

void ChunkReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace tandrel
