// The find dialog of the editors: a text, "Match case", and Find Next, which
// may be pressed again and again; whole word and direction are not offered.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace tandrel {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);

    QLineEdit* findText;
    QCheckBox* matchCase;
    QPushButton* findNext;

signals:
    // Each press of Find Next.
    void find(const QString& text, bool matchCase);
};

}  // namespace tandrel
