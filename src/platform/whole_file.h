#pragma once

#include "platform/unique_handle.h"

#include <QByteArray>
#include <QString>
#include <variant>

namespace kestrix::platform {

// The whole content of the regular file at `path`, read at once and closed again, or the reason
// it was not read, in words for the user. What is no regular file is refused (a pipe or a
// device would hold us, or never end), and so is a file larger than `largest` bytes, and one
// that holds more than its size says (it grew meanwhile, or is one of /proc's): no more than
// one byte past its size, and so past `largest`, is ever read.
[[nodiscard]] std::variant<QByteArray, QString> readWholeFile(const QString& path, qint64 largest);
// The same of a file opened already, which stays open.
[[nodiscard]] std::variant<QByteArray, QString> readWholeFile(const UniqueHandle& file,
                                                              qint64 largest);

}  // namespace kestrix::platform
