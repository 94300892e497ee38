// The rename from tags in the main window: the file list's "ID3" button
// renames the selected files after their tags, and the service menu's
// "From ID3 Rename Options..." opens the options dialog. It lives as long as
// the main window and reads the options from the settings store at each run.
#pragma once

#include <QObject>
#include <string>
#include <vector>

class QPushButton;

namespace tandrel {

class CommandContext;
class RegistryStore;
struct TagNameOptions;

class TFromTagsCommands : public QObject {
    Q_OBJECT
public:
    // Wires the button (then enabled by the audio-mask rule) and the menu entry.
    TFromTagsCommands(CommandContext& context, QPushButton& renameButton, QObject* parent);

    void bbtnFromID3RenameClick();
    void mnFromID3RenameOptionsClick();

private:
    // The options as stored now; false (after saying why) when the store cannot be read.
    bool ReadOptions(TagNameOptions& options);
    // The settings dialog on its rename page, the other pages disabled.
    void ShowRenameSettings(QWidget* parent);

    CommandContext& context_;
    QPushButton& renameButton_;  // bbtnFromID3Rename
};

}  // namespace tandrel
