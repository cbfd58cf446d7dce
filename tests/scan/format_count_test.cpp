#include "scan/format_count.h"

#include <gtest/gtest.h>

namespace kestrix::scan {
namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

TEST(FormatCount, GroupsDigitsWithTheLocaleSeparator) {
    EXPECT_EQ(FormatCount(0, english), "0");
    EXPECT_EQ(FormatCount(7, english), "7");
    EXPECT_EQ(FormatCount(999, english), "999");
    EXPECT_EQ(FormatCount(1234, english), "1,234");
    EXPECT_EQ(FormatCount(1234567890, english), "1,234,567,890");
    EXPECT_EQ(FormatCount(1234, german), "1.234");
    EXPECT_EQ(FormatCount(1234567, german), "1.234.567");
    // Threes in every locale, even where the locale groups otherwise or not below 10,000.
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    EXPECT_EQ(FormatCount(1234, spanish), "1.234");
    EXPECT_EQ(FormatCount(1234567, spanish), "1.234.567");
    EXPECT_EQ(FormatCount(1234, QLocale(QLocale::Polish, QLocale::Poland)), u"1\u00a0234");
    const QLocale hindi(QLocale::Hindi, QLocale::India);
    EXPECT_EQ(FormatCount(1234567, hindi), "1,234,567");
    EXPECT_EQ(FormatCount(999, hindi), "999");
    // The C locale, as on a bare machine, still groups.
    EXPECT_EQ(FormatCount(1234, QLocale::c()), "1,234");
}

TEST(PercentText, CutsTheFifteenDigitQuotient) {
    EXPECT_EQ(PercentText(29, 100, english), "29");  // 28.999999999999996 is written as 29
    EXPECT_EQ(PercentText(1, 3, english), "33");
    EXPECT_EQ(PercentText(2, 3, english), "66");
    EXPECT_EQ(PercentText(0, 5, english), "0");
    EXPECT_EQ(PercentText(5, 5, english), "100");
    EXPECT_EQ(PercentText(1, 1, english), "100");
    EXPECT_EQ(PercentText(1, 7, english), "14");
}

TEST(PercentText, IsAWholeNumberInEveryLocale) {
    EXPECT_EQ(PercentText(1, 3, german), "33");
    EXPECT_EQ(PercentText(2, 3, german), "66");
    EXPECT_EQ(PercentText(1, 3, QLocale(QLocale::French, QLocale::France)), "33");
    // Tiny shares would be written with an exponent.
    EXPECT_EQ(PercentText(1, 10'000'000, english), "0");
    EXPECT_EQ(PercentText(1, 1'000'000, english), "0");
}

}  // namespace
}  // namespace kestrix::scan
