#include "media/players.h"

#include "text/cp1251.h"
#include "text/strings.h"

namespace tandrel {

namespace {

// The collected list written as its playlist; false (with the status) when
// there is nothing to write or the write failed.
bool WriteCollected(const CollectedPlayList& list, const std::string& programDir, PlayOutcome& outcome) {
    if (list.files.empty() || list.kind == PlayListKind::None) {
        outcome.status = list.missing > 0 ? "No checked line names a file that exists" : "Nothing to play";
        if (!list.notes.empty()) outcome.status += ". " + list.notes.front();
        return false;
    }
    const std::string path = PlayListPath(programDir, list.kind);
    if (FileResult r = WritePlayList(path, list.files); !r) {
        outcome.status = "The playlist was not written: " + Utf8ToCp1251(r.error).text;
        return false;
    }
    outcome.playlist = path;
    return true;
}

// "Playlist X: N file(s)" with what was left out.
std::string Summary(const CollectedPlayList& list, const std::string& path) {
    std::string text = "Playlist " + path + ": " + std::to_string(list.files.size()) + " file(s)";
    if (list.missing > 0) text += ", " + std::to_string(list.missing) + " line(s) named no file";
    if (!list.notes.empty()) text += ". " + list.notes.front();
    return text;
}

// Why no player was started: none set, or the one set is not there.
std::string NoPlayer(const std::string& kind, const std::string& configured) {
    const std::string name = DeleteQuotes(configured);
    if (name.empty()) return "No " + kind + " player is set (Settings)";
    return "The " + kind + " player " + name + " was not found";
}

PlayOutcome Start(PlayOutcome outcome, const CollectedPlayList& list, const FileResult& started,
                  const std::string& program) {
    outcome.started = static_cast<bool>(started);
    outcome.status = Summary(list, outcome.playlist);
    outcome.status += started ? ", handed to " + program : ". " + Utf8ToCp1251(started.error).text;
    return outcome;
}

}  // namespace

PlayOutcome PlayPlayList(const CollectedPlayList& list, const std::string& programDir, Launcher& launcher) {
    PlayOutcome outcome;
    if (!WriteCollected(list, programDir, outcome)) return outcome;
    return Start(outcome, list, launcher.OpenDocument(outcome.playlist), "the desktop");
}

PlayOutcome AddToPlayerList(const CollectedPlayList& list, const std::string& programDir,
                            const TAppSettings& settings, Launcher& launcher) {
    PlayOutcome outcome;
    if (!WriteCollected(list, programDir, outcome)) return outcome;
    const std::string written = Summary(list, outcome.playlist);
    if (list.kind == PlayListKind::Video) {
        const std::string player = launcher.FindProgram(DeleteQuotes(settings.videoProgram));
        if (player.empty()) {
            outcome.status = written + ". " + NoPlayer("video", settings.videoProgram);
            return outcome;
        }
        return Start(outcome, list, launcher.StartDetached(player, {outcome.playlist}), player);
    }
    if (settings.audioProgramMode == 0) {
        const std::string app = launcher.DefaultApplicationFor(kPlayListMimeType);
        if (app.empty()) {
            outcome.status = written + ". No program is registered for M3U playlists";
            return outcome;
        }
        return Start(outcome, list, launcher.OpenDocument(outcome.playlist), app);
    }
    if (settings.audioProgramMode != 1) {
        outcome.status = written + ". No audio player: the player mode is unknown";
        return outcome;
    }
    const std::string player = launcher.FindProgram(DeleteQuotes(settings.audioProgram));
    if (player.empty()) {
        outcome.status = written + ". " + NoPlayer("audio", settings.audioProgram);
        return outcome;
    }
    return Start(outcome, list, launcher.StartDetached(player, {"/ADD", outcome.playlist}), player);
}

}  // namespace tandrel
