// Runs window tests on a private X display with a real window manager, or offscreen where none
// can be started.
#include "support/x11_desktop.h"
#include "ui/form.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        kestrix::test::x11_desktop::start();
    }
    int result = 0;
    {
        QApplication application(argc, argv);
        kestrix::ui::applyClassicStyle();
        result = RUN_ALL_TESTS();
    }
    kestrix::test::x11_desktop::stop();
    return result;
}
