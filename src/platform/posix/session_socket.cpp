#include "platform/session_socket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>

#if QT_CONFIG(xcb) && __has_include(<X11/Xlib.h>)
#define KESTRIX_READS_X11_DISPLAY
#include <qguiapplication_platform.h>
// Last: Xlib's macros would clash with Qt's names.
#include <X11/Xlib.h>
#endif

namespace kestrix::platform {

namespace {

// The name of the X display the application connected to, by -display or $DISPLAY.
QString connectedXDisplay() {
#ifdef KESTRIX_READS_X11_DISPLAY
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (Display* display = x11 ? x11->display() : nullptr) {
        return QString::fromLocal8Bit(DisplayString(display));
    }
#endif
    return qEnvironmentVariable("DISPLAY");
}

// The display the windows show on: a user's two sessions have two.
QString displayName() {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb") {
        return normalDisplayName(connectedXDisplay());
    }
    if (platform.startsWith(u"wayland")) {
        const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
        return wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland;
    }
    return platform;
}

// A folder that only this user may enter: the session's runtime folder, or else one of ours in
// the temporary folder, made for this user alone. "" where there is neither: someone else took
// the name, or made it something else.
QString ownFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) {
        return runtime;
    }
    const QString folder =
        QDir::tempPath() + QStringLiteral("/kestrix-") + QString::number(::getuid());
    const QByteArray name = QFile::encodeName(folder);
    (void)::mkdir(name.constData(), 0700);
    struct stat made {};
    const bool ours = ::lstat(name.constData(), &made) == 0 && S_ISDIR(made.st_mode) &&
                      made.st_uid == ::getuid() && (made.st_mode & 077) == 0;
    return ours ? folder : QString();
}

}  // namespace

QString sessionSocketName(const QString& program) {
    const QString folder = ownFolder();
    if (folder.isEmpty()) {
        return QString();
    }
    QString name = program + u'-' + QString::number(::getuid());
    if (const QString display = displayName(); !display.isEmpty()) {
        name += u'-' + QString(display).replace(u'/', u'_');
    }
    return folder + u'/' + name;
}

// The name is a socket in a folder only this user may enter.
std::optional<UniqueHandle> holdSessionName(const QString&) {
    return UniqueHandle();
}

bool peerIsThisUser(qintptr socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

// The desktop decides on its own who comes to the front.
void letPeerComeToFront(qintptr) {}

}  // namespace kestrix::platform
