#include "details/font_file.h"

#include "details/font_sample.h"
#include "details/name_table.h"
#include "details/sample_drawing.h"
#include "platform/whole_file.h"

#include <QLocale>
#include <QRawFont>

namespace kestrix::details {

namespace {

// The name the font records for itself in the user's language where it can, else the one the
// font engine reads (which knows more formats, but gives "?" for every letter outside Latin-1).
QString nameOf(const QRawFont& font, FontName which) {
    const QString recorded =
        recordedName(font.fontTable("name"), which, QLocale::system().uiLanguages());
    const QString engines = which == FontName::Family ? font.familyName() : font.styleName();
    return oneLine(recorded.isEmpty() ? engines : recorded);
}

}  // namespace

FontVerdict readFontFile(const ReadRequest& request, const platform::UniqueHandle& handed) {
    auto read = handed ? platform::readWholeFile(handed, largestFontFile)
                       : platform::readWholeFile(request.hostPath, largestFontFile);
    if (const auto* reason = std::get_if<QString>(&read)) {
        return FontVerdict::notAFont(*reason);
    }
    const QByteArray bytes = std::get<QByteArray>(std::move(read));
    if (bytes.isEmpty()) {
        return FontVerdict::notAFont(QStringLiteral("the file is empty"));
    }
    const QRawFont font(bytes, pixelSize(samplePointSizes.front()));
    if (!font.isValid()) {
        return FontVerdict::notAFont(
            QStringLiteral("the font engine does not recognise it as a font"));
    }
    FontVerdict verdict =
        FontVerdict::font(nameOf(font, FontName::Family), nameOf(font, FontName::Style));
    if (request.withSamples) {
        verdict.samples = drawSamples(bytes, request.pixelRatio);
        if (verdict.samples.isEmpty()) {
            return FontVerdict::notAFont(QStringLiteral("the font engine cannot draw it"));
        }
    }
    return verdict;
}

}  // namespace kestrix::details
