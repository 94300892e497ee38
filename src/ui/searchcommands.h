// The search commands of the main window: Find and Directory with the keys
// of the search box, the two text buttons, the file list's "Words Search" and
// "Copy words to String for Find", the enable rules of the advanced search
// panel with its drive list, and the synonyms dialog. Searches run on the GUI
// thread; the window keeps painting while they run.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "search/searchengine.h"
#include "search/searchplaces.h"
#include "ui/widgets.h"

namespace tandrel {

class AdvancedSearchRegion;
class CommandContext;
class ProgressPump;
class SearchBoxRegion;

class TSearchCommands : public QObject {
    Q_OBJECT
public:
    // Wires the search box, the advanced panel and the search menu entries.
    TSearchCommands(CommandContext& context, SearchBoxRegion& box, AdvancedSearchRegion& advanced, QObject* parent);

    // At start-up, once the settings are applied: fills the drive box and
    // applies the enable rules.
    void StartControls();
    // At start-up, once the masks are loaded: the search mask takes effect
    // when "Use Mask:" is checked and enabled.
    void ApplySearchMask();

    void bbtnFindClick();
    void mnFindDirClick();
    // Enter runs Find, Ctrl+Enter Directory, Ctrl+F3 switches the keyboard
    // layout of the query (in the search box it does not start the upper-case rename).
    void edFindKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void sbtnFindTextTransKeyCodClick();
    void sbtnFindTextToTranslitClick();
    void pmWordsSearchClick();
    void pmCopyWordsToFindClick();
    void RunSearch(const std::string& query, int searchMode, bool useSynonyms, bool byFileWords);
    void mnSynonymsClick();
    // Find from local-file: searches the listing of the settings (Manual
    // Path) or one picked in the open dialog for the text of the search box.
    void mnFindlocalClick();

    // Enable rules of the advanced panel.
    void cbScanDirClick();  // also cbOverSearch and cbFullString
    void cbUseMaskClick();
    void cbUseHomeDirMaskClick();
    void cbFindOnDrivesClick();
    void sbtnAddFindDrvClick();  // also Insert in FindDrvBox
    void sbtnDelFindDrvClick();  // also Delete in FindDrvBox
    void cboxMaskChange();
    void cbFTPlocalClick();  // also cbUseSynonyms

    bool advancedMaskIsMedia() const { return advancedMaskIsMedia_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text of the search box, or nothing (and the focus there) when it is empty or one space.
    std::optional<std::string> QueryOrFocus() const;
    // Runs command with the typed query under the wait cursor, the progress
    // text shown while it runs; holdsFindButton: Find stays disabled meanwhile
    // and the focus returns to the search box.
    void RunFromSearchBox(bool holdsFindButton, const std::function<void(const std::string&)>& command);
    SearchEngine Engine(ProgressPump& pump);
    // Chooses the listing and searches it; the progress text is already shown.
    void FindInListing(const std::string& query);
    std::string CurrentFilePath() const;
    // The search's own mask is in use: "Use Mask:" checked and enabled.
    bool SearchMaskInUse() const;
    // The status line after a directory scan: how many lines, where, what was
    // left out, and whether the user stopped it.
    void ShowScanSummary(const std::vector<StartPoint>& starts, bool cancelled);
    // The status line of a search the user stopped: the lines found so far.
    void ShowCancelledSearch();

    CommandContext& context_;
    SearchBoxRegion& box_;
    AdvancedSearchRegion& adv_;
    bool advancedMaskIsMedia_ = false;
    KeyUpGate edFindKeys_;  // Enter in the search box
};

}  // namespace tandrel
