// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/number_syntax.h"

#include <algorithm>

namespace vorax {

std::int64_t decimal_order(std::string_view text)
{
    std::size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
    std::int64_t whole_digits = 0; // digits before the point from the first non-zero one
    std::int64_t zeros = 0;        // zeros right after the point when there is no such digit
    bool nonzero = false;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        nonzero = nonzero || text[i] != '0';
        whole_digits += nonzero ? 1 : 0;
    }
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && is_digit(text[i]); ++i) {
            nonzero = nonzero || text[i] != '0';
            zeros += nonzero ? 0 : 1;
        }
    if (!nonzero)
        return 0;
    std::int64_t exponent = 0;
    if (i < text.size()) {
        ++i; // the exponent letter
        const bool negative = text[i] == '-';
        if (text[i] == '+' || text[i] == '-')
            ++i;
        for (; i < text.size(); ++i)
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), std::int64_t{1} << 40);
        exponent = negative ? -exponent : exponent;
    }
    return exponent + (whole_digits > 0 ? whole_digits - 1 : -zeros - 1);
}

} // namespace vorax
