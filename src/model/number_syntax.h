// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbers of model records as text: whole numbers and reals, their syntax and their
// conversion, and the quick paths that convert the plain forms straight from a line.
//
// What the record reader calls for every value it reads is inline here, so that no call into
// another file slows down its inner loop; only decimal_order, for a real out of the float
// range, is in number_syntax.cpp.
//
// Contents: is_blank, is_separator, is_digit; real_syntax, decimal_order; parse_integer,
// parse_real; eight_digits, digit_values, non_digits, read_exponent, is_exponent_letter,
// read_digits; quick_integer, quick_real.

#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace vorax {

// What ends a value, what pads it, and its digits.
inline bool is_blank(char c) { return c == ' ' || c == '\t'; }

inline bool is_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The syntax of a real: whole numbers, fixed-point and exponent notation with E or D.
// `exponent_letter` gets the position of the letter, npos when there is none. (Inlined: it is
// on the path of every real read.)
[[gnu::always_inline]] inline bool real_syntax(std::string_view text, std::size_t& exponent_letter)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    exponent_letter = std::string_view::npos;
    if (i < text.size()) {
        char c = text[i];
        if (c != 'E' && c != 'e' && c != 'D' && c != 'd')
            return false;
        exponent_letter = i++;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i == text.size())
            return false;
        for (; i < text.size(); ++i)
            if (!is_digit(text[i]))
                return false;
    }
    return true;
}

// The power of ten of the first non-zero digit of a number text in the form parse_real takes
// (the exponent saturates far beyond any float); 0 for a text of zeros.
std::int64_t decimal_order(std::string_view text);

