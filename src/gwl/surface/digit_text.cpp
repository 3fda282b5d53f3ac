// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/digit_text.h"

#include "gwl/surface/image_pixels.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace vorax::gwl {

namespace {

// The numbers a font is tried on: every one of one and two digits (each pair of neighbours,
// where kerning would show) and a few longer ones.
std::vector<std::string> sample_numbers()
{
    std::vector<std::string> samples;
    for (char digit = '0'; digit <= '9'; ++digit)
        samples.emplace_back(1, digit);
    for (char first = '0'; first <= '9'; ++first)
        for (char second = '0'; second <= '9'; ++second)
            samples.push_back({first, second});
    for (const char* longer : {"101", "111", "1111", "7471", "100000", "1234567890", "9876543210"})
        samples.emplace_back(longer);
    return samples;
}

// The one glyph run of `text` laid out by Qt, or nothing when Qt drew it from several fonts or
// with a glyph other than one a character.
std::optional<QGlyphRun> laid_out(const QFont& font, const QString& text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1 || runs.front().glyphIndexes().size() != text.size())
        return std::nullopt;
    return runs.front();
}

// Whether every pixel that is not white lies within `box`.
bool ink_within(const QImage& image, const QRect& box)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFFu) != 0xFFFFFFu && !box.contains(x, y))
                return false;
    }
    return true;
}

} // namespace

void set_up_text_painter(QPainter& painter, const QFont& font, const QColor& color)
{
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(color);
}

std::unique_ptr<DigitText> DigitText::for_font(const QFont& font, const QFontMetrics& metrics, bool pixels)
{
    if (font.underline() || font.overline() || font.strikeOut() || font.letterSpacing() != 0
        || font.wordSpacing() != 0 || (font.stretch() != QFont::AnyStretch && font.stretch() != QFont::Unstretched))
        return nullptr;
    // Each digit alone gives its glyph and its advance at the end of a number; each pair of
    // digits the advance of the first before the second, kerned and rounded as Qt does it. Qt
    // positions glyphs by such advances, in 64ths of a pixel, which a double sums exactly.
    std::unique_ptr<DigitText> d(new DigitText);
    d->font_ = font;
    const QFontMetricsF exact(font);
    const QRawFont raw = QRawFont::fromFont(font);
    for (int first = 0; first < 10; ++first) {
        const std::optional<QGlyphRun> alone = laid_out(font, QString(QChar(u'0' + first)));
        if (!alone || alone->rawFont() != raw)
            return nullptr;
        const std::size_t a = static_cast<std::size_t>(first);
        d->glyphs_[a] = alone->glyphIndexes().front();
        d->last_advances_[a] = exact.horizontalAdvance(QString(QChar(u'0' + first)));
        d->glyph_boxes_[a] = raw.boundingRect(d->glyphs_[a]);
        for (int second = 0; second < 10; ++second) {
            const std::optional<QGlyphRun> pair =
                laid_out(font, QString(QChar(u'0' + first)) + QChar(u'0' + second));
            if (!pair || pair->rawFont() != raw)
                return nullptr;
            d->advances_[a][static_cast<std::size_t>(second)] = pair->positions()[1].x() - pair->positions()[0].x();
        }
    }

    const int cell = std::max(metrics.height(), 1);
    d->cell_ = cell;
    // A digit alone is painted into room of 4 x 4 cells: beyond some size that costs more than
    // the glyph runs it saves.
    d->blits_ = pixels && cell <= kLargestSetCell;
    QImage whole, by_glyph, by_pixel;
    if (pixels) {
        whole = QImage(metrics.horizontalAdvance(QStringLiteral("0000000000")) + 4 * cell, 3 * cell,
                       QImage::Format_RGB32);
        by_glyph = whole.copy();
        by_pixel = whole.copy();
    }
    const int x = cell, baseline = cell + metrics.ascent();
    const std::vector<std::string> samples = sample_numbers();
    const auto agrees = [&](const std::string& sample) {
        const QString text = QString::fromLatin1(sample.data(), static_cast<qsizetype>(sample.size()));
        if (d->lay_out(sample) != metrics.horizontalAdvance(text))
            return false;
        if (!pixels)
            return true;
        paint_text_on_white(whole, font, [&](QPainter& p) { p.drawText(x, baseline, text); });
        paint_text_on_white(by_glyph, font, [&](QPainter& p) { d->paint(p, QPointF(x, baseline)); });
        if (whole != by_glyph || !ink_within(by_glyph, d->ink(x, baseline)))
            return false;
        // Digit by digit from their pixels, or glyph runs where that comes out otherwise.
        if (d->blits_) {
            by_pixel.fill(Qt::white);
            d->blits_ = d->blit(pixels_of(by_pixel), 0xFF000000u, x, baseline) && by_pixel == whole;
        }
        return true;
    };
    return std::all_of(samples.begin(), samples.end(), agrees) ? std::move(d) : nullptr;
}

