#pragma once

#include "platform/drive_map.h"
#include "platform/open_folder.h"
#include "platform/wipe_target.h"

#include <QString>
#include <optional>
#include <variant>

namespace kestrix::removal {

constexpr qint64 wipeBlockSize = 4096;

// Why an entry cannot be wiped; nothing when it was found.
[[nodiscard]] std::optional<QString> unusableForWipe(const platform::EntryMatch& match);

// A Windows path's folder, and the name in it.
struct FolderAndName {
    QString folder;
    QString name;
};
[[nodiscard]] FolderAndName splitPath(const QString& path);

// Overwrites the content block by block, each block first with "X" and at once with blanks,
// up to the next whole block past its end, and makes it reach the storage device. Returns
// the reason, saying how far it got, when it could not.
[[nodiscard]] std::optional<QString> OverwriteFile(platform::WipeTarget& file);

// Why a file was not removed, and whether its content is gone all the same: overwritten, but
// the delete was refused.
struct NotRemoved {
    QString reason;
    bool overwritten = false;
};

// Overwrites the entry `name` of an open folder and deletes it. A link, or a file that other
// names share, loses only this name. Returns why the file was not removed; nothing on success.
[[nodiscard]] std::optional<NotRemoved> wipeAndDelete(const platform::OpenFolder& folder,
                                                      const QString& name);
// The same, telling only the reason.
[[nodiscard]] std::optional<QString> WipeFile(const platform::OpenFolder& folder,
                                              const QString& name);

// The same for the file at a Windows path, found as Windows finds it, in its folder opened
// for this one file.
[[nodiscard]] std::optional<QString> WipeFile(const QString& path,
                                              const platform::DriveMap& drives);

}  // namespace kestrix::removal
