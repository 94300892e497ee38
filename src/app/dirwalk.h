// The one directory walk that every command walking a tree uses, and the two
// mask filters that decide which files take part.
//
// The walk lists dir with every attribute in the file system's order, skips
// "." and "..", walks each sub-directory depth first while the parent's listing
// is in progress (when recursive), and hands on each admitted file that still
// exists. A symbolic link to a directory is reported as a sub-directory but
// never entered, so a walk stays inside the tree it was given (the start
// directory itself may be a link). Directories are passed in code-page-1251
// text exactly as the walk built them: the start directory unchanged, extended
// by JoinPath.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "platform/dirid.h"
#include "platform/files.h"

namespace tandrel {

// Decides from a file name whether the file takes part.
using FileFilter = std::function<bool(const std::string& name)>;

struct WalkHandler {
    // Before the listing of a directory begins.
    std::function<void(const std::string& dir)> onDirectoryBegin;
    // Each sub-directory entry, before the walk descends into it.
    std::function<void(const std::string& dir, const FindData& subdir)> onDirectory;
    // Each admitted file that exists.
    std::function<void(const std::string& dir, const FindData& file)> onFile;
    // After the listing of a directory has ended (a directory that cannot be
    // listed still gets its begin and end).
    std::function<void(const std::string& dir)> onDirectoryEnd;
    // A directory that could not be listed, or not to its end, and why
    // (code-page-1251 text); before its end.
    std::function<void(const std::string& dir, const std::string& reason)> onDirectoryError{};
    // Asked before each entry: true ends the walk (each directory that was
    // begun still gets its end).
    std::function<bool()> stopWalk{};
    // Asked after onDirectory, before the walk descends: false leaves that
    // sub-directory out.
    std::function<bool(const std::string& dir, const FindData& subdir)> enterDirectory{};
    // Takes onFile's place when set, for handlers that open the files: the
    // same call with where the listing found the file, so that it is opened
    // by its name relative to the directory already open.
    std::function<void(const std::string& dir, const FindData& file, const ListedEntry& at)> onFileAt{};
};

// The directories a walk is inside, so that a linked directory leading back
// into its own descent is not entered again.
class WalkDescent {
public:
    // False when dir is one of the directories open in the descent; otherwise
    // dir is open until the matching Leave.
    bool Enter(const std::string& dir);
    void Leave();

private:
    std::vector<DirectoryId> open_;
    std::vector<bool> known_;
};

// "Cannot read " + dir + ": " + reason, the status text of a skipped directory.
std::string CannotReadText(const std::string& dir, const std::string& reason);
// Sets the handler's onDirectoryError to show CannotReadText on the status bar.
void ReportUnreadableDirectories(WalkHandler& handler, Prompter& prompter);

// The counts of a walk for the progress line, and the user's wish to stop it.
// One object may serve several walks of one operation: the counts go on.
class WalkProgress {
public:
    explicit WalkProgress(Prompter& prompter) : prompter_(prompter) {}

    // A directory entered, shown as where the walk is.
    void Directory(const std::string& dir);
    // A file examined, only counted, or counted and shown as where the walk is.
    void CountFile() { ++info_.files; }
    void File(const std::string& dir, const std::string& name);
    // Shows entry as what is examined now, the counts unchanged.
    void Show(const std::string& entry);
    // The files the operation will examine, when it knows beforehand.
    void SetTotal(std::int64_t files) { info_.total = files; }
    // Counts from nothing again, for a new operation.
    void Restart();
    // Asks the prompter between two entries; once true, it stays true.
    bool Stop();
    bool stopped() const { return stopped_; }
    const ProgressInfo& info() const { return info_; }
    // Counts directories and stops the walk when the user asks to (a
    // handler's own onDirectoryBegin is kept and runs after the count).
    void Attach(WalkHandler& handler, bool showDirectories);

private:
    Prompter& prompter_;
    ProgressInfo info_;
    bool stopped_ = false;
};

// detail says what the handlers learn of each entry (see FindDetail).
void WalkDirectory(const std::string& dir, bool recursive, const FileFilter& admit, const WalkHandler& handler,
                   FindDetail detail = FindDetail::Full);

// ToLowerCase of the text after the last full stop (the whole name without one).
std::string ExtensionKey(const std::string& name);

// The mask filter of the walkers: when the text after the mask's last full stop
// is neither "*" nor empty, the name's extension key must be one of the mask's
// tokens. "*.*" and "*" admit everything; "*.MP3" admits nothing.
bool MaskAdmits(const std::string& mask, const std::string& name);
FileFilter MaskFilter(std::string mask);

// The filter of the extension change: the source mask's extension is "*", or
// equals the name's extension key exactly, or is empty and the name has none.
bool SingleExtensionAdmits(const std::string& sourceMask, const std::string& name);
FileFilter SingleExtensionFilter(std::string sourceMask);

}  // namespace tandrel
