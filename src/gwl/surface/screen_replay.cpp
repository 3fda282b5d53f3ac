// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/screen_replay.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gwl/platform/qt_text.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/qt_fonts.h"
#include "gwl/surface/record_walk.h"
#include "gwl/surface/surface_private.h"

namespace vorax::gwl {

namespace {

// A magnified screen: the operations drawn straight into the image's pixels by the rasteriser,
// lines and outlines one screen pixel wide (a pattern's runs in screen pixels, as a cosmetic
// pen draws them), boxes, marks and fills grown to the magnification, texts from glyphs drawn
// once at the screen's size.
class ScreenSink final : public VectorSink {
public:
    ScreenSink(const DrawRecord& record, const raster::PixelBuffer& part, double scale, QPointF origin)
        : record_(record), part_(part), scale_(scale), origin_(origin)
    {
    }

    void fill_box(const PixelRect& box, Rgb color) override
    {
        const int left = edge_x(box.x);
        const int right = edge_x(box.x + box.width);
        const int top = edge_y(box.y);
        const int bottom = edge_y(box.y + box.height);
        if (right > left && bottom > top)
            raster::fill_rectangle(part_, left, top, right - 1, bottom - 1, solid(color));
    }

    void fill_boxes(std::span<const PixelRect> boxes, Rgb color) override
    {
        for (const PixelRect& box : boxes)
            fill_box(box, color);
    }

    void polyline(const LinePen& pen, std::span<const PixelPoint> points) override
    {
        const std::uint32_t color = pixel_of(pen.color);
        PixelPoint from = on_screen(points[0]);
        for (std::size_t i = 1; i < points.size(); ++i) {
            const PixelPoint to = on_screen(points[i]);
            raster::draw_line(part_, from, to, color, kSolid);
            from = to;
        }
    }

    void patterned_line(const LinePen& pen, PixelPoint from, PixelPoint to) override
    {
        raster::draw_line(part_, on_screen(from), on_screen(to), pixel_of(pen.color), raster::LinePattern(pen.style));
    }

    void outline(const LinePen& pen, const Shape& shape) override
    {
        const std::uint32_t color = pixel_of(pen.color);
        const raster::LinePattern pattern(pen.style);
        const PixelPoint first = on_screen({shape.a, shape.b});
        const PixelPoint last = on_screen({shape.c, shape.d});
        switch (shape.kind) {
        case RecordOp::rectangle: {
            const PixelPoint corners[] = {first, {last.x, first.y}, last, {first.x, last.y}};
            raster::draw_outline(part_, corners, color, pattern);
            break;
        }
        case RecordOp::ellipse: ellipse(first.x, first.y, last.x, last.y, color, nullptr); break;
        default: raster::draw_outline(part_, mapped(shape.points), color, pattern);
        }
    }

    void fill_shape(const Shape& shape, Rgb color) override
    {
        const raster::Fill fill = solid(color);
        switch (shape.kind) {
        case RecordOp::rectangle: fill_box({shape.a, shape.b, shape.c - shape.a + 1, shape.d - shape.b + 1}, color); break;
        case RecordOp::ellipse: {
            const int right = edge_x(shape.c + 1) - 1;
            const int bottom = edge_y(shape.d + 1) - 1;
            const int left = std::min(edge_x(shape.a), right);
            const int top = std::min(edge_y(shape.b), bottom);
            ellipse(left, top, right, bottom, fill.fore, &fill.fore);
            break;
        }
        default: raster::fill_polygon(part_, mapped(shape.points), fill);
        }
    }

    // Glyph after glyph, each drawn once per face at the screen's size (without smoothing, as on
    // the surface) and kept as runs of pixels: the painter caches no glyph this large and would
    // fill its outline for every number.
    void text(std::int32_t font_index, Rgb color, int x, int baseline, std::string_view text) override
    {
        if (faces_.size() <= static_cast<std::size_t>(font_index))
            faces_.resize(static_cast<std::size_t>(font_index) + 1);
        std::unique_ptr<Face>& face = faces_[static_cast<std::size_t>(font_index)];
        if (!face) {
            QFont font = font_of_record(record_.font(font_index));
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale_))));
            font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
            face = std::make_unique<Face>(font);
        }
        double pen = x * scale_ + origin_.x();
        const int y = static_cast<int>(std::lround(baseline * scale_ + origin_.y()));
        const QString shown = qt_text(text);
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const bool pair = shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate();
            const char32_t code = pair ? QChar::surrogateToUcs4(shown[i], shown[i + 1]) : shown[i].unicode();
            const Glyph& glyph = face->glyph(code, shown.mid(i, pair ? 2 : 1));
            stamp(glyph.runs, static_cast<int>(std::lround(pen)), y, pixel_of(color));
            pen += glyph.advance;
            i += pair ? 1 : 0;
        }
    }

