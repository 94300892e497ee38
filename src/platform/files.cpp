#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/filecopy.h"
#include "platform/posix_file.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/transforms.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace tandrel {

using detail::CheckMappable;
using detail::Fail;
using detail::FailErrno;
using detail::NativePath;

namespace {

bool StatNative(const std::string& path, struct stat& st) {
    if (PathIsUnmappable(path)) return false;
    return ::stat(NativePath(path).c_str(), &st) == 0;
}

}  // namespace

bool WildcardMatch(const std::string& name, const std::string& mask) {
    std::size_t n = 0, m = 0;
    std::size_t starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

struct FileFind::Impl {
    DIR* dir = nullptr;
    std::string mask;  // lower-cased name pattern
    bool matchAll = false;
    FindDetail detail = FindDetail::Full;
    std::string error;  // why the listing stopped early
    const char* current = nullptr;  // d_name of the entry handed on last

    ~Impl() { Close(); }
    void Close() {
        if (dir) ::closedir(dir);
        dir = nullptr;
        current = nullptr;
    }

    bool Next(FindData& out) {
        if (!dir) return false;
        for (;;) {
            errno = 0;
            dirent* e = ::readdir(dir);
            if (!e) break;
            std::string name = Utf8ToCp1251(e->d_name).text;
            if (!matchAll && !WildcardMatch(ToLowerCase(name), mask)) continue;
            const bool dotEntry = std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0;
            const bool hidden = !dotEntry && e->d_name[0] == '.';
            if (detail == FindDetail::NamesAndKinds && (e->d_type == DT_DIR || e->d_type == DT_REG)) {
                out = FindData{};
                out.attr = e->d_type == DT_DIR ? faDirectory : faArchive;
                if (hidden) out.attr |= faHidden;
                out.name = std::move(name);
                current = e->d_name;
                return true;
            }
            struct stat st {};
            bool broken = false;
            bool isLink = e->d_type == DT_LNK;
            if (e->d_type == DT_UNKNOWN) {
                struct stat lst {};
                isLink = ::fstatat(::dirfd(dir), e->d_name, &lst, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(lst.st_mode);
            }
            if (::fstatat(::dirfd(dir), e->d_name, &st, 0) != 0) {
                // A broken link is listed as a file; an entry gone since readdir is skipped.
                if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
                broken = isLink = true;
            }
            out = FindData{};
            out.name = name;
            if (S_ISDIR(st.st_mode)) out.attr |= faDirectory;
            if (S_ISREG(st.st_mode) || broken) out.attr |= faArchive;
            if (isLink) out.attr |= faSymLink;
            if ((st.st_mode & S_IWUSR) == 0) out.attr |= faReadOnly;
            if (hidden) out.attr |= faHidden;
            out.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
            out.dosTime = ToDosTime(st.st_mtim.tv_sec);
            current = e->d_name;
            return true;
        }
        if (errno != 0) error = detail::ErrnoText(errno);
        Close();
        return false;
    }
};

FileFind::FileFind() : impl_(std::make_unique<Impl>()) {}
FileFind::~FileFind() = default;

bool FileFind::FindFirst(const std::string& pattern, FindData& out, FindDetail detail) {
    impl_->Close();
    impl_->detail = detail;
    impl_->error.clear();
    std::size_t slash = pattern.rfind(kPathDelim);
    std::string folder, namePattern;
    if (slash == std::string::npos) {
        folder = ".";
        namePattern = pattern;
    } else {
        folder = slash == 0 ? std::string(1, kPathDelim) : pattern.substr(0, slash);
        namePattern = pattern.substr(slash + 1);
    }
    if (namePattern.empty()) return false;
    if (PathIsUnmappable(folder)) {
        impl_->error = "the name holds a character outside code page 1251";
        return false;
    }
    impl_->matchAll = namePattern == "*" || namePattern == "*.*";
    impl_->mask = ToLowerCase(namePattern);
    impl_->dir = ::opendir(NativePath(folder).c_str());
    if (!impl_->dir) {
        impl_->error = detail::ErrnoText(errno);
        return false;
    }
    return impl_->Next(out);
}

bool FileFind::FindNext(FindData& out) { return impl_->Next(out); }

const std::string& FileFind::Error() const { return impl_->error; }

void FileFind::FindClose() { impl_->Close(); }

ListedEntry FileFind::Current() const {
    if (!impl_->dir || !impl_->current) return {};
    return {::dirfd(impl_->dir), impl_->current};
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return StatNative(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return StatNative(path, st) && S_ISDIR(st.st_mode);
}

bool PathIsUnmappable(const std::string& path) { return path.find(kUnmappableChar) != std::string::npos; }

namespace {

const char* const kMoveAction = "move";

FileResult FailMove(const std::string& from, const std::string& to, const std::string& reason) {
    return FileResult::Failure("Cannot move \"" + NativePath(from) + "\" to \"" + NativePath(to) + "\": " + reason);
}

// Letter case only (ё and е stay different letters here).
bool DifferOnlyInCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i])) return false;
    return true;
}

