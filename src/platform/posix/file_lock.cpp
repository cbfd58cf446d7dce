#include "platform/file_lock.h"

#include "platform/posix/same_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <thread>

namespace kestrix::platform {

namespace {

// Opened to be written where we may, since a network file system locks only such files; never
// waiting on what is no regular file.
UniqueFd openToLock(const QByteArray& name) {
    constexpr int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    UniqueFd fd(::open(name.constData(), O_RDWR | flags));
    if (!fd && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        fd = UniqueFd(::open(name.constData(), O_RDONLY | flags));
    }
    return fd;
}

// Waits for the lock, but not for ever: a holder that hangs must not freeze the window.
int lockWithin(const UniqueFd& fd, std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return errno;
        }
        if (std::chrono::steady_clock::now() > giveUp) {
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return 0;
}

}  // namespace

std::variant<FileLock, QString> FileLock::acquire(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        struct stat named {};
        if (::stat(name.constData(), &named) != 0) {
            return errno == ENOENT ? std::variant<FileLock, QString>(FileLock())
                                   : systemError(errno);
        }
        if (!S_ISREG(named.st_mode)) {
            return QStringLiteral("it is not a regular file");
        }
        UniqueFd fd = openToLock(name);
        if (!fd) {
            return systemError(errno);
        }
        if (const int error = lockWithin(fd, std::chrono::seconds(2))) {
            return error == EWOULDBLOCK ? QStringLiteral("another program keeps it locked")
                                        : systemError(error);
        }
        struct stat locked {};
        if (::fstat(fd.get(), &locked) == 0 && ::stat(name.constData(), &named) == 0 &&
            isSameFile(locked, named)) {
            return FileLock(std::move(fd));
        }
        // Replaced while we waited: the lock belongs on the file that has the name now.
    }
    return QStringLiteral("it keeps being replaced");
}

}  // namespace kestrix::platform
