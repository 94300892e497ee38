// "Update ID3 tags": the batch update dialog of the tag panel. The user types
// the field values to put into every selected file and chooses which tags
// change; only the fields filled in are changed. The fields start empty at
// every opening.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "tags/tagmatch.h"
#include "ui/widgets.h"

namespace tandrel {

// Which tags the update changes: the rgID3TagMode positions.
enum class TagUpdateMode { Both = 0, ID3v1 = 1, ID3v2 = 2 };

class TUpdateID3tagsForm : public QDialog {
    Q_OBJECT
public:
    // What OK runs before the dialog closes.
    using Apply = std::function<void(const TagFieldUpdate& update, TagUpdateMode mode)>;

    explicit TUpdateID3tagsForm(QWidget* parent);
    // Shows the dialog with the language's texts (1 Russian, otherwise English).
    void Execute(int language, Apply apply);

    // The fields as typed: the ID3v1 genre is the list position of the genre
    // box's text (0 the empty entry, -1 a text no entry has), the ID3v2 genre the text.
    TagFieldUpdate Fields() const;
    TagUpdateMode Mode() const;

    QGroupBox* gbID3tags;
    QGroupBox* gbID3;
    QLabel *lID3TrackNum, *lID3Title, *lID3Artist, *lID3Album, *lID3Year, *lID3Comment, *lID3Genre;
    QLineEdit *edID3TrackNum, *edID3Title, *edID3Artist, *edID3Album, *edID3Year, *edID3Comment;
    QComboBox* cbID3Genre;
    TRadioGroup* rgID3TagMode;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

    void bbtnOkClick();

private:
    Apply apply_;
};

}  // namespace tandrel
