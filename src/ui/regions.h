// The regions of the main window, one class each, holding their named controls.
// The main window composes them and routes commands between them.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>

#include "ui/filelists.h"
#include "ui/lineeditor.h"
#include "ui/widgets.h"

namespace tandrel {

class TMediaPlayer;

// " File Manager ": drive selector, directory list, mask box and file list.
class FileManagerRegion : public QGroupBox {
    Q_OBJECT
public:
    explicit FileManagerRegion(QWidget* parent);

    QWidget* gbFileManagerPanelLeft;
    QLabel* lMask;
    QComboBox* edMask;
    QComboBox* DrvComboBox;
    DirListBox* dirListBox;
    QSplitter* gbFileManagerSplitter;
    QWidget* gbFileManagerPanelRight;
    QPushButton* bbtnSelAll;
    QPushButton* bbtnFromID3Rename;
    FileListBox* filesListBox;
    QLineEdit* edFile4FileListBox;
};

// " Find text in file(s) ": the search box.
class SearchBoxRegion : public QGroupBox {
    Q_OBJECT
public:
    explicit SearchBoxRegion(QWidget* parent);

    QLabel* lFind;
    QLineEdit* edFind;
    QToolButton* sbtnFindTextToTranslit;
    QToolButton* sbtnFindTextTransKeyCod;
    QPushButton* bbtnFind;
    QPushButton* bbtnFindDir;
    QPushButton* btnFindAdvancedShow;
    QLabel* stFindInd;
    QCheckBox* cbFTPlocal;
    QCheckBox* cbUseSynonyms;
};

// "Edit File": the output document's views and buttons.
class OutputRegion : public QGroupBox {
    Q_OBJECT
public:
    explicit OutputRegion(QWidget* parent);

    TRadioGroup* rgEditMode;
    QGroupBox* gbAddToFileMod;
    QCheckBox* cbAddFileName;
    QCheckBox* cbAddFilePath;
    QPushButton* bbtnAddToFile;
    QPushButton* bbtnShowWindow;
    TLineEditor* reOutput;
    QListView* clbOutput;
    QPushButton* bbtnGetMP3files;
    QPushButton* bbtnCheckAll;
    QPushButton* bbtnUnCheckAll;
    QPushButton* bbtnPlayList;
    QPushButton* bbtnAddPlayList;
    TMediaPlayer* MediaPlayer;
    QPushButton* bbtnFindInWindow;
};

// One version's half of the tag panel.
struct TagBox {
    QGroupBox* box;
    QCheckBox* tagCheck;
    QLabel* version;
    QLabel *lTrackNum, *lTitle, *lArtist, *lAlbum, *lYear, *lGenre, *lComment;
    QLineEdit *edTrackNum, *edTitle, *edArtist, *edAlbum, *edYear, *edComment;
    QComboBox* genre;
    QPushButton* save;
};

// " ID3 tags ": the tag panel.
class TagPanelRegion : public QGroupBox {
    Q_OBJECT
public:
    explicit TagPanelRegion(QWidget* parent);

    TagBox v1;
    TagBox v2;
    QPushButton* bbtnCopyFromID3v1;
    QPushButton* bbtnCopyFromID3v2;
    QPushButton* bbtnFromFileNameToID3;
    QPushButton* bbtnChangeID3;
    QLabel* IconImage;
};

// " Find text Advanced parameters ": the advanced search panel.
class AdvancedSearchRegion : public QGroupBox {
    Q_OBJECT
public:
    explicit AdvancedSearchRegion(QWidget* parent);

    QComboBox* FindDrvBox;
    QLineEdit* edFindDrv;
    QToolButton* sbtnAddFindDrv;
    QToolButton* sbtnDelFindDrv;
    QCheckBox* cbFindOnDrives;
    QComboBox* cboxMask;
    QCheckBox* cbUseMask;
    QCheckBox* cbOverSearch;
    QCheckBox* cbFullString;
    QCheckBox* cbUseHomeDirMask;
    TRadioGroup* rgFindMode;
    QCheckBox* cbScanDir;
};

}  // namespace tandrel
