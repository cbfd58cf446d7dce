#include "support/x11_desktop.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <memory>

extern char** environ;

namespace kestrix::test::x11_desktop {

namespace {

struct Desktop {
    QString missing = QStringLiteral("the X desktop was not started");
    pid_t server = 0;
    std::unique_ptr<QProcess> windowManager;
};

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

// Starts Xvfb on the first free display and returns its number, as the server itself tells once
// it is ready.
QString startServer(pid_t& server) {
    std::array<int, 2> ready{};
    if (::pipe2(ready.data(), O_CLOEXEC) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
    std::array<const char*, 11> argv = {"Xvfb",     "-displayfd",  "3",         "-screen",
                                        "0",        "1024x768x24", "-nolisten", "tcp",
                                        "-noreset", "-nolock",     nullptr};
    const bool spawned = ::posix_spawnp(&server, "Xvfb", &actions, nullptr,
                                        const_cast<char* const*>(argv.data()), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    QByteArray number;
    pollfd wait{ready[0], POLLIN, 0};
    while (spawned && ::poll(&wait, 1, 10'000) == 1) {
        char c = 0;
        if (::read(ready[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    ::close(ready[0]);
    if (!spawned) {
        server = 0;
    }
    return number.isEmpty() ? QString() : u':' + QString::fromLatin1(number);
}

QString startDesktop(Desktop& d) {
    for (const char* tool : {"Xvfb", "openbox", "touch"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            return QString::fromLatin1(tool) + QStringLiteral(" is not installed");
        }
    }
    const QString display = startServer(d.server);
    if (display.isEmpty()) {
        return QStringLiteral("Xvfb did not start");
    }
    d.windowManager = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    d.windowManager->setProcessEnvironment(environment);
    d.windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Openbox names itself on the root window before it handles requests; it runs its startup
    // command only once it does.
    const QTemporaryDir signs;
    const QString ready = signs.filePath(QStringLiteral("ready"));
    d.windowManager->start(QStringLiteral("openbox"),
                           {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                            QStringLiteral("touch '%1'").arg(ready)});
    const QDeadlineTimer deadline(10'000);
    while (!QFileInfo::exists(ready)) {
        if (deadline.hasExpired() || d.windowManager->state() == QProcess::NotRunning) {
            return QStringLiteral("openbox did not take over the display");
        }
        QThread::msleep(20);
    }
    qputenv("DISPLAY", display.toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    return {};
}

}  // namespace

void start() {
    Desktop& d = desktop();
    d.missing = startDesktop(d);
    if (!d.missing.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

void stop() {
    Desktop& d = desktop();
    if (d.windowManager) {
        d.windowManager->terminate();
        d.windowManager->waitForFinished(5000);
        d.windowManager.reset();
    }
    if (d.server > 0) {
        ::kill(d.server, SIGTERM);
        ::waitpid(d.server, nullptr, 0);
        d.server = 0;
    }
}

QString missing() {
    return desktop().missing;
}

}  // namespace kestrix::test::x11_desktop
