#include "details/font_reader.h"
#include "details/reader_protocol.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTest>

namespace kestrix::details {
namespace {

// A verdict crosses a real pipe byte for byte: its samples hold all kinds of bytes, and a stream
// in text mode would turn each "\n" among them into "\r\n", and so break the sizes the verdict
// tells.
TEST(FontReaderTest, HandsBackItsVerdictsUntouchedThroughItsPipe) {
    QProcess reader;
    reader.start(QStringLiteral(KESTRIX_FONT_READER), QStringList());
    ASSERT_TRUE(reader.waitForStarted());
    reader.write(encodeRequest(
        {QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"), true, 1}));
    QByteArray received;
    std::optional<FontVerdict> verdict;
    while (!verdict && reader.waitForReadyRead(20000)) {
        received += reader.readAllStandardOutput();
        QByteArray rest = received;
        verdict = takeVerdict(rest);
        if (verdict) {
            EXPECT_TRUE(rest.isEmpty()) << rest.size() << " bytes too many";
        }
    }
    reader.closeWriteChannel();
    ASSERT_TRUE(reader.waitForFinished());
    ASSERT_TRUE(received.contains('\n')) << "the verdict lacks the bytes this test is about";
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->kind, FontVerdict::Kind::Font) << verdict->reason.toStdString();
    EXPECT_EQ(verdict->family, QStringLiteral("DejaVu Sans"));
    ASSERT_EQ(verdict->samples.size(), 3);
    for (const QImage& sample : verdict->samples) {
        EXPECT_FALSE(sample.isNull());
    }
}

}  // namespace
}  // namespace kestrix::details
