#include <QApplication>

#include "ui/mainform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tandrel");
    tandrel::TMainForm mainForm;
    mainForm.show();
    return QApplication::exec();
}
