// SPDX-License-Identifier: GPL-3.0-or-later
// The quick conversions of number_syntax.h against std::from_chars: what quick_real takes must
// be the float from_chars gives, bit for bit, and quick_integer the number parse_integer gives;
// named rows for the edges, and many generated texts of every form.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "model/number_syntax.h"

namespace vorax {
namespace {

// The float std::from_chars gives for a real in the model syntax (its plus sign dropped and its
// exponent letter made an e), when it is a finite float.
std::optional<float> reference(const std::string& text)
{
    std::string normal = text[0] == '+' ? text.substr(1) : text;
    for (char& c : normal)
        if (c == 'D' || c == 'd')
            c = 'e';
    float value = 0.0f;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error != std::errc{} || end != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// quick_real on `text`, which `cut` characters of digits may follow on its line (which then
// ends the text there), with room to read eight characters at a time past it or none.
std::optional<float> quick(const std::string& text, bool room, const std::string& cut = "")
{
    const std::string line = text + cut + "          \n";
    const char* at = line.data();
    const char* const end = at + text.size();
    float value = 0.0f;
    if (!quick_real(at, end, room ? line.data() + line.size() : end, 4096, value) || at != end)
        return std::nullopt;
    return value;
}

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

struct QuickCase {
    const char* name;
    const char* text;
    bool taken;
};

TEST(QuickReal, TakesPlainFormsAndLeavesTheHardOnes)
{
    const QuickCase cases[] = {
        {"fixed_form", "1238.75000", true},
        {"exponent_form_of_seven_digits", "1.238750E+03", true},
        {"d_letter_and_sign", "-9.500000D+01", true},
        {"lower_letters", "2.5e-1", true},
        {"plus_sign", "+0.12500", true},
        {"leading_zeros", "000123.4500", true},
        {"point_first", ".5", true},
        {"point_last", "5.", true},
        {"negative_zero", "-0.000", true},
        {"zero_with_large_exponent", "0e99", true},
        {"product_on_a_halfway_point", "3e10", true},         // ties to even
        {"another_product_on_a_halfway_point", "134219E3", true},
        {"quotient_of_the_float_range", "16777215e-10", true},
        {"digits_of_two_to_the_24", "16777216e-10", true},
        {"double_on_a_halfway_point", "16777217", false},
        {"just_above_a_halfway_point", "16777217.00000001", true},
        {"just_below_a_halfway_point", "16777216.99999999", true},
        {"sixteen_digits", "0.1234567890123456", true},
        {"digits_beyond_two_to_the_53", "9007199254740993", false},
        {"twenty_digits", "12345678901234567890", false},
        {"many_zeros_then_digits", "0.0000000000000000000000001234", false},
        {"power_above_22", "1e23", false},
        {"power_below_minus_22", "1e-23", false},
        {"three_exponent_digits", "1.5E-005", true},
        {"four_exponent_digits", "1.5E0005", false},
        {"exponent_without_digits", "1.5E", false},
        {"no_digits", "-.", false},
        {"two_points", "1.2.3", false},
    };
    for (const QuickCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool room : {true, false}) {
            const std::optional<float> value = quick(c.text, room);
            ASSERT_EQ(value.has_value(), c.taken);
            if (value) {
                const std::optional<float> expected = reference(c.text);
                ASSERT_TRUE(expected.has_value());
                EXPECT_EQ(bits(*value), bits(*expected));
            }
        }
    }
}

TEST(QuickReal, DigitsStopAtTheEndOfTheLine)
{
    // The line ends where the digits go on in memory: only those before its end count.
    EXPECT_EQ(quick("12345", true, "678"), 12345.0f);
    EXPECT_EQ(quick("1.25", true, "999999"), 1.25f);
    EXPECT_EQ(quick("123456789", true, "1"), 123456789.0f);
    EXPECT_EQ(quick("-7", true, "12345678"), -7.0f);
}

// A real in one of the forms a model file has, or one near a halfway point between floats.
std::string generated_real(std::mt19937_64& random)
{
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto digits = [&](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += static_cast<char>('0' + pick(10));
        return text;
    };
    const char* signs[] = {"", "", "-", "+"};
    const char* letters = "EeDd";
    std::string text = signs[pick(4)];
    char buffer[64];
    switch (pick(5)) {
    case 0: // fixed form
        text += std::string(static_cast<std::size_t>(pick(3)), '0') + digits(pick(10)) + "." + digits(1 + pick(12));
        break;
    case 1: { // exponent form, seven digits as written by the analysis programs
        const float value = std::ldexp(static_cast<float>(random() % 1000000) / 1e6f + 0.1f, pick(80) - 40);
        std::snprintf(buffer, sizeof buffer, "%.6E", static_cast<double>(value));
        text += buffer;
        text[text.find('E')] = letters[pick(4)];
        break;
    }
    case 2: // any digits, any exponent
        text += digits(1 + pick(19)) + "." + digits(pick(6)) + letters[pick(4)] + signs[pick(4)]
            + std::to_string(pick(50));
        break;
    case 3: { // near a halfway point between two floats
        const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(0x0C000000 + random() % 0x66000000));
        const double halfway = (double(f) + double(std::nextafter(f, 2.0f * f))) / 2;
        std::snprintf(buffer, sizeof buffer, "%.*e", 5 + pick(13), halfway);
        text += buffer;
        break;
    }
    default: // small digits times a small power: the float products and quotients
        text += std::to_string(random() % (1u << (1 + pick(25)))) + letters[pick(4)] + std::to_string(pick(21) - 10);
        break;
    }
    return text;
}

TEST(QuickReal, GeneratedRealsReadAsFromChars)
{
    std::mt19937_64 random(2024);
    int taken = 0;
    constexpr int kTexts = 400000;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = generated_real(random);
        const bool room = i % 4 != 0;
        const std::optional<float> value = quick(text, room);
        if (!value)
            continue;
        ++taken;
        const std::optional<float> expected = reference(text);
        ASSERT_TRUE(expected.has_value()) << text;
        ASSERT_EQ(bits(*value), bits(*expected)) << text << (room ? "" : " (read one at a time)");
    }
    EXPECT_GT(taken, kTexts * 3 / 5); // the quick way takes most of them
}

TEST(QuickInteger, GeneratedWholeNumbersReadAsParseInteger)
{
    std::mt19937_64 random(99);
    const char* signs[] = {"", "", "-", "+"};
    for (int i = 0; i < 200000; ++i) {
        std::string text = signs[random() % 4];
        for (int n = 1 + static_cast<int>(random() % 11); n > 0; --n)
            text += static_cast<char>('0' + random() % 10);
        const std::string line = text + (i % 2 ? "7 " : " ") + "        \n";
        const char* at = line.data();
        const char* const end = at + text.size();
        std::int32_t quick_value = 0;
        std::int32_t value = 0;
        const bool quick_taken = quick_integer(at, end, i % 3 ? line.data() + line.size() : end, quick_value);
        const std::size_t digits = text.size() - (text[0] == '+' || text[0] == '-' ? 1 : 0);
        ASSERT_EQ(quick_taken, digits <= 9) << text;
        if (quick_taken) {
            ASSERT_EQ(at, end) << text;
            ASSERT_TRUE(parse_integer(text, value)) << text;
            ASSERT_EQ(quick_value, value) << text;
        }
    }
}

} // namespace
} // namespace vorax
