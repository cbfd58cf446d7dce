#include "support/files.h"

#include <QFile>

namespace kestrix::test {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace kestrix::test
