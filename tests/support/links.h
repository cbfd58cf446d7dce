#pragma once

#include <QString>
#include <optional>

namespace kestrix::test {

// Gives the file at `existing` a second name. Returns why it could not; nothing when it did.
std::optional<QString> hardLink(const QString& existing, const QString& newName);

// Makes `link` a symbolic link to the file `target`, which need not exist. Returns why it could
// not (Wine, for one, makes none); nothing when the link is there.
std::optional<QString> symbolicLink(const QString& target, const QString& link);

}  // namespace kestrix::test
