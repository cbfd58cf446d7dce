#pragma once

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace kestrix::platform {

// What became of a replace: whether the new file holds the name, and why not; or, when it
// does, why it may still be lost in a crash of the system (empty when nothing went wrong).
struct ReplaceResult {
    bool inPlace = false;
    QString reason;
};

// Puts a new file holding the pieces, one after another, in the place of `path`, all or
// nothing: the new file is written beside the old one, takes its owner, group and permissions
// (one who may write the file but not give it away becomes its owner), reaches the storage
// device, takes the old one's name, and then the folder is flushed too.
// Where `path` is a link, the file at the end of its chain of links is the one replaced; a
// link that leads nowhere is refused rather than followed into making a file. Unless the new
// file is in place, the old file is left exactly as it was.
[[nodiscard]] ReplaceResult replaceFile(const QString& path,
                                        const std::vector<QByteArrayView>& pieces);

}  // namespace kestrix::platform
