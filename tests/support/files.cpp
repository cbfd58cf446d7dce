#include "support/files.h"

#include <gtest/gtest.h>
#include <QFile>

namespace kestrix::test {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace kestrix::test
