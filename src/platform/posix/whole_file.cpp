#include "platform/whole_file.h"

#include <QFile>
#include <QFileInfo>

namespace kestrix::platform {

std::variant<QByteArray, QString> readWholeFile(const QString& path, qint64 largest) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return QStringLiteral("not found");
    }
    if (!info.isFile()) {
        return QStringLiteral("it is not a regular file");
    }
    const QString tooLarge = QStringLiteral("it is larger than %1 MiB").arg(largest >> 20);
    if (info.size() > largest) {
        return tooLarge;
    }
    QFile file(path);
    const QString unreadable = QStringLiteral("it cannot be read: ");
    if (!file.open(QIODevice::ReadOnly)) {
        return unreadable + file.errorString();
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return unreadable + file.errorString();
    }
    if (bytes.size() > largest) {
        return tooLarge;
    }
    return bytes;
}

}  // namespace kestrix::platform
