#include "platform/host_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace kestrix::platform {

QString userConfigFolder() {
    const QString configHome =
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CONFIG_HOME"));
    return QDir::isAbsolutePath(configHome) ? configHome
                                            : QDir::homePath() + QStringLiteral("/.config");
}

QString ownFolderName() {
    return QStringLiteral("kestrix");
}

bool isWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isDir() && info.isWritable() && (info.permissions() & anyWrite);
}

QString wineFontFolder() {
    return QStringLiteral("/usr/share/wine/fonts");
}

}  // namespace kestrix::platform
