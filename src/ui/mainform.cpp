#include "ui/mainform.h"

namespace tandrel {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TMainForm");
    setWindowTitle("Tandrel");
    setMinimumSize(648, 334);
}

}  // namespace tandrel
