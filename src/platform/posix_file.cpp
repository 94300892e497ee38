#include "platform/posix_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

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

FileResult OpenRegularFile(const std::string& nativePath, int& fd, struct stat& st, int* errnoOut) {
    fd = -1;
    if (errnoOut) *errnoOut = 0;
    auto failed = [&](int err) {
        if (errnoOut) *errnoOut = err;
        if (err == kNotRegularErrno) return Fail("read", nativePath, "it is not a regular file");
        return FailErrno("read", nativePath, err);
    };
    auto refuseKind = [&](const struct stat& s) {
        return failed(S_ISDIR(s.st_mode) ? EISDIR : kNotRegularErrno);
    };
    // Devices and FIFOs are refused before they are opened: opening one can
    // block or have effects of its own.
    if (::stat(nativePath.c_str(), &st) != 0) return failed(errno);
    if (!S_ISREG(st.st_mode)) return refuseKind(st);
    int opened = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) return failed(errno);
    auto closeFailed = [&](int err) {
        ::close(opened);
        return failed(err);
    };
    if (::fstat(opened, &st) != 0) return closeFailed(errno);
    if (!S_ISREG(st.st_mode)) {
        ::close(opened);
        return refuseKind(st);
    }
    int flags = ::fcntl(opened, F_GETFL);
    if (flags < 0 || ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0) return closeFailed(errno);
    fd = opened;
    return FileResult::Success();
}

