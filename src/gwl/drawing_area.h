#pragma once
// The drawing area of a child window: the full pixel size it draws into, whatever part of it
// the window shows. By default the primary screen's size, at least 1024 x 768; the command line
// can set another size for the whole run.

namespace vorax::gwl {

struct AreaSize {
    int width = 0;
    int height = 0;
};

AreaSize default_drawing_area();
// Sets the drawing area of windows opened from now on; sizes below 16 pixels are refused.
bool set_default_drawing_area(int width, int height);

} // namespace vorax::gwl
