#include "ui/qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "ui/filelists.h"

namespace tandrel {

namespace {

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" -> "Text files (*.txt);;All files (*.*)"
QString QtFilter(const std::string& filter) {
    const QStringList parts = ToQt(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out.append(parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")");
    return out.join(";;");
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return FromQt(path);
}

}  // namespace

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox::information(parent_, QApplication::applicationName(), ToQt(text));
}

bool QtDialogs::AskYesNo(const std::string& text) {
    return QMessageBox::question(parent_, QApplication::applicationName(), ToQt(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

YesNoCancel QtDialogs::AskYesNoCancel(const std::string& text) {
    switch (QMessageBox::question(parent_, QApplication::applicationName(), ToQt(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes: return YesNoCancel::Yes;
        case QMessageBox::No: return YesNoCancel::No;
        default: return YesNoCancel::Cancel;
    }
}

std::optional<std::string> QtDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, ToQt(caption), ToQt(prompt), QLineEdit::Normal,
                                               ToQt(defaultText), &ok);
    if (!ok) return std::nullopt;
    return FromQt(text);
}

std::optional<std::string> QtDialogs::OpenFileDialog(const std::string& title, const std::string& dir,
                                                     const std::string& filter) {
    return Chosen(QFileDialog::getOpenFileName(parent_, ToQt(title), ToQt(dir), QtFilter(filter)));
}

std::optional<std::string> QtDialogs::OpenFileDialogWithFilter(const std::string& title, const std::string& dir,
                                                               const std::string& filter, int filterIndex) {
    QString selected = QtFilter(filter).split(";;").value(filterIndex);
    return Chosen(QFileDialog::getOpenFileName(parent_, ToQt(title), ToQt(dir), QtFilter(filter), &selected));
}

std::optional<std::string> QtDialogs::SaveFileDialog(const std::string& title, const std::string& dir,
                                                     const std::string& defaultName, const std::string& filter) {
    const QString start = ToQt(dir) + "/" + ToQt(defaultName);
    return Chosen(QFileDialog::getSaveFileName(parent_, ToQt(title), start, QtFilter(filter)));
}

std::optional<std::string> QtDialogs::DirectoryDialog(const std::string& title, const std::string& dir) {
    return Chosen(QFileDialog::getExistingDirectory(parent_, ToQt(title), ToQt(dir)));
}

}  // namespace tandrel
