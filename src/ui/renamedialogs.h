// The small modal dialogs of the numbering and structural renames. Each is
// created for one use, sets its texts from the language index (1 Russian,
// otherwise English) and returns true from Execute only for OK, after writing
// its values back.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <string>
#include <vector>

#include "app/settings.h"

class QGridLayout;

namespace tandrel {

// What the two numbering dialogs share: their numbering controls and the
// settings those show.
class TNumberingForm : public QDialog {
    Q_OBJECT
public:
    QCheckBox* cbAddNum = nullptr;
    QLabel* lNumFormat = nullptr;
    QSpinBox* seNumFormat = nullptr;
    QLabel* lNumSplit = nullptr;
    QLineEdit* edNumSplit = nullptr;
    QCheckBox* cdRecursive = nullptr;
    QCheckBox* cbUse_m3u = nullptr;
    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

protected:
    using QDialog::QDialog;
    // The number length, the splitter, the two check boxes below them and the
    // buttons, in the grid's rows from row on.
    void AddNumberingRows(QGridLayout* grid, int row);
    // AddingNumber, NumberFormat, NumberSplit, RecursiveRename and use_m3u.
    void ShowNumbering(const TAppSettings& settings);
    void TakeNumbering(TAppSettings& settings) const;
};

// "Adding Numbering & String to FileName(s)": AddingNumber, NumberFormat,
// NumberSplit, RecursiveRename and use_m3u.
class TFileAddNumForm : public TNumberingForm {
    Q_OBJECT
public:
    explicit TFileAddNumForm(QWidget* parent);
    bool Execute(int language, TAppSettings& settings);

private:
    void cbAddNumClick();
};

// "Deleting Begin Symbols from FileName(s)": the delete count and RecursiveRename.
class TFileDelSymForm : public QDialog {
    Q_OBJECT
public:
    explicit TFileDelSymForm(QWidget* parent);
    bool Execute(int language, int& deleteCount, bool& recursive);

    QLabel* lDelFormat;
    QSpinBox* seDelFormat;
    QCheckBox* cdRecursive;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;
};

// Sorting by date and numbering: the start name and number of the run, and
// AddingNumber, EndingNumber, NumberFormat, NumberSplit, RecursiveRename, use_m3u.
class TSortFileAddNumForm : public TNumberingForm {
    Q_OBJECT
public:
    explicit TSortFileAddNumForm(QWidget* parent);
    bool Execute(int language, TAppSettings& settings, std::string& startName, long long& startNumber);

    QLabel* lBeginName;
    QLineEdit* edBeginName;
    QLabel* lBeginFrom;
    QSpinBox* seBeginNum;
    QCheckBox* cbEndNum;

private:
    void cbAddNumClick();
    void seBeginNumChange();
};

// One form for changing extensions (source and target masks) and for
// changing a substring (old and new text).
class TExtChangerForm : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Extension, Substring };
    TExtChangerForm(Mode mode, QWidget* parent);
    // Extension mode starts with mask as the source and "*.cd" as the target,
    // both offering maskList; substring mode starts empty offering "_", "-",
    // "+". OK writes recursive at once, and closes only when the two texts differ.
    bool Execute(int language, const std::vector<std::string>& maskList, const std::string& mask, bool& recursive,
                 std::string& source, std::string& target);

    QComboBox* edMaskExtSource;
    QLabel* lChangeTo;
    QComboBox* edMaskExtTarget;
    QCheckBox* cdRecursive;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

private:
    void bbtnOkClick();

    Mode mode_;
    bool* recursive_ = nullptr;
};

}  // namespace tandrel
