#include "details/font_reader.h"
#include "details/font_sample.h"
#include "details/reader_protocol.h"
#include "details/sample_drawing.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTest>
#include <QtMath>

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

// Every letter a bar about a hundred times wider than its advance: drawn more than 2048 device
// pixels wide, such samples overflowed a buffer on the font engine's stack. (Each is read by a
// reader of its own: their glyphs take hundreds of megabytes, which the sanitizers hold on to.)
TEST(FontReaderTest, DrawsGlyphsFarWiderThanTheirAdvanceAtEveryPixelRatio) {
    for (const char* font :
         {"wide-glyphs-up.ttf", "wide-glyphs-down.ttf", "wide-glyphs-across.ttf"}) {
        for (const double ratio : {1.0, 2.0, 3.95, 4.0}) {
            const std::string row = font + std::string(" at ") + std::to_string(ratio) + ": ";
            FontReader reader(QStringLiteral(KESTRIX_FONT_READER), readerPatience);
            std::optional<FontVerdict> read;
            QObject::connect(&reader, &FontReader::verdictRead,
                             [&](const QString&, const FontVerdict& verdict) { read = verdict; });
            reader.request(
                {}, {QStringLiteral(KESTRIX_TEST_FONTS "/") + QLatin1String(font), true, ratio});
            ASSERT_TRUE(QTest::qWaitFor([&] { return read.has_value(); }, 20000)) << row;
            EXPECT_EQ(read->kind, FontVerdict::Kind::Font) << row << read->reason.toStdString();
            ASSERT_EQ(read->samples.size(), 3) << row;
            for (const QImage& sample : read->samples) {
                EXPECT_EQ(sample.width(), qMin(qCeil(sampleWidth * ratio), widestSample)) << row;
            }
        }
    }
}

}  // namespace
}  // namespace kestrix::details
