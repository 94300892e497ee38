// The prompter of the terminal commands: messages and status texts become
// lines of a stream in UTF-8 (after an optional prefix); every question is
// answered No and every dialog cancelled.
#pragma once

#include <ostream>
#include <string>

#include "app/prompts.h"

namespace tandrel {

class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::ostream& out, std::string prefix = {}) : out_(out), prefix_(std::move(prefix)) {}

    void ShowMessage(const std::string& text) override { Line(text); }
    bool AskYesNo(const std::string&) override { return false; }
    YesNoCancel AskYesNoCancel(const std::string&) override { return YesNoCancel::Cancel; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const std::string&, const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> DirectoryDialog(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void SetStatusText(const std::string& text) override { Line(text); }
    void SetProgressText(const std::string&) override {}
    void SetWaitCursor(bool) override {}

private:
    void Line(const std::string& text);

    std::ostream& out_;
    std::string prefix_;
};

}  // namespace tandrel
