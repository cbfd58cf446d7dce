#include "removal/wipe_file.h"

#include <algorithm>

namespace kestrix::removal {

std::optional<QString> unusableForWipe(const platform::EntryMatch& match) {
    switch (match.status) {
        case platform::EntryMatch::Status::Found:
            return std::nullopt;
        case platform::EntryMatch::Status::Missing:
            return QStringLiteral("file not found");
        case platform::EntryMatch::Status::Ambiguous:
            break;
    }
    return QStringLiteral("several files differ from this name only in letter case");
}

FolderAndName splitPath(const QString& path) {
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (separator < 0) {
        return {QString(), path};
    }
    return {path.left(separator), path.mid(separator + 1)};
}

std::optional<QString> OverwriteFile(platform::WipeTarget& file) {
    const QByteArray letters(wipeBlockSize, 'X');
    const QByteArray blanks(wipeBlockSize, ' ');
    const qint64 blocks = file.size() / wipeBlockSize + 1;
    for (qint64 block = 0; block < blocks; ++block) {
        const qint64 offset = block * wipeBlockSize;
        for (const auto* filler : {&letters, &blanks}) {
            if (auto failure = file.writeAt(offset, *filler)) {
                return QStringLiteral("could not be overwritten: ") + *failure;
            }
        }
    }
    // Without this the blanks could be dropped with the deleted file before reaching the disk.
    if (auto failure = file.flush()) {
        return QStringLiteral("overwritten but not flushed to the disk, so not deleted: ") +
               *failure;
    }
    return std::nullopt;
}

std::optional<NotRemoved> wipeAndDelete(const platform::OpenFolder& folder, const QString& name) {
    auto opened = platform::WipeTarget::open(folder, name);
    if (auto* failure = std::get_if<QString>(&opened)) {
        return NotRemoved{*failure};
    }
    auto& file = std::get<platform::WipeTarget>(opened);
    if (!file.ownsContent()) {
        if (auto failure = file.removeName()) {
            return NotRemoved{*failure};
        }
        return std::nullopt;
    }
    if (auto failure = OverwriteFile(file)) {
        return NotRemoved{*failure};
    }
    if (auto failure = file.removeName()) {
        return NotRemoved{QStringLiteral("overwritten but could not be deleted: ") + *failure,
                          true};
    }
    return std::nullopt;
}

std::optional<QString> WipeFile(const platform::OpenFolder& folder, const QString& name) {
    if (auto failure = wipeAndDelete(folder, name)) {
        return failure->reason;
    }
    return std::nullopt;
}

std::optional<QString> WipeFile(const QString& path, const platform::DriveMap& drives) {
    const FolderAndName parts = splitPath(path);
    auto folder = drives.openFolder(parts.folder);
    if (auto* failure = std::get_if<QString>(&folder)) {
        return QStringLiteral("its folder cannot be opened: ") + *failure;
    }
    const auto& opened = std::get<platform::OpenFolder>(folder);
    const platform::EntryMatch match = opened.find(parts.name);
    if (auto failure = unusableForWipe(match)) {
        return failure;
    }
    return WipeFile(opened, match.name);
}

}  // namespace kestrix::removal
