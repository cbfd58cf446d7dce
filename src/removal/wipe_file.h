#pragma once

#include "platform/drive_map.h"
#include "platform/wipe_target.h"

#include <QString>
#include <optional>
#include <variant>

namespace kestrix::removal {

constexpr qint64 wipeBlockSize = 4096;

// Why a resolved path cannot be wiped; nothing when it leads to an existing file.
[[nodiscard]] std::optional<QString> unusableForWipe(const platform::ResolvedPath& path);

// Opens the file at a Windows path for the wipe. Fails, touching nothing, when the path leads
// to no file, to several files that differ only in letter case, or to something that must not
// be wiped. Returns the target, or the reason.
[[nodiscard]] std::variant<platform::WipeTarget, QString> OpenForWipe(
    const QString& path, const platform::DriveMap& drives);

// Overwrites the content block by block, each block first with "X" and at once with blanks,
// up to the next whole block past its end, and makes it reach the storage device. Returns
// the reason when it could not.
[[nodiscard]] std::optional<QString> OverwriteFile(platform::WipeTarget& file);

// Overwrites the file at a Windows path and deletes it. A link, or a file that other names
// share, loses only this name. Returns the reason the file was not removed; nothing on success.
[[nodiscard]] std::optional<QString> WipeFile(const QString& path,
                                              const platform::DriveMap& drives);

}  // namespace kestrix::removal
