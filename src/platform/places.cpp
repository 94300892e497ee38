#include "platform/places.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/mount_table.h"
#include "platform/posix_file.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0]) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

bool IsNetworkFileSystem(const std::string& type) {
    static const char* const kTypes[] = {
        "nfs",  "nfs4",  "cifs",  "smb3",       "smbfs",          "sshfs",       "fuse.sshfs",  "9p",
        "afs",  "ceph",  "ncpfs", "glusterfs",  "fuse.glusterfs", "davfs",       "fuse.davfs2", "fuse.rclone",
        "fuse.s3fs",
    };
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

// File systems of the kernel and of containers: never a drive, wherever mounted.
bool IsPseudoFileSystem(const std::string& type) {
    static const char* const kTypes[] = {
        "proc",   "sysfs",     "cgroup",   "cgroup2",     "devtmpfs",  "devpts",    "securityfs", "debugfs",
        "tracefs", "pstore",   "bpf",      "mqueue",      "hugetlbfs", "configfs",  "fusectl",    "autofs",
        "binfmt_misc", "overlay", "efivarfs", "nsfs",     "rpc_pipefs", "ramfs",    "squashfs",   "fuse.portal",
    };
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

// User-space file systems (sshfs, rclone, the desktop's shares) are network or removable volumes.
bool IsUserSpaceFileSystem(const std::string& type) { return type.rfind("fuse.", 0) == 0 || type == "fuseblk"; }

// A tmpfs under /media or /mnt is one a user mounted; elsewhere it is the system's.
bool IsSystemTmpfs(const std::string& type, bool removablePlace) { return type == "tmpfs" && !removablePlace; }

bool IsRemovablePlace(const std::string& mountPoint) {
    for (const char* base : {"/media", "/run/media", "/mnt"}) {
        std::string b = base;
        if (mountPoint == b || mountPoint.compare(0, b.size() + 1, b + "/") == 0) return true;
    }
    return false;
}

// Mount points in /proc/self/mounts write space, tab, line feed and backslash as
// three octal digits after a backslash.
std::string DecodeMountField(const std::string& field) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] <= '3' && octal(field[i + 1]) &&
            octal(field[i + 2]) && octal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

}  // namespace

std::string ProgramDirectory() {
    std::string base;
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') {
        base = data;
    } else {
        base = HomeFolder() + "/.local/share";
    }
    std::string dir = base + "/Tandrel";
    // A folder that cannot be created shows later, when its files fail to open.
    (void)detail::MakeDirectories(dir);
    return Utf8ToCp1251(dir).text;
}

std::vector<std::string> DriveRootsFromMountTable(const std::string& mounts, const std::string& home) {
    std::vector<std::string> roots;
    std::vector<std::string> lines;
    detail::SplitTextLines(mounts, lines);
    std::string homeMount;  // the longest mount point that holds the home folder
    for (const std::string& line : lines) {
        // device mount-point type options dump pass
        std::vector<std::string> fields;
        std::size_t pos = 0;
        while (fields.size() < 3) {
            std::size_t b = line.find_first_not_of(" \t", pos);
            if (b == std::string::npos) break;
            std::size_t e = line.find_first_of(" \t", b);
            fields.push_back(line.substr(b, e == std::string::npos ? std::string::npos : e - b));
            if (e == std::string::npos) break;
            pos = e;
        }
        if (fields.size() < 3) continue;
        std::string mountPoint = DecodeMountField(fields[1]);
        const std::string& type = fields[2];
        if (mountPoint.empty() || mountPoint[0] != '/' || mountPoint == "/" || IsPseudoFileSystem(type)) continue;
        const bool removable = IsRemovablePlace(mountPoint);
        if (IsSystemTmpfs(type, removable)) continue;
        const bool holdsHome = !home.empty() && (home == mountPoint || home.rfind(mountPoint + "/", 0) == 0);
        if (holdsHome && mountPoint.size() > homeMount.size()) homeMount = mountPoint;
        if (!IsNetworkFileSystem(type) && !IsUserSpaceFileSystem(type) && !removable) continue;
        roots.push_back(Utf8ToCp1251(mountPoint).text);
    }
    if (!homeMount.empty()) roots.push_back(Utf8ToCp1251(homeMount).text);
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    roots.insert(roots.begin(), "/");
    return roots;
}

std::vector<std::string> DriveRoots() {
    std::string mounts;
    // Without the mount table the root is still a drive.
    (void)detail::ReadWholeFile("/proc/self/mounts", mounts);
    return DriveRootsFromMountTable(mounts, HomeFolder());
}

}  // namespace tandrel
