// The transfer commands of the main window: copy the file list's selected
// files, or the files the checked output lines name, into a directory chosen
// with the save-directory dialog; and hand the first selected output line, an
// address, to the desktop's handler for addresses.
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

namespace tandrel {

class CommandContext;
struct CopySource;

// Hands an address to the desktop (the default browser); tests record instead.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool OpenUrl(const std::string& address) = 0;
};

class TCopyCommands : public QObject {
    Q_OBJECT
public:
    // Wires pmCopyFile, pmCopyFiles and pmDownloadFile.
    TCopyCommands(CommandContext& context, QObject* parent);
    ~TCopyCommands() override;

    void pmCopyFileClick();
    void pmCopyFilesClick();
    void pmDownloadFileClick();

    // Replaces the desktop opener (tests).
    void setUrlOpener(std::unique_ptr<UrlOpener> opener);

private:
    // The target directory from the save-directory dialog, "" when cancelled.
    std::string AskTargetDirectory();
    // Copies under the wait cursor with progress, then reports on the status line.
    // asked: how many entries the user chose; those that named no file count as not found.
    void CopyWithProgress(const std::vector<CopySource>& sources, std::size_t asked, const std::string& targetDir);

    CommandContext& context_;
    std::unique_ptr<UrlOpener> opener_;
};

}  // namespace tandrel
