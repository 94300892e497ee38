// The options of the rename from tags: which tags are read, which tag each
// field comes from, the name pattern the field boxes and the split buttons
// compose, the track number's width and the basic split. The dialog reads
// and writes its values in the settings store itself; created for one use,
// modal.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <array>
#include <functional>
#include <string>

#include "tags/tagrename.h"
#include "ui/widgets.h"

namespace tandrel {

class Prompter;
class RegistryStore;

class TFromID3RenameOptionsForm : public QDialog {
    Q_OBJECT
public:
    // renameOptions opens the settings dialog on its rename page, over the
    // window it is given.
    TFromID3RenameOptionsForm(RegistryStore& registry, Prompter& prompter,
                              std::function<void(QWidget*)> renameOptions, QWidget* parent);

    // Shows the dialog in the language (1 Russian, otherwise English); true
    // when it was closed with OK, after the values were written.
    bool Execute(int language);

    // Handlers.
    void FormCreate();  // the stored values into the controls
    void rgID3TagModeClick();
    void FieldBoxClick(QCheckBox* box);
    void CheckAllClick(int group);    // 0: ID3v1, 1: ID3v2
    void UnCheckAllClick(int group);
    void sbtnAddSymbolClick();
    void sbtnDelSymbolClick();
    void btnRenOptionsClick();
    void bbtnOkClick();

    QGroupBox* gbID3tags;
    TRadioGroup* rgID3TagMode;
    QGroupBox *gbID3v1, *gbID3v2;
    // Per group, in the order track, artist, title, album, year ("NATLY").
    std::array<QCheckBox*, kNameFieldCount> v1Boxes, v2Boxes;
    QPushButton *bbtnID3v1CheckAll, *bbtnID3v2CheckAll, *bbtnID3v1UnCheckAll, *bbtnID3v2UnCheckAll;
    QLineEdit* edFileFormat;
    QLabel* lNumFormat;
    QSpinBox* seNumFormat;
    QLineEdit* edSymbol;
    QToolButton *sbtnAddSymbol, *sbtnDelSymbol;
    QLabel* lBasicSplit;
    QLineEdit* edBasicSplit;
    QPushButton* btnRenOptions;
    QPushButton *bbtnOk, *bbtnCancel;

private:
    void BuildLayout();
    void ApplyTexts(int language);
    std::string Pattern() const;
    void SetPattern(const std::string& pattern);
    // The box of the same field in the other group.
    QCheckBox* TwinOf(QCheckBox* box) const;
    char LetterOf(QCheckBox* box) const;

    RegistryStore& registry_;
    Prompter& prompter_;
    std::function<void(QWidget*)> renameOptions_;
};

}  // namespace tandrel
