#include "platform/wipe_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kestrix::platform {

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a pipe");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
    return QStringLiteral("not a regular file");
}

QString openFailure(int error) {
    switch (error) {
        case ENOENT:
            return QStringLiteral("file not found");
        case EACCES:
        case EPERM:
            return QStringLiteral("access denied");
        case ELOOP:
            return QStringLiteral("the name was replaced by a link while opening it");
        default:
            return systemError(error);
    }
}

bool hasWriteBit(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

WipeTarget::WipeTarget(QString hostPath, int fd, qint64 size, quint64 device, quint64 inode)
    : hostPath_(std::move(hostPath)), fd_(fd), size_(size), device_(device), inode_(inode) {}

WipeTarget::WipeTarget(WipeTarget&& other) noexcept
    : hostPath_(std::move(other.hostPath_)),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_) {}

WipeTarget& WipeTarget::operator=(WipeTarget&& other) noexcept {
    if (this != &other) {
        close();
        hostPath_ = std::move(other.hostPath_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

WipeTarget::~WipeTarget() {
    close();
}

void WipeTarget::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::variant<WipeTarget, QString> WipeTarget::open(const QString& hostPath) {
    const QByteArray path = QFile::encodeName(hostPath);
    struct stat named {};
    if (::lstat(path.constData(), &named) != 0) {
        return openFailure(errno);
    }
    const auto nameOnly = [&] { return WipeTarget(hostPath, -1, 0, named.st_dev, named.st_ino); };
    if (S_ISLNK(named.st_mode)) {
        return nameOnly();
    }
    if (!S_ISREG(named.st_mode)) {
        return kindOf(named.st_mode);
    }
    if (!hasWriteBit(named.st_mode)) {
        return QStringLiteral("read-only");
    }
    if (named.st_nlink > 1) {
        return nameOnly();
    }
    // Non-blocking, so that a pipe put in the file's place since we looked cannot hold us.
    const int fd = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return openFailure(errno);
    }
    WipeTarget target(hostPath, fd, 0, named.st_dev, named.st_ino);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        return systemError(errno);
    }
    if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino ||
        !S_ISREG(opened.st_mode) || !hasWriteBit(opened.st_mode) || opened.st_nlink > 1) {
        return QStringLiteral("the file changed while opening it");
    }
    target.size_ = opened.st_size;
    return target;
}

std::optional<QString> WipeTarget::writeAt(qint64 offset, const QByteArray& block) {
    qsizetype done = 0;
    while (done < block.size()) {
        const ssize_t written =
            ::pwrite(fd_, block.constData() + done, static_cast<size_t>(block.size() - done),
                     static_cast<off_t>(offset + done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? systemError(errno) : QStringLiteral("nothing could be written");
        }
        done += written;
    }
    return std::nullopt;
}

std::optional<QString> WipeTarget::flush() {
    if (::fsync(fd_) != 0) {
        return systemError(errno);
    }
    return std::nullopt;
}

std::optional<QString> WipeTarget::removeName() {
    close();
    const QByteArray path = QFile::encodeName(hostPath_);
    struct stat named {};
    if (::lstat(path.constData(), &named) != 0) {
        return openFailure(errno);
    }
    if (named.st_dev != device_ || named.st_ino != inode_) {
        return QStringLiteral("the file was replaced while it was being removed");
    }
    if (::unlink(path.constData()) != 0) {
        return errno == EACCES || errno == EPERM ? QStringLiteral("access denied")
                                                 : systemError(errno);
    }
    return std::nullopt;
}

}  // namespace kestrix::platform
