// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts: every field format the program writes numbers in.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "core/number_text.h"
#include "core/text.h"

namespace vorax {
namespace {

struct DigitCase {
    const char* name;
    long long n;
    int expected;
};

TEST(DigitCount, CountsDigitsAndTheMinusSign)
{
    const DigitCase cases[] = {
        {"zero", 0, 1},
        {"one_digit", 7, 1},
        {"nine", 9, 1},
        {"ten", 10, 2},
        {"node_count_250", 250, 3},
        {"power_of_ten", 1000, 4},
        {"just_below_power", 999999, 6},
        {"minus_one", -1, 2},
        {"minus_ten", -10, 3},
        {"largest_32_bit", 2147483647, 10},
        {"smallest_32_bit", -2147483648LL, 11},
        {"largest_64_bit", LLONG_MAX, 19},
        {"smallest_64_bit", LLONG_MIN, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(digit_count(c.n), c.expected);
        EXPECT_EQ(digit_count(c.n), static_cast<int>(std::to_string(c.n).size()));
    }
}

struct FormatCase {
    const char* name;
    double value;
    int width;
    int digits;
    const char* expected;
};

TEST(GeneralFormat, ExtentsIn14By7AndTheScalingRatioIn12By4)
{
    const FormatCase cases[] = {
        // Fixed notation: 7 significant digits in 10 characters, then four blanks.
        {"twelve_and_a_half", 12.5, 14, 7, "  12.50000    "},
        {"zero_has_six_decimals", 0.0, 14, 7, "  0.000000    "},
        {"negative_zero_shows_as_zero", -0.0, 14, 7, "  0.000000    "},
        {"minus_250", -250.0, 14, 7, " -250.0000    "},
        {"lower_edge_of_fixed", 0.1, 14, 7, " 0.1000000    "},
        {"whole_seven_digits", 9999999.0, 14, 7, "  9999999.    "},
        {"negative_small_fixed", -0.5, 14, 7, "-0.5000000    "},
        {"rounds_up_within_fixed", 1234.56789, 14, 7, "  1234.568    "},
        {"float_value_shows_its_digits", static_cast<float>(12.3), 14, 7, "  12.30000    "},
        // Exponent form: 0., seven digits, E, sign, two digits.
        {"thousandth", 0.001, 14, 7, " 0.1000000E-02"},
        {"ten_million", 1e7, 14, 7, " 0.1000000E+08"},
        {"eight_digits", 12345678.0, 14, 7, " 0.1234568E+08"},
        {"negative_exponent_form", -0.001, 14, 7, "-0.1000000E-02"},
        {"rounding_crosses_into_exponent_form", 9999999.7, 14, 7, " 0.1000000E+08"},
        {"rounding_crosses_into_fixed", 0.09999999999, 14, 7, " 0.1000000    "},
        {"just_below_a_tenth", 0.0999, 14, 7, " 0.9990000E-01"},
        {"three_digit_exponent_drops_the_letter", 1e100, 14, 7, " 0.1000000+101"},
        {"tiny", 1.5e-30, 14, 7, " 0.1500000E-29"},
        // The scaling ratio.
        {"one_and_a_half", 1.5, 12, 4, "   1.500    "},
        {"two", 2.0, 12, 4, "   2.000    "},
        {"one", 1.0, 12, 4, "   1.000    "},
        {"largest_fixed", 9999.0, 12, 4, "   9999.    "},
        {"a_tenth", 0.1, 12, 4, "  0.1000    "},
        {"hundred_thousands", 123456.0, 12, 4, "  0.1235E+06"},
        {"ten_thousand", 10000.0, 12, 4, "  0.1000E+05"},
        {"rounds_to_ten_thousand", 9999.6, 12, 4, "  0.1000E+05"},
        {"small_ratio", 0.05, 12, 4, "  0.5000E-01"},
        {"negative_large", -123456.0, 12, 4, " -0.1235E+06"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(general_format(c.value, c.width, c.digits), c.expected);
    }
}

TEST(GeneralFormat, TextsThatDoNotFitAndNonFiniteValues)
{
    EXPECT_EQ(general_format(1234567.0, 8, 7), "********");
    EXPECT_EQ(general_format(1e200, 10, 7), "**********");
    EXPECT_EQ(general_format(std::numeric_limits<double>::infinity(), 14, 7), "      Infinity");
    EXPECT_EQ(general_format(-std::numeric_limits<double>::infinity(), 14, 7), "     -Infinity");
    EXPECT_EQ(general_format(std::numeric_limits<double>::quiet_NaN(), 12, 4), "         NaN");
    EXPECT_EQ(general_format(std::numeric_limits<double>::infinity(), 5, 4), "  Inf");
}

TEST(FixedFormat, ScaleLabelsIn9By2AndTheFactorIn10By2)
{
    const FormatCase cases[] = {
        {"scale_label_negative", -12.5, 9, 2, "   -12.50"},
        {"scale_label_zero", 0.0, 9, 2, "     0.00"},
        {"scale_label_ten", 10.0, 9, 2, "    10.00"},
        {"scale_label_rounds", 2.345678, 9, 2, "     2.35"},
        {"scale_label_fills_field", 123456.78, 9, 2, "123456.78"},
        {"scale_label_too_wide", 1234567.0, 9, 2, "*********"},
        {"negative_too_wide", -123456.78, 9, 2, "*********"},
        {"tiny_negative_is_zero", -0.0001, 9, 2, "     0.00"},
        {"factor_two_and_a_half", 2.5, 10, 2, "      2.50"},
        {"factor_fraction", 0.25, 10, 2, "      0.25"},
        {"no_decimals_keeps_point", 12.0, 5, 0, "  12."},
        {"huge", 1e300, 9, 2, "*********"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fixed_format(c.value, c.width, c.digits), c.expected);
    }
    // A left-adjusted label keeps nine characters.
    EXPECT_EQ(left_adjust(fixed_format(-12.5, 9, 2)), "-12.50   ");
    EXPECT_EQ(std::string(trim_left(fixed_format(2.5, 10, 2))), "2.50");
}

struct TidyCase {
    const char* name;
    const char* text;
    const char* expected; // without the padding to the field
};

TEST(TidyNumber, DropsTrailingZerosOfTheFractionAndKeepsTheLengthOfItsField)
{
    const TidyCase cases[] = {
        {"twelve_and_a_half", "  12.50000    ", "12.5"},
        {"zero_keeps_its_point", "  0.000000    ", "0."},
        {"minus_250", " -250.0000    ", "-250."},
        {"exponent_kept", " 0.1000000E-02", "0.1E-02"},
        {"nothing_to_drop", " 0.1234567E+08", "0.1234567E+08"},
        {"three_decimals", "1234.500", "1234.5"},
        {"d_exponent", "0.1500000D+03", "0.15D+03"},
        {"lower_case_exponent", "0.2500e-01", "0.25e-01"},
        {"no_point_only_adjusted", "   12345", "12345"},
        {"no_point_with_exponent", "  12E+03", "12E+03"},
        {"whole_number_with_point", "  9999999.    ", "9999999."},
        {"three_digit_exponent_form", " 0.1000000+101", "0.1000000+101"},
        {"blank", "        ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string field = pad_right(c.text, 24);
        std::string tidied = tidy_number(field);
        EXPECT_EQ(tidied.size(), 24u);
        EXPECT_EQ(std::string(trim_right(tidied)), c.expected);
    }
    EXPECT_EQ(tidy_number("  12.50000    "), "12.5          ");
    EXPECT_EQ(tidy_number("12.50"), "12.5 ");
}

TEST(TidyNumber, RoundTripOfTheExtentFormat)
{
    // Formatting and tidying keeps the value: reading the text back gives the same float.
    const float values[] = {0.0f, 1.0f, -1.5f, 12.5f, 0.001f, 1234.5f, 3.0e8f, -7.25e-5f, 0.1f};
    for (float v : values) {
        SCOPED_TRACE(v);
        std::string text(trim_right(tidy_number(pad_right(general_format(v, 14, 7), 24))));
        EXPECT_EQ(static_cast<float>(std::stod(text)), v);
    }
}

TEST(PointedNumbers, StoredRealsAsTheFileGaveThemAndMeasuresToThreeDecimals)
{
    struct Case {
        float value;
        const char* stored;
    };
    const Case stored[] = {
        {4.0f, "4.000"},       {0.0f, "0.000"},        {-0.0f, "0.000"},     {-0.005f, "-0.005"},
        {12.375f, "12.375"},   {1.23456f, "1.23456"},  {0.0015f, "0.0015"},  {0.1f, "0.100"},
        {-250.0f, "-250.000"}, {1.5e-7f, "1.5E-07"},   {3.0e20f, "3E+20"},   {123456.7f, "123456.700"},
    };
    for (const Case& c : stored) {
        EXPECT_EQ(stored_real_text(c.value), c.stored) << c.value;
        // What is shown reads back as the very value.
        EXPECT_EQ(std::stof(stored_real_text(c.value)), c.value) << c.value;
    }
    EXPECT_EQ(measure_text(std::sqrt(32.0)), "5.657");
    EXPECT_EQ(measure_text(4.0), "4.000");
    EXPECT_EQ(measure_text(0.0), "0.000");
    EXPECT_EQ(measure_text(0.0004), "0.0004"); // would read 0.000
    EXPECT_EQ(measure_text(2.0e15), "2E+15");
}

} // namespace
} // namespace vorax
