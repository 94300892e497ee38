#include "media/playlist.h"

#include "app/maskkinds.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

constexpr const char* kAudioInLine[] = {".mp3", ".wav"};
constexpr const char* kVideoInLine[] = {".avi", ".mp4", ".mpg", ".mpe", ".div", ".xvid"};
constexpr const char* kAudioPlayable[] = {"mp3", "wav"};
constexpr const char* kVideoPlayable[] = {"avi", "mp4", "mpg", "mpe", "mpeg", "wmv", "div", "divx", "xvid"};
constexpr const char* kAudioAppended[] = {".mp3", ".mp2", ".mp1", ".wav", ".wmv"};
constexpr const char* kVideoAppended[] = {".avi", ".mp4", ".mpg", ".mpe", ".mpeg", ".wmv", ".div", ".divx", ".xvid"};

// Where the first extension of the set (tried in order) occurs in the
// lower-cased text: its 0-based offset and length; length 0 when none does.
template <std::size_t N>
std::pair<std::size_t, std::size_t> FindExtension(const std::string& text, const char* const (&set)[N]) {
    const std::string lower = ToLowerCase(text);
    for (const char* ext : set) {
        const std::size_t at = lower.find(ext);
        if (at != std::string::npos) return {at, std::char_traits<char>::length(ext)};
    }
    return {0, 0};
}

template <std::size_t N>
int Position(const std::string& text, const char* const (&set)[N]) {
    const auto [at, length] = FindExtension(text, set);
    return length == 0 ? 0 : static_cast<int>(at) + 1;
}

template <std::size_t N>
bool InSet(const std::string& ext, const char* const (&set)[N]) {
    for (const char* e : set)
        if (ext == e) return true;
    return false;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == kPathDelim; }

}  // namespace

MediaMode MediaModeOfMask(const std::string& mask) {
    if (!IsMediaMask(mask)) return MediaMode::None;
    return IsAudioMask(mask) ? MediaMode::Audio : MediaMode::Video;
}

int AudioExtPos(const std::string& text) { return Position(text, kAudioInLine); }

int VideoExtPos(const std::string& text) { return Position(text, kVideoInLine); }

bool IsPlayableForMask(const std::string& name, MediaMode mode) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || mode == MediaMode::None) return false;
    const std::string ext = ToLowerCase(name.substr(dot + 1));
    return mode == MediaMode::Audio ? InSet(ext, kAudioPlayable) : InSet(ext, kVideoPlayable);
}

std::string FindMediaFile(const std::string& base, MediaMode mode) {
    auto first = [&base](const auto& set) -> std::string {
        for (const char* ext : set)
            if (FileExists(base + ext)) return base + ext;
        return {};
    };
    if (mode == MediaMode::Audio) return first(kAudioAppended);
    if (mode == MediaMode::Video) return first(kVideoAppended);
    return {};
}

CollectedPlayList CollectPlayList(const std::vector<std::string>& checkedLines, bool linesCarryNames, MediaMode mode,
                                  const std::string& currentDir) {
    CollectedPlayList list;
    auto add = [&list](const std::string& path) {
        if (PathIsUnmappable(path)) {
            list.notes.push_back(path + " left out: its name has a character outside code page 1251");
        } else if (FileExists(path)) {
            list.files.push_back(path);
        } else {
            ++list.missing;
        }
    };
    for (const std::string& line : checkedLines) {
        if (linesCarryNames) {
            const std::string dir = CopyBetweenLastChars(line, '[', ']');
            list.kind = PlayListKind::Audio;
            auto [at, length] = FindExtension(line, kAudioInLine);
            if (length == 0) {
                list.kind = PlayListKind::Video;
                std::tie(at, length) = FindExtension(line, kVideoInLine);
            }
            if (length == 0) {
                ++list.missing;
                continue;
            }
            add(JoinPath(dir, line.substr(0, at + length)));
        } else if (IsPlayableForMask(line, mode)) {
            // A relative name means the shown directory, not the player's.
            add(IsAbsolute(line) ? line : JoinPath(currentDir, line));
        } else {
            list.kind = mode == MediaMode::Audio   ? PlayListKind::Audio
                        : mode == MediaMode::Video ? PlayListKind::Video
                                                   : PlayListKind::None;
            const std::string base = JoinPath(currentDir, line);
            if (PathIsUnmappable(base)) {
                add(base);
                continue;
            }
            const std::string found = FindMediaFile(base, mode);
            if (found.empty()) ++list.missing;
            else list.files.push_back(found);
        }
    }
    return list;
}

std::string PlayListPath(const std::string& programDir, PlayListKind kind) {
    switch (kind) {
        case PlayListKind::Audio: return JoinPath(programDir, "playlist.m3u");
        case PlayListKind::Video: return JoinPath(programDir, "playlist.lap");
        case PlayListKind::None: break;
    }
    return {};
}

FileResult WritePlayList(const std::string& path, const std::vector<std::string>& files) {
    std::string bytes;
    for (const std::string& file : files) bytes += Cp1251ToUtf8(file) + "\r\n";
    return ReplaceFileContents(path, bytes);
}

}  // namespace tandrel
