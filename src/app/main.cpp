#include "app/program.h"
#include "ui/app_path.h"
#include "ui/events.h"
#include "ui/form.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kestrix.xpm")));
    kestrix::ui::applyClassicStyle();
    kestrix::app::Program program(
        {kestrix::platform::DriveMap::fromEnvironment(), kestrix::ui::appPath()});
    program.start();
    return kestrix::ui::runProgram();
}
