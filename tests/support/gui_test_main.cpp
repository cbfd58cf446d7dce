// Runs window tests with a real QApplication on the offscreen platform.
#include <gtest/gtest.h>
#include "ui/form.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kestrix::ui::applyClassicStyle();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
