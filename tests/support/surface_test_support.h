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

} // namespace vorax::gwl::testing
