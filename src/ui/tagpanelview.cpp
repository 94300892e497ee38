#include "ui/tagpanelview.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "tags/nametags.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"
#include "app/messages.h"
#include "app/prompts.h"
#include "ui/commandcontext.h"

namespace tandrel {

TagPanelView::TagPanelView(CommandContext& context, TagPanelRegion& panel, QObject* parent)
    : QObject(parent), context_(context), panel_(panel) {
    setObjectName("TagPanelView");
    for (TagBox* box : {&panel_.v1, &panel_.v2}) {
        QSignalBlocker block(box->genre);
        box->genre->clear();
        for (const std::string& entry : GenreListEntries()) box->genre->addItem(ToQt(entry));
    }
    // The ID3v1 genre is a list position, the ID3v2 genre free text.
    panel_.v1.genre->setEditable(false);
    panel_.v2.genre->setEditable(true);
    panel_.v2.genre->setInsertPolicy(QComboBox::NoInsert);

    for (QLineEdit* edit : {panel_.v1.edTrackNum, panel_.v1.edTitle, panel_.v1.edArtist, panel_.v1.edAlbum,
                            panel_.v1.edYear, panel_.v2.edYear})
        edit->installEventFilter(this);

    connect(panel_.v1.save, &QPushButton::clicked, this, &TagPanelView::bbtnSaveID3v1Click);
    connect(panel_.v2.save, &QPushButton::clicked, this, &TagPanelView::bbtnSaveID3v2Click);
    connect(panel_.bbtnCopyFromID3v1, &QPushButton::clicked, this, &TagPanelView::bbtnCopyFromID3v1Click);
    connect(panel_.bbtnCopyFromID3v2, &QPushButton::clicked, this, &TagPanelView::bbtnCopyFromID3v2Click);
    for (QPushButton* b : {panel_.bbtnCopyFromID3v1, panel_.bbtnCopyFromID3v2}) b->setEnabled(true);
    ClearID3v1Panel();
    ClearID3v2Panel();
}

TagMessages TagPanelView::Messages() { return TagMessages{context_.prompter(), context_.language()}; }

namespace {

// Adds the characters of text that code page 1251 lacks.
void AddUnmappable(std::u32string& out, const QString& text) {
    for (char32_t cp : text.toUcs4())
        if (CodePointToCp1251(cp) == kUnmappableChar) AddLostCharacters(out, std::u32string(1, cp));
}

}  // namespace

TagPanelHalf TagPanelView::Read(const TagBox& box) const {
    TagPanelHalf h;
    for (const QString& text : {box.edTrackNum->text(), box.edTitle->text(), box.edArtist->text(),
                                box.edAlbum->text(), box.edYear->text(), box.edComment->text(),
                                box.genre->currentText()})
        AddUnmappable(h.unmappable, text);
    h.tagChecked = box.tagCheck->isChecked();
    h.version = FromQt(box.version->text());
    h.track = FromQt(box.edTrackNum->text());
    h.title = FromQt(box.edTitle->text());
    h.artist = FromQt(box.edArtist->text());
    h.album = FromQt(box.edAlbum->text());
    h.year = FromQt(box.edYear->text());
    h.comment = FromQt(box.edComment->text());
    h.genrePosition = box.genre->currentIndex();
    h.genreText = FromQt(box.genre->currentText());
    return h;
}

void TagPanelView::Write(TagBox& box, const TagPanelHalf& h) {
    box.tagCheck->setChecked(h.tagChecked);
    box.version->setText(ToQt(h.version));
    box.edTrackNum->setText(ToQt(h.track));
    box.edTitle->setText(ToQt(h.title));
    box.edArtist->setText(ToQt(h.artist));
    box.edAlbum->setText(ToQt(h.album));
    box.edYear->setText(ToQt(h.year));
    box.edComment->setText(ToQt(h.comment));
    if (box.genre->currentIndex() != h.genrePosition) box.genre->setCurrentIndex(h.genrePosition);
    if (box.genre->isEditable()) box.genre->setEditText(ToQt(h.genreText));
}

void TagPanelView::ClearID3v1Panel() {
    TagPanelHalf h;
    ClearPanelHalf(h);
    Write(panel_.v1, h);
    shownV1_.clear();
    panel_.v1.save->setEnabled(false);
}

void TagPanelView::ClearID3v2Panel() {
    TagPanelHalf h;
    ClearPanelHalf(h);
    Write(panel_.v2, h);
    shownV2_.clear();
    panel_.v2.save->setEnabled(false);
}

TID3v2& TagPanelView::id3v2() {
    id3v2_.SetUnicodeText(context_.settings().writeID3v2Unicode);
    return id3v2_;
}

void TagPanelView::ShowID3v1Tag(const std::string& fileName) {
    TagPanelHalf h = Read(panel_.v1);
    const bool read = tandrel::ShowID3v1Tag(id3v1_, Messages(), fileName, h);
    Write(panel_.v1, h);
    if (read) shownV1_ = fileName;
    panel_.v1.save->setEnabled(!shownV1_.empty());
}

void TagPanelView::ShowID3v2Tag(const std::string& fileName) {
    TagPanelHalf h = Read(panel_.v2);
    const bool read = tandrel::ShowID3v2Tag(id3v2(), Messages(), fileName, h);
    Write(panel_.v2, h);
    if (read) shownV2_ = fileName;
    panel_.v2.save->setEnabled(!shownV2_.empty());
}

bool TagPanelView::SaveID3v1FromPanel(const std::string& fileName) {
    return tandrel::SaveID3v1FromPanel(id3v1_, Messages(), fileName, Read(panel_.v1));
}

bool TagPanelView::SaveID3v2FromPanel(const std::string& fileName) {
    return tandrel::SaveID3v2FromPanel(id3v2(), Messages(), fileName, Read(panel_.v2));
}

bool TagPanelView::MatchID3v1Tag(const std::string& query, const std::string& fileName) {
    return tandrel::MatchID3v1Tag(id3v1_, Messages(), query, fileName);
}

bool TagPanelView::MatchID3v2Tag(const std::string& query, const std::string& fileName) {
    return tandrel::MatchID3v2Tag(id3v2(), Messages(), query, fileName);
}

bool TagPanelView::UpdateID3v1Fields(const std::string& fileName, const TagFieldUpdate& update) {
    return tandrel::UpdateID3v1Fields(id3v1_, Messages(), fileName, update);
}

bool TagPanelView::UpdateID3v2Fields(const std::string& fileName, const TagFieldUpdate& update) {
    return tandrel::UpdateID3v2Fields(id3v2(), Messages(), fileName, update);
}

bool TagPanelView::UpdateID3Fields(const std::string& fileName, const TagFieldUpdate& update) {
    return tandrel::UpdateID3Fields(id3v1_, id3v2(), Messages(), fileName, update);
}

bool TagPanelView::FileNameToTags(const std::string& fullName, bool save) {
    TagPanelHalf v1 = Read(panel_.v1), v2 = Read(panel_.v2);
    PutNameTags(tandrel::FileNameToTags(fullName), save, v1, v2);
    Write(panel_.v1, v1);
    Write(panel_.v2, v2);
    // The halves now hold that file's tags: "Update ID3v1" and "Update ID3v2" save into it.
    shownV1_ = shownV2_ = fullName;
    panel_.v1.save->setEnabled(true);
    panel_.v2.save->setEnabled(true);
    if (!save) return true;
    // Read back, so that the characters the code page lacks are those the controls show now.
    return tandrel::SaveID3FromPanel(id3v1_, id3v2(), Messages(), fullName, Read(panel_.v1), Read(panel_.v2));
}

void TagPanelView::FilesListBoxClick() {
    // Tags are read only under a media mask; the panel never keeps another file's tags.
    ClearID3v1Panel();
    ClearID3v2Panel();
    if (!context_.fileListShowsMedia()) return;
    const std::string path = context_.fileList().currentPath();
    ShowID3v1Tag(path);
    ShowID3v2Tag(path);
}

std::string TagPanelView::SelectedMediaFile() const {
    const FileListBox* list = &context_.fileList();
    if (!context_.fileListShowsMedia() || list->selectedCount() < 1) return {};
    return list->currentPath();
}

std::string TagPanelView::SaveTarget(const std::string& shownFile) {
    const std::string file = SelectedMediaFile();
    if (file.empty()) {
        context_.prompter().SetStatusText(Message(context_.language(), MessageId::TagNoMediaFile));
        return {};
    }
    if (file != shownFile) {
        context_.prompter().SetStatusText(Message(context_.language(), MessageId::TagShowsOtherFile) + file);
        return {};
    }
    return file;
}

void TagPanelView::bbtnSaveID3v1Click() {
    if (const std::string file = SaveTarget(shownV1_); !file.empty()) SaveID3v1FromPanel(file);
}

void TagPanelView::bbtnSaveID3v2Click() {
    if (const std::string file = SaveTarget(shownV2_); !file.empty()) SaveID3v2FromPanel(file);
}

void TagPanelView::bbtnCopyFromID3v1Click() {
    TagPanelHalf v2 = Read(panel_.v2);
    CopyID3v1ToID3v2(Read(panel_.v1), v2);
    Write(panel_.v2, v2);
}

void TagPanelView::bbtnCopyFromID3v2Click() {
    TagPanelHalf v1 = Read(panel_.v1);
    CopyID3v2ToID3v1(Read(panel_.v2), v1);
    Write(panel_.v1, v1);
}

void TagPanelView::CapLength(QLineEdit* edit, int key, std::size_t cap) {
    const bool deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    edit->setReadOnly(CappedEditReadOnly(deleting, static_cast<std::size_t>(edit->text().size()), cap));
}

void TagPanelView::EditOnKeyDown3(QLineEdit* edit, int key) { CapLength(edit, key, kTrackCap); }
void TagPanelView::EditOnKeyDown4(QLineEdit* edit, int key) { CapLength(edit, key, kYearV1Cap); }
void TagPanelView::EditOnKeyDown6(QLineEdit* edit, int key) { CapLength(edit, key, kYearV2Cap); }
void TagPanelView::EditOnKeyDown30(QLineEdit* edit, int key) { CapLength(edit, key, kTextCap); }

bool TagPanelView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == panel_.v1.edTrackNum) EditOnKeyDown3(panel_.v1.edTrackNum, key);
        else if (watched == panel_.v1.edYear) EditOnKeyDown4(panel_.v1.edYear, key);
        else if (watched == panel_.v2.edYear) EditOnKeyDown6(panel_.v2.edYear, key);
        else if (auto* edit = qobject_cast<QLineEdit*>(watched)) EditOnKeyDown30(edit, key);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tandrel
