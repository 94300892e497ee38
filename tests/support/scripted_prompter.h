// A Prompter for tests: answers from a queue of scripted answers and records
// every call. A call that needs an answer when the next scripted answer does
// not fit it (or none is left) fails the test and gets the safe answer (No,
// Cancel, nothing). Answers left over when the prompter is destroyed fail the
// test too: the expected question was never asked.
//
// Progress reports are recorded with their counts (and as progress texts, as
// a window without counts shows them). StopAfterFiles(n) makes the prompter
// say stop once a report has counted n files: a user pressing Esc then.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/prompts.h"

namespace tandrel::test {

enum class PromptKind {
    Message, YesNo, YesNoCancel, Input, OpenFile, SaveFile, Directory, Status, Progress, WaitCursor
};

struct PromptCall {
    PromptKind kind;
    // The message, question, input prompt, dialog title, status or progress
    // text; "busy" or "idle" for the wait cursor.
    std::string text;
    // Every argument in order (input box: caption, prompt, default).
    std::vector<std::string> args;
};

class ScriptedPrompter : public Prompter {
public:
    ~ScriptedPrompter() override {
        if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " scripted answer(s) were never asked for";
    }

    ScriptedPrompter& Yes() { return Push({Answer::Yes, {}}); }
    ScriptedPrompter& No() { return Push({Answer::No, {}}); }
    // Cancels a Yes/No/Cancel question, an input box or a file dialog.
    ScriptedPrompter& Cancel() { return Push({Answer::Cancel, {}}); }
    // Text for an input box, or the path a file or directory dialog returns.
    ScriptedPrompter& Text(std::string text) { return Push({Answer::Text, std::move(text)}); }

    // StopRequested() turns true once a progress report has counted `files` files.
    ScriptedPrompter& StopAfterFiles(std::int64_t files) {
        stopAfterFiles_ = files;
        return *this;
    }

    // Called with each progress text or report (a text comes with no counts),
    // as a user watching the progress line.
    std::function<void(const ProgressInfo&)> onProgress;

    const std::vector<PromptCall>& calls() const { return calls_; }
    const std::vector<ProgressInfo>& progressReports() const { return reports_; }
    // How often the operation asked whether to stop.
    std::size_t stopQuestions() const { return stopQuestions_; }
    std::vector<std::string> Texts(PromptKind kind) const {
        std::vector<std::string> out;
        for (const PromptCall& c : calls_) if (c.kind == kind) out.push_back(c.text);
        return out;
    }
    std::size_t Count(PromptKind kind) const { return Texts(kind).size(); }
    std::size_t PendingAnswers() const { return answers_.size(); }
    const std::string& statusText() const { return status_; }
    const std::string& progressText() const { return progress_; }
    bool busy() const { return busy_; }

    void ShowMessage(const std::string& text) override { Record(PromptKind::Message, text, {text}); }

    bool AskYesNo(const std::string& text) override {
        Record(PromptKind::YesNo, text, {text});
        return Take("Yes/No question", {Answer::Yes, Answer::No}).kind == Answer::Yes;
    }

    YesNoCancel AskYesNoCancel(const std::string& text) override {
        Record(PromptKind::YesNoCancel, text, {text});
        switch (Take("Yes/No/Cancel question", {Answer::Yes, Answer::No, Answer::Cancel}).kind) {
            case Answer::Yes: return YesNoCancel::Yes;
            case Answer::No: return YesNoCancel::No;
            default: return YesNoCancel::Cancel;
        }
    }

    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override {
        Record(PromptKind::Input, prompt, {caption, prompt, defaultText});
        return TakeText("input box");
    }

    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& filter) override {
        Record(PromptKind::OpenFile, title, {title, dir, filter});
        return TakeText("open dialog");
    }

    // Recorded as an open dialog with the preselected filter's index as a fourth argument.
    std::optional<std::string> OpenFileDialogWithFilter(const std::string& title, const std::string& dir,
                                                        const std::string& filter, int filterIndex) override {
        Record(PromptKind::OpenFile, title, {title, dir, filter, std::to_string(filterIndex)});
        return TakeText("open dialog");
    }

    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& defaultName, const std::string& filter) override {
        Record(PromptKind::SaveFile, title, {title, dir, defaultName, filter});
        return TakeText("save dialog");
    }

    std::optional<std::string> DirectoryDialog(const std::string& title, const std::string& dir) override {
        Record(PromptKind::Directory, title, {title, dir});
        return TakeText("directory dialog");
    }

    void SetStatusText(const std::string& text) override {
        status_ = text;
        Record(PromptKind::Status, text, {text});
    }

    void SetProgressText(const std::string& text) override {
        ShowProgress(text);
        if (onProgress) {
            ProgressInfo plain;
            plain.entry = text;
            onProgress(plain);
        }
    }

    void ReportProgress(const ProgressInfo& progress) override {
        reports_.push_back(progress);
        if (stopAfterFiles_ >= 0 && progress.files >= stopAfterFiles_) stopping_ = true;
        ShowProgress(progress.entry);
        if (onProgress) onProgress(progress);
    }

    bool StopRequested() override {
        ++stopQuestions_;
        return stopping_;
    }

    void SetWaitCursor(bool busy) override {
        busy_ = busy;
        const std::string text = busy ? "busy" : "idle";
        Record(PromptKind::WaitCursor, text, {text});
    }

private:
    struct Answer {
        enum Kind { Yes, No, Cancel, Text } kind;
        std::string text;
    };

    void ShowProgress(const std::string& text) {
        progress_ = text;
        Record(PromptKind::Progress, text, {text});
    }

    ScriptedPrompter& Push(Answer a) {
        answers_.push_back(std::move(a));
        return *this;
    }

    void Record(PromptKind kind, const std::string& text, std::vector<std::string> args) {
        calls_.push_back({kind, text, std::move(args)});
    }

    // The next answer when its kind is one of `fitting`; otherwise a failure and
    // the last of `fitting` (the safe one) without consuming the script.
    Answer Take(const char* what, std::initializer_list<Answer::Kind> fitting) {
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected " << what << ": \"" << calls_.back().text << "\"";
        } else {
            for (Answer::Kind k : fitting) {
                if (answers_.front().kind == k) {
                    Answer a = std::move(answers_.front());
                    answers_.pop_front();
                    return a;
                }
            }
            ADD_FAILURE() << "the next scripted answer does not fit the " << what << ": \"" << calls_.back().text
                          << "\"";
        }
        return {*(fitting.end() - 1), {}};
    }

    std::optional<std::string> TakeText(const char* what) {
        Answer a = Take(what, {Answer::Text, Answer::Cancel});
        if (a.kind == Answer::Text) return std::move(a.text);
        return std::nullopt;
    }

    std::deque<Answer> answers_;
    std::vector<PromptCall> calls_;
    std::string status_;
    std::string progress_;
    bool busy_ = false;
    std::vector<ProgressInfo> reports_;
    std::int64_t stopAfterFiles_ = -1;
    bool stopping_ = false;
    std::size_t stopQuestions_ = 0;
};

}  // namespace tandrel::test
