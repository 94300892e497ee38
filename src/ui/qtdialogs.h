// The prompt interface over Qt's message boxes and file dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/prompts.h"

namespace tandrel {

class QtDialogs : public Prompter {
public:
    void setParentWindow(QWidget* window) { parent_ = window; }

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    YesNoCancel AskYesNoCancel(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& filter) override;
    std::optional<std::string> OpenFileDialogWithFilter(const std::string& title, const std::string& dir,
                                                        const std::string& filter, int filterIndex) override;
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& dir,
                                              const std::string& defaultName, const std::string& filter) override;
    std::optional<std::string> DirectoryDialog(const std::string& title, const std::string& dir) override;
    // The window shows these itself.
    void SetStatusText(const std::string&) override {}
    void SetProgressText(const std::string&) override {}
    void SetWaitCursor(bool) override {}

private:
    QPointer<QWidget> parent_;
};

}  // namespace tandrel
