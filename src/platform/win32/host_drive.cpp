#include "platform/host_drive.h"

namespace kestrix::platform {

QString hostDriveC(const QString&) {
    return QString();
}

QString winePrefixFolder(const QString&) {
    return QString();
}

}  // namespace kestrix::platform
