#include "ui/regions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/mediaplayer.h"

namespace tandrel {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint = {}) {
    auto* b = Named(new QPushButton(text, parent), name);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

QToolButton* SpeedButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* b = Named(new QToolButton(parent), name);
    b->setText(text);
    b->setToolTip(hint);
    // A raised frame, so that the letter reads as a button and not as a label.
    b->setAutoRaise(false);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& text, bool checked = false) {
    auto* c = Named(new QCheckBox(text, parent), name);
    c->setChecked(checked);
    return c;
}

}  // namespace

FileManagerRegion::FileManagerRegion(QWidget* parent) : QGroupBox(" File Manager ", parent) {
    setObjectName("gbFileManager");
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    gbFileManagerSplitter = Named(new QSplitter(Qt::Horizontal, this), "gbFileManagerSplitter");
    gbFileManagerSplitter->setHandleWidth(2);
    outer->addWidget(gbFileManagerSplitter);

    gbFileManagerPanelLeft = Named(new QWidget(gbFileManagerSplitter), "gbFileManagerPanelLeft");
    auto* left = new QGridLayout(gbFileManagerPanelLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(2);
    lMask = Named(new QLabel("Mask:", gbFileManagerPanelLeft), "lMask");
    edMask = Named(new QComboBox(gbFileManagerPanelLeft), "edMask");
    edMask->setEditable(true);
    edMask->setInsertPolicy(QComboBox::NoInsert);
    edMask->setEditText("*.txt");
    DrvComboBox = Named(new QComboBox(gbFileManagerPanelLeft), "DrvComboBox");
    dirListBox = Named(new DirListBox(gbFileManagerPanelLeft), "DirListBox");
    dirListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    left->addWidget(lMask, 0, 0);
    left->addWidget(edMask, 0, 1);
    left->addWidget(DrvComboBox, 1, 0, 1, 2);
    left->addWidget(dirListBox, 2, 0, 1, 2);
    left->setColumnStretch(1, 1);
    left->setRowStretch(2, 1);

    gbFileManagerPanelRight = Named(new QWidget(gbFileManagerSplitter), "gbFileManagerPanelRight");
    auto* right = new QGridLayout(gbFileManagerPanelRight);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(2);
    bbtnSelAll = Button(gbFileManagerPanelRight, "bbtnSelAll", "Select &All");
    bbtnFromID3Rename = Button(gbFileManagerPanelRight, "bbtnFromID3Rename", "ID3", "Rename Selected File(s) from ID3 tag(s)");
    filesListBox = Named(new FileListBox(gbFileManagerPanelRight), "FilesListBox");
    filesListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    edFile4FileListBox = Named(new QLineEdit(filesListBox->viewport()), "edFile4FileListBox");
    edFile4FileListBox->hide();
    right->addWidget(bbtnSelAll, 0, 0);
    right->addWidget(bbtnFromID3Rename, 0, 1);
    right->addWidget(filesListBox, 1, 0, 1, 2);
    right->setColumnStretch(0, 1);
    right->setRowStretch(1, 1);

    gbFileManagerSplitter->addWidget(gbFileManagerPanelLeft);
    gbFileManagerSplitter->addWidget(gbFileManagerPanelRight);
    gbFileManagerSplitter->setSizes({154, 222});
}

SearchBoxRegion::SearchBoxRegion(QWidget* parent) : QGroupBox(" Find text in file(s) ", parent) {
    setObjectName("gbTextFinder");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);
    lFind = Named(new QLabel("String for Find:", this), "lFind");
    edFind = Named(new QLineEdit(this), "edFind");
    edFind->setToolTip("Ctrl+F3");
    sbtnFindTextToTranslit = SpeedButton(this, "sbtnFindTextToTranslit", "T", "Conver to translit");
    sbtnFindTextTransKeyCod = SpeedButton(this, "sbtnFindTextTransKeyCod", "K", "Translation Keyboard Layout");
    bbtnFind = Button(this, "bbtnFind", "&Find");
    bbtnFindDir = Button(this, "bbtnFindDir", "&Directory", "Find Directory");
    btnFindAdvancedShow = Button(this, "btnFindAdvancedShow", "Advanced >>");
    stFindInd = Named(new QLabel(this), "stFindInd");
    stFindInd->setStyleSheet("background-color: lime;");
    stFindInd->hide();
    cbFTPlocal = Check(this, "cbFTPlocal", "local-file (FTP)");
    cbFTPlocal->setToolTip("Find from local-file...");
    cbUseSynonyms = Check(this, "cbUseSynonyms", "Use Synonyms");

    // Rows: the label with the indicator, "Advanced >>" and "Directory"; the
    // box with its buttons and "Find"; the two check boxes.
    grid->addWidget(lFind, 0, 0);
    grid->addWidget(stFindInd, 0, 1);
    grid->addWidget(btnFindAdvancedShow, 0, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(bbtnFindDir, 0, 4);
    auto* box = new QHBoxLayout;
    box->addWidget(edFind, 1);
    box->addWidget(sbtnFindTextTransKeyCod);
    box->addWidget(sbtnFindTextToTranslit);
    grid->addLayout(box, 1, 0, 1, 4);
    grid->addWidget(bbtnFind, 1, 4);
    auto* checks = new QHBoxLayout;
    checks->addWidget(cbFTPlocal);
    checks->addWidget(cbUseSynonyms);
    checks->addStretch(1);
    grid->addLayout(checks, 2, 0, 1, 5);
    grid->setColumnStretch(1, 1);
}

OutputRegion::OutputRegion(QWidget* parent) : QGroupBox("Edit File", parent) {
    setObjectName("gbEditBox");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);

    rgEditMode = Named(new TRadioGroup(QString(), {"Editor", "Check List"}, this), "rgEditMode");
    rgEditMode->setFlat(true);
    static_cast<QBoxLayout*>(rgEditMode->layout())->setDirection(QBoxLayout::LeftToRight);
    rgEditMode->button(0)->setChecked(true);
    gbAddToFileMod = Named(new QGroupBox(" Adding Mode ", this), "gbAddToFileMod");
    auto* modes = new QHBoxLayout(gbAddToFileMod);
    modes->setContentsMargins(4, 0, 4, 0);
    cbAddFileName = Check(gbAddToFileMod, "cbAddFileName", "File Name");
    cbAddFilePath = Check(gbAddToFileMod, "cbAddFilePath", "File Path");
    modes->addWidget(cbAddFileName);
    modes->addWidget(cbAddFilePath);
    bbtnAddToFile = Button(this, "bbtnAddToFile", "Add");
    bbtnShowWindow = Button(this, "bbtnShowWindow", "Window");

    reOutput = Named(new TLineEditor(this), "reOutput");
    clbOutput = Named(new QListView(this), "clbOutput");
    clbOutput->hide();
    clbOutput->setSelectionMode(QAbstractItemView::ExtendedSelection);
    reOutput->setContextMenuPolicy(Qt::CustomContextMenu);
    clbOutput->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* bottom = new QHBoxLayout;
    bbtnGetMP3files = Button(this, "bbtnGetMP3files", "mp3");
    bbtnCheckAll = Button(this, "bbtnCheckAll", QString::fromUtf8("\u2611"), "Check All");
    bbtnUnCheckAll = Button(this, "bbtnUnCheckAll", QString::fromUtf8("\u2610"), "UnCheck All");
    bbtnPlayList = Button(this, "bbtnPlayList", "Play List", "Play List");
    bbtnAddPlayList = Button(this, "bbtnAddPlayList", "+", "Add to List in WinAmp");
    MediaPlayer = new TMediaPlayer(this);
    bbtnFindInWindow = Button(this, "bbtnFindInWindow", "Find", "Find in window");
    for (QWidget* w : std::initializer_list<QWidget*>{bbtnGetMP3files, bbtnCheckAll, bbtnUnCheckAll, bbtnPlayList,
                                                      bbtnAddPlayList, MediaPlayer})
        bottom->addWidget(w);
    bottom->addStretch(1);
    bottom->addWidget(bbtnFindInWindow);

    grid->addWidget(rgEditMode, 0, 0);
    grid->addWidget(bbtnShowWindow, 0, 1);
    grid->addWidget(gbAddToFileMod, 1, 0);
    grid->addWidget(bbtnAddToFile, 1, 1);
    // The two views share one place; one of them is visible.
    grid->addWidget(reOutput, 2, 0, 1, 2);
    grid->addWidget(clbOutput, 2, 0, 1, 2);
    grid->addLayout(bottom, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(2, 1);
}

namespace {

TagBox MakeTagBox(QWidget* parent, const char* v) {
    const QString p = QString::fromLatin1(v);  // "ID3v1" or "ID3v2"
    auto name = [&](const char* prefix, const char* field) {
        return QString::fromLatin1(prefix) + p + QString::fromLatin1(field);
    };
    TagBox t{};
    t.box = new QGroupBox(parent);
    t.box->setObjectName("gb" + p);
    auto* grid = new QGridLayout(t.box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);
    // First row: the tag box, the version and the save button; then the fields.
    auto* head = new QHBoxLayout;
    t.tagCheck = new QCheckBox(QString(" %1 Tag ").arg(p).replace("ID3v", "ID3v&"), t.box);
    t.tagCheck->setObjectName(name("cb", "Tag"));
    t.version = new QLabel(t.box);
    t.version->setObjectName(name("st", "TagVer"));
    t.save = new QPushButton("Update " + p, t.box);
    t.save->setObjectName("bbtnSave" + p);
    head->addWidget(t.tagCheck);
    head->addWidget(t.version);
    head->addStretch(1);
    head->addWidget(t.save);
    grid->addLayout(head, 0, 0, 1, 2);
    struct Field { QLabel** label; QLineEdit** edit; const char* id; const char* caption; };
    Field fields[] = {
        {&t.lTrackNum, &t.edTrackNum, "TrackNum", "Track #"}, {&t.lTitle, &t.edTitle, "Title", "Title"},
        {&t.lArtist, &t.edArtist, "Artist", "Artist"},       {&t.lAlbum, &t.edAlbum, "Album", "Album"},
        {&t.lYear, &t.edYear, "Year", "Year"},               {&t.lComment, &t.edComment, "Comment", "Comment"},
    };
    int row = 1;
    for (Field& f : fields) {
        *f.label = new QLabel(f.caption, t.box);
        (*f.label)->setObjectName(name("l", f.id));
        *f.edit = new QLineEdit(t.box);
        (*f.edit)->setObjectName(name("ed", f.id));
        grid->addWidget(*f.label, row, 0);
        grid->addWidget(*f.edit, row, 1);
        ++row;
    }
    t.lGenre = new QLabel("Genre", t.box);
    t.lGenre->setObjectName(name("l", "Genre"));
    t.genre = new QComboBox(t.box);
    t.genre->setObjectName(name("cb", "Genre"));
    t.genre->setMinimumContentsLength(8);
    t.genre->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    grid->addWidget(t.lGenre, row, 0);
    grid->addWidget(t.genre, row, 1);
    grid->setColumnStretch(1, 1);
    return t;
}

}  // namespace

TagPanelRegion::TagPanelRegion(QWidget* parent) : QGroupBox(" ID3 tags ", parent) {
    setObjectName("gbID3tags");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    v1 = MakeTagBox(this, "ID3v1");
    v2 = MakeTagBox(this, "ID3v2");
    auto* middle = new QVBoxLayout;
    bbtnCopyFromID3v1 = Button(this, "bbtnCopyFromID3v1", "ID3v1 >>");
    bbtnCopyFromID3v2 = Button(this, "bbtnCopyFromID3v2", "<< ID3v2");
    bbtnFromFileNameToID3 = Button(this, "bbtnFromFileNameToID3", "FileName", "Selected FileNames(s) to ID3 tags");
    bbtnChangeID3 = Button(this, "bbtnChangeID3", "ID3...", "Change Selected ID3 tags");
    IconImage = Named(new QLabel(this), "IconImage");
    IconImage->setAlignment(Qt::AlignCenter);
    IconImage->setText(QString::fromUtf8("\u266B"));
    middle->addWidget(IconImage);
    for (QPushButton* b : {bbtnCopyFromID3v1, bbtnCopyFromID3v2, bbtnFromFileNameToID3, bbtnChangeID3}) {
        b->setEnabled(false);
        middle->addWidget(b);
    }
    middle->addStretch(1);
    row->addWidget(v1.box, 1);
    row->addLayout(middle);
    row->addWidget(v2.box, 1);
    v1.save->setEnabled(false);
    v2.save->setEnabled(false);
    // As high as its rows need, and no higher.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

AdvancedSearchRegion::AdvancedSearchRegion(QWidget* parent) : QGroupBox(" Find text Advanced parameters ", parent) {
    setObjectName("gbTextFinderAdvanced");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);
    cbFindOnDrives = Check(this, "cbFindOnDrives", "Find on specified Drives:");
    edFindDrv = Named(new QLineEdit(this), "edFindDrv");
    FindDrvBox = Named(new QComboBox(this), "FindDrvBox");
    sbtnAddFindDrv = SpeedButton(this, "sbtnAddFindDrv", "+", "Add drive");
    sbtnDelFindDrv = SpeedButton(this, "sbtnDelFindDrv", "-", "Delete drive");
    cbUseMask = Check(this, "cbUseMask", "Use Mask:", true);
    cboxMask = Named(new QComboBox(this), "cboxMask");
    cboxMask->setEditable(true);
    cboxMask->setInsertPolicy(QComboBox::NoInsert);
    cboxMask->setEditText("*.*");
    cbOverSearch = Check(this, "cbOverSearch", "Over Search", true);
    cbFullString = Check(this, "cbFullString", "Full String", true);
    cbUseHomeDirMask = Check(this, "cbUseHomeDirMask", "Use Home Directory && Mask");
    cbUseHomeDirMask->setText("Use Home Directory & Mask");
    cbUseHomeDirMask->setToolTip("Use Home Directory & Mask");
    rgFindMode = Named(new TRadioGroup(" Find Mode ", {"by name file", "inside file"}, this), "rgFindMode");
    rgFindMode->button(1)->setChecked(true);
    cbScanDir = Check(this, "cbScanDir", "Scan Directorys");

    grid->addWidget(cbFindOnDrives, 0, 0);
    grid->addWidget(edFindDrv, 0, 1);
    grid->addWidget(FindDrvBox, 1, 0);
    grid->addWidget(sbtnAddFindDrv, 1, 1, Qt::AlignLeft);
    grid->addWidget(sbtnDelFindDrv, 1, 1, Qt::AlignRight);
    grid->addWidget(cbUseMask, 2, 0);
    grid->addWidget(cboxMask, 2, 1);
    grid->addWidget(cbOverSearch, 0, 2);
    grid->addWidget(cbFullString, 1, 2);
    grid->addWidget(cbScanDir, 2, 2);
    grid->addWidget(cbUseHomeDirMask, 3, 0, 1, 2);
    grid->addWidget(rgFindMode, 0, 3, 4, 1);
    grid->setColumnStretch(1, 1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

}  // namespace tandrel