// On a case-insensitive file system a change of letter case finds the file
// itself as the target; that rename is allowed. Two hard links of one file are
// two names, not one, and are left alone (a rename between them does nothing).
bool IsCaseChangeOfSameFile(const std::string& from, const std::string& to, const std::string& nFrom,
                            const std::string& nTo) {
    struct stat a {}, b {};
    return DifferOnlyInCase(from, to) && ::lstat(nFrom.c_str(), &a) == 0 && ::lstat(nTo.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino && (S_ISDIR(a.st_mode) || a.st_nlink == 1);
}

FileResult PlainRename(const std::string& from, const std::string& to, const std::string& nFrom,
                       const std::string& nTo) {
    if (::rename(nFrom.c_str(), nTo.c_str()) != 0) return FailMove(from, to, detail::ErrnoText(errno));
    return FileResult::Success();
}

FileResult TargetExists(const std::string& from, const std::string& to, const std::string& nFrom,
                        const std::string& nTo) {
    if (IsCaseChangeOfSameFile(from, to, nFrom, nTo)) return PlainRename(from, to, nFrom, nTo);
    return FailMove(from, to, "the target already exists");
}

}  // namespace

FileResult detail::MoveWithoutRenameFlags(const std::string& from, const std::string& to) {
    const std::string nFrom = NativePath(from), nTo = NativePath(to);
    struct stat st {};
    if (::lstat(nFrom.c_str(), &st) != 0) return FailMove(from, to, detail::ErrnoText(errno));
    if (!S_ISDIR(st.st_mode)) {
        if (::link(nFrom.c_str(), nTo.c_str()) == 0) {
            if (::unlink(nFrom.c_str()) == 0) return FileResult::Success();
            int err = errno;
            ::unlink(nTo.c_str());  // undo: the file keeps its old name only
            return FailMove(from, to, detail::ErrnoText(err));
        }
        int err = errno;
        if (err == EEXIST) return TargetExists(from, to, nFrom, nTo);
        // Only file systems without hard links go on to the checked rename below.
        if (err != EPERM && err != EOPNOTSUPP && err != ENOSYS && err != EMLINK)
            return FailMove(from, to, detail::ErrnoText(err));
    }
    struct stat target {};
    if (::lstat(nTo.c_str(), &target) == 0) return TargetExists(from, to, nFrom, nTo);
    if (errno != ENOENT) return FailMove(from, to, detail::ErrnoText(errno));
    return PlainRename(from, to, nFrom, nTo);
}

FileResult MoveFileNoReplace(const std::string& from, const std::string& to) {
    if (FileResult r = CheckMappable(kMoveAction, from); !r) return r;
    if (FileResult r = CheckMappable(kMoveAction, to); !r) return r;
    if (from.empty() || to.empty()) return FailMove(from, to, "the name is empty");
    std::string nFrom = NativePath(from), nTo = NativePath(to);
    if (::syscall(SYS_renameat2, AT_FDCWD, nFrom.c_str(), AT_FDCWD, nTo.c_str(), RENAME_NOREPLACE) == 0)
        return FileResult::Success();
    int err = errno;
    if (err == EINVAL || err == ENOSYS) return detail::MoveWithoutRenameFlags(from, to);
    if (err == EEXIST) return TargetExists(from, to, nFrom, nTo);
    return FailMove(from, to, detail::ErrnoText(err));
}

