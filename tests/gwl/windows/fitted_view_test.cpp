// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>

#include <set>

#include "gwl/windows/fitted_view.h"

namespace vorax::gwl {
namespace {

TEST(FittedView, ShrinksWithOneScaleAndNeverEnlarges)
{
    struct Row {
        QSize area, viewport, shown;
    };
    const Row rows[] = {
        {{400, 300}, {800, 600}, {400, 300}},     // fits: 1:1
        {{1600, 1200}, {800, 500}, {666, 500}},   // the height limits: 1600 * 500 / 1200
        {{1600, 1200}, {700, 600}, {700, 525}},   // the width limits: 1200 * 700 / 1600
        {{1920, 1080}, {1716, 860}, {1528, 860}}, // 1920 * 860 / 1080
        {{500, 40}, {100, 100}, {100, 8}},
    };
    for (const Row& row : rows) {
        const FittedView view(row.area, row.viewport);
        EXPECT_EQ(view.shown(), row.shown) << row.area.width() << " " << row.viewport.width();
        // Round trip: the pixel a position maps to is shown there; the boxes leave no gap.
        for (int x = 0; x < view.shown().width(); ++x) {
            const int start = view.area_pixel_at(QPointF(x + 0.5, 0)).x;
            EXPECT_EQ(view.view_rect_of({start, 0, 1, 1}).left(), x);
            EXPECT_EQ(view.view_rect_of({view.area_pixel_at(QPointF(x + 1, 0)).x - 1, 0, 1, 1}).left(), x);
        }
        EXPECT_EQ(view.area_pixel_at(QPointF(view.shown().width(), 0)).x, row.area.width());
        EXPECT_EQ(view.view_rect_of({0, 0, row.area.width(), row.area.height()}),
                  QRect(QPoint(0, 0), view.shown()));
    }
}

TEST(FittedView, ThinLinesAndLonePixelsStayWithoutBlending)
{
    // Paper with a one-pixel line in each direction and a lone red pixel, shrunk to two thirds
    // (boxes of one or two pixels) and to four ninths (up to three), on white and on black paper.
    QImage image(9, 9, QImage::Format_RGB32);
    for (const auto& [paper, line] : {std::pair{kWhite, qRgb(0, 0, 0)}, std::pair{kBlack, qRgb(255, 255, 255)}})
        for (const int side : {6, 4}) {
            image.fill(qRgb(static_cast<int>(red_of(paper)), static_cast<int>(green_of(paper)),
                            static_cast<int>(blue_of(paper))));
            for (int i = 0; i < 9; ++i) {
                image.setPixel(4, i, line);
                image.setPixel(i, 1, line);
            }
            image.setPixel(7, 7, qRgb(255, 0, 0));
            const FittedView view({9, 9}, {side, side});
            const QImage shown = view.sample(image, QRect(0, 0, side, side), paper);
            ASSERT_EQ(shown.size(), QSize(side, side));
            // Paper, ink and red, nothing in between; the lines are whole, one pixel wide.
            std::set<QRgb> colours;
            int ink = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    colours.insert(shown.pixel(x, y));
                    ink += shown.pixel(x, y) == line ? 1 : 0;
                }
            EXPECT_EQ(colours.size(), 3u) << side;
            EXPECT_EQ(ink, 2 * side - 1) << side;
            EXPECT_EQ(shown.pixel(view.view_rect_of({7, 7, 1, 1}).topLeft()), qRgb(255, 0, 0));
            // A part of the viewport is sampled alone, equal to the same part of the whole.
            EXPECT_EQ(view.sample(image, QRect(1, 2, 3, 2), paper), shown.copy(1, 2, 3, 2));
        }
}

// Of two colours equally far from the paper in one box, the one first in reading order shows,
// in boxes of two pixels each way and in larger ones.
TEST(FittedView, OfColoursEquallyFarFromThePaperTheFirstInReadingOrderShows)
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    for (const int box : {2, 3, 4}) {
        QImage image(2 * box, box, QImage::Format_RGB32);
        image.fill(Qt::white);
        // Left box: red on the first row, blue below it to the left; right box: the other way.
        image.setPixel(box - 1, 0, red);
        image.setPixel(0, box - 1, blue);
        image.setPixel(2 * box - 1, 0, blue);
        image.setPixel(box, box - 1, red);
        const FittedView view({2 * box, box}, {2, 1});
        const QImage shown = view.sample(image, QRect(0, 0, 2, 1), kWhite);
        EXPECT_EQ(shown.pixel(0, 0), red) << box;
        EXPECT_EQ(shown.pixel(1, 0), blue) << box;
    }
}

} // namespace
} // namespace vorax::gwl
