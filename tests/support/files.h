#pragma once

#include <QByteArray>
#include <QString>

namespace kestrix::test {

// The bytes of a file; "<missing>" when there is none to read.
[[nodiscard]] QByteArray contentOf(const QString& path);

// Writes a file whole, replacing what it held.
void writeFile(const QString& path, const QByteArray& bytes);

}  // namespace kestrix::test
