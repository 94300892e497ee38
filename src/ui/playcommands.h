// Playback from the main window: play the file list's current file with the
// desktop's program ("Play"), hand the checked output lines to a player as a
// playlist ("Play List", "Add to List"), and the built-in player's file.
#pragma once

#include <QObject>
#include <string>

namespace tandrel {

class CommandContext;
class OutputRegion;

class TPlayCommands : public QObject {
    Q_OBJECT
public:
    // Wires pmPlay, pmPlayList, pmAddPlayList, bbtnPlayList, bbtnAddPlayList
    // and the built-in player's Play button.
    TPlayCommands(CommandContext& context, OutputRegion& output, QObject* parent);

    void pmPlayClick();
    void pmPlayListClick();
    void pmAddPlayListClick();
    // The file the built-in player opens for the chosen output line: the line
    // itself, else the current directory's line + ".wav"; "" when neither exists.
    std::string MediaPlayerClick();

private:
    CommandContext& context_;
};

}  // namespace tandrel
