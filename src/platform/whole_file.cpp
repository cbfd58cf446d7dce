#include "platform/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

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
    // Unbuffered, so that nothing is read ahead past the limit.
    QFile file(path);
    const QString unreadable = QStringLiteral("it cannot be read: ");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return unreadable + file.errorString();
    }
    // The size is only a hint: the file may have grown since, and some (those in /proc) say 0
    // whatever they hold. So no more than one byte past the limit is ever read.
    QByteArray bytes;
    bytes.reserve(info.size() + 1);
    std::array<char, 64 * 1024> chunk{};
    while (bytes.size() <= largest) {
        const qint64 wanted = std::min<qint64>(chunk.size(), largest + 1 - bytes.size());
        const qint64 got = file.read(chunk.data(), wanted);
        if (got < 0) {
            return unreadable + file.errorString();
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(chunk.data(), got);
    }
    return tooLarge;
}

}  // namespace kestrix::platform
