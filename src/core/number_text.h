// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts.
//
// Every number the program writes into its own texts goes through one of these formats:
//   - digit_count: integers written with exactly as many characters as they need;
//   - general_format: W characters with D significant digits, fixed notation while the number
//     suits it and the exponent form 0.dddE+xx otherwise (14/7 for extents, 12/4 for the
//     scaling ratio);
//   - fixed_format: W characters with D decimals, right-aligned, asterisks when it does not fit
//     (9/2 for scale labels, 10/2 for the factor field);
//   - tidy_number: a formatted number left-adjusted and without the trailing zeros of its
//     fraction;
//   - stored_real_text, measure_text: a model's numbers, and figures measured from them, in
//     the texts that describe a pointed node or element.

#include <string>
#include <string_view>

namespace vorax {

// Number of characters of n written in decimal: 1 for 0, otherwise the digits of |n| plus one
// for the minus sign of a negative n.
int digit_count(long long n);

// The value in a field of `width` characters with `digits` significant digits.
//
// Fixed notation when the value rounded to `digits` significant digits is 0 or lies in
// 0.1 <= |value| < 10^digits: as many decimals as make `digits` significant digits (digits - 1
// for zero), right-aligned in width - 4 characters and followed by four blanks, where the
// exponent would stand ("   1.500    " for 1.5 in 12/4). Otherwise the exponent form: a zero,
// the point, `digits` digits, E and a signed two-digit exponent ("  0.1235E+06" for 123456 in
// 12/4); a three-digit exponent drops the E ("0.1000000+101"). A negative value has a leading
// minus sign; a value that shows as zero has none. A text that does not fit becomes `width`
// asterisks.
std::string general_format(double value, int width, int digits);

// The value in fixed-point notation with `decimals` decimals, right-aligned in a field of
// `width` characters ("   -12.50" for -12.5 in 9/2); `width` asterisks when it does not fit.
// A value that rounds to zero is written without a minus sign.
std::string fixed_format(double value, int width, int decimals);

// A formatted number left-adjusted, with the trailing zeros after its decimal point removed
// (the point stays) and its exponent part kept: "  12.50000" gives "12.5", "0.1000000E-02"
// gives "0.1E-02", "0.000000" gives "0.". A text without a decimal point is only left-adjusted.
// The result is blank-padded to the length of `text`.
std::string tidy_number(std::string_view text);

// A 32-bit real as the model file gave it: at least three decimals ("4.000", "-0.005"), more
// where the value needs them to read back exactly ("12.375", "0.0015"); very small and very
// large magnitudes (below 10^-5, from 10^15) in the shortest exponent form ("1.5E-07").
std::string stored_real_text(float value);

// A figure the program measured (a length): three decimals ("5.657"); a value that would show
// as 0.000 without being 0, and magnitudes from 10^15, as stored_real_text writes them.
std::string measure_text(double value);

} // namespace vorax
