// The directory list and the file list of the file manager. Paths and names
// are code-page-1251 text; the widgets show them in UTF-8.
#pragma once

#include <QListView>
#include <QListWidget>
#include <QStringListModel>
#include <string>
#include <string_view>
#include <vector>

#include "ui/widgets.h"

namespace tandrel {

QString ToQt(std::string_view cp1251);
std::string FromQt(const QString& text);

// The path from the root down to the current directory, then its sub-directories.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    const std::string& directory() const { return directory_; }
    // Goes to an existing directory (the path is cleaned of "." and ".."); false otherwise.
    bool setDirectory(const std::string& path);
    void reload();

signals:
    void directoryChanged();

private:
    void openItem(QListWidgetItem* item);

    std::string directory_;
    int ancestorCount_ = 0;
};

// The files of one directory matching a ";"-separated mask, sorted, multi-select.
class FileListBox : public QListView {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    void setDirectory(const std::string& dir);
    const std::string& directory() const { return directory_; }
    void setMask(const std::string& mask);
    const std::string& mask() const { return mask_; }
    void reload();

    const std::vector<std::string>& names() const { return names_; }
    // "Cannot read " + directory + ": " + reason when the last reload could
    // not list the directory, "" otherwise.
    const std::string& listingError() const { return listingError_; }
    int count() const { return static_cast<int>(names_.size()); }
    // Names of the selected entries in list order.
    std::vector<std::string> selectedNames() const;
    int selectedCount() const;
    // The current entry's name, or "" when there is none.
    std::string currentName() const;
    std::string currentPath() const;
    void setCurrentName(const std::string& name);
    void selectAllEntries();

signals:
    void contentsChanged();
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QStringListModel model_;
    KeyUpGate keys_;
    std::string directory_;
    std::string mask_ = "*.txt";
    std::vector<std::string> names_;
    std::string listingError_;
};

}  // namespace tandrel
