// SPDX-License-Identifier: GPL-3.0-or-later
// A record drawn magnified on a screen's image: lines one screen pixel wide, boxes, marks and
// texts grown, only the part asked for touched, and a picture drawn in pieces (two halves on two
// cores, a strip that scrolled into view) the same as drawn whole.

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/surface/image_pixels.h"
#include "gwl/surface/qt_fonts.h"
#include "gwl/surface/screen_replay.h"

namespace vorax::gwl {
namespace {

constexpr QRgb kPaper = 0xFFFFFFFF;
constexpr QRgb kUntouched = 0xFF00FF00;

// A small graph: long and short lines, a node mark, a filled mark, a point and a number.
void draw_graph(DrawRecord& record)
{
    RecordedLook white;
    white.background = kWhite;
    const std::uint32_t paper = record.look_index(white);
    RecordedLook ink;
    ink.font = record.font_index({"DejaVu Sans", 12, 400, false, false, 100, 11, 14});
    const std::uint32_t look = record.look_index(ink);
    RecordedLook red = ink;
    red.color = make_rgb(255, 0, 0);
    record.clear(paper);
    record.add_line(look, {2, 5}, {20, 5});
    record.add_line(look, {20, 5}, {28, 22});
    record.add_line(look, {47, 0}, {59, 12});
    record.add_box(RecordOp::ellipse, false, record.look_index(red), 30, 10, 34, 14);
    record.add_box(RecordOp::ellipse, true, look, 40, 20, 44, 24);
    record.add_line(look, {50, 35}, {50, 35});
    record.add_text(RecordOp::text, look, 2, 38, "417", 20);
}

QImage filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// The record of `draw_graph` (60 x 40 pixels) drawn `scale` times in `parts` of an image of
// `size`, scrolled by `offset`, over an image of one colour.
QImage drawn(double scale, QSize size, QPoint offset, const std::vector<QRect>& parts)
{
    DrawRecord record;
    draw_graph(record);
    QImage image = filled(size, kUntouched);
    for (const QRect& part : parts)
        replay_on_screen(record, pixels_of(image), QSize(60, 40), scale, offset, part);
    return image;
}

// Dark pixels of a column or a row between two ends.
int dark_in_column(const QImage& image, int x, int y0, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        n += qGray(image.pixel(x, y)) < 128;
    return n;
}

QRect ink_of(const QImage& image, const QRect& within)
{
    QRect ink;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST(ScreenReplay, LinesStayOnePixelWideWhileMarksAndTextsGrow)
{
    const QImage once = drawn(1.0, {60, 40}, {}, {{0, 0, 60, 40}});
    const QImage four = drawn(4.0, {240, 160}, {}, {{0, 0, 240, 160}});
    // The line at y = 5 runs through screen row floor(5.5 * 4) = 22, from column 10 to 82.
    EXPECT_EQ(dark_in_column(four, 40, 12, 32), 1);
    EXPECT_LT(qGray(four.pixel(40, 22)), 128);
    EXPECT_EQ(ink_of(four, {0, 18, 90, 8}).left(), 10);
    // A point is a box of 4 x 4 screen pixels.
    EXPECT_EQ(ink_of(four, {190, 130, 24, 24}), QRect(200, 140, 4, 4));
    // The filled mark covers its five pixels each way, 20 screen pixels; the outlined one is
    // inscribed in the centres of its edge pixels, 17.
    EXPECT_EQ(ink_of(four, {150, 70, 40, 40}), QRect(160, 80, 20, 20));
    const QRect ring = ink_of(four, {110, 30, 40, 40});
    EXPECT_EQ(ring.size(), QSize(17, 17));
    EXPECT_EQ(four.pixel(ring.left(), ring.center().y()), qRgb(255, 0, 0)); // in its own colour
    // The number is drawn at the screen's size: about four times as high as at 1:1.
    const int high_once = ink_of(once, {0, 25, 30, 15}).height();
    const int high_four = ink_of(four, {0, 100, 120, 60}).height();
    EXPECT_GE(high_once, 6);
    EXPECT_NEAR(high_four, 4 * high_once, 4);
}

TEST(ScreenReplay, ACharacterBeyondSixteenBitsIsOneGlyph)
{
    // Written as two UTF-16 units, drawn as the one character the painter draws.
    const char* const text = "\U0001D7D5";
    DrawRecord record;
    const RecordedFont font{"DejaVu Sans", 12, 400, false, false, 100, 11, 14};
    RecordedLook ink;
    ink.font = record.font_index(font);
    record.clear(record.look_index(RecordedLook{}));
    record.add_text(RecordOp::text, record.look_index(ink), 5, 20, text, 20);
    QImage image = filled({120, 80}, kPaper);
    replay_on_screen(record, pixels_of(image), QSize(60, 40), 2.0, {}, {0, 0, 120, 80});

    QImage expected = filled({120, 80}, kPaper);
    QFont face = font_of_record(font);
    face.setPixelSize(2 * face.pixelSize());
    face.setStyleStrategy(QFont::StyleStrategy(face.styleStrategy() | QFont::NoAntialias));
    QPainter painter(&expected);
    painter.setFont(face);
    painter.setPen(Qt::black);
    painter.drawText(10, 40, QString::fromUtf8(text));
    painter.end();
    EXPECT_EQ(ink_of(image, image.rect()), ink_of(expected, expected.rect()));
}

TEST(ScreenReplay, PiecesMakeTheSamePictureAsTheWholeAndNothingOutside)
{
    struct Row {
        const char* name;
        double scale;
        QPoint offset;
        std::vector<QRect> parts;
    };
    const QSize size(100, 90);
    const Row rows[] = {
        {"Halves", 3.0, {20, 15}, {{0, 0, 100, 45}, {0, 45, 100, 45}}},
        {"StripsAtAnOddScale", 2.7, {7, 3}, {{0, 0, 33, 90}, {33, 0, 41, 90}, {74, 0, 26, 90}}},
        {"ManyCuts", 5.0, {90, 40}, {{0, 0, 50, 50}, {50, 0, 50, 50}, {0, 50, 61, 40}, {61, 50, 39, 40}}},
    };
    for (const Row& row : rows) {
        const QImage whole = drawn(row.scale, size, row.offset, {{QPoint(0, 0), size}});
        EXPECT_EQ(drawn(row.scale, size, row.offset, row.parts), whole) << row.name;
        // One part alone leaves the rest as it was.
        const QImage one = drawn(row.scale, size, row.offset, {row.parts[0]});
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                if (row.parts[0].contains(x, y))
                    continue;
                ASSERT_EQ(one.pixel(x, y), kUntouched) << row.name << " at " << x << ", " << y;
            }
    }
}

} // namespace
} // namespace vorax::gwl