FileResult ReadWholeFile(const std::string& nativePath, std::string& bytes, int* errnoOut, std::size_t maxBytes) {
    bytes.clear();
    auto failed = [&](int err) {
        if (errnoOut) *errnoOut = err;
        if (err == EFBIG) {
            const std::string limit = maxBytes >= 1024 * 1024 ? std::to_string(maxBytes / (1024 * 1024)) + " MB"
                                                               : std::to_string(maxBytes) + " bytes";
            return Fail("read", nativePath, "it is larger than " + limit + ", too large to be read");
        }
        return FailErrno("read", nativePath, err);
    };
    int fd = -1;
    struct stat st {};
    if (FileResult r = OpenRegularFile(nativePath, fd, st, errnoOut); !r) return r;
    struct CloseFd {
        int fd;
        ~CloseFd() { ::close(fd); }
    } closeFd{fd};
    if (st.st_size > 0 && static_cast<std::uint64_t>(st.st_size) > maxBytes) return failed(EFBIG);
    if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[64 * 1024];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            bytes.clear();
            return failed(err);
        }
        if (n == 0) break;
        // A file that grows while it is read (or tells no size) is held to the limit too.
        if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) {
            bytes.clear();
            bytes.shrink_to_fit();
            return failed(EFBIG);
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
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

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    // Makes the rename durable; file systems that cannot sync a folder are fine as they are.
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

namespace {

constexpr const char* kTempPrefix = ".tandrel-";
constexpr const char* kTempSuffix = ".tmp";

std::string RandomPart() {
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

// ".tandrel-<pid>-<random>.tmp" in the folder: the name tells whose it is.
std::string TempName(const std::string& folder) {
    return (folder == "/" ? std::string("/") : folder + "/") + kTempPrefix + std::to_string(::getpid()) + "-" +
           RandomPart() + kTempSuffix;
}

// The pid a temporary file's name holds, or 0 for any other name.
pid_t OwnerOfTempName(const char* name) {
    const std::size_t prefix = std::strlen(kTempPrefix), suffix = std::strlen(kTempSuffix);
    const std::size_t n = std::strlen(name);
    if (n <= prefix + suffix || std::strncmp(name, kTempPrefix, prefix) != 0 ||
        std::strcmp(name + n - suffix, kTempSuffix) != 0)
        return 0;
    const char* p = name + prefix;
    long long pid = 0;
    const char* digitsStart = p;
    while (*p >= '0' && *p <= '9' && p - digitsStart < 10) pid = pid * 10 + (*p++ - '0');
    if (p == digitsStart || *p != '-' || pid <= 0 || pid > INT_MAX) return 0;
    const char* random = p + 1;
    if (static_cast<std::size_t>(name + n - suffix - random) != 8) return 0;
    for (const char* c = random; c < name + n - suffix; ++c)
        if (!((*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'z'))) return 0;
    return static_cast<pid_t>(pid);
}

// Named temporary files this process is writing now; a file of our own pid
// that is not among them was left by an earlier process with the same pid.
std::mutex& TempsMutex() {
    static std::mutex m;
    return m;
}
std::set<std::string>& LiveTemps() {
    static std::set<std::string> names;
    return names;
}
std::set<std::string>& CleanedFolders() {
    static std::set<std::string> folders;
    return folders;
}

// A forked child is a process of its own: it has written nothing yet and has
// cleaned no folder. The lock is held across the fork so the child's copy is sound.
void ForgetTempsInChild() {
    static std::once_flag once;
    std::call_once(once, [] {
        ::pthread_atfork([] { TempsMutex().lock(); }, [] { TempsMutex().unlock(); },
                         [] {
                             TempsMutex().unlock();
                             LiveTemps().clear();
                             CleanedFolders().clear();
                         });
    });
}

void TrackTemp(const std::string& path, bool live) {
    ForgetTempsInChild();
    std::lock_guard<std::mutex> lock(TempsMutex());
    if (live)
        LiveTemps().insert(path);
    else
        LiveTemps().erase(path);
}

// The first save of this process in a folder clears what dead writers left there.
void CleanFolderOnce(const std::string& folder) {
    ForgetTempsInChild();
    {
        std::lock_guard<std::mutex> lock(TempsMutex());
        if (!CleanedFolders().insert(folder).second) return;
    }
    RemoveDeadTemporaries(folder);
}

std::atomic<WriteStepHook> g_stepHook{nullptr};
std::atomic<bool> g_unnamedAllowed{true};

void Step(WriteStep step) {
    if (WriteStepHook hook = g_stepHook.load()) hook(step);
}

}  // namespace

void SetWriteStepHook(WriteStepHook hook) { g_stepHook.store(hook); }
void SetUnnamedTemporariesAllowed(bool allowed) { g_unnamedAllowed.store(allowed); }

std::atomic<bool> g_kernelCopyAllowed{true};
void SetKernelCopyAllowed(bool allowed) { g_kernelCopyAllowed.store(allowed); }
bool KernelCopyAllowed() { return g_kernelCopyAllowed.load(); }

void RemoveDeadTemporaries(const std::string& nativeFolder) {
    DIR* dir = ::opendir(nativeFolder.c_str());
    if (!dir) return;
    const pid_t self = ::getpid();
    const std::string base = nativeFolder == "/" ? std::string("/") : nativeFolder + "/";
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = OwnerOfTempName(entry->d_name);
        if (owner == 0) continue;
        const std::string path = base + entry->d_name;
        bool dead;
        if (owner == self) {
            std::lock_guard<std::mutex> lock(TempsMutex());
            dead = LiveTemps().count(path) == 0;
        } else {
            dead = ::kill(owner, 0) != 0 && errno == ESRCH;
        }
        struct stat st {};
        if (dead && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
    }
    ::closedir(dir);
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        TrackTemp(temp_, false);
    }
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
        // A FIFO or a device would be replaced by a file, not written.
        if (!S_ISREG(st.st_mode)) return Fail("write", nativeTarget, "it is not a regular file");
        if ((st.st_mode & S_IWUSR) == 0) return Fail("write", nativeTarget, "the file is read-only");
    } else if (errno != ENOENT) {
        return FailErrno("write", nativeTarget, errno);
    }

    const std::string folder = FolderOf(target_);
    const mode_t mode = exists ? 0600 : newFileMode;
    fd_ = g_unnamedAllowed.load() ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode) : -1;
    if (fd_ < 0) {
        if (FileResult r = BeginNamed(folder, mode); !r) return Fail("write", nativeTarget, r.error);
    }
    if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        int err = errno;
        Discard();
        return FailErrno("write", nativeTarget, err);
    }
    Step(WriteStep::Created);
    return FileResult::Success();
}

