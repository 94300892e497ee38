// The tag panel of the main window bound to its controls: it owns the
// window's TID3v1 and TID3v2 objects, fills the two halves from a file,
// saves them, copies between them and caps the lengths of six edits. The
// window hands its tag objects on to the other commands.
#pragma once

#include <QObject>
#include <string>

#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagpanel.h"
#include "ui/regions.h"

class QLineEdit;

namespace tandrel {

class CommandContext;

class TagPanelView : public QObject {
    Q_OBJECT
public:
    // Wires the panel's buttons and edits.
    TagPanelView(CommandContext& context, TagPanelRegion& panel, QObject* parent);

    TID3v1& id3v1() { return id3v1_; }
    // The ID3v2 object set to write as the settings say now.
    TID3v2& id3v2();

    // A cleared half shows no file's tags and its save button is disabled.
    void ClearID3v1Panel();
    void ClearID3v2Panel();
    // A half that has read the file's tags saves into that file only.
    void ShowID3v1Tag(const std::string& fileName);
    void ShowID3v2Tag(const std::string& fileName);
    bool SaveID3v1FromPanel(const std::string& fileName);
    bool SaveID3v2FromPanel(const std::string& fileName);
    bool MatchID3v1Tag(const std::string& query, const std::string& fileName);
    bool MatchID3v2Tag(const std::string& query, const std::string& fileName);
    bool UpdateID3v1Fields(const std::string& fileName, const TagFieldUpdate& update);
    bool UpdateID3v2Fields(const std::string& fileName, const TagFieldUpdate& update);
    // Both tags in one replacement of the file (the batch update of both).
    bool UpdateID3Fields(const std::string& fileName, const TagFieldUpdate& update);
    // Both halves take the track, artist and title of the file's name; with
    // save, album, year and comment are emptied and both halves (the genre as
    // shown) written into the file in one replacement. True when filled (and saved).
    bool FileNameToTags(const std::string& fullName, bool save);

    // Handlers.
    Q_INVOKABLE void FilesListBoxClick();  // the tag part of the file list's click
    void bbtnSaveID3v1Click();
    void bbtnSaveID3v2Click();
    void bbtnCopyFromID3v1Click();
    void bbtnCopyFromID3v2Click();
    void EditOnKeyDown3(QLineEdit* edit, int key);
    void EditOnKeyDown4(QLineEdit* edit, int key);
    void EditOnKeyDown6(QLineEdit* edit, int key);
    void EditOnKeyDown30(QLineEdit* edit, int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TagMessages Messages();
    TagPanelHalf Read(const TagBox& box) const;
    void Write(TagBox& box, const TagPanelHalf& half);
    // The file list's current file when it shows media files and a file is selected.
    std::string SelectedMediaFile() const;
    // The file a save of the half goes to, or "" after the status line said why not.
    std::string SaveTarget(const std::string& shownFile);
    void CapLength(QLineEdit* edit, int key, std::size_t cap);

    CommandContext& context_;
    TagPanelRegion& panel_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    // The files whose tags the halves show; "" for a cleared half.
    std::string shownV1_, shownV2_;
};

}  // namespace tandrel
