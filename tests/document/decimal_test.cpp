#include "document/decimal.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(Decimal, ReadsOneOptionalSignAndDigitsOnly) {
    EXPECT_EQ(ParseDecimal("42"), 42);
    EXPECT_EQ(ParseDecimal("+42"), 42);
    EXPECT_EQ(ParseDecimal("-42"), -42);
    EXPECT_EQ(ParseDecimal("0007"), 7);
    EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
    for (const char *bad : {"", "+", "-", "+-5", "-+5", "--5", "++5", " 5", "5 ", "0x10", "1e3",
                            "2147483648", "-2147483649", "4.0"})
        EXPECT_EQ(ParseDecimal(bad), std::nullopt) << '"' << bad << '"';
}

} // namespace
} // namespace morvane