DirectoryMover::DirectoryMover(std::string dir) : dir_(std::move(dir)) {
    if (!PathIsUnmappable(dir_)) fd_ = ::open(NativePath(dir_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

DirectoryMover::~DirectoryMover() {
    if (fd_ >= 0) ::close(fd_);
}

FileResult DirectoryMover::Move(const std::string& from, const std::string& to) {
    if (fd_ >= 0 && !from.empty() && !to.empty() && !PathIsUnmappable(from) && !PathIsUnmappable(to) &&
        from.find(kPathDelim) == std::string::npos && to.find(kPathDelim) == std::string::npos) {
        from_.clear();
        AppendCp1251AsUtf8(from_, from);
        to_.clear();
        AppendCp1251AsUtf8(to_, to);
        if (::syscall(SYS_renameat2, fd_, from_.c_str(), fd_, to_.c_str(), RENAME_NOREPLACE) == 0)
            return FileResult::Success();
    }
    // Every case but the plain one (and each failure, with its reason) goes the general way.
    return MoveFileNoReplace(JoinPath(dir_, from), JoinPath(dir_, to));
}

std::string TargetExistsError(const std::string& from, const std::string& to) {
    return FailMove(from, to, "the target already exists").error;
}

bool RenameFileChecked(const std::string& oldName, const std::string& newName) {
    return MoveFileNoReplace(oldName, newName).ok;
}

std::int64_t FileSize(const std::string& path) {
    struct stat st {};
    if (PathIsUnmappable(path) || ::stat(NativePath(path).c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool IsSameFile(const std::string& a, const std::string& b) {
    if (PathIsUnmappable(a) || PathIsUnmappable(b)) return false;
    struct stat sa {}, sb {};
    return ::stat(NativePath(a).c_str(), &sa) == 0 && ::stat(NativePath(b).c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

namespace {

constexpr std::size_t kCopyChunk = 16 * 1024 * 1024;

// The bytes of in after its offset go to out after its offset: a reflink
// first, then copy_file_range in chunks, and plain reads and writes only
// where the kernel cannot copy between the two files. 0 or an errno.
int CopyBytes(int in, int out, std::int64_t size, const CopyProgress& progress, const CopyStop& stop) {
    std::int64_t copied = 0;
    if (detail::KernelCopyAllowed()) {
#ifdef FICLONE
        if (::ioctl(out, FICLONE, in) == 0) {
            if (progress) progress(size);
            return 0;
        }
#endif
        for (;;) {
            ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kCopyChunk, 0);
            if (n < 0) {
                if (errno == EINTR) continue;
                const int err = errno;
                // Nothing copied yet and the kernel cannot do it here: plain copy.
                if (copied == 0 && (err == ENOSYS || err == EXDEV || err == EOPNOTSUPP || err == EINVAL))
                    break;
                return err;
            }
            if (n == 0) return 0;
            copied += n;
            if (progress) progress(copied);
            if (stop && stop()) return ECANCELED;
        }
    }
    std::vector<char> buf(1024 * 1024);
    for (;;) {
        ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buf.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += w;
        }
        copied += n;
        if (progress) progress(copied);
        if (stop && stop()) return ECANCELED;
    }
}

}  // namespace

FileResult CopyFileOver(const std::string& source, const std::string& target, const CopyProgress& progress,
                        const CopyStop& stop) {
    // Names are used whole: cutting a long name would write another file.
    if (FileResult r = CheckMappable("copy", source); !r) return r;
    if (FileResult r = CheckMappable("copy over", target); !r) return r;
    std::string nSource = NativePath(source), nTarget = NativePath(target);
    // Only a regular file is copied: a FIFO or a device could block or never end.
    int in = -1;
    struct stat st {};
    if (FileResult r = detail::OpenRegularFile(nSource, in, st); !r) return r;
    struct CloseIn {
        int fd;
        ~CloseIn() { ::close(fd); }
    } closeIn{in};
    // Replacing the source with a copy of itself would read what is being written.
    struct stat tst {};
    if (::stat(nTarget.c_str(), &tst) == 0 && tst.st_dev == st.st_dev && tst.st_ino == st.st_ino)
        return Fail("copy over", nTarget, "it is the source file itself");

    detail::AtomicFileWriter writer;
    if (FileResult r = writer.Begin(nTarget, st.st_mode & 0777); !r) return r;
    // A failure leaves the target untouched: the writer removes its temporary file.
    if (int err = CopyBytes(in, writer.Fd(), st.st_size, progress, stop); err != 0) return FailErrno("copy", nSource, err);
    // The copy keeps the source's last write time, as a file copy does.
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(writer.Fd(), times) != 0) return FailErrno("copy over", nTarget, errno);
    return writer.Commit();
}

FileResult CopyFileOver(const std::string& source, const std::string& target) {
    return CopyFileOver(source, target, CopyProgress());
}

FileResult DeleteFileChecked(const std::string& path) {
    if (FileResult r = CheckMappable("delete", path); !r) return r;
    std::string native = NativePath(path);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0) return FailErrno("delete", native, errno);
    if (S_ISDIR(st.st_mode)) return Fail("delete", native, "it is a folder");
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return Fail("delete", native, "the file is read-only");
    if (::unlink(native.c_str()) != 0) return FailErrno("delete", native, errno);
    return FileResult::Success();
}

FileResult CreateDirectories(const std::string& path) {
    if (FileResult r = CheckMappable("create folder", path); !r) return r;
    return detail::MakeDirectories(NativePath(path));
}

FileResult SetAttributesNormal(const std::string& path) {
    if (FileResult r = CheckMappable("change attributes of", path); !r) return r;
    std::string native = NativePath(path);
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0) return FailErrno("change attributes of", native, errno);
    if ((st.st_mode & S_IWUSR) != 0) return FileResult::Success();
    if (::chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0)
        return FailErrno("change attributes of", native, errno);
    return FileResult::Success();
}

bool FileDosTime(const std::string& path, std::uint32_t& dosTime) {
    struct stat st {};
    if (!StatNative(path, st)) return false;
    dosTime = ToDosTime(st.st_mtim.tv_sec);
    return true;
}

std::uint32_t ToDosTime(std::int64_t unixTime) {
    constexpr std::uint32_t kEarliest = ((0u << 9) | (1u << 5) | 1u) << 16;  // 1980-01-01 00:00:00
    constexpr std::uint32_t kLatest =
        (((127u << 9) | (12u << 5) | 31u) << 16) | (23u << 11) | (59u << 5) | 29u;  // 2107-12-31 23:59:58
    std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm tm {};
    if (!::localtime_r(&t, &tm)) return unixTime < 0 ? kEarliest : kLatest;
    if (tm.tm_year < 80) return kEarliest;
    if (tm.tm_year > 207) return kLatest;
    std::uint32_t date = (static_cast<std::uint32_t>(tm.tm_year - 80) << 9) |
                         (static_cast<std::uint32_t>(tm.tm_mon + 1) << 5) | static_cast<std::uint32_t>(tm.tm_mday);
    std::uint32_t time = (static_cast<std::uint32_t>(tm.tm_hour) << 11) | (static_cast<std::uint32_t>(tm.tm_min) << 5) |
                         static_cast<std::uint32_t>(tm.tm_sec / 2);
    return (date << 16) | time;
}

std::string CurrentDirectory() {
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return {};
    std::string result = Utf8ToCp1251(cwd).text;
    std::free(cwd);
    return result;
}

FileResult SetCurrentDirectory(const std::string& path) {
    if (FileResult r = CheckMappable("open folder", path); !r) return r;
    std::string native = NativePath(path);
    if (::chdir(native.c_str()) != 0) return FailErrno("open folder", native, errno);
    return FileResult::Success();
}

}  // namespace tandrel
