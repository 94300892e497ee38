// The two batch commands under the tag panel, on the files selected in the
// file list: "FileName" writes the track, artist and title of each file's
// name into both tags, "ID3..." opens the batch update dialog and changes
// only the fields typed there. A failure is reported for its file and the
// batch goes on.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "ui/updateid3tagsform.h"

class QPushButton;

namespace tandrel {

class CommandContext;
class ProgressPump;
class TagPanelRegion;

class TTagBatchCommands : public QObject {
    Q_OBJECT
public:
    // Wires the panel's "FileName" and "ID3..." buttons.
    TTagBatchCommands(CommandContext& context, TagPanelRegion& panel, QObject* parent);

    void bbtnFromFileNameToID3Click();
    void bbtnChangeID3Click();
    // The dialog's OK: the update on every selected file, in list order.
    void UpdateSelectedFiles(const TagFieldUpdate& update, TagUpdateMode mode);

private:
    // The full names of the selected files in list order.
    std::vector<std::string> SelectedPaths() const;
    // Runs each over the selected files with the progress line counting them;
    // the user may stop between two files (the status line then says how many were done).
    void ForEachSelectedFile(ProgressPump& pump, const std::function<void(const std::string&)>& each);

    CommandContext& context_;
    QPushButton& fromFileName_;  // bbtnFromFileNameToID3
};

}  // namespace tandrel
