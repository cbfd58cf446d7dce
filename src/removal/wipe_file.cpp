#include "removal/wipe_file.h"

namespace kestrix::removal {

std::optional<QString> unusableForWipe(const platform::ResolvedPath& path) {
    switch (path.status) {
        case platform::ResolvedPath::Status::Found:
            return std::nullopt;
        case platform::ResolvedPath::Status::Missing:
            return QStringLiteral("file not found");
        case platform::ResolvedPath::Status::Ambiguous:
        case platform::ResolvedPath::Status::Invalid:
            break;
    }
    return platform::describeUnusable(path);
}

std::variant<platform::WipeTarget, QString> OpenForWipe(const QString& path,
                                                        const platform::DriveMap& drives) {
    const platform::ResolvedPath resolved = drives.resolve(path);
    if (auto failure = unusableForWipe(resolved)) {
        return *failure;
    }
    return platform::WipeTarget::open(resolved.hostPath);
}

std::optional<QString> OverwriteFile(platform::WipeTarget& file) {
    const QByteArray letters(wipeBlockSize, 'X');
    const QByteArray blanks(wipeBlockSize, ' ');
    const qint64 blocks = file.size() / wipeBlockSize + 1;
    for (qint64 block = 0; block < blocks; ++block) {
        const qint64 offset = block * wipeBlockSize;
        if (auto failure = file.writeAt(offset, letters)) {
            return failure;
        }
        if (auto failure = file.writeAt(offset, blanks)) {
            return failure;
        }
    }
    // Without this the blanks could be dropped with the deleted file before reaching the disk.
    return file.flush();
}

std::optional<QString> WipeFile(const QString& path, const platform::DriveMap& drives) {
    auto opened = OpenForWipe(path, drives);
    if (auto* failure = std::get_if<QString>(&opened)) {
        return *failure;
    }
    auto& file = std::get<platform::WipeTarget>(opened);
    if (file.ownsContent()) {
        if (auto failure = OverwriteFile(file)) {
            return QStringLiteral("could not be overwritten: ") + *failure;
        }
    }
    return file.removeName();
}

}  // namespace kestrix::removal
