#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace kestrix::details {

// What reading a font file told: the names the file records for itself, or why it has none.
struct FontVerdict {
    enum class Kind {
        Font,      // names hold the family and style name
        NotAFont,  // reason says why the file is not a readable font
        NoReader,  // nothing could be read: reason says why the font reader did not run
    };
    Kind kind = Kind::NoReader;
    QString family;
    QString style;
    QString reason;
    // The sample line as the font reader drew it with the file's own glyphs, one alpha mask for
    // each sample size, when they were asked for.
    QList<QImage> samples;

    [[nodiscard]] static FontVerdict font(QString family, QString style) {
        return {Kind::Font, std::move(family), std::move(style), {}, {}};
    }
    [[nodiscard]] static FontVerdict notAFont(QString reason) {
        return {Kind::NotAFont, {}, {}, std::move(reason), {}};
    }
    [[nodiscard]] static FontVerdict noReader(QString reason) {
        return {Kind::NoReader, {}, {}, std::move(reason), {}};
    }
};

// The largest file read: TrueType offsets are 32-bit, and the largest real fonts are tens of
// megabytes; anything past this is not worth holding in memory.
constexpr qint64 largestFontFile = 256LL * 1024 * 1024;

}  // namespace kestrix::details
