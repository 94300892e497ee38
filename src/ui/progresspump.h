// The window's prompter for long walks: everything passes on to the window,
// but the progress is shown, and the window repaints, at most every 50 ms.
// For as long as the pump lives, a window that is an OperationHost shows its
// progress line and Cancel button and lets through only the user input that
// stops the operation; StopRequested asks it. Under any other prompter user
// input waits until the operation ends.
#pragma once

#include <QElapsedTimer>
#include <string>

#include "app/prompts.h"

namespace tandrel {

// The window's side of a long operation (see ui/operationgate.h).
class OperationHost {
public:
    virtual ~OperationHost() = default;
    virtual void BeginOperation() = 0;
    virtual void EndOperation() = 0;
    virtual bool OperationStopRequested() const = 0;
};

class ProgressPump : public Prompter {
public:
    static constexpr qint64 kIntervalMs = 50;

    explicit ProgressPump(Prompter& window) : window_(window), host_(dynamic_cast<OperationHost*>(&window)) {
        if (host_) host_->BeginOperation();
    }
    ~ProgressPump() override {
        if (host_) host_->EndOperation();
    }
    ProgressPump(const ProgressPump&) = delete;
    ProgressPump& operator=(const ProgressPump&) = delete;

    // Shows the pending progress and processes the window's events, when 50 ms
    // have passed; the first progress shows at once.
    void Pump() {
        const bool first = pending_ != Pending::Nothing && !shown_;
        if (!first && clock_.isValid() && clock_.elapsed() < kIntervalMs) return;
        if (pending_ != Pending::Nothing) shown_ = true;
        switch (pending_) {
            case Pending::Nothing: break;
            case Pending::Text: window_.SetProgressText(info_.entry); break;
            case Pending::Counts: window_.ReportProgress(info_); break;
        }
        pending_ = Pending::Nothing;
        ProcessEvents();
        clock_.start();
    }

    void ShowMessage(const std::string& text) override { window_.ShowMessage(text); }
    bool AskYesNo(const std::string& text) override { return window_.AskYesNo(text); }
    YesNoCancel AskYesNoCancel(const std::string& text) override { return window_.AskYesNoCancel(text); }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override {
        return window_.InputBox(caption, prompt, defaultText);
    }
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& filter) override {
        return window_.OpenFileDialog(title, dir, filter);
    }
    std::optional<std::string> OpenFileDialogWithFilter(const std::string& title, const std::string& dir,
                                                        const std::string& filter, int filterIndex) override {
        return window_.OpenFileDialogWithFilter(title, dir, filter, filterIndex);
    }
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& defaultName, const std::string& filter) override {
        return window_.SaveFileDialog(title, dir, defaultName, filter);
    }
    std::optional<std::string> DirectoryDialog(const std::string& title, const std::string& dir) override {
        return window_.DirectoryDialog(title, dir);
    }
    void SetStatusText(const std::string& text) override { window_.SetStatusText(text); }
    void SetProgressText(const std::string& text) override {
        info_.entry.assign(text);
        pending_ = Pending::Text;
        Pump();
    }
    void ReportProgress(const ProgressInfo& progress) override {
        // Assigned member by member: the entry's buffer is reused.
        info_.directories = progress.directories;
        info_.files = progress.files;
        info_.total = progress.total;
        info_.bytesDone = progress.bytesDone;
        info_.bytes = progress.bytes;
        info_.entry.assign(progress.entry);
        pending_ = Pending::Counts;
        Pump();
    }
    void SetWaitCursor(bool busy) override { window_.SetWaitCursor(busy); }
    // The window's events are processed first, so an Esc pressed meanwhile counts.
    bool StopRequested() override {
        Pump();
        return host_ ? host_->OperationStopRequested() : window_.StopRequested();
    }

private:
    enum class Pending { Nothing, Text, Counts };
    void ProcessEvents();

    Prompter& window_;
    OperationHost* host_;
    QElapsedTimer clock_;
    ProgressInfo info_;
    Pending pending_ = Pending::Nothing;
    bool shown_ = false;
};

}  // namespace tandrel
