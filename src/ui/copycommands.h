// The transfer commands of the main window: copy the file list's selected
// files, or the files the checked output lines name, into a directory chosen
// with the save-directory dialog; and hand the first selected output line, an
// address, to the desktop's handler for addresses.
#pragma once

#include <QObject>
#include <string>
#include <vector>

namespace tandrel {

class CommandContext;
struct CopySource;

class TCopyCommands : public QObject {
    Q_OBJECT
public:
    // Wires pmCopyFile, pmCopyFiles and pmDownloadFile.
    TCopyCommands(CommandContext& context, QObject* parent);

    void pmCopyFileClick();
    void pmCopyFilesClick();
    void pmDownloadFileClick();

private:
    // The target directory from the save-directory dialog, "" when cancelled.
    std::string AskTargetDirectory();
    // Copies under the wait cursor with progress, then reports on the status line.
    // asked: how many entries the user chose; those that named no file count as not found.
    void CopyWithProgress(const std::vector<CopySource>& sources, std::size_t asked, const std::string& targetDir);

    CommandContext& context_;
};

}  // namespace tandrel
