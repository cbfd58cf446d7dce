#pragma once

#include <QString>
#include <variant>

namespace kestrix::ui {

// A value that is empty, a whole number or a text, converted on use: empty counts as 0 in
// arithmetic and as "" when shown, and a text of decimal digits counts as its number.
class LooseValue {
public:
    LooseValue() = default;
    static LooseValue integer(qint64 value) { return LooseValue(value); }
    static LooseValue text(QString value) { return LooseValue(std::move(value)); }

    [[nodiscard]] bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    [[nodiscard]] bool isInteger() const { return std::holds_alternative<qint64>(value_); }
    [[nodiscard]] bool isText() const { return std::holds_alternative<QString>(value_); }

    [[nodiscard]] QString toText() const;
    // Empty, and text that is not a decimal number that fits 64 bits, count as 0.
    [[nodiscard]] qint64 toInteger() const;
    // The integer one more than this value; the largest 64-bit number stays as it is.
    [[nodiscard]] LooseValue plusOne() const;

    friend bool operator==(const LooseValue&, const LooseValue&) = default;

private:
    template <typename T>
    explicit LooseValue(T value) : value_(std::move(value)) {}
    std::variant<std::monostate, qint64, QString> value_;
};

}  // namespace kestrix::ui
