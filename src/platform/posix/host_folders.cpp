#include "platform/host_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace kestrix::platform {

QString userConfigFolder() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    const QString configHome =
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CONFIG_HOME"));
    return QDir::isAbsolutePath(configHome) ? configHome
                                            : QDir::homePath() + QStringLiteral("/.config");
#endif
}

bool isWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isDir() && info.isWritable() && (info.permissions() & anyWrite);
}

QString wineFontFolder() {
#ifdef Q_OS_WIN
    return QString();
#else
    return QStringLiteral("/usr/share/wine/fonts");
#endif
}

}  // namespace kestrix::platform
