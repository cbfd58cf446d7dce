#include "platform/replace_file.h"

#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace kestrix::platform {

namespace {

// The file that writing to `path` must replace: a link's target, as writing through it would.
QString finalTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

struct NewFile {
    UniqueFd fd;
    QByteArray name;
};

// A file of our own beside `name`, hidden and named at random so that nothing else takes it.
std::optional<NewFile> createBeside(const UniqueFd& folder, const QByteArray& name, int& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray temporary =
            '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        UniqueFd fd(::openat(folder.get(), temporary.constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd) {
            return NewFile{std::move(fd), temporary};
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error = errno;
    return std::nullopt;
}

// Writes every byte; returns the system's error number, or 0.
int writeAll(const UniqueFd& fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd.get(), bytes.data(), static_cast<size_t>(bytes.size()));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : ENOSPC;
        }
        bytes = bytes.sliced(written);
    }
    return 0;
}

// The old file's permissions carry over, as they would had it been written in place.
int keepPermissions(const UniqueFd& folder, const QByteArray& name, const UniqueFd& fd) {
    struct stat old {};
    if (::fstatat(folder.get(), name.constData(), &old, 0) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    return ::fchmod(fd.get(), old.st_mode & 07777) == 0 ? 0 : errno;
}

// Writes, flushes and closes the new file; returns the reason when any step failed.
std::optional<QString> fill(NewFile& file, const UniqueFd& folder, const QByteArray& name,
                            const std::vector<QByteArrayView>& pieces) {
    if (const int error = keepPermissions(folder, name, file.fd)) {
        return QStringLiteral("the new file cannot take the old one's permissions: ") +
               systemError(error);
    }
    for (const auto& piece : pieces) {
        if (const int error = writeAll(file.fd, piece)) {
            return QStringLiteral("the new file could not be written: ") + systemError(error);
        }
    }
    if (::fsync(file.fd.get()) != 0) {
        return QStringLiteral("the new file could not be flushed to the disk: ") +
               systemError(errno);
    }
    if (const int error = file.fd.close()) {
        return QStringLiteral("the new file could not be closed: ") + systemError(error);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> replaceFile(const QString& path, const std::vector<QByteArrayView>& pieces) {
    const QFileInfo target(finalTarget(path));
    const UniqueFd folder(::open(QFile::encodeName(target.absolutePath()).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) {
        return QStringLiteral("its folder cannot be opened: ") + systemError(errno);
    }
    const QByteArray name = QFile::encodeName(target.fileName());
    int error = 0;
    auto file = createBeside(folder, name, error);
    if (!file) {
        return QStringLiteral("no new file can be created beside it: ") + systemError(error);
    }
    if (auto failure = fill(*file, folder, name, pieces)) {
        ::unlinkat(folder.get(), file->name.constData(), 0);
        return failure;
    }
    if (::renameat(folder.get(), file->name.constData(), folder.get(), name.constData()) != 0) {
        const int renameError = errno;
        ::unlinkat(folder.get(), file->name.constData(), 0);
        return QStringLiteral("the new file could not take the old one's place: ") +
               systemError(renameError);
    }
    // Without this the rename itself may be lost in a crash. Some file systems cannot flush a
    // folder at all; then there is nothing more to be done.
    if (::fsync(folder.get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        return QStringLiteral(
                   "the new file is in place, but its folder could not be flushed to "
                   "the disk: ") +
               systemError(errno);
    }
    return std::nullopt;
}

}  // namespace kestrix::platform
