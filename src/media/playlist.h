// Playlists of the checked output lines: which files the lines name, whether
// they are audio or video, and the playlist file handed to the players
// ("playlist.m3u" for audio, "playlist.lap" for video, in the program
// directory: one full name per line, CR LF, no header).
#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

// What the file list's mask shows: audio ("mp3"), only video ("mpeg"), or no media.
enum class MediaMode { None, Audio, Video };
MediaMode MediaModeOfMask(const std::string& mask);

// 1-based position of the first of ".mp3", ".wav" (tried in that order) in the
// lower-cased text; 0 when none occurs.
int AudioExtPos(const std::string& text);
// The same with ".avi", ".mp4", ".mpg", ".mpe", ".div", ".xvid".
int VideoExtPos(const std::string& text);
// The extension after the name's last "." is playable in the mode.
bool IsPlayableForMask(const std::string& name, MediaMode mode);
// The first of base + a media extension of the mode that exists as a file; "" when none.
std::string FindMediaFile(const std::string& base, MediaMode mode);

// The playlist type the collected files decide: audio, video, or nothing to play.
enum class PlayListKind { Audio = 0, Video = 1, None = 2 };

struct CollectedPlayList {
    std::vector<std::string> files;  // full names, in line order
    PlayListKind kind = PlayListKind::Audio;
    int missing = 0;                 // lines that named no existing file
    std::vector<std::string> notes;  // names left out, one line each
};

// Collects the files that the checked lines name. Lines carrying names ("name
// TAB [dir]") give the name up to its audio or video extension, joined to the
// directory in brackets; each such line sets the kind. Other lines are a
// playable full name, or a name that is looked up in currentDir with the
// mode's extensions (and then the mode decides the kind). Files that do not
// exist are counted, not added; a name outside code page 1251 is left out with a note.
CollectedPlayList CollectPlayList(const std::vector<std::string>& checkedLines, bool linesCarryNames,
                                  MediaMode mode, const std::string& currentDir);

// "playlist.m3u" or "playlist.lap" in programDir; "" for PlayListKind::None.
std::string PlayListPath(const std::string& programDir, PlayListKind kind);
// Replaces the playlist file: one name per line, CR LF. The names are written
// as the file system spells them (UTF-8 here), so that a player finds them.
FileResult WritePlayList(const std::string& path, const std::vector<std::string>& files);

}  // namespace tandrel
