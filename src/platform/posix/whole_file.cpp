#include "platform/whole_file.h"

#include "platform/posix/unique_fd.h"

#include <sys/stat.h>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace kestrix::platform {

namespace {

QString unreadable(const QString& why) {
    return QStringLiteral("it cannot be read: ") + why;
}

// Reads an open regular file; unbuffered, so that nothing is read ahead of what is asked for.
std::variant<QByteArray, QString> readOpenFile(QFile& file, qint64 largest) {
    const qint64 size = file.size();
    if (size > largest) {
        return QStringLiteral("it is larger than %1 MiB").arg(largest >> 20);
    }
    // No more than one byte past the size is ever read: a file may grow once its size was
    // asked, and some (those in /proc) say they are empty whatever they hold.
    QByteArray bytes;
    bytes.reserve(size + 1);
    std::array<char, 64 * 1024> chunk{};
    while (bytes.size() <= size) {
        const qint64 wanted = std::min<qint64>(chunk.size(), size + 1 - bytes.size());
        const qint64 got = file.read(chunk.data(), wanted);
        if (got < 0) {
            return unreadable(file.errorString());
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(chunk.data(), got);
    }
    return QStringLiteral("it holds more than its size says");
}

}  // namespace

std::variant<QByteArray, QString> readWholeFile(const QString& path, qint64 largest) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return QStringLiteral("not found");
    }
    if (!info.isFile()) {
        return QStringLiteral("it is not a regular file");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return unreadable(file.errorString());
    }
    return readOpenFile(file, largest);
}

std::variant<QByteArray, QString> readWholeFile(const UniqueHandle& file, qint64 largest) {
    struct stat status {};
    if (fstat(descriptor(file), &status) != 0 || !S_ISREG(status.st_mode)) {
        return QStringLiteral("it is not a regular file");
    }
    QFile open;
    if (!open.open(descriptor(file), QIODevice::ReadOnly | QIODevice::Unbuffered,
                   QFileDevice::DontCloseHandle)) {
        return unreadable(open.errorString());
    }
    return readOpenFile(open, largest);
}

}  // namespace kestrix::platform
