#include "platform/wipe_target.h"

#include "platform/posix/same_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>

namespace kestrix::platform {

namespace {

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

std::variant<WipeTarget, QString> WipeTarget::open(const OpenFolder& folder, const QString& name) {
    if (folder.find(name).name != name) {
        return openFailure(ENOENT);  // nothing by this very name, or a name leading elsewhere
    }
    UniqueFd folderFd(::fcntl(descriptor(folder.handle()), F_DUPFD_CLOEXEC, 0));
    if (!folderFd) {
        return systemError(errno);
    }
    const QByteArray encoded = QFile::encodeName(name);
    struct stat named {};
    if (::fstatat(folderFd.get(), encoded.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
        return openFailure(errno);
    }
    WipeTarget target(std::move(folderFd), encoded, named.st_dev, named.st_ino);
    if (S_ISLNK(named.st_mode)) {
        return target;
    }
    if (!S_ISREG(named.st_mode)) {
        return kindOf(named.st_mode);
    }
    if (!hasWriteBit(named.st_mode)) {
        return QStringLiteral("read-only");
    }
    if (named.st_nlink > 1) {
        return target;
    }
    // Non-blocking, so that a pipe put in the file's place since we looked cannot hold us.
    UniqueFd file(::openat(descriptor(target.folder_), encoded.constData(),
                           O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file) {
        return openFailure(errno);
    }
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0) {
        return systemError(errno);
    }
    if (!isSameFile(opened, named) || !S_ISREG(opened.st_mode) || !hasWriteBit(opened.st_mode) ||
        opened.st_nlink > 1) {
        return QStringLiteral("the file changed while opening it");
    }
    target.file_ = std::move(file);
    target.size_ = opened.st_size;
    return target;
}

std::optional<QString> WipeTarget::refusal(const OpenFolder& folder, const QString& name) {
    struct stat named {};
    if (::fstatat(descriptor(folder.handle()), QFile::encodeName(name).constData(), &named,
                  AT_SYMLINK_NOFOLLOW) != 0) {
        return openFailure(errno);
    }
    if (S_ISREG(named.st_mode) && !hasWriteBit(named.st_mode)) {
        return QStringLiteral("read-only");
    }
    return std::nullopt;
}

std::optional<QString> WipeTarget::writeAt(qint64 offset, const QByteArray& block) {
    qsizetype done = 0;
    while (done < block.size()) {
        const ssize_t written =
            ::pwrite(descriptor(file_), block.constData() + done,
                     static_cast<size_t>(block.size() - done), static_cast<off_t>(offset + done));
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
    if (::fsync(descriptor(file_)) != 0) {
        return systemError(errno);
    }
    return std::nullopt;
}

std::optional<QString> WipeTarget::removeName() {
    file_.reset();
    struct stat named {};
    if (::fstatat(descriptor(folder_), name_.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
        return openFailure(errno);
    }
    if (named.st_dev != device_ || named.st_ino != inode_) {
        return QStringLiteral("the file was replaced while it was being removed");
    }
    if (::unlinkat(descriptor(folder_), name_.constData(), 0) != 0) {
        return errno == EACCES || errno == EPERM ? QStringLiteral("access denied")
                                                 : systemError(errno);
    }
    return std::nullopt;
}

}  // namespace kestrix::platform
