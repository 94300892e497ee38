// Handing collected files to players: "Play List" writes the playlist and
// opens it with the desktop's association; "Add to List" writes it and starts
// the configured audio or video player with it. Every outcome is told in one
// status line, so a user can see why nothing plays.
#pragma once

#include <string>

#include "app/settings.h"
#include "media/playlist.h"
#include "platform/launcher.h"

namespace tandrel {

// The MIME type whose default application stands for the registered audio player.
inline constexpr const char* kPlayListMimeType = "audio/x-mpegurl";

struct PlayOutcome {
    std::string playlist;  // the file written, "" when none was
    bool started = false;  // a program was started (or the file handed to the desktop)
    std::string status;    // what happened, for the status line
};

// pmPlayListClick: the playlist of the kind is written and opened by the desktop.
PlayOutcome PlayPlayList(const CollectedPlayList& list, const std::string& programDir, Launcher& launcher);

// pmAddPlayListClick: audio goes to the player of AudioProgramMode (0: the
// desktop's default application for M3U playlists; 1: AudioProgram, started
// with "/ADD" and the playlist), video to VideoProgram with the playlist.
PlayOutcome AddToPlayerList(const CollectedPlayList& list, const std::string& programDir,
                            const TAppSettings& settings, Launcher& launcher);

}  // namespace tandrel
