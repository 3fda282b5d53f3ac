// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours as the program passes them: 24-bit RGB in a 32-bit integer laid out as 0x00BBGGRR,
// red in the low byte (white 0xFFFFFF, black 0).

#include <cstdint>

namespace vorax {

using Rgb = std::uint32_t;

constexpr Rgb make_rgb(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned red_of(Rgb c) { return c & 0xFFu; }
constexpr unsigned green_of(Rgb c) { return (c >> 8) & 0xFFu; }
constexpr unsigned blue_of(Rgb c) { return (c >> 16) & 0xFFu; }

inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kBlack = 0x000000;

} // namespace vorax
