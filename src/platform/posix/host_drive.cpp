#include "platform/host_drive.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace kestrix::platform {

QString hostDriveC(const QString& winePrefix) {
    QString prefix = winePrefix;
    if (prefix.isEmpty()) {
        prefix = QProcessEnvironment::systemEnvironment().value(QStringLiteral("WINEPREFIX"));
    }
    prefix = prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine")
                              : QFileInfo(prefix).absoluteFilePath();
    const QString dosDevice = prefix + QStringLiteral("/dosdevices/c:");
    return QFileInfo::exists(dosDevice) ? dosDevice : prefix + QStringLiteral("/drive_c");
}

}  // namespace kestrix::platform
