// The language dialog: English or Russian, applied at once on OK.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <functional>

#include "ui/widgets.h"

namespace tandrel {

class TLangForm : public QDialog {
    Q_OBJECT
public:
    // apply switches every text of the program to a language index.
    TLangForm(std::function<void(int)> apply, QWidget* parent = nullptr);

    TRadioGroup* rgLang;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

protected:
    void showEvent(QShowEvent* event) override;  // remembers the choice that Cancel restores
    void reject() override;

private:
    void bbtnOkClick();

    std::function<void(int)> apply_;
    int remembered_ = 0;
};

}  // namespace tandrel