// An optionally signed whole number within 32 bits, the whole text. (Inlined, as the functions
// below: the record reader calls them for every value it reads one by one.)
[[gnu::always_inline]] inline bool parse_integer(std::string_view text, std::int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    std::int64_t magnitude = 0;
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    for (; i < text.size(); ++i) {
        if (!is_digit(text[i]))
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

// A real in the syntax above whose value is a finite 32-bit float (a value too small for one
// becomes a subnormal or a signed 0, as when it is read).
[[gnu::always_inline]] inline bool parse_real(std::string_view text, float& value)
{
    std::size_t exponent_letter = std::string_view::npos;
    if (!real_syntax(text, exponent_letter))
        return false;

    // std::from_chars wants no plus sign and the letter e; most texts already fit it.
    const bool plus = text[0] == '+';
    const bool d_letter = exponent_letter != std::string_view::npos
        && (text[exponent_letter] == 'D' || text[exponent_letter] == 'd');
    std::string normal;
    if (plus || d_letter) {
        normal.assign(text.substr(plus ? 1 : 0));
        if (d_letter)
            normal[exponent_letter - (plus ? 1 : 0)] = 'e';
    }
    std::string_view number = plus || d_letter ? std::string_view(normal) : text;
    const char* first = number.data();
    const char* last = first + number.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range && end == last) {
        // Beyond the float range. Too large is unreadable; too small (by any amount: the text
        // is a number, only its value underflows) reads as zero with the number's sign. (No
        // strtod here: it follows the locale, which the GUI sets from the environment.)
        if (decimal_order(number) >= 0)
            return false;
        value = number[0] == '-' ? -0.0f : 0.0f;
        return true;
    }
    return error == std::errc{} && end == last && std::isfinite(value);
}

// The digits of a number text, eight at a time where eight characters can be read: `readable`
// is how far the text may be read, `end` how far it may have digits (end <= readable). Adds the
// digits from `p` on to `mantissa` (which wraps beyond 19 digits) and returns the first
// character after them.
inline constexpr std::uint64_t kDigitPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// The number of eight digits, the first in the lowest byte, each byte a digit value 0..9. Pairs
// of neighbours are joined first, then pairs of pairs, then the two halves.
[[gnu::always_inline]] inline std::uint64_t eight_digits(std::uint64_t digits)
{
    digits = (digits * (10 * 256 + 1)) >> 8 & 0x00FF00FF00FF00FFu;
    digits = (digits * (100 * 65536 + 1)) >> 16 & 0x0000FFFF0000FFFFu;
    return (digits * (10000 * (std::uint64_t{1} << 32) + 1)) >> 32;
}

// Eight characters as digit values, the first in the lowest byte: a digit becomes 0..9.
[[gnu::always_inline]] inline std::uint64_t digit_values(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word ^ 0x3030303030303030u;
}

// The high half of each byte of `values` (see digit_values) whose character is no digit: any
// other character has one after adding 6 (a carry out of such a byte only reaches the
// characters after it).
[[gnu::always_inline]] inline std::uint64_t non_digits(std::uint64_t values)
{
    return ((values + 0x0606060606060606u) | values) & 0xF0F0F0F0F0F0F0F0u;
}

// The exponent after its letter: a sign or none and one to three digits from `p`, which moves
// past them. False when no digit follows.
[[gnu::always_inline]] inline bool read_exponent(const char*& p, const char* end, int& exponent)
{
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char* const digits = p;
    exponent = 0;
    while (p < end && is_digit(*p) && p - digits < 3)
        exponent = exponent * 10 + (*p++ - '0');
    exponent = negative ? -exponent : exponent;
    return p != digits;
}

inline bool is_exponent_letter(char c) { return (c | 0x20) == 'e' || (c | 0x20) == 'd'; }

[[gnu::always_inline]] inline const char* read_digits(const char* p, const char* end, const char* readable,
                                                      std::uint64_t& mantissa)
{
    if constexpr (std::endian::native == std::endian::little) {
        while (readable - p >= 8) {
            const std::uint64_t values = digit_values(p);
            const std::uint64_t others = non_digits(values);
            auto count = static_cast<std::ptrdiff_t>(others == 0 ? 8 : std::countr_zero(others) / 8);
            count = std::min(count, end - p);
            if (count == 0)
                return p;
            mantissa = mantissa * kDigitPowers[count] + eight_digits(values << (8 * (8 - count)));
            p += count;
            if (count < 8)
                return p;
        }
    }
    while (p < end && is_digit(*p))
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    return p;
}

// Whole numbers of at most nine digits, which cannot leave 32 bits, up to a separator or the end
// of the line; `at` moves past the number. False for anything else, which parse_integer decides.
// The text may be read up to `readable` (at least `end`).
[[gnu::always_inline]] inline bool quick_integer(const char*& at, const char* end, const char* readable,
                                                std::int32_t& value)
{
    const char* p = at;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char* const digits = p;
    std::uint64_t magnitude = 0;
    p = read_digits(p, end - p > 9 ? p + 9 : end, readable, magnitude);
    if (p == digits || (p < end && !is_separator(*p)))
        return false;
    const auto whole = static_cast<std::int32_t>(magnitude);
    value = negative ? -whole : whole;
    at = p;
    return true;
}

// Powers of ten that a double holds exactly.
inline constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Powers of ten that a float holds exactly: 10^10 is 2^10 times 5^10, which is below 2^24.
inline constexpr float kExactFloatPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// Reals of at most 19 significant digits whose digits make a whole number below 2^53, times a
// power of ten within 10^-22 .. 10^22, up to a separator or the end of the line; `at` moves past
// the number, and the text may be read up to `readable` (at least `end`).
//
// Digits below 2^24 times a power within 10^-10 .. 10^10 are two floats exactly, and one float
// multiplication or division of them gives the float nearest to the number. Otherwise the digits
// and the power are exact in a double, and one double operation gives the double nearest to the
// number; rounding that double to a float gives the float nearest to the number as well, unless
// the double lies exactly halfway between two floats (the number itself may lie on either side
// of that point): such values, values outside the normal float range and every other form are
// left to parse_real (false), which gives the same float for all that this function takes. A
// number longer than `longest` characters is refused as well.
[[gnu::always_inline]] inline bool quick_real(const char*& at, const char* end, const char* readable,
                                             std::size_t longest, float& value)
{
    const char* p = at;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char* const whole = p;
    while (p < end && *p == '0')
        ++p;
    const char* significant_from = p;
    std::uint64_t mantissa = 0; // wraps beyond 19 digits, which are refused below anyway
    p = read_digits(p, end, readable, mantissa);
    std::ptrdiff_t digits = p - whole;
    std::ptrdiff_t significant = p - significant_from;
    std::ptrdiff_t power = 0;
    if (p < end && *p == '.') {
        const char* const fraction = ++p;
        if (significant == 0)
            while (p < end && *p == '0')
                ++p;
        significant_from = p;
        p = read_digits(p, end, readable, mantissa);
        digits += p - fraction;
        significant += p - significant_from;
        power = fraction - p;
    }
    if (digits == 0)
        return false;
    if (p < end && is_exponent_letter(*p)) {
        int exponent;
        if (!read_exponent(++p, end, exponent))
            return false;
        power += exponent;
    }
    if ((p < end && !is_separator(*p)) || significant > 19
        || p - at > static_cast<std::ptrdiff_t>(longest))
        return false;
    if (mantissa == 0) {
        value = negative ? -0.0f : 0.0f;
        at = p;
        return true;
    }
    if (mantissa < (std::uint64_t{1} << 24) && power >= -10 && power <= 10) {
        const auto digits_value = static_cast<float>(mantissa);
        const float nearest = power < 0 ? digits_value / kExactFloatPowers[-power]
                                        : digits_value * kExactFloatPowers[power];
        value = negative ? -nearest : nearest;
        at = p;
        return true;
    }
    if (power < -22 || power > 22 || mantissa >= (std::uint64_t{1} << 53))
        return false;
    const double nearest = power < 0 ? static_cast<double>(mantissa) / kExactPowers[-power]
                                     : static_cast<double>(mantissa) * kExactPowers[power];
    if (!(nearest >= 0x1p-126 && nearest < 0x1p127))
        return false;
    // A float keeps 24 of the double's 53 significant bits: the 29 below them say whether the
    // double lies halfway between two floats.
    constexpr std::uint64_t kDroppedBits = (std::uint64_t{1} << 29) - 1;
    if ((std::bit_cast<std::uint64_t>(nearest) & kDroppedBits) == std::uint64_t{1} << 28)
        return false;
    value = static_cast<float>(negative ? -nearest : nearest);
    at = p;
    return true;
}

} // namespace vorax
