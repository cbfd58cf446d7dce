#pragma once

#include <QLocale>
#include <QString>

namespace kestrix::scan {

// A count as the figures show it: grouped in threes with the locale's thousands separator.
[[nodiscard]] QString FormatCount(qint64 count, const QLocale& locale = QLocale());

// The whole-number percentage of `part` in `whole`: the fraction is cut, not rounded, after
// the quotient has been written with 15 significant digits (so 29 of 100 is 29, not 28).
[[nodiscard]] QString PercentText(qint64 part, qint64 whole, const QLocale& locale = QLocale());

}  // namespace kestrix::scan
