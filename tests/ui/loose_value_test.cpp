#include "ui/loose_value.h"

#include <gtest/gtest.h>

namespace kestrix::ui {
namespace {

TEST(LooseValue, KeepsItsKindAndConvertsOnUse) {
    const LooseValue empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.toText(), "");
    EXPECT_EQ(empty.toInteger(), 0);
    EXPECT_EQ(empty.plusOne(), LooseValue::integer(1));

    const LooseValue zero = LooseValue::integer(0);
    EXPECT_TRUE(zero.isInteger());
    EXPECT_EQ(zero.toText(), "0");

    const LooseValue stored = LooseValue::text("007");
    EXPECT_TRUE(stored.isText());
    EXPECT_EQ(stored.toText(), "007");
    EXPECT_EQ(stored.plusOne().toText(), "8");
}

TEST(LooseValue, TextThatIsNotADecimalNumberCountsAsZero) {
    EXPECT_EQ(LooseValue::text("").toInteger(), 0);
    EXPECT_EQ(LooseValue::text("12abc").toInteger(), 0);
    EXPECT_EQ(LooseValue::text("-3").toInteger(), 0);
    EXPECT_EQ(LooseValue::text("1.5").toInteger(), 0);
    EXPECT_EQ(LooseValue::text("99999999999999999999").toInteger(), 0);  // beyond 64 bits
    EXPECT_EQ(LooseValue::text("9223372036854775806").plusOne().toText(), "9223372036854775807");
}

}  // namespace
}  // namespace kestrix::ui
