// Copying one file over another as the copy commands need it: the size for
// progress, whether two paths are one file, and a copy that reports progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/result.h"

namespace tandrel {

// Called during a copy with the bytes copied so far.
using CopyProgress = std::function<void(std::int64_t copied)>;
// Asked between two chunks of a copy: true abandons it.
using CopyStop = std::function<bool()>;

// CopyFileOver with progress. The bytes go into a temporary file beside the
// target, which replaces it only when the copy is whole: a failure leaves the
// old target as it was. The kernel copies (a reflink where the file system
// shares blocks, else copy_file_range in chunks). A target that is the source
// itself (the same device and inode, by any path or link) is refused. A copy
// that stop abandons fails (ECANCELED) and leaves the target as it was.
FileResult CopyFileOver(const std::string& source, const std::string& target, const CopyProgress& progress,
                        const CopyStop& stop = {});
// The size of a file in bytes; -1 when it cannot be read.
std::int64_t FileSize(const std::string& path);
// True when both paths name one existing file (the same device and inode).
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace tandrel
