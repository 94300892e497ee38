#include <QApplication>
#include <gtest/gtest.h>

#include "ui/mainform.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

TEST(MainForm, OpensAsTheNamedMainWindowWithItsMinimumWidth) {
    App();
    tandrel::TMainForm form;
    form.show();
    EXPECT_EQ(form.objectName(), "TMainForm");
    EXPECT_EQ(form.windowTitle(), "Tandrel");
    EXPECT_GE(form.width(), 648);
}

}  // namespace
