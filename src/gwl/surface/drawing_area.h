// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The size of the drawing area that a new graphics window gets.
//
// A graphics window draws into an area of fixed size, larger than the part on screen, which the
// window scrolls over. By default it is the primary screen's size, at least 1024 x 768 (and at
// most 32767 in each direction, the largest size a window configuration can report). The whole
// process can be given another size, for example from the command line.

#include <optional>
#include <string_view>

namespace vorax::gwl {

struct DrawingAreaSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const DrawingAreaSize&, const DrawingAreaSize&) = default;
};

inline constexpr DrawingAreaSize kMinimumDefaultArea{1024, 768};
inline constexpr int kMaximumAreaSide = 32767;
inline constexpr int kMinimumAreaSide = 16; // the least a person may ask for

// A size as typed on the command line, "1600x1200" or "1600X1200": digits only on each side,
// each side within kMinimumAreaSide..kMaximumAreaSide. Nothing when the text is not of that form.
std::optional<DrawingAreaSize> parse_area_size(std::string_view text);

// The size for new graphics windows: the one set last, or the screen-derived default.
DrawingAreaSize default_drawing_area();

// Sets the size for graphics windows made from now on; each side is held within 1..32767.
// A side of 0 or less returns to the screen-derived default.
void set_default_drawing_area(int width, int height);

} // namespace vorax::gwl
