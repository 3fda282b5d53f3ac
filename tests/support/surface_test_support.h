// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the drawing surface tests: paper, ink and two colours.

#include "core/color.h"
#include "gwl/surface/draw_surface.h"
#include "pixels.h"

namespace vorax::gwl::testing {

using vorax::testing::Pixels;

inline constexpr Rgb kRed = make_rgb(255, 0, 0);
inline constexpr Rgb kBlue = make_rgb(0, 0, 255);

// A small surface on white paper with black ink and the identity mapping.
inline void prepare_paper(DrawSurface& surface)
{
    surface.set_bk_color_rgb(kWhite);
    surface.clear_screen(0);
    surface.set_color_rgb(kBlack);
}

// The pixels between two corners, saved as the zoom saves them.
inline ImageBuffer saved_pixels(DrawSurface& surface, double x1, double y1, double x2, double y2)
{
    ImageBuffer saved(surface.image_size_w(x1, y1, x2, y2));
    surface.get_image_w(x1, y1, x2, y2, saved);
    return saved;
}

} // namespace vorax::gwl::testing
