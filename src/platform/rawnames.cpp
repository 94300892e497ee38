#include "platform/rawnames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix_file.h"
#include "text/cp1251.h"
#include "text/legacytext.h"
#include "text/paths.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace tandrel {

namespace {

FileResult FailMove(const std::string& from, const std::string& to, const std::string& reason) {
    return FileResult::Failure("Cannot move \"" + ShownRawName(from) + "\" to \"" + ShownRawName(to) + "\": " + reason);
}

// A single name: not empty, not "." or "..", no path delimiter.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find(kPathDelim) == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The no-replace move of raw paths: renameat2, or where the file system lacks
// it, link and unlink for files and a checked rename for directories.
FileResult MoveRaw(const std::string& from, const std::string& to) {
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return FileResult::Success();
    const int err = errno;
    if (err == EEXIST) return FailMove(from, to, "the target already exists");
    if (err != EINVAL && err != ENOSYS) return FailMove(from, to, detail::ErrnoText(err));
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0) return FailMove(from, to, detail::ErrnoText(errno));
    if (!S_ISDIR(st.st_mode)) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            if (::unlink(from.c_str()) == 0) return FileResult::Success();
            const int unlinkErr = errno;
            ::unlink(to.c_str());  // undo: the file keeps its old name only
            return FailMove(from, to, detail::ErrnoText(unlinkErr));
        }
        if (errno == EEXIST) return FailMove(from, to, "the target already exists");
    }
    struct stat target {};
    if (::lstat(to.c_str(), &target) == 0) return FailMove(from, to, "the target already exists");
    if (errno != ENOENT) return FailMove(from, to, detail::ErrnoText(errno));
    if (::rename(from.c_str(), to.c_str()) != 0) return FailMove(from, to, detail::ErrnoText(errno));
    return FileResult::Success();
}

// The checks both moves share: dir and newName code-page-1251 text that names
// a file, rawName a plain name that is not UTF-8.
FileResult CheckNames(const std::string& dir, const std::string& name, const std::string& rawName) {
    const std::string rawDir = RawPathOf(dir);
    if (FileResult r = detail::CheckMappable("move", dir); !r) return r;
    if (FileResult r = detail::CheckMappable("move", name); !r) return r;
    if (!IsPlainName(name) || !IsPlainName(rawName))
        return FailMove(RawJoin(rawDir, rawName), RawJoin(rawDir, RawPathOf(name)), "the name is not acceptable");
    if (IsValidUtf8(rawName))
        return FailMove(RawJoin(rawDir, rawName), RawJoin(rawDir, RawPathOf(name)), "the old name is UTF-8");
    return FileResult::Success();
}

}  // namespace

std::string ShownRawName(const std::string& raw) {
    if (IsValidUtf8(raw)) return raw;
    std::string out;
    for (char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string RawPathOf(const std::string& path) { return Cp1251ToUtf8(path); }

std::string RawJoin(const std::string& rawDir, const std::string& rawName) {
    if (rawDir.empty()) return rawName;
    return rawDir.back() == kPathDelim ? rawDir + rawName : rawDir + kPathDelim + rawName;
}

FileResult ListRawNames(const std::string& rawDir, std::vector<RawEntry>& entries) {
    entries.clear();
    DIR* dir = ::opendir(rawDir.c_str());
    if (!dir) return detail::FailErrno("list", ShownRawName(rawDir), errno);
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(dir);
        if (!e) break;
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        RawEntry entry{e->d_name, e->d_type == DT_DIR};
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            entry.directory = ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    const int err = errno;
    ::closedir(dir);
    if (err != 0) return detail::FailErrno("list", ShownRawName(rawDir), err);
    return FileResult::Success();
}

FileResult MoveRawNameNoReplace(const std::string& dir, const std::string& rawName, const std::string& newName) {
    if (FileResult r = CheckNames(dir, newName, rawName); !r) return r;
    const std::string rawDir = RawPathOf(dir);
    return MoveRaw(RawJoin(rawDir, rawName), RawJoin(rawDir, RawPathOf(newName)));
}

FileResult MoveToRawNameNoReplace(const std::string& dir, const std::string& name, const std::string& rawName) {
    if (FileResult r = CheckNames(dir, name, rawName); !r) return r;
    const std::string rawDir = RawPathOf(dir);
    return MoveRaw(RawJoin(rawDir, RawPathOf(name)), RawJoin(rawDir, rawName));
}

}  // namespace tandrel
