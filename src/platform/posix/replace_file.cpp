#include "platform/replace_file.h"

#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <optional>
#include <variant>

namespace kestrix::platform {

namespace {

// The file that writing to `path` must replace: the one at the end of its chain of links, as
// opening it for writing would reach, or the name where a new file goes. A link that leads
// nowhere is no place to make a file.
std::variant<QByteArray, QString> finalTarget(const QString& path) {
    QByteArray current = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    constexpr int mostLinks = 40;  // as many as the system follows in one path
    for (int links = 0; links <= mostLinks; ++links) {
        struct stat entry {};
        if (::lstat(current.constData(), &entry) != 0) {
            if (errno == ENOENT && links > 0) {
                return QStringLiteral("it is a link to %1, which does not exist")
                    .arg(QFile::decodeName(current));
            }
            return current;  // a new file, or a folder whose opening will say what is wrong
        }
        if (!S_ISLNK(entry.st_mode)) {
            return current;
        }
        std::array<char, PATH_MAX> buffer{};
        const ssize_t length = ::readlink(current.constData(), buffer.data(), buffer.size());
        if (length < 0 || length == static_cast<ssize_t>(buffer.size())) {
            return QStringLiteral("the link cannot be read: ") +
                   systemError(length < 0 ? errno : ENAMETOOLONG);
        }
        const QByteArray target(buffer.data(), length);
        current =
            target.startsWith('/') ? target : current.left(current.lastIndexOf('/') + 1) + target;
    }
    return QStringLiteral("it is a link in a loop of links");
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

// The new file takes the old one's owner and group. Whoever may write the old file but not give
// the new one its owner saves it as their own, keeping the group, by which those who share the
// file write it; one who may not write it must not replace it through the folder either.
std::optional<QString> keepOwner(const UniqueFd& folder, const QByteArray& name, const UniqueFd& fd,
                                 const struct stat& old) {
    if (::fchown(fd.get(), old.st_uid, old.st_gid) == 0) {
        return std::nullopt;
    }
    if (errno != EPERM) {
        return QStringLiteral("the new file cannot take the old one's owner and group: ") +
               systemError(errno);
    }
    if (::faccessat(folder.get(), name.constData(), W_OK, AT_EACCESS) != 0) {
        return QStringLiteral("it may not be written: ") + systemError(errno);
    }
    if (::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid) != 0) {
        return QStringLiteral("the new file cannot take the old one's group: ") +
               systemError(errno);
    }
    return std::nullopt;
}

// The old file's owner, group and permissions carry over, as they would had it been written in
// place, where the system allows.
std::optional<QString> keepOwnership(const UniqueFd& folder, const QByteArray& name,
                                     const UniqueFd& fd) {
    struct stat old {};
    if (::fstatat(folder.get(), name.constData(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? std::nullopt
                               : std::optional(QStringLiteral("the old file cannot be examined: ") +
                                               systemError(errno));
    }
    struct stat mine {};
    if (::fstat(fd.get(), &mine) != 0) {
        return QStringLiteral("the new file cannot be examined: ") + systemError(errno);
    }
    if (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) {
        if (auto failure = keepOwner(folder, name, fd, old)) {
            return failure;
        }
    }
    // After the owner: a change of owner drops the set-user and set-group bits.
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
        return QStringLiteral("the new file cannot take the old one's permissions: ") +
               systemError(errno);
    }
    return std::nullopt;
}

// Writes, flushes and closes the new file; returns the reason when any step failed.
std::optional<QString> fill(NewFile& file, const UniqueFd& folder, const QByteArray& name,
                            const std::vector<QByteArrayView>& pieces) {
    if (auto failure = keepOwnership(folder, name, file.fd)) {
        return failure;
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

ReplaceResult replaceFile(const QString& path, const std::vector<QByteArrayView>& pieces) {
    const auto resolved = finalTarget(path);
    if (const auto* failure = std::get_if<QString>(&resolved)) {
        return {false, *failure};
    }
    const QByteArray& target = std::get<QByteArray>(resolved);
    const qsizetype slash = target.lastIndexOf('/');
    const UniqueFd folder(::open(target.left(std::max<qsizetype>(slash, 1)).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) {
        return {false, QStringLiteral("its folder cannot be opened: ") + systemError(errno)};
    }
    const QByteArray name = target.mid(slash + 1);
    int error = 0;
    auto file = createBeside(folder, name, error);
    if (!file) {
        return {false,
                QStringLiteral("no new file can be created beside it: ") + systemError(error)};
    }
    if (auto failure = fill(*file, folder, name, pieces)) {
        ::unlinkat(folder.get(), file->name.constData(), 0);
        return {false, *failure};
    }
    if (::renameat(folder.get(), file->name.constData(), folder.get(), name.constData()) != 0) {
        const int renameError = errno;
        ::unlinkat(folder.get(), file->name.constData(), 0);
        return {false, QStringLiteral("the new file could not take the old one's place: ") +
                           systemError(renameError)};
    }
    // Without this the rename itself may be lost in a crash. Some file systems cannot flush a
    // folder at all; then there is nothing more to be done.
    if (::fsync(folder.get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        return {true, QStringLiteral("its folder could not be flushed to the disk: ") +
                          systemError(errno)};
    }
    return {true, {}};
}

}  // namespace kestrix::platform
