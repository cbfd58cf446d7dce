#include "platform/whole_file.h"

#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>

namespace kestrix::platform {

namespace {

QString unreadable(int error) {
    return QStringLiteral("it cannot be read: ") + systemError(error);
}

}  // namespace

std::variant<QByteArray, QString> readWholeFile(const QString& path, qint64 largest) {
    // Opened once, and looked at through the descriptor: a name checked and then opened again
    // may meanwhile lead to a pipe, whose opening or reading would never return.
    const UniqueFd file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file) {
        return errno == ENOENT ? QStringLiteral("not found") : unreadable(errno);
    }
    return readWholeFile(file, largest);
}

std::variant<QByteArray, QString> readWholeFile(const UniqueHandle& file, qint64 largest) {
    struct stat opened {};
    if (::fstat(descriptor(file), &opened) != 0) {
        return unreadable(errno);
    }
    if (!S_ISREG(opened.st_mode)) {
        return QStringLiteral("it is not a regular file");
    }
    const qint64 size = opened.st_size;
    if (size > largest) {
        return QStringLiteral("it is larger than %1 MiB").arg(largest >> 20);
    }
    // No more than one byte past the size is ever read: a file may grow once its size was
    // asked, and some (those in /proc) say they are empty whatever they hold.
    QByteArray bytes;
    bytes.reserve(size + 1);
    std::array<char, 64 * 1024> chunk{};
    while (bytes.size() <= size) {
        const auto wanted =
            static_cast<size_t>(std::min<qint64>(chunk.size(), size + 1 - bytes.size()));
        const ssize_t got = ::read(descriptor(file), chunk.data(), wanted);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return unreadable(errno);
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(chunk.data(), got);
    }
    return QStringLiteral("it holds more than its size says");
}

}  // namespace kestrix::platform