FileResult AtomicFileWriter::BeginNamed(const std::string& folder, mode_t mode) {
    CleanFolderOnce(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TempName(folder);
        TrackTemp(name, true);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = name;
            return FileResult::Success();
        }
        const int err = errno;
        TrackTemp(name, false);
        if (err != EEXIST) return FileResult::Failure(ErrnoText(err));
    }
    return FileResult::Failure("no temporary file name is free");
}

// Gives the unnamed temporary file a name in the folder, for the rename.
FileResult AtomicFileWriter::LinkUnnamed(const std::string& folder) {
    CleanFolderOnce(folder);
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TempName(folder);
        TrackTemp(name, true);
        int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT)  // no /proc: the direct form (needs the privilege to use it)
            linked = ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            temp_ = name;
            return FileResult::Success();
        }
        const int err = errno;
        TrackTemp(name, false);
        if (err != EEXIST) return FailErrno("write", target_, err);
    }
    return Fail("write", target_, "no temporary file name is free");
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
    Step(WriteStep::Wrote);
    return FileResult::Success();
}

FileResult AtomicFileWriter::CopyFrom(int fd, std::int64_t from, std::int64_t count, const std::string& sourceName) {
    if (fd_ < 0) return Fail("write", target_, "the file is not open");
    auto failed = [&](const std::string& action, const std::string& name, int err) {
        Discard();
        return err != 0 ? FailErrno(action, name, err) : Fail(action, name, "the file ends too early");
    };
    off_t pos = static_cast<off_t>(from);
    std::int64_t left = count;
    if (KernelCopyAllowed()) {
        while (left > 0) {
            const std::size_t chunk = static_cast<std::size_t>(std::min<std::int64_t>(left, 1 << 30));
            const ssize_t n = ::copy_file_range(fd, &pos, fd_, nullptr, chunk, 0);
            if (n < 0) {
                if (errno == EINTR) continue;
                const int err = errno;
                // Nothing copied yet and the kernel cannot copy here: plain copy below.
                if (left == count && (err == ENOSYS || err == EXDEV || err == EOPNOTSUPP || err == EINVAL)) break;
                return failed("write", target_, err);
            }
            if (n == 0) return failed("read", sourceName, 0);
            left -= n;
        }
    }
    if (left > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(left, 1 << 20)));
        while (left > 0) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size())));
            const ssize_t n = ::pread(fd, buffer.data(), want, pos);
            if (n < 0) {
                if (errno == EINTR) continue;
                return failed("read", sourceName, errno);
            }
            if (n == 0) return failed("read", sourceName, 0);
            for (ssize_t done = 0; done < n;) {
                const ssize_t w = ::write(fd_, buffer.data() + done, static_cast<std::size_t>(n - done));
                if (w < 0) {
                    if (errno == EINTR) continue;
                    return failed("write", target_, errno);
                }
                done += w;
            }
            pos += n;
            left -= n;
        }
    }
    Step(WriteStep::Wrote);
    return FileResult::Success();
}

FileResult AtomicFileWriter::Commit() {
    if (fd_ < 0) return Fail("write", target_, "the file is not open");
    auto failed = [&](int err) {
        Discard();
        return FailErrno("write", target_, err);
    };
    if (::fsync(fd_) != 0) return failed(errno);
    Step(WriteStep::Synced);
    const std::string folder = FolderOf(target_);
    if (temp_.empty()) {
        if (FileResult r = LinkUnnamed(folder); !r) {
            Discard();
            return r;
        }
    }
    Step(WriteStep::Named);
    int closeResult = ::close(fd_);
    fd_ = -1;
    if (closeResult != 0) return failed(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return failed(errno);
    TrackTemp(temp_, false);
    temp_.clear();
    Step(WriteStep::Renamed);
    SyncFolder(folder);
    return FileResult::Success();
}

FileResult WriteFileAtomic(const std::string& nativeTarget, const std::string& bytes) {
    AtomicFileWriter writer;
    if (FileResult r = writer.Begin(nativeTarget); !r) return r;
    if (FileResult r = writer.Write(bytes.data(), bytes.size()); !r) return r;
    return writer.Commit();
}

}  // namespace tandrel::detail
