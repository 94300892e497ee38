// The rename commands of the main window: the "&Rename" menu, the "Rename
// File(s)" pop-up entries and the in-place rename of the file list. It lives
// as long as the main window and keeps the values of the rename dialogs that
// last only for the run (delete count, start number and name, substring pair).
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "rename/renameengine.h"
#include "rename/renamekind.h"

class QLineEdit;

namespace tandrel {

class CommandContext;
class Prompter;

class TRenameCommands : public QObject {
    Q_OBJECT
public:
    // Wires the rename entries and watches the file list's in-place rename box.
    TRenameCommands(CommandContext& context, QLineEdit& renameBox, QObject* parent);

    // Whole-directory renames, after the confirmation when it is asked for.
    void mnRenameToTranslitClick();
    void mnRenameToLowerCaseClick();
    void mnRenameToUpperCaseClick();
    void mnRenameToUpLoCaseClick();
    void mnRenameToUpFirstLettersOfArtistAndTitleLoCaseClick();
    void mnRenameToUpFirstLetterLoCaseClick();
    void mnRenameFromIniFileRenClick();
    void mnRenameFromIniFileDelClick();
    // The selected files of the list.
    void pmRenameToTranslitClick();
    void pmRenameToLowerCaseClick();
    void pmRenameToUpperCaseClick();
    void pmRenameToUpLoCaseClick();
    void pmRenameToUpFirstLettersOfArtistAndTitleLoCaseClick();
    void pmRenameToUpFirstLetterLoCaseClick();
    // Numbering and structural renames.
    void mnAddCountStrToFileNamesClick();
    void mnDelFrstSymFromFileNamesClick();
    void mnSortDateAddCountToFileNamesClick();
    void mnRenExtToLowCaseClick();
    void mnExtChangeClick();
    void mnSubStrChangeClick();
    // The in-place rename box over the file list.
    void pmRenameClick();
    void edFile4FileListBoxKeyUp(int key);
    void edFile4FileListBoxExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Confirmed(const char* item);
    // Builds a batch's plan (PlanForRename) and executes it; nothing when the
    // user stopped the walk or cancelled the preview.
    std::optional<RenameStats> RunPlan(const std::function<RenamePlan(WalkProgress&)>& build);
    // RunPlan, then ReportBatch.
    void RunAndReport(const std::function<RenamePlan(WalkProgress&)>& build);
    // The summary on the status line, and with more than one failure the
    // whole list in a message; then the file list is read again.
    void ReportBatch(const RenameStats& stats, Prompter& prompter);
    void RenameDirectoryCommand(RenameKind kind, const char* item);
    void RenameFromLogCommand(const char* section, const char* item);
    void RenameSelectedCommand(RenameKind kind);
    void MirrorCurrentFile();
    void HideEditBox();
    void SetMask(const std::string& mask);
    std::string Directory() const;
    std::string Mask() const;

    CommandContext& context_;
    QLineEdit& renameBox_;  // edFile4FileListBox
    int deleteCount_ = 1;
    long long startNumber_ = 0;
    std::string startName_ = "File";
    std::string oldSubStr_;
    std::string newSubStr_;
};

}  // namespace tandrel
