// SPDX-License-Identifier: GPL-3.0-or-later
// The size as typed on the command line. Apart from the rest of the drawing area so that the
// command line, which `vorax` parses before any graphical library is there, needs none of them.
#include "gwl/surface/drawing_area.h"

namespace vorax::gwl {

std::optional<DrawingAreaSize> parse_area_size(std::string_view text)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return std::nullopt;
    // Five digits at most: any more would be past the largest side anyway.
    auto side = [](std::string_view digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 5)
            return std::nullopt;
        int value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value < kMinimumAreaSide || value > kMaximumAreaSide)
            return std::nullopt;
        return value;
    };
    const auto width = side(text.substr(0, x));
    const auto height = side(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return DrawingAreaSize{*width, *height};
}

} // namespace vorax::gwl
