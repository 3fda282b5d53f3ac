// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "gwl/surface/digit_text.h"
#include "gwl/surface/image_pixels.h"

namespace vorax::gwl {
namespace {

// The picture of `paint`, as the surface's text painter paints.
template <typename Paint>
QImage painted(const QFont& font, QSize size, Paint paint)
{
    QImage image(size, QImage::Format_RGB32);
    paint_text_on_white(image, font, paint);
    return image;
}

// Numbers beyond the ones a font is tried on: long runs of kerned pairs, every length up to ten
// digits, the largest numbers a graph has.
std::vector<std::string> numbers_to_compare()
{
    std::vector<std::string> numbers;
    for (int n = 100; n < 1300; n += 7)
        numbers.push_back(std::to_string(n));
    for (const char* n : {"11111", "171717", "4040404", "99999999", "999901", "1000000", "2147483647",
                          "0000007", "1010101010101010101010"})
        numbers.emplace_back(n);
    return numbers;
}

// Numbers placed glyph by glyph take the extent and the pixels Qt gives them laid out whole, in
// the faces, styles and sizes of the graphs, with Qt's shaping and without it.
TEST(DigitText, NumbersTakeTheExtentAndPixelsOfTheWholeText)
{
    const std::vector<std::string> numbers = numbers_to_compare();
    for (const char* family : {"Liberation Sans", "Liberation Serif", "Liberation Mono"})
        for (const bool bold : {false, true})
            for (const bool italic : {false, true})
                for (const int pixels : {9, 12, 14, 20})
                    for (const bool shaping : {false, true}) {
                        QFont font(QString::fromLatin1(family));
                        font.setPixelSize(pixels);
                        font.setBold(bold);
                        font.setItalic(italic);
                        font.setStyleStrategy(QFont::StyleStrategy(
                            QFont::NoAntialias | QFont::PreferMatch | (shaping ? 0 : QFont::PreferNoShaping)));
                        SCOPED_TRACE(font.toString().toStdString());
                        const QFontMetrics metrics(font);
                        const std::unique_ptr<DigitText> digits = DigitText::for_font(font, metrics, true);
                        ASSERT_TRUE(digits);
                        const QSize size(metrics.horizontalAdvance(QString(24, QLatin1Char('0'))) + 4 * pixels, 3 * pixels);
                        const QPoint origin(pixels, pixels + metrics.ascent());
                        for (const std::string& n : numbers) {
                            const QString text = QString::fromStdString(n);
                            ASSERT_EQ(digits->lay_out(n), metrics.horizontalAdvance(text)) << n;
                            const QImage by_glyph = painted(font, size, [&](QPainter& p) { digits->paint(p, origin); });
                            const QImage whole = painted(font, size, [&](QPainter& p) { p.drawText(origin, text); });
                            ASSERT_EQ(by_glyph, whole) << n;
                            // Set pixel by pixel: the same, in the pen's colour, and cut at the
                            // picture's edges as Qt cuts it.
                            const QColor color(0x12, 0x9a, 0x56);
                            for (const QPoint at : {origin, QPoint(-pixels / 2, pixels / 3)}) {
                                QImage by_pixel(size, QImage::Format_RGB32);
                                by_pixel.fill(Qt::white);
                                ASSERT_TRUE(digits->blit(pixels_of(by_pixel), color.rgb(), at.x(), at.y()));
                                ASSERT_EQ(by_pixel, painted(font, size, [&](QPainter& p) {
                                              p.setPen(color);
                                              p.drawText(at, text);
                                          })) << n << " at " << at.x();
                            }
                            const QRect ink = digits->ink(origin.x(), origin.y());
                            for (int y = 0; y < size.height(); ++y)
                                for (int x = 0; x < size.width(); ++x)
                                    ASSERT_TRUE(by_glyph.pixel(x, y) == qRgb(255, 255, 255) || ink.contains(x, y)) << n;
                        }
                    }
}

TEST(DigitText, DecoratedOrSpacedFontsAndOtherTextsAreLaidOutWhole)
{
    const auto decorated = [](auto change) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(12);
        change(font);
        return DigitText::for_font(font, QFontMetrics(font), false) == nullptr;
    };
    EXPECT_FALSE(decorated([](QFont&) {}));
    EXPECT_TRUE(decorated([](QFont& f) { f.setUnderline(true); }));
    EXPECT_TRUE(decorated([](QFont& f) { f.setOverline(true); }));
    EXPECT_TRUE(decorated([](QFont& f) { f.setStrikeOut(true); }));
    EXPECT_TRUE(decorated([](QFont& f) { f.setLetterSpacing(QFont::AbsoluteSpacing, 2); }));
    EXPECT_TRUE(decorated([](QFont& f) { f.setWordSpacing(3); }));
    EXPECT_TRUE(decorated([](QFont& f) { f.setStretch(120); }));
    // Made for a surface without pixels, or too tall to be worth it, its numbers set none.
    for (const auto& [pixels, height] : {std::pair{false, 12}, {true, DigitText::kLargestSetCell + 1}}) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(height);
        const std::unique_ptr<DigitText> digits = DigitText::for_font(font, QFontMetrics(font), pixels);
        ASSERT_TRUE(digits);
        digits->lay_out("12");
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QImage white = image.copy();
        EXPECT_FALSE(digits->blit(pixels_of(image), 0xFF000000u, 5, 20)) << height;
        EXPECT_EQ(image, white);
    }

    const struct {
        const char* text;
        bool number;
    } texts[] = {{"0", true},  {"0123456789", true}, {"123456789012345678901234", true},
                 {"", false},  {"1234567890123456789012345", false},
                 {"-1", false}, {" 1", false}, {"1.5", false}, {"12a", false}, {"٣", false}};
    for (const auto& t : texts)
        EXPECT_EQ(DigitText::is_number(t.text), t.number) << t.text;
}

} // namespace
} // namespace vorax::gwl
