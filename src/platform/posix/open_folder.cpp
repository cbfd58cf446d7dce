#include "platform/open_folder.h"

#include "platform/posix/same_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/system_error.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <memory>

namespace kestrix::platform {

namespace {

QString openFailure(int error) {
    switch (error) {
        case ELOOP:
            return QStringLiteral("its links go round in a loop");
        case ENOTDIR:
            return QStringLiteral("not a folder");
        case ENOENT:
            return QStringLiteral("not found");
        case EACCES:
        case EPERM:
            return QStringLiteral("access denied");
        default:
            return systemError(error);
    }
}

// A name for an entry of this very folder: nothing that would lead out of it.
bool isEntryName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar::Null);
}

std::variant<UniqueFd, QString> openDirectory(int at, const QByteArray& path, int flags) {
    UniqueFd fd(::openat(at, path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags));
    if (!fd) {
        return openFailure(errno);
    }
    return fd;
}

}  // namespace

std::variant<OpenFolder, QString> OpenFolder::open(const QString& hostPath) {
    auto opened = openDirectory(AT_FDCWD, QFile::encodeName(hostPath), 0);
    if (auto* failure = std::get_if<QString>(&opened)) {
        return *failure;
    }
    return OpenFolder(std::get<UniqueFd>(std::move(opened)));
}

std::variant<OpenFolder, QString> OpenFolder::subfolder(const QString& name) const {
    if (!isEntryName(name)) {
        return openFailure(ENOENT);
    }
    auto opened = openDirectory(descriptor(handle()), QFile::encodeName(name), 0);
    if (auto* failure = std::get_if<QString>(&opened)) {
        return *failure;
    }
    return OpenFolder(std::get<UniqueFd>(std::move(opened)));
}

EntryMatch OpenFolder::find(const QString& name) const {
    if (!isEntryName(name)) {
        return {};
    }
    struct stat exact {};
    if (::fstatat(descriptor(handle()), QFile::encodeName(name).constData(), &exact,
                  AT_SYMLINK_NOFOLLOW) == 0) {
        return {EntryMatch::Status::Found, name};
    }
    return matchEntry(name, entries());
}

QStringList OpenFolder::entries() const {
    // The listing needs a descriptor of its own: reading moves its position.
    const int listed = ::openat(descriptor(handle()), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) {
        return {};
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(listed), ::closedir);
    if (!dir) {
        ::close(listed);
        return {};
    }
    QStringList names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            names << QFile::decodeName(name);
        }
    }
    return names;
}

bool OpenFolder::isSameFolder(const OpenFolder& other) const {
    struct stat mine {};
    struct stat theirs {};
    return ::fstat(descriptor(handle()), &mine) == 0 &&
           ::fstat(descriptor(other.handle()), &theirs) == 0 && isSameFile(mine, theirs);
}

bool OpenFolder::isWithin(const OpenFolder& outer) const {
    struct stat wanted {};
    struct stat current {};
    if (::fstat(descriptor(outer.handle()), &wanted) != 0 ||
        ::fstat(descriptor(handle()), &current) != 0) {
        return false;
    }
    // Up through the parents, by the folders themselves rather than by their names, to the root,
    // which is its own parent.
    UniqueFd folder(::fcntl(descriptor(handle()), F_DUPFD_CLOEXEC, 0));
    while (folder && !isSameFile(current, wanted)) {
        UniqueFd parent(::openat(folder.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat above {};
        if (!parent || ::fstat(parent.get(), &above) != 0 || isSameFile(above, current)) {
            return false;
        }
        folder = std::move(parent);
        current = above;
    }
    return static_cast<bool>(folder);
}

}  // namespace kestrix::platform
