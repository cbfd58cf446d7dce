#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace kestrix::platform {

// Puts a new file holding the pieces, one after another, in the place of `path` (of the file a
// link there leads to), all or nothing: the new file is written beside the old one, reaches
// the storage device, takes the old one's name, and then the folder is flushed too. Returns
// the reason when it could not; unless the reason says the new file is in place, the old file
// is left exactly as it was.
[[nodiscard]] std::optional<QString> replaceFile(const QString& path,
                                                 const std::vector<QByteArrayView>& pieces);

}  // namespace kestrix::platform