private:
    static inline const raster::LinePattern kSolid{raster::PenStyle::solid};

    static raster::Fill solid(Rgb color) { return {pixel_of(color), 0, std::nullopt}; }

    // The part's pixel column or row where a drawing pixel's edge falls.
    int edge_x(int x) const { return static_cast<int>(std::clamp(std::lround(x * scale_ + origin_.x()), -kFar, kFar)); }
    int edge_y(int y) const { return static_cast<int>(std::clamp(std::lround(y * scale_ + origin_.y()), -kFar, kFar)); }

    // The part's pixel under the centre of a drawing pixel.
    PixelPoint on_screen(PixelPoint p) const
    {
        const auto at = [](double v) { return static_cast<int>(std::clamp(std::floor(v), -1e9, 1e9)); };
        return {at((p.x + 0.5) * scale_ + origin_.x()), at((p.y + 0.5) * scale_ + origin_.y())};
    }

    std::span<const PixelPoint> mapped(std::span<const PixelPoint> points)
    {
        points_.clear();
        for (const PixelPoint p : points)
            points_.push_back(on_screen(p));
        return points_;
    }

    static constexpr long kFar = 1L << 30;

    // A run of pixels along a row of a shape drawn once, in its colour or its interior's.
    struct Span {
        int x, y, length;
        bool inside;
    };

    // A glyph's pixels as runs along its rows, placed from the pen's place on the baseline; its
    // advance.
    struct Glyph {
        std::vector<Span> runs;
        double advance = 0.0;
    };
    class Face {
    public:
        explicit Face(const QFont& font) : font_(font), metrics_(font) {}
        const Glyph& glyph(char32_t code, const QString& character)
        {
            auto [at, made] = glyphs_.try_emplace(code);
            if (made)
                at->second = draw(character);
            return at->second;
        }

    private:
        Glyph draw(const QString& character) const
        {
            Glyph g;
            g.advance = metrics_.horizontalAdvance(character);
            const QRect ink = metrics_.boundingRect(character).toAlignedRect().adjusted(-2, -2, 2, 2);
            if (ink.isEmpty())
                return g;
            QImage image(ink.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setFont(font_);
            painter.setPen(Qt::black);
            painter.drawText(-ink.left(), -ink.top(), character);
            painter.end();
            for (int row = 0; row < image.height(); ++row) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
                for (int column = 0; column < image.width();) {
                    const int start = column;
                    while (column < image.width() && qAlpha(line[column]) >= 128)
                        ++column;
                    if (column > start)
                        g.runs.push_back({ink.left() + start, ink.top() + row, column - start, false});
                    else
                        ++column;
                }
            }
            return g;
        }

        QFont font_;
        QFontMetricsF metrics_;
        std::unordered_map<char32_t, Glyph> glyphs_;
    };

    // An ellipse as the rasteriser draws it (an outline, or filled with `inside`), from its shape
    // for this size, found once: a graph's node marks are all of a few sizes.
    void ellipse(int left, int top, int right, int bottom, std::uint32_t outline, const std::uint32_t* inside)
    {
        const int width = right - left + 1;
        const int height = bottom - top + 1;
        if (width > 512 || height > 512 || left > part_.width || top > part_.height || right < -1 || bottom < -1) {
            const raster::Fill fill{inside ? *inside : 0, 0, std::nullopt};
            raster::draw_ellipse(part_, left, top, right, bottom, outline, inside ? &fill : nullptr);
            return;
        }
        const std::uint64_t key = (std::uint64_t(width) << 32) | (std::uint64_t(height) << 1) | (inside ? 1 : 0);
        auto [at, made] = ellipses_.try_emplace(key);
        if (made) {
            // Drawn on a small buffer in two marker colours, read back as runs of each.
            std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
            const raster::PixelBuffer local{bits.data(), width, height, width};
            const raster::Fill interior{2, 2, std::nullopt};
            raster::draw_ellipse(local, 0, 0, width - 1, height - 1, 1, inside ? &interior : nullptr);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width;) {
                    const std::uint32_t v = bits[static_cast<std::size_t>(y) * width + x];
                    const int start = x;
                    while (x < width && bits[static_cast<std::size_t>(y) * width + x] == v)
                        ++x;
                    if (v != 0)
                        at->second.push_back({start, y, x - start, v == 2});
                }
        }
        stamp(at->second, left, top, outline, inside ? *inside : 0);
    }

    // Runs of pixels in one colour at (x, y) of the part.
    void stamp(const std::vector<Span>& runs, int x, int y, std::uint32_t color, std::uint32_t inside = 0) const
    {
        for (const Span& span : runs) {
            const int row = y + span.y;
            if (row < 0 || row >= part_.height)
                continue;
            const int from = std::max(x + span.x, 0);
            const int to = std::min(x + span.x + span.length, part_.width);
            if (to > from)
                std::fill(&part_.at(from, row), &part_.at(from, row) + (to - from), span.inside ? inside : color);
        }
    }

    const DrawRecord& record_;
    raster::PixelBuffer part_;
    double scale_;
    QPointF origin_; // where the drawing area's corner falls, in the part's pixels
    std::vector<PixelPoint> points_;
    std::vector<std::unique_ptr<Face>> faces_;
    std::unordered_map<std::uint64_t, std::vector<Span>> ellipses_; // by width, height, filled
};

} // namespace

void replay_on_screen(const DrawRecord& record, const raster::PixelBuffer& image, const QSize& area, double scale,
                      QPoint offset, const QRect& part, const std::vector<std::uint32_t>* only)
{
    const QRect inside = part.intersected(QRect(0, 0, image.width, image.height));
    if (area.isEmpty() || inside.isEmpty() || scale <= 0.0)
        return;
    const raster::PixelBuffer pixels{&image.at(inside.left(), inside.top()), inside.width(), inside.height(),
                                     image.stride};
    ScreenSink sink(record, pixels, scale, QPointF(-offset.x() - inside.left(), -offset.y() - inside.top()));
    walk_record(record, area.width(), area.height(), sink, only);
}

} // namespace vorax::gwl
