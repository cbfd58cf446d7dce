#include "ui/loose_value.h"

#include <algorithm>
#include <limits>

namespace kestrix::ui {

namespace {

qint64 decimalNumber(const QString& text) {
    const QString digits = text.trimmed();
    const bool allDigits =
        !digits.isEmpty() &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool fits = false;
    const qint64 number = allDigits ? digits.toLongLong(&fits) : 0;
    return fits ? number : 0;
}

}  // namespace

QString LooseValue::toText() const {
    if (const auto* number = std::get_if<qint64>(&value_)) {
        return QString::number(*number);
    }
    if (const auto* text = std::get_if<QString>(&value_)) {
        return *text;
    }
    return QString();
}

qint64 LooseValue::toInteger() const {
    if (const auto* number = std::get_if<qint64>(&value_)) {
        return *number;
    }
    if (const auto* text = std::get_if<QString>(&value_)) {
        return decimalNumber(*text);
    }
    return 0;
}

LooseValue LooseValue::plusOne() const {
    const qint64 number = toInteger();
    return integer(number == std::numeric_limits<qint64>::max() ? number : number + 1);
}

}  // namespace kestrix::ui