bool DigitText::is_number(std::string_view text)
{
    return !text.empty() && text.size() <= kLongest
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DigitText::lay_out(std::string_view text)
{
    const auto count = static_cast<qsizetype>(text.size());
    indexes_.resize(count);
    positions_.resize(count);
    qreal at = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const auto digit = static_cast<std::size_t>(text[static_cast<std::size_t>(i)] - '0');
        indexes_[i] = glyphs_[digit];
        digits_[static_cast<std::size_t>(i)] = digit;
        positions_[i] = QPointF(at, 0);
        at += i + 1 < count ? advances_[digit][static_cast<std::size_t>(text[static_cast<std::size_t>(i + 1)] - '0')]
                            : last_advances_[digit];
    }
    return qRound(at);
}

void DigitText::paint(QPainter& painter, QPointF baseline_start) const
{
    // The raw font lives no longer than this call: it holds the font engine of the thread that
    // draws, which goes when that thread ends.
    QGlyphRun run;
    run.setRawFont(QRawFont::fromFont(font_));
    run.setGlyphIndexes(indexes_);
    run.setPositions(positions_);
    painter.drawGlyphRun(baseline_start, run);
}

QRect DigitText::ink(int x, int baseline) const
{
    QRectF box;
    for (qsizetype i = 0; i < indexes_.size(); ++i)
        box |= glyph_boxes_[digits_[static_cast<std::size_t>(i)]].translated(positions_[i]);
    // A pixel of slack for the rounding of the glyphs' edges to pixels.
    return box.translated(x, baseline).toAlignedRect().adjusted(-1, -1, 1, 1);
}

const DigitText::GlyphPixels* DigitText::glyph_pixels(std::size_t digit, int sixty_fourths)
{
    GlyphPixels& glyph = glyph_pixels_[digit][static_cast<std::size_t>(sixty_fourths)];
    if (glyph.made)
        return glyph.usable ? &glyph : nullptr;
    glyph.made = true;
    // The digit alone on white, its baseline starting `sixty_fourths` into the pixel at
    // (origin, origin), with room around it that its ink must not reach.
    const int origin = 2 * cell_;
    QImage image(4 * cell_, 4 * cell_, QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;
    paint_text_on_white(image, font_, [&](QPainter& painter) {
        QGlyphRun run;
        run.setRawFont(QRawFont::fromFont(font_));
        run.setGlyphIndexes({glyphs_[digit]});
        run.setPositions({QPointF(sixty_fourths / 64.0, 0)});
        painter.drawGlyphRun(QPointF(origin, origin), run);
    });
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == 0xFFFFFFFFu)
                continue;
            const bool edge = x == 0 || y == 0 || x + 1 == image.width() || y + 1 == image.height();
            if (row[x] != 0xFF000000u || edge) {
                glyph.offsets.clear();
                return nullptr;
            }
            glyph.offsets.emplace_back(static_cast<std::int16_t>(x - origin), static_cast<std::int16_t>(y - origin));
            glyph.left = std::min(glyph.left, x - origin);
            glyph.right = std::max(glyph.right, x - origin);
            glyph.top = std::min(glyph.top, y - origin);
            glyph.bottom = std::max(glyph.bottom, y - origin);
        }
    }
    glyph.usable = true;
    return &glyph;
}

bool DigitText::blit(const raster::PixelBuffer& pixels, std::uint32_t color, int x, int baseline)
{
    if (!blits_)
        return false;
    // Every digit's pixels first: a number is drawn whole this way or not at all.
    std::array<const GlyphPixels*, kLongest> glyphs{};
    std::array<long long, kLongest> starts{};
    for (qsizetype i = 0; i < indexes_.size(); ++i) {
        const qreal at = positions_[i].x();
        const qreal whole = std::floor(at);
        const qreal sixty_fourths = (at - whole) * 64;
        const auto i_ = static_cast<std::size_t>(i);
        if (sixty_fourths != std::floor(sixty_fourths)
            || (glyphs[i_] = glyph_pixels(digits_[i_], static_cast<int>(sixty_fourths))) == nullptr) {
            blits_ = false;
            return false;
        }
        starts[i_] = x + static_cast<long long>(whole);
    }
    for (qsizetype i = 0; i < indexes_.size(); ++i) {
        const GlyphPixels& glyph = *glyphs[static_cast<std::size_t>(i)];
        const long long start = starts[static_cast<std::size_t>(i)];
        // A glyph within the picture is set without a test for each pixel.
        if (start + glyph.left >= 0 && start + glyph.right < pixels.width
            && static_cast<long long>(baseline) + glyph.top >= 0 && static_cast<long long>(baseline) + glyph.bottom < pixels.height) {
            const std::ptrdiff_t at = baseline * pixels.stride + static_cast<std::ptrdiff_t>(start);
            for (const auto& [dx, dy] : glyph.offsets)
                pixels.bits[at + dy * pixels.stride + dx] = color;
            continue;
        }
        for (const auto& [dx, dy] : glyph.offsets) {
            const long long px = start + dx;
            const long long py = static_cast<long long>(baseline) + dy;
            if (px >= 0 && py >= 0 && px < pixels.width && py < pixels.height)
                pixels.at(static_cast<int>(px), static_cast<int>(py)) = color;
        }
    }
    return true;
}

} // namespace vorax::gwl
