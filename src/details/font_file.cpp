#include "details/font_file.h"

#include "details/name_table.h"
#include "platform/whole_file.h"

#include <QImage>
#include <QLocale>
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

// The name the font records for itself in the user's language where it can, else the one the
// font engine reads (which knows more formats, but gives "?" for every letter outside Latin-1).
QString nameOf(const QRawFont& font, FontName which) {
    const QString recorded =
        recordedName(font.fontTable("name"), which, QLocale::system().uiLanguages());
    const QString engines = which == FontName::Family ? font.familyName() : font.styleName();
    return oneLine(recorded.isEmpty() ? engines : recorded);
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
    FontVerdict verdict =
        FontVerdict::font(nameOf(font, FontName::Family), nameOf(font, FontName::Style));
    verdict.bytes = std::move(bytes);
    return verdict;
}

}  // namespace kestrix::details
