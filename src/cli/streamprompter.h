// The prompters of the terminal commands: nobody is there to answer, so
// every question is answered No and every dialog cancelled.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace tandrel {

// Messages and status texts go to Line; questions are answered No.
class UnattendedPrompter : public Prompter {
public:
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

protected:
    virtual void Line(const std::string& text) = 0;
};

// Messages and status texts become lines of a stream in UTF-8, after an
// optional prefix.
class StreamPrompter : public UnattendedPrompter {
public:
    explicit StreamPrompter(std::ostream& out, std::string prefix = {}) : out_(out), prefix_(std::move(prefix)) {}

protected:
    void Line(const std::string& text) override;

private:
    std::ostream& out_;
    std::string prefix_;
};

// Keeps the messages, status texts and questions, in order (code page 1251).
class CollectingPrompter : public UnattendedPrompter {
public:
    bool AskYesNo(const std::string& text) override {
        Line(text);
        return UnattendedPrompter::AskYesNo(text);
    }
    YesNoCancel AskYesNoCancel(const std::string& text) override {
        Line(text);
        return UnattendedPrompter::AskYesNoCancel(text);
    }

    std::vector<std::string> texts;

protected:
    void Line(const std::string& text) override { texts.push_back(text); }
};

}  // namespace tandrel
