#include "ui/filelists.h"

#include <QDir>
#include <QKeyEvent>
#include <algorithm>

#include "app/dirwalk.h"
#include "app/maskkinds.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"

namespace tandrel {

// Every character of the code page is one UTF-16 unit, so both directions go
// a character at a time.
QString ToQt(std::string_view cp1251) {
    QString text(static_cast<qsizetype>(cp1251.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : cp1251) *out++ = QChar(static_cast<char16_t>(Cp1251ToCodePoint(c)));
    return text;
}

std::string FromQt(const QString& text) {
    std::string out(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isSurrogate(u)) return Utf8ToCp1251(text.toStdString()).text;  // a pair is one character
        out[static_cast<std::size_t>(i)] = u < 0x80 ? static_cast<char>(u) : CodePointToCp1251(u);
    }
    return out;
}

namespace {

// The sorted names of the directories or the files of dir; error receives
// why the directory could not be listed ("" when it could).
std::vector<std::string> ListNames(const std::string& dir, bool directories, std::string* error = nullptr) {
    std::vector<std::string> names;
    FileFind find;
    FindData e;
    for (bool more = find.FindFirst(JoinPath(dir, "*"), e); more; more = find.FindNext(e)) {
        if (e.IsDirectory() != directories) continue;
        if (e.name == "." || e.name == ".." || (e.attr & faHidden)) continue;
        names.push_back(e.name);
    }
    if (error) *error = Utf8ToCp1251(find.Error()).text;
    SortTextLocale(names);
    return names;
}

}  // namespace

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this, &DirListBox::openItem);
    connect(this, &QListWidget::itemDoubleClicked, this, &DirListBox::openItem);
}

bool DirListBox::setDirectory(const std::string& path) {
    if (PathIsUnmappable(path) || !DirectoryExists(path)) return false;
    std::string clean = FromQt(QDir::cleanPath(ToQt(path)));
    if (clean.empty()) clean = "/";
    if (!DirectoryExists(clean)) return false;
    directory_ = clean;
    reload();
    emit directoryChanged();
    return true;
}

void DirListBox::reload() {
    clear();
    ancestorCount_ = 0;
    // The root, then each directory on the path, indented by depth.
    std::vector<std::string> parts;
    std::string rest = directory_;
    while (rest.size() > 1) {
        parts.insert(parts.begin(), CopyAfterLastChar(rest, kPathDelim));
        rest = ExtractDirPart(rest);
        if (rest.empty()) rest = "/";
    }
    auto addItem = [this](const std::string& text, int depth, const std::string& target) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + ToQt(text), this);
        item->setData(Qt::UserRole, ToQt(target));
    };
    std::string walked = "/";
    addItem("/", 0, "/");
    for (size_t i = 0; i < parts.size(); ++i) {
        walked = JoinPath(walked, parts[i]);
        addItem(parts[i], static_cast<int>(i) + 1, walked);
    }
    ancestorCount_ = count();
    setCurrentRow(ancestorCount_ - 1);
    for (const std::string& sub : ListNames(directory_, true))
        addItem(sub, static_cast<int>(parts.size()) + 1, JoinPath(directory_, sub));
}

void DirListBox::openItem(QListWidgetItem* item) {
    if (!item) return;
    setDirectory(FromQt(item->data(Qt::UserRole).toString()));
}

FileListBox::FileListBox(QWidget* parent) : QListView(parent) {
    setModel(&model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

void FileListBox::setDirectory(const std::string& dir) {
    directory_ = dir;
    reload();
}

void FileListBox::setMask(const std::string& mask) {
    mask_ = mask;
    reload();
}

void FileListBox::reload() {
    const std::string current = currentName();
    names_.clear();
    std::string error;
    for (std::string& name : ListNames(directory_, false, &error))
        if (MatchesMaskList(name, mask_)) names_.push_back(std::move(name));
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(names_.size()));
    for (const std::string& n : names_) rows.append(ToQt(n));
    model_.setStringList(rows);
    if (!current.empty()) setCurrentName(current);
    listingError_ = error.empty() || directory_.empty() ? std::string() : CannotReadText(directory_, error);
    emit contentsChanged();
}

std::vector<std::string> FileListBox::selectedNames() const {
    std::vector<std::string> out;
    for (int row = 0; row < count(); ++row)
        if (selectionModel()->isRowSelected(row, QModelIndex())) out.push_back(names_[static_cast<size_t>(row)]);
    return out;
}

int FileListBox::selectedCount() const { return static_cast<int>(selectionModel()->selectedRows().size()); }

std::string FileListBox::currentName() const {
    const int row = currentIndex().row();
    if (row < 0 || row >= count()) return {};
    return names_[static_cast<size_t>(row)];
}

std::string FileListBox::currentPath() const {
    const std::string name = currentName();
    return name.empty() ? std::string() : JoinPath(directory_, name);
}

void FileListBox::setCurrentName(const std::string& name) {
    auto it = std::find(names_.begin(), names_.end(), name);
    if (it == names_.end()) return;
    setCurrentIndex(model_.index(static_cast<int>(it - names_.begin())));
}

void FileListBox::selectAllEntries() { selectAll(); }

void FileListBox::keyPressEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) keys_.Pressed(event->key());
    QListView::keyPressEvent(event);
}

void FileListBox::keyReleaseEvent(QKeyEvent* event) {
    QListView::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && keys_.Released(event->key())) emit keyReleased(event->key(), event->modifiers());
}

}  // namespace tandrel
