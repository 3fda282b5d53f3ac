// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>

#include "core/text.h"

namespace vorax {
namespace {

// The text right-aligned in `width` characters, or `width` asterisks when it is longer.
std::string right_aligned(std::string_view text, int width)
{
    auto field = static_cast<std::size_t>(std::max(width, 0));
    if (text.size() > field)
        return std::string(field, '*');
    return std::string(field - text.size(), ' ') + std::string(text);
}

// Infinities and NaN as the fields show them, shortened to "Inf" when "Infinity" is too long.
std::string non_finite_text(double value, int width)
{
    if (std::isnan(value))
        return right_aligned("NaN", width);
    std::string sign = value < 0 ? "-" : "";
    std::string text = sign + "Infinity";
    if (static_cast<int>(text.size()) > width)
        text = sign + "Inf";
    return right_aligned(text, width);
}

// The value in fixed notation with `decimals` decimals, always with its point ("12." for 12
// with none). std::to_chars, unlike printf, ignores the locale, which the GUI takes from the
// environment.
std::string fixed_text(double value, int decimals)
{
    char buffer[400];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals);
    if (error != std::errc{})
        return std::string(sizeof buffer, '*');
    std::string text(buffer, end);
    if (decimals == 0)
        text += '.';
    return text;
}

// |value| as d.ddd with `digits` significant digits, and its decimal exponent.
std::string scientific_digits(double magnitude, int digits, int& exponent)
{
    char buffer[100];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, digits - 1);
    std::string text(buffer, error == std::errc{} ? end : buffer);
    auto e_at = text.find('e');
    exponent = 0;
    if (e_at == std::string::npos)
        return text;
    for (std::size_t i = e_at + 2; i < text.size(); ++i)
        exponent = exponent * 10 + (text[i] - '0');
    if (text[e_at + 1] == '-')
        exponent = -exponent;
    text.erase(e_at);
    return text;
}

// A minus sign in front of a text that shows only zeros would make "-0.00" out of a tiny
// negative rounding error; such a text is written as zero.
std::string drop_sign_of_zero(std::string text)
{
    if (!text.empty() && text.front() == '-'
        && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    return text;
}

} // namespace

int digit_count(long long n)
{
    // Work on the magnitude as unsigned so that the most negative value has one too.
    unsigned long long magnitude = n < 0 ? 0ULL - static_cast<unsigned long long>(n)
                                         : static_cast<unsigned long long>(n);
    int count = n < 0 ? 2 : 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++count;
    }
    return count;
}

std::string general_format(double value, int width, int digits)
{
    if (!std::isfinite(value))
        return non_finite_text(value, width);
    digits = std::clamp(digits, 1, 60);
    const int fixed_width = width - 4;
    const std::string blanks(4, ' ');

    if (value == 0.0)
        return right_aligned(fixed_text(0.0, digits - 1), fixed_width) + blanks;

    // The value rounded to `digits` significant digits decides the notation, so that 9999999.7
    // in 14/7 is not written with 8 digits.
    int exponent = 0;
    std::string scientific = scientific_digits(std::fabs(value), digits, exponent);
    ++exponent; // value = 0.ddd x 10^exponent

    if (exponent >= 0 && exponent <= digits) {
        std::string text = drop_sign_of_zero(fixed_text(value, digits - exponent));
        if (static_cast<int>(text.size()) > fixed_width)
            return std::string(static_cast<std::size_t>(std::max(width, 0)), '*');
        return right_aligned(text, fixed_width) + blanks;
    }

    std::string text = value < 0 ? "-0." : "0.";
    text += scientific.substr(0, 1);
    if (scientific.size() > 2)
        text += scientific.substr(2);
    int magnitude = std::abs(exponent);
    if (magnitude > 999)
        return std::string(static_cast<std::size_t>(std::max(width, 0)), '*');
    std::string exponent_digits = std::to_string(magnitude);
    exponent_digits.insert(0, (magnitude > 99 ? 3 : 2) - exponent_digits.size(), '0');
    text += magnitude > 99 ? "" : "E";
    text += exponent < 0 ? '-' : '+';
    text += exponent_digits;
    return right_aligned(text, width);
}

std::string fixed_format(double value, int width, int decimals)
{
    if (!std::isfinite(value))
        return non_finite_text(value, width);
    decimals = std::clamp(decimals, 0, 60);
    // Values beyond any field width are asterisks whatever their digits; this also keeps the
    // printed text short.
    if (std::fabs(value) >= 1e300)
        return std::string(static_cast<std::size_t>(std::max(width, 0)), '*');
    return right_aligned(drop_sign_of_zero(fixed_text(value, decimals)), width);
}

std::string tidy_number(std::string_view text)
{
    std::string adjusted = left_adjust(text);
    std::string_view content = trim_right(adjusted);

    std::string_view mantissa = content;
    std::string_view exponent;
    auto letter = content.find_first_of("EDed");
    if (letter != std::string_view::npos) {
        // The fields that hold the two parts are 19 and 5 characters long.
        mantissa = content.substr(0, std::min<std::size_t>(letter, 19));
        exponent = trim_right(content.substr(letter, 5));
    }

    auto point = mantissa.find('.');
    if (point == std::string_view::npos)
        return adjusted;

    // Zeros go from the right, down to and including the first place after the point.
    std::size_t end = trim_right(mantissa).size();
    while (end > point + 1 && mantissa[end - 1] == '0')
        --end;
    std::string result(mantissa.substr(0, end));
    result += exponent;
    if (result.size() < text.size())
        result.resize(text.size(), ' ');
    return result;
}

namespace {

constexpr int kMeasureDecimals = 3;

// Appends zeros until the text has `decimals` digits after its point.
std::string with_decimals(std::string text, int decimals)
{
    auto point = text.find('.');
    if (point == std::string::npos) {
        point = text.size();
        text += '.';
    }
    const std::size_t wanted = point + 1 + static_cast<std::size_t>(decimals);
    if (text.size() < wanted)
        text.resize(wanted, '0');
    return text;
}

} // namespace

std::string stored_real_text(float value)
{
    if (value == 0.0f)
        return with_decimals("0", kMeasureDecimals);
    // std::to_chars without a precision writes the shortest text that reads back as the same
    // float, and ignores the locale.
    char buffer[64];
    const float magnitude = std::fabs(value);
    const bool plain = magnitude >= 1e-5f && magnitude < 1e15f;
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      plain ? std::chars_format::fixed : std::chars_format::scientific);
    std::string text(buffer, error == std::errc{} ? end : buffer);
    if (!plain || !std::isfinite(value)) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c == 'e' ? 'E' : c; });
        return text;
    }
    return with_decimals(text, kMeasureDecimals);
}

std::string measure_text(double value)
{
    const std::string fixed = drop_sign_of_zero(fixed_text(value, kMeasureDecimals));
    if (!std::isfinite(value) || std::fabs(value) >= 1e15
        || (value != 0.0 && fixed.find_first_not_of("-0.") == std::string::npos))
        return stored_real_text(static_cast<float>(value));
    return fixed;
}

} // namespace vorax
