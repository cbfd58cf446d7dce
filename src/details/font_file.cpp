#include "details/font_file.h"

#include "platform/whole_file.h"

#include <QImage>
#include <QRawFont>

namespace kestrix::details {

namespace {

// The pixel size of a point size on a 96 dpi screen, as the preview draws it.
qreal pixelSize(int points) {
    return points * 96.0 / 72.0;
}

// Draws the sample's glyphs at every sample size, so that a file on which the engine stumbles
// while drawing stumbles here, in the reader, and never in the preview.
void drawSample(const QByteArray& bytes) {
    for (const int points : samplePointSizes) {
        const QRawFont font(bytes, pixelSize(points));
        for (const quint32 glyph : font.glyphIndexesForString(sampleText)) {
            (void)font.alphaMapForGlyph(glyph, QRawFont::PixelAntialiasing);
        }
    }
}

}  // namespace

FontVerdict readFontFile(const QString& hostPath) {
    auto read = platform::readWholeFile(hostPath, largestFontFile);
    if (const auto* reason = std::get_if<QString>(&read)) {
        return FontVerdict::notAFont(*reason);
    }
    QByteArray bytes = std::get<QByteArray>(std::move(read));
    if (bytes.isEmpty()) {
        return FontVerdict::notAFont(QStringLiteral("the file is empty"));
    }
    const QRawFont font(bytes, pixelSize(samplePointSizes.front()));
    if (!font.isValid()) {
        return FontVerdict::notAFont(
            QStringLiteral("the font engine does not recognise it as a font"));
    }
    drawSample(bytes);
    FontVerdict verdict = FontVerdict::font(font.familyName(), font.styleName());
    verdict.bytes = std::move(bytes);
    return verdict;
}

}  // namespace kestrix::details
