// The synonyms dialog: the groups of "Synonyms.ini" as a list of name and
// members, edited in place. F4 edits the selected group, F5 adds a copy of
// the last one, F8 deletes the selected one; in the edit box Enter or F2
// commits and Esc cancels. "Close" always saves.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "search/synonymsfile.h"
#include "ui/widgets.h"

namespace tandrel {

class TSynonymsForm : public QDialog {
    Q_OBJECT
public:
    // folder is the program directory, where "Synonyms.ini" lives.
    TSynonymsForm(std::string folder, Prompter& prompter, int language, QWidget* parent = nullptr);

    QTreeWidget* StringListView;
    QLineEdit* edString4ListView;
    QMenu* pmList;
    QAction* pmEdit;
    QAction* pmAddCopy;
    QAction* pmDelete;
    QPushButton* bbtnOk;

    void pmEditClick();
    void pmAddCopyClick();
    void pmDeleteClick();
    void StringListViewKeyUp(int key);
    void edString4ListViewKeyUp(int key);
    void edString4ListViewExit();
    void bbtnOkClick();

    // The groups as the list shows them.
    std::vector<SynonymGroup> groups() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Closing the window is "Close".
    void reject() override;

private:
    enum class EditState { None, Adding, Editing };

    void FormCreate();
    void ShowEditor(int row, int top, const QString& text);
    void HideEditor();
    std::string FilePath() const;

    std::string folder_;
    Prompter& prompter_;
    EditState state_ = EditState::None;
    int editIndex_ = -1;
    bool unreadable_ = false;  // the file exists but could not be read: it is not replaced
    KeyUpGate editKeys_, listKeys_;
};

// Opens the dialog modally in the language (1 Russian) and releases it when it closes.
void SynonymsEditor(int language, const std::string& folder, Prompter& prompter, QWidget* parent);

}  // namespace tandrel
