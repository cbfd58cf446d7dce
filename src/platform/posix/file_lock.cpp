#include "platform/file_lock.h"

#include "platform/posix/same_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <QFile>
#include <cerrno>
#include <thread>

namespace kestrix::platform {

namespace {

// Opened to be written where we may, since a network file system locks only such files; never
// waiting on what is no regular file.
UniqueFd openToLock(const QByteArray& name) {
    constexpr int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    UniqueFd fd(::open(name.constData(), O_RDWR | flags));
    if (!fd && (errno == EACCES || errno == EPERM || errno == EROFS || errno == EISDIR)) {
        fd = UniqueFd(::open(name.constData(), O_RDONLY | flags));
    }
    return fd;
}

// Tries for the lock until `patience` is spent; returns the system's error number, or 0.
int lockWithin(const UniqueFd& fd, std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return errno;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return 0;
}

}  // namespace

std::variant<FileLock, FileLock::Busy, QString> FileLock::acquire(
    const QString& path, std::chrono::milliseconds patience) {
    const QByteArray name = QFile::encodeName(path);
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        UniqueFd fd = openToLock(name);
        if (!fd) {
            return errno == ENOENT ? std::variant<FileLock, Busy, QString>(FileLock())
                                   : systemError(errno);
        }
        struct stat locked {};
        if (::fstat(fd.get(), &locked) != 0) {
            return systemError(errno);
        }
        if (!S_ISREG(locked.st_mode)) {
            return QStringLiteral("it is not a regular file");
        }
        if (const int error = lockWithin(fd, patience)) {
            return error == EWOULDBLOCK ? std::variant<FileLock, Busy, QString>(Busy())
                                        : systemError(error);
        }
        struct stat named {};
        if (::stat(name.constData(), &named) == 0 && isSameFile(locked, named)) {
            return FileLock(std::move(fd));
        }
        // Replaced while we waited: the lock belongs on the file that has the name now.
    }
    return QStringLiteral("it keeps being replaced");
}

}  // namespace kestrix::platform
