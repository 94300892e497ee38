// The main window.
#pragma once

#include <QMainWindow>

namespace tandrel {

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
};

}  // namespace tandrel
