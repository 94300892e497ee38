// The one way module code asks the user something or reports progress. The
// window implements it with dialogs, the status bar and the progress text
// (stFindInd); tests implement it with a script. Every text, path and answer is
// code-page-1251.
//
// File filters are pairs of description and patterns separated by "|":
// "Text files (*.txt)|*.txt|All files (*.*)|*.*".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tandrel {

enum class YesNoCancel { Yes, No, Cancel };

// Where a long operation is: the directories entered and files examined so
// far, what it examines now, and, when known beforehand, the files it will
// examine (total) and the bytes it will move (bytes; the share done is then
// counted in bytes).
struct ProgressInfo {
    std::int64_t directories = 0;
    std::int64_t files = 0;
    std::int64_t total = 0;
    std::int64_t bytesDone = 0;
    std::int64_t bytes = 0;
    std::string entry;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A modal message box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A confirmation with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual YesNoCancel AskYesNoCancel(const std::string& text) = 0;
    // An input box proposing defaultText; nullopt when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& defaultText) = 0;
    // The chosen full path, or nullopt when cancelled. The save dialog asks
    // before an existing file is replaced.
    virtual std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& dir,
                                                      const std::string& filter) = 0;
    // The open dialog with the filter of the 0-based index preselected; where
    // filters cannot be preselected, the plain open dialog.
    virtual std::optional<std::string> OpenFileDialogWithFilter(const std::string& title, const std::string& dir,
                                                                const std::string& filter, int filterIndex) {
        static_cast<void>(filterIndex);
        return OpenFileDialog(title, dir, filter);
    }
    virtual std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& dir,
                                                      const std::string& defaultName, const std::string& filter) = 0;
    virtual std::optional<std::string> DirectoryDialog(const std::string& title, const std::string& dir) = 0;

    virtual void SetStatusText(const std::string& text) = 0;
    // The small progress text of long walks.
    virtual void SetProgressText(const std::string& text) = 0;
    // The progress of a long operation with its counts; a window shows them
    // all, anything else the entry as the progress text.
    virtual void ReportProgress(const ProgressInfo& progress) { SetProgressText(progress.entry); }
    // Busy: the hourglass cursor; not busy: the normal cursor.
    virtual void SetWaitCursor(bool busy) = 0;
    // True once the user has asked the running operation to stop (Esc or the
    // Cancel button); long operations ask between two files and end early,
    // keeping what they have done (results so far, the log of moves made).
    virtual bool StopRequested() { return false; }
};

// Asks ComposeMessage(language, code, text) with Yes and No; true for Yes.
bool ConfirmDlg(Prompter& prompter, int language, int code, const std::string& text);

// Input box by code, proposing defaultText: 9 "Finding Parameters" / "Input
// string of finding:", 10 "Parameters" / "Input any:". Returns the text
// entered, defaultText when the box is cancelled, and "" without asking for
// any other code.
inline constexpr int kInputFind = 9;
inline constexpr int kInputAny = 10;
std::string InputDlg(Prompter& prompter, int language, int code, const std::string& defaultText);

void SetWaitCursor(Prompter& prompter, bool busy);

// The hourglass for the lifetime of the object, restored however the
// operation ends.
class WaitCursor {
public:
    explicit WaitCursor(Prompter& prompter) : prompter_(prompter) { SetWaitCursor(prompter_, true); }
    ~WaitCursor() { SetWaitCursor(prompter_, false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Prompter& prompter_;
};

}  // namespace tandrel
