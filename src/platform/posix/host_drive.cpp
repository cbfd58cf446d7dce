#include "platform/host_drive.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace kestrix::platform {

QString winePrefixFolder(const QString& winePrefix) {
    const QString prefix =
        winePrefix.isEmpty()
            ? QProcessEnvironment::systemEnvironment().value(QStringLiteral("WINEPREFIX"))
            : winePrefix;
    return prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine")
                            : QFileInfo(prefix).absoluteFilePath();
}

QString hostDriveC(const QString& winePrefix) {
    const QString prefix = winePrefixFolder(winePrefix);
    const QString dosDevice = prefix + QStringLiteral("/dosdevices/c:");
    return QFileInfo::exists(dosDevice) ? dosDevice : prefix + QStringLiteral("/drive_c");
}

}  // namespace kestrix::platform
