// Runs window tests with a real QApplication on the offscreen platform.
#include <gtest/gtest.h>
#include "ui/form.h"

#include <QApplication>
#include <QTimer>

namespace {

// A test that ends the program asks the event loop to quit while none runs. The request stays,
// and would close every modal box of the tests after it at once; a turn of the loop uses it up.
class UseUpQuitRequests : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& /*test*/) override {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kestrix::ui::applyClassicStyle();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new UseUpQuitRequests);
    return RUN_ALL_TESTS();
}
