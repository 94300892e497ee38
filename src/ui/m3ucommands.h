// The playlist commands of the main window: the titles and the bare names of
// the playlist in the output (the names also saved as a text file), the files
// the playlist names found on disk, and the media names of the file list.
// Each replaces the output's lines and names the output anew.
#pragma once

#include <QObject>
#include <string>
#include <vector>

namespace tandrel {

class AdvancedSearchRegion;
class CommandContext;
class OutputRegion;
class SearchBoxRegion;

class TM3UCommands : public QObject {
    Q_OBJECT
public:
    // Wires the five entries and the button "mp3"/"mpeg" of the output.
    TM3UCommands(CommandContext& context, OutputRegion& output, SearchBoxRegion& box, AdvancedSearchRegion& advanced,
                 QObject* parent);

    void mnGetM3UinfClick();
    void mnGetM3UnamesClick();
    void mnGetM3UnamesAndSaveToFileClick();
    // With "Show Dialog Box" on, asks for the playlist and opens it first.
    void mnFindM3UnamesClick();
    void mnGetMP3filesClick();

private:
    // The visible view shows the lines, the output is named "file_001.txt".
    void ShowResult(const std::vector<std::string>& lines);
    // The open dialog for a playlist; false when it was cancelled.
    bool OpenPlaylist();

    CommandContext& context_;
    SearchBoxRegion& box_;
    AdvancedSearchRegion& adv_;
};

}  // namespace tandrel
