// What the command objects of the main window (search, rename, tag panel and
// those to come) may use of the window: its file manager, output document,
// status line, prompter, settings record and settings store, and the launcher
// of other programs. The main window implements it and creates every command
// object with it; a command object includes this header, never the window's,
// and reaches no other command.
#pragma once

#include <QAction>
#include <QObject>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "app/settings.h"
#include "catalog/outputdoc.h"

class QWidget;

namespace tandrel {

class FileListBox;
class Launcher;
class RegistryStore;
class TID3v1;
class TID3v2;
struct RenamePlan;

class CommandContext {
public:
    virtual ~CommandContext() = default;

    // The window that owns the dialogs a command opens.
    virtual QWidget* dialogParent() = 0;
    virtual Prompter& prompter() = 0;
    virtual int language() const = 0;
    virtual TAppSettings& settings() = 0;
    // The settings store the window was given; read again with Load() before use.
    virtual RegistryStore& settingsStore() = 0;
    virtual const std::string& programDirectory() const = 0;
    // A menu or pop-up entry by its name.
    virtual QAction* menuEntry(const char* name) = 0;

    // The file manager: the directory shown, the mask box and its list, the
    // drive roots, and the file list with its selection.
    virtual std::string currentDirectory() const = 0;
    virtual std::string fileMask() const = 0;
    virtual std::vector<std::string> MaskList() const = 0;
    // Puts the mask in the mask box and applies it, as if the user typed it.
    virtual void setFileMask(const std::string& mask) = 0;
    virtual std::vector<std::string> driveRoots() const = 0;
    // Moves the directory list, and with it the file list and the current
    // directory, to dir; false when dir is not a directory.
    virtual bool GoToDirectory(const std::string& dir) = 0;
    virtual FileListBox& fileList() = 0;
    // The file list shows media files (a media mask is applied).
    virtual bool fileListShowsMedia() const = 0;

    // The output document.
    virtual std::vector<std::string>& searchResults() = 0;
    virtual std::string OpenOutputDocument(OpenMode mode, const std::string& fileName) = 0;
    virtual void ClearOutputText() = 0;
    // Both views show the lines.
    virtual void ShowOutputLines(const std::vector<std::string>& lines) = 0;
    virtual void RefreshCheckList() = 0;
    // "Add file name" is checked.
    virtual bool outputAddsFileName() const = 0;
    // The lines of the editor, and of the view that is visible (the editor or the check list).
    virtual std::vector<std::string> outputLines() const = 0;
    virtual std::vector<std::string> visibleOutputLines() const = 0;
    // Replaces the lines of the editor only, or of the visible view only.
    virtual void ReplaceOutputLines(const std::vector<std::string>& lines) = 0;
    virtual void ReplaceVisibleOutputLines(const std::vector<std::string>& lines) = 0;
    // The check list's checked lines, and its selected lines (selection, not
    // check marks), in list order.
    virtual std::vector<std::string> checkedOutputLines() const = 0;
    virtual std::vector<std::string> selectedOutputLines() const = 0;
    // The chosen line of the visible view (the check list's current line, the
    // editor's cursor line), if there is one.
    virtual std::optional<std::string> chosenOutputLine() const = 0;
    // The output's document name; naming it anew also sets the save path and the captions.
    virtual const std::string& documentName() const = 0;
    virtual void NameOutputDocument(const std::string& name) = 0;
    // The Save command of the output (it asks before replacing a file).
    virtual void SaveOutput() = 0;

    // The status line.
    virtual void setStatusText(const std::string& text) = 0;
    virtual std::string statusText() const = 0;

    // The window's tag objects, which the tag panel owns, and its two halves.
    virtual TID3v1& id3v1() = 0;
    virtual TID3v2& id3v2() = 0;
    virtual void ClearTagPanel() = 0;
    // Both halves take the tags of the file's name; with save they are written
    // into the file. True when filled (and saved).
    virtual bool FileNameToTags(const std::string& fullName, bool save) = 0;

    // Starts other programs and opens files and addresses with the desktop's programs.
    virtual Launcher& launcher() = 0;

    // Shows a batch rename's plan for checking; the files the user leaves out
    // become not included. True to go on with the rename, false when cancelled.
    virtual bool PreviewRenamePlan(RenamePlan& plan) = 0;

    // Enables (or disables) the named entry and connects it to the handler.
    template <class Receiver>
    void WireEntry(const char* name, Receiver* receiver, void (Receiver::*handler)(), bool enabled = true) {
        QAction* action = menuEntry(name);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, receiver, handler);
    }

protected:
    CommandContext() = default;
    CommandContext(const CommandContext&) = default;
    CommandContext& operator=(const CommandContext&) = default;
};

}  // namespace tandrel
