#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kestrix::platform {
namespace {

// The bytes this thread has read so far, as the kernel counts them.
qint64 bytesReadByThisThread() {
    QFile io(QStringLiteral("/proc/thread-self/io"));
    if (!io.open(QIODevice::ReadOnly)) {
        return -1;
    }
    static const QRegularExpression rchar(QStringLiteral("^rchar: (\\d+)$"),
                                          QRegularExpression::MultilineOption);
    return rchar.match(QString::fromLatin1(io.readAll())).captured(1).toLongLong();
}

TEST(ReadWholeFile, TakesAtMostItsLimitAndOneByteWhateverTheSizeSaid) {
    if (bytesReadByThisThread() < 0) {
        GTEST_SKIP() << "the kernel does not count what a thread reads";
    }
    const QTemporaryDir dir;
    // Files whose size says 0 while they hold more than the limit, as a file that grew since
    // its size was asked does; pagemap holds gigabytes.
    const struct {
        const char* target;
        qint64 limit;
    } rows[] = {{"/proc/self/maps", 1024}, {"/proc/self/pagemap", 1 << 20}};
    for (const auto& row : rows) {
        const QString link = dir.filePath(QStringLiteral("Info.ini"));
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(QString::fromLatin1(row.target), link));
        const qint64 before = bytesReadByThisThread();
        const auto read = readWholeFile(link, row.limit);
        const qint64 after = bytesReadByThisThread();
        // Looking at the counter counts too.
        const qint64 taken = after - before - (bytesReadByThisThread() - after);
        EXPECT_TRUE(std::holds_alternative<QString>(read)) << row.target;
        EXPECT_LE(taken, row.limit + 1) << row.target;
    }
}

}  // namespace
}  // namespace kestrix::platform
