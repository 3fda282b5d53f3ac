// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "gwl/surface/draw_surface.h"
#include "surface_test_support.h"

namespace vorax::gwl {
namespace {

using testing::Pixels;
using testing::kRed;
using testing::kBlue;

// Graphic text and the other figures keep their drawing order, even though the text's painter
// stays open from one label to the next.
TEST(GraphicTextOrder, LaterFiguresCoverEarlierTextAndTheOtherWayRound)
{
    DrawSurface surface(60, 40);
    testing::prepare_paper(surface);
    ASSERT_GT(surface.init_fonts(), 0);
    ASSERT_GT(surface.set_font("t'tms rmn'h24be"), 0);

    surface.set_color_rgb(kRed);
    surface.move_to_w(2, 2);
    surface.out_gtext("88");
    const Pixels text_only(surface);
    ASSERT_GT(text_only.count(kRed), 20);

    // A filled rectangle over the text hides it wholly.
    surface.set_color_rgb(kBlue);
    surface.rectangle_w(kFillInterior, 0, 0, 59, 39);
    EXPECT_EQ(Pixels(surface).count(kRed), 0);

    // Text drawn afterwards stands on the rectangle, in its own colour, on the same pixels.
    surface.set_color_rgb(kRed);
    surface.move_to_w(2, 2);
    surface.out_gtext("88");
    const Pixels again(surface);
    EXPECT_EQ(again.count(kRed), text_only.count(kRed));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (text_only.at(x, y) == kRed) {
                ASSERT_EQ(again.at(x, y), kRed) << x << "," << y;
            }

    // A colour change between labels reaches the open painter.
    surface.set_color_rgb(kBlack);
    surface.move_to_w(2, 2);
    surface.out_gtext("88");
    EXPECT_EQ(Pixels(surface).count(kRed), 0);
}

} // namespace
} // namespace vorax::gwl
