#include "app/command_line.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "platform/host_folders.h"
#include "platform/session_socket.h"
#include "platform/standard_streams.h"
#include "ui/app_path.h"
#include "ui/events.h"
#include "ui/form.h"
#include "ui/program_icon.h"
#include "version.h"

#include <QApplication>
#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

}  // namespace

int main(int argc, char* argv[]) {
    // --help and --version need no display: the application object that takes Qt's own options
    // out of the command line then works on no screen, and keeps its warnings about the session
    // it will not serve (no XDG_RUNTIME_DIR, say) out of the answer. Errors still show.
    const bool textAsked = kestrix::app::asksForText(argumentsOf(argc, argv));
    if (textAsked) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_LOGGING_RULES", "*.debug=false;*.info=false;*.warning=false");
    }
    QApplication application(argc, argv);
    const auto commandLine =
        kestrix::app::parseCommandLine(QCoreApplication::arguments(), textAsked);
    if (const auto& exit = commandLine.exit) {
        kestrix::platform::reachStartingConsole();
        std::fputs(exit->text.toLocal8Bit().constData(), exit->toStandardError ? stderr : stdout);
        return exit->code;
    }

    kestrix::app::SingleInstance session(
        kestrix::platform::sessionSocketName(QStringLiteral("kestrix")));
    if (!session.claim()) {
        std::fputs(
            "kestrix: Kestrix is already running here; its window was brought to the front.\n",
            stderr);
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QLatin1String(kestrix::programVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrix.Kestrix"));
    QApplication::setWindowIcon(kestrix::ui::programIcon());
    kestrix::ui::addWineTahoma();
    kestrix::ui::applyClassicStyle();
    kestrix::app::Environment environment{
        kestrix::platform::DriveMap::fromEnvironment(commandLine.winePrefix),
        kestrix::ui::appPath()};
    environment.userConfigFolder = kestrix::platform::userConfigFolder();
    kestrix::app::Program program(std::move(environment));
    QObject::connect(&session, &kestrix::app::SingleInstance::frontWanted, &application,
                     [&program] { program.bringToFront(); });
    program.start();
    return kestrix::ui::runProgram();
}
