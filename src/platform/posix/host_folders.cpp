#include "platform/host_folders.h"

#include <pwd.h>
#include <unistd.h>
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

QString userFontFolder() {
    // Wine names the prefix's user folder after the Unix account, or its number where the
    // account has no name.
    const passwd* account = ::getpwuid(::getuid());
    const QString user = account != nullptr && account->pw_name != nullptr
                             ? QFile::decodeName(account->pw_name)
                             : QString::number(::getuid());
    return QStringLiteral(R"(C:\users\)") + user +
           QStringLiteral(R"(\AppData\Local\Microsoft\Windows\Fonts)");
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
