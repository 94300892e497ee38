// The window's prompter for long walks: everything passes on to the window,
// but the progress text is shown, and the window repaints (user input waits),
// at most every 50 ms.
#pragma once

#include <QElapsedTimer>
#include <string>

#include "app/prompts.h"

namespace tandrel {

class ProgressPump : public Prompter {
public:
    static constexpr qint64 kIntervalMs = 50;

    explicit ProgressPump(Prompter& window) : window_(window) {}

    // Shows a pending progress text and repaints, when 50 ms have passed.
    void Pump() {
        if (clock_.isValid() && clock_.elapsed() < kIntervalMs) return;
        if (pending_) {
            window_.SetProgressText(text_);
            pending_ = false;
        }
        ProcessPaintEvents();
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
        text_ = text;
        pending_ = true;
        Pump();
    }
    void SetWaitCursor(bool busy) override { window_.SetWaitCursor(busy); }
    bool StopRequested() override { return window_.StopRequested(); }

private:
    static void ProcessPaintEvents();

    Prompter& window_;
    QElapsedTimer clock_;
    std::string text_;
    bool pending_ = false;
};

}  // namespace tandrel
