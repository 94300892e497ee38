#include "ui/playcommands.h"

#include <QPushButton>

#include "media/players.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/mediaplayer.h"
#include "ui/regions.h"

namespace tandrel {

TPlayCommands::TPlayCommands(CommandContext& context, OutputRegion& output, QObject* parent)
    : QObject(parent), context_(context) {
    setObjectName("PlayCommands");
    // pmPlay stays as the file-mask logic shows or hides it; the play-list
    // entries follow the output view (the window's check-list rule).
    context_.WireEntry("pmPlay", this, &TPlayCommands::pmPlayClick);
    context_.WireEntry("pmPlayList", this, &TPlayCommands::pmPlayListClick, false);
    context_.WireEntry("pmAddPlayList", this, &TPlayCommands::pmAddPlayListClick, false);
    connect(output.bbtnPlayList, &QPushButton::clicked, this, &TPlayCommands::pmPlayListClick);
    connect(output.bbtnAddPlayList, &QPushButton::clicked, this, &TPlayCommands::pmAddPlayListClick);
    output.MediaPlayer->setPlayClick([this] { return MediaPlayerClick(); });
    output.MediaPlayer->setEnabled(true);
    connect(output.MediaPlayer, &TMediaPlayer::message, this,
            [this](const QString& text) { context_.setStatusText(FromQt(text)); });
}

void TPlayCommands::pmPlayClick() {
    FileListBox& list = context_.fileList();
    if (list.selectedCount() == 0 || list.currentName().empty()) return;
    const std::string path = JoinPath(list.directory(), list.currentName());
    if (FileResult r = context_.launcher().OpenDocument(path); !r) context_.setStatusText(Utf8ToCp1251(r.error).text);
    else context_.setStatusText(path + " handed to the desktop's player");
}

void TPlayCommands::pmPlayListClick() {
    const CollectedPlayList list = CollectPlayList(context_.checkedOutputLines(), context_.outputAddsFileName(),
                                                   MediaModeOfMask(context_.fileMask()), context_.currentDirectory());
    context_.setStatusText(PlayPlayList(list, context_.programDirectory(), context_.launcher()).status);
}

void TPlayCommands::pmAddPlayListClick() {
    const CollectedPlayList list = CollectPlayList(context_.checkedOutputLines(), context_.outputAddsFileName(),
                                                   MediaModeOfMask(context_.fileMask()), context_.currentDirectory());
    context_.setStatusText(
        AddToPlayerList(list, context_.programDirectory(), context_.settings(), context_.launcher()).status);
}

std::string TPlayCommands::MediaPlayerClick() {
    const std::optional<std::string> line = context_.chosenOutputLine();
    if (!line || line->empty()) return {};
    if (FileExists(*line)) return *line;
    const std::string wave = JoinPath(context_.currentDirectory(), *line) + ".wav";
    return FileExists(wave) ? wave : std::string{};
}

}  // namespace tandrel
