// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers drawn from a font's digit glyphs. Node and element numbers are most of the texts of a
// large graph; laid out whole, each costs Qt's text shaping twice (once for its extent, once to
// paint it). Placed glyph by glyph, with the advances Qt gives each digit before each other one,
// they cost less than half and come out the same: a font is used so only after its numbers of
// one and two digits and a few longer ones gave the same extents, and the same pixels, both
// ways. Into a picture's pixels, the digits' pixels are set directly, from each digit as Qt
// paints it alone: a fifth of the cost of a glyph run, where the sample numbers came out the
// same that way too.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "gwl/surface/raster.h"

namespace vorax::gwl {

// Sets `painter` up as the surface paints graphic text: glyphs without smoothing, in `font`,
// in `color`.
void set_up_text_painter(QPainter& painter, const QFont& font, const QColor& color);

// `paint` done on `image`, cleared to white first, by a painter set up for text in black.
template <typename Paint>
void paint_text_on_white(QImage& image, const QFont& font, Paint paint)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    set_up_text_painter(painter, font, Qt::black);
    paint(painter);
}

class DigitText {
public:
    // The digit glyphs of `font`, or null when its numbers must be laid out whole: decorated or
    // spaced text, a digit the font lacks, or a sample that came out otherwise (by extent, and
    // by pixels when `pixels`, painted as the surface paints text).
    static std::unique_ptr<DigitText> for_font(const QFont& font, const QFontMetrics& metrics, bool pixels);

    // Whether `text` is a number this class draws: ASCII digits, at most kLongest of them.
    static bool is_number(std::string_view text);
    static constexpr std::size_t kLongest = 24;
    // How many numbers a surface lays out whole in a font before it looks at the font's digits.
    static constexpr int kNumbersLaidOutWhole = 1000;

    // Lays out `text` (a number) and returns its extent in whole pixels.
    int lay_out(std::string_view text);
    // Paints the number last laid out in the font this was made for, its baseline starting at
    // `baseline_start`.
    void paint(QPainter& painter, QPointF baseline_start) const;
    // A box that holds the ink of the number last laid out, its baseline starting at (x, y).
    QRect ink(int x, int baseline) const;

    // Sets the pixels of the number last laid out in `pixels` to `color`, its baseline starting
    // at (x, baseline), from each digit's pixels as Qt paints the digit alone: true when drawn so,
    // false when nothing was drawn and the number is to be painted. (Without smoothing a glyph's
    // pixels depend only on where it starts within its pixel, in 64ths; the font was tried both
    // ways on its sample numbers before it draws so, and a digit whose pixels are not all of the
    // pen's colour stops it.) A digit's pixels at a 64th are painted once, when first needed.
    bool blit(const raster::PixelBuffer& pixels, std::uint32_t color, int x, int baseline);
    // The tallest line, in pixels, whose numbers are set so; taller ones are painted.
    static constexpr int kLargestSetCell = 128;

private:
    DigitText() = default;

    // The pixels a digit's glyph sets, from the start of its baseline.
    struct GlyphPixels {
        bool made = false;
        bool usable = false;
        std::vector<std::pair<std::int16_t, std::int16_t>> offsets;
        int left = 0, top = 0, right = 0, bottom = 0; // the box of the offsets
    };
    const GlyphPixels* glyph_pixels(std::size_t digit, int sixty_fourths);

    // Numbers only: nothing here belongs to a thread (Qt's fonts do).
    std::array<quint32, 10> glyphs_{};
    std::array<QRectF, 10> glyph_boxes_{}; // ink of each digit from the start of its baseline
    QList<quint32> indexes_;
    QList<QPointF> positions_;
    std::array<std::size_t, kLongest> digits_{};
    // The advance of a digit before another, and at the end of a number.
    std::array<std::array<qreal, 10>, 10> advances_{};
    std::array<qreal, 10> last_advances_{};
    // The font this was made for; what blit needs besides: the room to paint a digit alone in,
    // and each digit's pixels at each 64th of a pixel.
    QFont font_;
    int cell_ = 1;
    bool blits_ = false;
    std::array<std::array<GlyphPixels, 64>, 10> glyph_pixels_{};
};

} // namespace vorax::gwl
