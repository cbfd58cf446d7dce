#include "details/details_text.h"

#include <QDateTime>
#include <QLocale>

namespace kestrix::details {

QString familyLine(const QString& family) {
    return QStringLiteral("Family: ") + family;
}

QString styleLine(const QString& style) {
    return QStringLiteral("Style: ") + style;
}

QStringList verdictLines(const FontVerdict& verdict) {
    switch (verdict.kind) {
        case FontVerdict::Kind::Font:
            return {familyLine(verdict.family), styleLine(verdict.style)};
        case FontVerdict::Kind::NotAFont:
            return {QStringLiteral("Not a readable font file: ") + verdict.reason};
        case FontVerdict::Kind::NoReader:
            return {QStringLiteral("The font's names cannot be read: ") + verdict.reason};
    }
    return {};
}

QString describeRow(const QString& row, const std::optional<FontVerdict>& verdict,
                    const QFileInfo& file) {
    QStringList lines{row};
    lines << (verdict ? verdictLines(*verdict)
                      : QStringList{QStringLiteral("Reading the font...")});
    if (file.isFile()) {
        const QLocale locale;
        lines << QStringLiteral("Size: ") + locale.toString(file.size()) + QStringLiteral(" bytes");
        lines << QStringLiteral("Modified: ") +
                     locale.toString(file.lastModified(), QLocale::ShortFormat);
    }
    return lines.join(u'\n');
}

}  // namespace kestrix::details
