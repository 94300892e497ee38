#include "media/copyfiles.h"

#include <algorithm>

#include "platform/filecopy.h"
#include "platform/files.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

constexpr const char* kAudioExtensions[] = {".mp3", ".mp2", ".mp1", ".wav", ".wmv"};

std::optional<CopySource> Existing(std::string path, std::string name) {
    if (!FileExists(path)) return std::nullopt;
    return CopySource{std::move(path), std::move(name)};
}

}  // namespace

std::optional<CopySource> OutputLineSource(const std::string& line, bool linesCarryNames,
                                           const std::string& currentDir) {
    if (line.empty()) return std::nullopt;
    if (linesCarryNames) {
        const std::string dir = CopyBetweenLastChars(line, '[', ']');
        const std::string lower = ToLowerCase(line);
        for (const char* ext : kAudioExtensions) {
            const std::size_t at = lower.find(ext);
            if (at == std::string::npos) continue;
            std::string name = line.substr(0, at + 4);
            return Existing(JoinPath(dir, name), name);
        }
        return std::nullopt;
    }
    if (FileExists(line)) return CopySource{line, CopyAfterLastChar(line, kPathDelim)};
    for (const char* ext : {".mp3", ".wav"}) {
        if (auto found = Existing(JoinPath(currentDir, line + ext), line + ext)) return found;
    }
    return std::nullopt;
}

std::vector<CopySource> OutputLineSources(const std::vector<std::string>& lines, bool linesCarryNames,
                                          const std::string& currentDir) {
    std::vector<CopySource> sources;
    for (const std::string& line : lines) {
        if (auto source = OutputLineSource(line, linesCarryNames, currentDir)) sources.push_back(std::move(*source));
    }
    return sources;
}

std::vector<CopySource> SelectedFileSources(const std::string& dir, const std::vector<std::string>& names) {
    std::vector<CopySource> sources;
    for (const std::string& name : names) {
        if (auto source = Existing(JoinPath(dir, name), name)) sources.push_back(std::move(*source));
    }
    return sources;
}

CopyStats CopyFilesInto(const std::vector<CopySource>& sources, const std::string& targetDir,
                        const CopyProgressSink& progress, const std::function<bool()>& stop) {
    CopyStats stats;
    CopyProgressInfo info;
    info.files = sources.size();
    for (const CopySource& s : sources) info.bytes += std::max<std::int64_t>(FileSize(s.path), 0);
    // Once asked to stop, the answer stays: the batch ends with this file.
    auto stopped = [&] {
        if (!stats.cancelled && stop && stop()) stats.cancelled = true;
        return stats.cancelled;
    };
    for (const CopySource& source : sources) {
        if (stopped()) break;
        info.current = source.path;
        if (progress) progress(info);
        const std::string target = JoinPath(targetDir, source.name);
        if (IsSameFile(source.path, target)) {
            ++stats.skipped;
            stats.notes.push_back(source.path + " not copied: it is the target file itself");
        } else {
            const std::int64_t before = info.bytesDone;
            std::int64_t copied = 0;
            FileResult r = CopyFileOver(
                source.path, target,
                [&](std::int64_t done) {
                    copied = done;
                    info.bytesDone = before + done;
                    if (progress) progress(info);
                },
                stopped);
            if (r) {
                ++stats.copied;
                stats.bytes += copied;
            } else if (stats.cancelled) {
                info.bytesDone = before;  // abandoned part way: not a failure, and nothing of it is left
                break;
            } else {
                ++stats.failed;
                stats.failures.push_back(r.error);
                info.bytesDone = before;
            }
        }
        ++info.filesDone;
        if (progress) progress(info);
    }
    return stats;
}

std::string CopySummary(const CopyStats& stats) {
    std::string text = "Copied: " + std::to_string(stats.copied) + " file(s), failed: " + std::to_string(stats.failed);
    if (stats.skipped > 0) text += ", skipped (the same file): " + std::to_string(stats.skipped);
    if (stats.notFound > 0) text += ", not found: " + std::to_string(stats.notFound);
    return text;
}

std::string CopyProgressText(const CopyProgressInfo& info) {
    constexpr std::int64_t kMB = 1024 * 1024;
    return "Copying " + std::to_string(info.filesDone) + " of " + std::to_string(info.files) + " file(s), " +
           std::to_string(info.bytesDone / kMB) + " of " + std::to_string(info.bytes / kMB) + " MB";
}

}  // namespace tandrel
