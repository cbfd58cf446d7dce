#include "platform/session_socket.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace kestrix::platform {

QString sessionSocketName(const QString& program) {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The display the windows show on: a user's two sessions have two.
    QString display = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (display.isEmpty()) {
        display = environment.value(QStringLiteral("DISPLAY"));
    }
    QString name = program + u'-' + QString::number(::getuid());
    if (!display.isEmpty()) {
        name += u'-' + QString(display).replace(u'/', u'_');
    }
    // The user's runtime folder, which nobody else may enter, where the session has one.
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    const bool ownFolder = QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir();
    return (ownFolder ? runtime : QDir::tempPath()) + u'/' + name;
}

}  // namespace kestrix::platform
