// The catalogue commands of the main window that write files about a
// directory tree: "Processing Directories - Make Descriptions..." (F9),
// "Processing Rename Files to Translit && Correct Description..." (Ctrl+F9)
// and "Make Tree of Directory..." (Ctrl+F10). Each asks its directories
// in the directory-processing dialog first.
#pragma once

#include <QObject>
#include <string>
#include <vector>

namespace tandrel {

class CommandContext;
class Prompter;

class TCatalogCommands : public QObject {
    Q_OBJECT
public:
    TCatalogCommands(CommandContext& context, QObject* parent);

    void mnProcessDirsClick();
    void mnProcessRenFilesClick();
    void mnMakeTreeClick();

private:
    // The dialog of the mode; the directory for writing, "" on Cancel.
    std::string AskDirectories(int mode);
    // The summary on the status line and, when anything failed, every failure in one message.
    void Report(const std::string& summary, const std::vector<std::string>& failures, Prompter& prompter);
    // What the status line adds when the user stopped the run ("" otherwise).
    std::string CancelledNote(bool cancelled) const;

    CommandContext& context_;
};

}  // namespace tandrel
