#pragma once
// The size of the drawing area that a new graphics window gets.
//
// A graphics window draws into an area of fixed size, larger than the part on screen, which the
// window scrolls over. By default it is the primary screen's size, at least 1024 x 768 (and at
// most 32767 in each direction, the largest size a window configuration can report). The whole
// process can be given another size, for example from the command line.

namespace vorax::gwl {

struct DrawingAreaSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const DrawingAreaSize&, const DrawingAreaSize&) = default;
};

inline constexpr DrawingAreaSize kMinimumDefaultArea{1024, 768};
inline constexpr int kMaximumAreaSide = 32767;

// The size for new graphics windows: the one set last, or the screen-derived default.
DrawingAreaSize default_drawing_area();

// Sets the size for graphics windows made from now on; each side is held within 1..32767.
// A side of 0 or less returns to the screen-derived default.
void set_default_drawing_area(int width, int height);

} // namespace vorax::gwl
