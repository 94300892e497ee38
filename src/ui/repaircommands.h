// The repair commands of the main window: the ID3v2 text that other players
// show as mojibake (mnRepairTags), file names in old single-byte encodings
// (mnRepairNames) and their rename back from the logs (mnRepairNamesBack).
// Each repair is previewed first as a table of old and new texts; OK carries
// it out.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

namespace tandrel {

class CommandContext;

// A preview: its column titles and rows (UTF-8 texts), in the window's language.
struct RepairPreview {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};
// Shows a preview; true when the user chose OK.
using PreviewHandler = std::function<bool(const RepairPreview& preview)>;

class TRepairCommands : public QObject {
    Q_OBJECT
public:
    // Wires mnRepairTags, mnRepairNames and mnRepairNamesBack.
    TRepairCommands(CommandContext& context, QObject* parent);

    void mnRepairTagsClick();
    void mnRepairNamesClick();
    void mnRepairNamesBackClick();

    // Replaces the preview dialog (tests).
    void setPreviewHandler(PreviewHandler handler) { preview_ = std::move(handler); }

private:
    // The files a tag repair takes: the selected files of the file list, or
    // every file of the current directory that the mask admits.
    std::vector<std::string> TagRepairFiles();

    CommandContext& context_;
    PreviewHandler preview_;
};

// The preview as a modal dialog (TRepairPreviewForm) with a table and OK and Cancel.
bool ShowRepairPreview(const RepairPreview& preview, int language, QWidget* parent);

}  // namespace tandrel
