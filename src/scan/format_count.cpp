#include "scan/format_count.h"

namespace kestrix::scan {

QString FormatCount(qint64 count, const QLocale& locale) {
    // The locale's own grouping rules differ (none below 10,000 in Spanish, pairs in India):
    // its digits and separator are used, in groups of three.
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = plain.toString(count);
    const qsizetype group = 3 * locale.zeroDigit().size();
    const qsizetype sign = count < 0 ? locale.negativeSign().size() : 0;
    for (qsizetype at = text.size() - group; at > sign; at -= group) {
        text.insert(at, locale.groupSeparator());
    }
    return text;
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
