// The editor window: a second text window for building catalogue files. It is
// created hidden at start-up, lives for the whole run, and closing only hides it.
#pragma once

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "text/encoding.h"

namespace tandrel {

class RegistryStore;
class FindDialog;

// "Find text": searches the main window's output and tells where the text is.
class TFindForm : public QDialog {
    Q_OBJECT
public:
    TFindForm(int language, QWidget* parent = nullptr);
    QLineEdit* edFind;
    QPushButton* bbtnFind;
};

class TEditForm : public QMainWindow {
    Q_OBJECT
public:
    struct Links {
        Prompter& prompter;
        RegistryStore& registry;
        std::function<int()> language;              // the main window's current language
        std::function<std::string()> outputText;    // the main window's output editor text
    };
    // Restores the bounds stored in the settings registry.
    explicit TEditForm(Links links, QWidget* parent = nullptr);
    // Writes the bounds back.
    ~TEditForm() override;

    // What the main window does with it.
    void setFileName(const std::string& name) { fileName_ = name; }
    const std::string& fileName() const { return fileName_; }
    void clearText();
    // Loads a file; false (text kept) when it does not exist or cannot be read.
    bool loadFile(const std::string& path);
    void appendLine(const std::string& line);
    std::vector<std::string> lines() const;
    bool saved() const { return saved_; }
    const std::string& savePath() const { return savePath_; }
    void ApplyLanguage(int language);

    // The close check; the window closes (hides) whatever the answer.
    bool CloseQuery();

    void mnSaveClick();
    void mnSaveAsClick();
    void mnFindClick();
    void FindDialogFind(const QString& text, bool matchCase);
    void mnFindTextClick();
    void mnSortLinesClick();
    void mnSortByPathClick();

    QPlainTextEdit* reOutput;
    QAction *mnSave, *mnSaveAs, *mnExit, *mnFind, *mnFindText, *mnSortLines, *mnSortByPath;

protected:
    void showEvent(QShowEvent* event) override;      // the caption names the file
    void changeEvent(QEvent* event) override;        // activation restarts the text search
    void closeEvent(QCloseEvent* event) override;    // offers to save unsaved text
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool WriteTo(const std::string& path);
    void setLines(const std::vector<std::string>& lines);

    Links links_;
    std::string fileName_;
    std::string savePath_;
    TextOrigin origin_;  // how the loaded file was written; saves keep it
    int findPosition_ = 0;
    bool saved_ = false;
    bool loading_ = false;
    FindDialog* findDialog_ = nullptr;
};

}  // namespace tandrel
