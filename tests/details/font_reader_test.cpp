#include "details/font_reader.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace kestrix::details {
namespace {

using namespace std::chrono_literals;

// The verdict crosses a real pipe byte for byte: "\n", "\r\n" and Ctrl+Z in a font's bytes
// come back as they are, where a stream in text mode would change or end them.
TEST(FontReaderTest, HandsBackAFontsBytesUntouchedThroughItsPipe) {
    const QByteArray font =
        test::contentOf(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
    ASSERT_TRUE(font.contains("\r\n") && font.contains("\x1a") &&
                QByteArray(font).replace("\r\n", "").contains('\n'))
        << "the font lacks the bytes this test is about";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("font.ttf"));
    test::writeFile(path, font);
    FontReader reader(QStringLiteral(KESTRIX_FONT_READER), 10s);
    std::map<QString, FontVerdict> verdicts;
    QObject::connect(
        &reader, &FontReader::verdictRead,
        [&](const QString& key, const FontVerdict& verdict) { verdicts.emplace(key, verdict); });
    reader.request(QStringLiteral("with bytes"), {path, true});
    reader.request(QStringLiteral("names only"), {path, false});
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.idle(); }, 20000));
    ASSERT_EQ(verdicts.size(), 2U);
    for (const auto& [key, verdict] : verdicts) {
        EXPECT_EQ(verdict.kind, FontVerdict::Kind::Font) << key.toStdString();
        EXPECT_EQ(verdict.family, QStringLiteral("DejaVu Sans")) << key.toStdString();
    }
    EXPECT_TRUE(verdicts.at(QStringLiteral("with bytes")).bytes == test::contentOf(path));
    EXPECT_TRUE(verdicts.at(QStringLiteral("names only")).bytes.isEmpty());
}

}  // namespace
}  // namespace kestrix::details
