#include "scan/format_count.h"

namespace kestrix::scan {

QString FormatCount(qint64 count, const QLocale& locale) {
    QLocale grouping = locale;
    grouping.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouping.toString(count);
}

QString PercentText(qint64 part, qint64 whole, const QLocale& locale) {
    const double percent = static_cast<double>(part) / static_cast<double>(whole) * 100.0;
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString text = plain.toString(percent, 'g', 15);
    if (text.contains(plain.exponential(), Qt::CaseInsensitive)) {
        return QStringLiteral("0");  // only quotients below 0.0001 are written with an exponent
    }
    qsizetype cut = text.indexOf(u'.');
    const qsizetype separator = text.indexOf(plain.decimalPoint());
    if (cut < 0 || (separator >= 0 && separator < cut)) {
        cut = separator;
    }
    return cut < 0 ? text : text.left(cut);
}

}  // namespace kestrix::scan
