#include "tags/tagfile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
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

FileResult TagFileReader::Open(const std::string& path) {
    in_.close();
    in_.clear();
    size_ = 0;
    if (FileResult r = NativeName("read", path, native_); !r) return r;
    if (FileResult r = CheckRegularFile("read", native_, size_); !r) return r;
    errno = 0;
    in_.open(native_, std::ios::binary);
    if (!in_.is_open()) return Fail("read", native_, LastErrno());
    return FileResult::Success();
}

bool TagFileReader::ReadAt(std::int64_t pos, char* out, std::size_t n) {
    if (!in_.is_open() || pos < 0) return false;
    in_.clear();
    errno = 0;
    in_.seekg(pos);
    if (!in_) return false;
    in_.read(out, static_cast<std::streamsize>(n));
    return static_cast<std::size_t>(in_.gcount()) == n;
}

FileResult TagFileReader::ReadFailure() const {
    return Fail("read", native_, errno != 0 ? LastErrno() : "the file ends too early");
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
