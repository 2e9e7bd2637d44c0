#include <gtest/gtest.h>

#include "core/store/NumberText.h"

namespace vk {

TEST(NumberText, SetupRealsHaveFifteenDigitsAndAFourDigitExponent)
{
    EXPECT_EQ(FormatSetupReal(1000.0), " 1.00000000000000E+0003");
    EXPECT_EQ(FormatSetupReal(-0.25), "-2.50000000000000E-0001");
    EXPECT_EQ(FormatSetupReal(0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatSetupReal(31622400000.0), " 3.16224000000000E+0010");
    EXPECT_EQ(FormatSetupReal(1e-300), " 1.00000000000000E-0300");
    for (double v : {0.1, -123.456789012345, 6.02214076e23, 65535.0, 1.0 / 3.0}) {
        double back = 0;
        ASSERT_TRUE(ParseDecimal(FormatSetupReal(v), back));
        EXPECT_NEAR(back, v, std::abs(v) * 1e-14);
    }
}

TEST(NumberText, DecimalsTakeTheFirstCommaAsPoint)
{
    double v = 0;
    EXPECT_TRUE(ParseDecimal("12,5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(ParseDecimal("  +3.25 ", v));
    EXPECT_EQ(v, 3.25);
    EXPECT_TRUE(ParseDecimal("-1e3", v));
    EXPECT_EQ(v, -1000.0);
    EXPECT_TRUE(ParseDecimal(".5", v));
    EXPECT_EQ(v, 0.5);
    EXPECT_TRUE(ParseDecimal("-,5", v));
    EXPECT_EQ(v, -0.5);
    // Long digit strings and exponents take the full conversion, with the comma too.
    EXPECT_TRUE(ParseDecimal(",44444444444444444444444444", v));
    EXPECT_EQ(v, 0.44444444444444444444444444);
    EXPECT_TRUE(ParseDecimal("2,5e-3", v));
    EXPECT_EQ(v, 0.0025);
    EXPECT_TRUE(ParseDecimal("0.1", v));
    EXPECT_EQ(v, 0.1);
    for (const char* bad : {"", " ", "5x", "1,2,3", "abc", "inf", "nan", "-", "+", "1e999", "--1", "+-1"})
        EXPECT_FALSE(ParseDecimal(bad, v)) << bad;

    int64_t n = 0;
    EXPECT_TRUE(ParseInteger(" 42", n));
    EXPECT_EQ(n, 42);
    EXPECT_TRUE(ParseInteger("-7", n));
    EXPECT_EQ(n, -7);
    for (const char* bad : {"", "5x", "4.0", "99999999999999999999"})
        EXPECT_FALSE(ParseInteger(bad, n)) << bad;
}

}  // namespace vk
