// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/vector_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <QSize>
#include <QSvgGenerator>

#include <memory>
#include <new>
#include <QDateTime>

#include <algorithm>
#include <optional>
#include <vector>

#include "gwl/platform/qt_text.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/qt_color.h"
#include "gwl/surface/raster.h"

namespace vorax::gwl {

namespace {

constexpr double kPixelsPerInch = 96.0;
constexpr double kPointsPerPixel = 72.0 / kPixelsPerInch;

// The centre of a pixel, where lines and outlines run.
QPointF centre(int x, int y) { return {x + 0.5, y + 0.5}; }

// The on and off runs of a pen style in pixels, as the rasteriser draws them.
QList<qreal> dash_pattern(raster::PenStyle style)
{
    QList<qreal> runs;
    for (const int run : raster::dash_runs(style))
        runs.push_back(run);
    return runs;
}

} // namespace

QString xml_characters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) {
            out += c;
            out += text[++i];
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF)
                             || (u >= 0xE000 && u <= 0xFFFD);
        out += allowed ? c : QChar(QChar::ReplacementCharacter);
    }
    return out;
}

namespace {

// Draws the operations of a record in order, changing pens, brushes and fonts only when the look
// changes, and joining lines that continue one another into one polyline.
class Replay {
public:
    Replay(const DrawRecord& record, QPainter& painter, const QSize& area, const ReplayOptions& options)
        : record_(record), painter_(painter), area_(area), xml_texts_(options.xml_texts),
          hairlines_(options.hairlines), only_(options.only)
    {
    }

    void run()
    {
        if (only_ != nullptr) {
            const OpStore& ops = record_.ops();
            for (const std::uint32_t i : *only_)
                if (i < ops.size())
                    draw(ops[i]);
        } else {
            for (const DrawOp& op : record_.ops())
                draw(op);
        }
        flush_chain();
    }

private:
    void draw(const DrawOp& op)
    {
        if (op.kind != RecordOp::line)
            flush_chain();
        switch (op.kind) {
        case RecordOp::clear:
            painter_.fillRect(QRectF(0, 0, area_.width(), area_.height()), qcolor_of(record_.look(op.look).background));
            break;
        case RecordOp::line: line(op); break;
        case RecordOp::rectangle:
        case RecordOp::ellipse:
        case RecordOp::polygon: shape(op); break;
        case RecordOp::text:
        case RecordOp::layer_text: text(op); break;
        }
    }

    // A pen one pixel of the drawing wide, or one pixel of the device for hairlines.
    QPen one_pixel_pen(const QColor& color) const
    {
        QPen pen(color, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        pen.setCosmetic(hairlines_);
        return pen;
    }

    // --- Pens ----------------------------------------------------------------------------------
    // The pen of a look's lines: one pixel wide; a solid line covers its end pixels with square
    // caps, a patterned one starts its first run at the edge of its first pixel.
    void use_line_pen(std::uint32_t look_index)
    {
        if (pen_look_ == look_index)
            return;
        flush_chain();
        const RecordedLook& look = record_.look(look_index);
        const raster::PenStyle style = raster::pen_style_for_mask(look.line_style);
        pen_style_ = style;
        QPen pen = one_pixel_pen(qcolor_of(look.color));
        if (style == raster::PenStyle::invisible) {
            pen = QPen(Qt::NoPen);
        } else if (style != raster::PenStyle::solid) {
            pen.setCapStyle(Qt::FlatCap);
            pen.setDashPattern(dash_pattern(style));
        }
        painter_.setPen(pen);
        pen_look_ = look_index;
    }
    void forget_pen() { pen_look_.reset(); }

    // --- Lines ---------------------------------------------------------------------------------
    void line(const DrawOp& op)
    {
        use_line_pen(op.look);
        if (pen_style_ == raster::PenStyle::invisible)
            return;
        const QPointF from = centre(op.a, op.b);
        const QPointF to = centre(op.c, op.d);
        if (pen_style_ != raster::PenStyle::solid) {
            patterned_line(from, to);
            return;
        }
        if (!chain_.empty() && chain_.back() == from) {
            if (to != from)
                chain_.push_back(to);
            return;
        }
        flush_chain();
        chain_.push_back(from);
        if (to != from)
            chain_.push_back(to);
    }

    // A patterned line reaches half a pixel beyond both centres, as its pixels do.
    void patterned_line(QPointF from, QPointF to)
    {
        const QLineF line(from, to);
        const qreal length = line.length();
        if (length == 0) {
            painter_.fillRect(QRectF(from.x() - 0.5, from.y() - 0.5, 1, 1), painter_.pen().color());
            return;
        }
        const QPointF half = (to - from) * (0.5 / length);
        painter_.drawLine(QLineF(from - half, to + half));
    }

    void flush_chain()
    {
        if (chain_.size() == 1) {
            // A line from a pixel to itself is that pixel.
            const QPointF p = chain_.front();
            painter_.fillRect(QRectF(p.x() - 0.5, p.y() - 0.5, 1, 1), painter_.pen().color());
        } else if (chain_.size() > 1) {
            painter_.drawPolyline(chain_.data(), static_cast<int>(chain_.size()));
        }
        chain_.clear();
    }

    // --- Shapes --------------------------------------------------------------------------------
    void shape(const DrawOp& op)
    {
        const RecordedLook& look = record_.look(op.look);
        if (op.filled)
            fill_interior(op, look);
        // Ellipses are outlined solid, whatever the line style.
        if (op.kind == RecordOp::ellipse) {
            painter_.setPen(one_pixel_pen(qcolor_of(look.color)));
            forget_pen();
        } else {
            use_line_pen(op.look);
        }
        painter_.setBrush(Qt::NoBrush);
        if (painter_.pen().style() == Qt::NoPen)
            return;
        const PixelRect box = record_.bounds(op);
        if (op.kind != RecordOp::polygon && (box.width == 1 || box.height == 1)) {
            // A box one pixel thin is a row or column of pixels.
            painter_.fillRect(QRectF(box.x, box.y, box.width, box.height), painter_.pen().color());
            return;
        }
        switch (op.kind) {
        case RecordOp::rectangle:
            painter_.drawRect(QRectF(centre(op.a, op.b), centre(op.c, op.d)));
            break;
        case RecordOp::ellipse:
            painter_.drawEllipse(QRectF(centre(op.a, op.b), centre(op.c, op.d)));
            break;
        default: {
            const std::vector<QPointF> points = polygon_points(op);
            painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
        }
        }
    }

    std::vector<QPointF> polygon_points(const DrawOp& op) const
    {
        std::vector<QPointF> points;
        for (const PixelPoint p : record_.polygon_points(op))
            points.push_back(centre(p.x, p.y));
        return points;
    }

    bool solid_fill(const RecordedLook& look) const
    {
        return !look.fill_mask
               || std::all_of(look.fill_mask->begin(), look.fill_mask->end(),
                              [](std::uint8_t row) { return row == 0xFF; });
    }

    void fill_interior(const DrawOp& op, const RecordedLook& look)
    {
        painter_.setPen(Qt::NoPen);
        forget_pen();
        if (!solid_fill(look)) {
            pattern_fill(op, look);
            return;
        }
        painter_.setBrush(qcolor_of(look.color));
        switch (op.kind) {
        case RecordOp::rectangle:
            painter_.drawRect(QRectF(op.a, op.b, op.c - op.a + 1.0, op.d - op.b + 1.0));
            break;
        case RecordOp::ellipse:
            painter_.drawEllipse(QRectF(op.a, op.b, op.c - op.a + 1.0, op.d - op.b + 1.0));
            break;
        default: {
            const std::vector<QPointF> points = polygon_points(op);
            painter_.drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
        }
        }
    }

    // An 8 x 8 pattern, aligned to the drawing area as on the surface, as runs of pixels down
    // each column: the set bits in the drawing colour, the clear ones in the background colour.
    // The pixels are those the rasteriser fills, found by filling the shape on a small buffer.
    void pattern_fill(const DrawOp& op, const RecordedLook& look)
    {
        const PixelRect b = record_.bounds(op);
        const int left = std::max(b.x, 0);
        const int top = std::max(b.y, 0);
        const int right = std::min(b.x + b.width, area_.width()) - 1;
        const int bottom = std::min(b.y + b.height, area_.height()) - 1;
        if (left > right || top > bottom)
            return;
        const int w = right - left + 1;
        const int h = bottom - top + 1;
        std::vector<std::uint32_t> bits(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
        const raster::PixelBuffer local{bits.data(), w, h, w};
        const raster::Fill inside{1, 1, std::nullopt};
        switch (op.kind) {
        case RecordOp::rectangle:
            raster::fill_rectangle(local, op.a - left, op.b - top, op.c - left, op.d - top, inside);
            break;
        case RecordOp::ellipse:
            raster::draw_ellipse(local, op.a - left, op.b - top, op.c - left, op.d - top, 1, &inside);
            break;
        default: {
            std::vector<PixelPoint> moved;
            for (const PixelPoint p : record_.polygon_points(op))
                moved.push_back({p.x - left, p.y - top});
            raster::fill_polygon(local, moved, inside);
        }
        }
        const auto set = [&](int x, int y) { return raster::mask_sets(*look.fill_mask, x, y); };
        std::vector<QRectF> runs[2]; // clear bits, set bits
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h;) {
                if (bits[static_cast<std::size_t>(y) * w + x] == 0) {
                    ++y;
                    continue;
                }
                const bool on = set(left + x, top + y);
                const int start = y;
                while (y < h && bits[static_cast<std::size_t>(y) * w + x] != 0
                       && set(left + x, top + y) == on)
                    ++y;
                runs[on ? 1 : 0].emplace_back(left + x, top + start, 1, y - start);
            }
        }
        const Rgb colors[2] = {look.background, look.color};
        for (int on = 0; on < 2; ++on) {
            if (runs[on].empty())
                continue;
            painter_.setBrush(qcolor_of(colors[on]));
            painter_.drawRects(runs[on].data(), static_cast<int>(runs[on].size()));
        }
    }

    // --- Text ----------------------------------------------------------------------------------
    const QFont& font(std::int32_t index)
    {
        if (fonts_.size() <= static_cast<std::size_t>(index))
            fonts_.resize(static_cast<std::size_t>(index) + 1);
        std::optional<QFont>& made = fonts_[static_cast<std::size_t>(index)];
        if (!made) {
            const RecordedFont& f = record_.font(index);
            QFont font(QString::fromStdString(f.family));
            font.setPixelSize(std::max(f.pixel_size, 1));
            font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight, 1, 1000)));
            font.setItalic(f.italic);
            font.setUnderline(f.underline);
            if (f.stretch != 100)
                font.setStretch(f.stretch);
            // Glyph after glyph, as on the surface.
            font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferMatch | QFont::PreferNoShaping));
            made = font;
        }
        return *made;
    }

    void text(const DrawOp& op)
    {
        const RecordedLook& look = record_.look(op.look);
        if (look.font < 0)
            return;
        const RecordedFont& f = record_.font(look.font);
        forget_pen();
        int baseline = op.b;
        if (op.kind == RecordOp::layer_text) {
            painter_.fillRect(QRectF(op.a, op.b, op.d, f.height), qcolor_of(look.background));
            baseline = op.b + f.ascent;
        }
        painter_.setFont(font(look.font));
        painter_.setPen(qcolor_of(look.color));
        const QString text = qt_text(record_.text(op));
        painter_.drawText(QPointF(op.a, baseline), xml_texts_ ? xml_characters(text) : text);
    }

    const DrawRecord& record_;
    QPainter& painter_;
    QSize area_;
    bool xml_texts_ = false;
    bool hairlines_ = false;
    const std::vector<std::uint32_t>* only_ = nullptr;
    std::optional<std::uint32_t> pen_look_;
    raster::PenStyle pen_style_ = raster::PenStyle::solid;
    std::vector<QPointF> chain_;
    std::vector<std::optional<QFont>> fonts_;
};

// The generator gives the document's size in millimetres rounded to three decimals, which a
// viewer turns into one pixel too many; points at 96 pixels per inch are exact.
QByteArray with_size_in_points(QByteArray svg, const QSize& area)
{
    const qsizetype start = svg.indexOf("<svg width=\"");
    const qsizetype end = start < 0 ? -1 : svg.indexOf('\n', start);
    if (end < 0)
        return svg;
    const QByteArray size = QStringLiteral("<svg width=\"%1pt\" height=\"%2pt\"")
                                .arg(area.width() * kPointsPerPixel)
                                .arg(area.height() * kPointsPerPixel)
                                .toLatin1();
    return svg.replace(start, end - start, size);
}

// The same drawing gives the same bytes: the writer's creation date becomes the one
// SOURCE_DATE_EPOCH gives, or, without it, a comment of the same length (the cross-reference
// table counts bytes, so nothing may move).
QByteArray with_reproducible_date(QByteArray pdf)
{
    static const QByteArray kKey = "/CreationDate (D:";
    const qsizetype start = pdf.indexOf(kKey);
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(')', start);
    if (end < 0)
        return pdf;
    bool given = false;
    const qint64 seconds = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&given);
    const QByteArray date = QDateTime::fromSecsSinceEpoch(given ? seconds : 0, Qt::UTC)
                                .toString(QStringLiteral("yyyyMMddHHmmss"))
                                .toLatin1();
    const qsizetype digits = start + kKey.size();
    if (given && end - digits == date.size() + 1) // the digits, then "Z"
        pdf.replace(digits, date.size(), date);
    else if (!given)
        pdf.replace(start, end + 1 - start, "%" + QByteArray(end - start, ' '));
    return pdf;
}

// Replays the record onto a document. The painter is ended before the memory running out is
// passed on: ended by its destructor while the exception unwinds, a second one would end the
// process.
bool paint_record(QPaintDevice& device, const DrawRecord& record, const QSize& area, bool xml_texts)
{
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&device))
        return false;
    try {
        replay(record, *painter, area, QRectF(QPointF(0, 0), area), ReplayOptions{xml_texts, false, nullptr});
        return painter->end(); // a document is written out here, and may run out of memory too
    } catch (const std::bad_alloc&) {
        try {
            painter->end();
        } catch (const std::bad_alloc&) {
        }
        // A painter that could not end would try again in its destructor, and throw there: it
        // is left to the end of the process, which is near.
        if (painter->isActive())
            (void)painter.release();
        throw;
    }
}

} // namespace

void replay(const DrawRecord& record, QPainter& painter, const QSize& area, const QRectF& target,
            const ReplayOptions& options)
{
    if (area.isEmpty() || target.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / area.width(), target.height() / area.height());
    Replay(record, painter, area, options).run();
    painter.restore();
}

QByteArray svg_document(const DrawRecord& record, const QSize& area, const QString& title)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(area);
    svg.setViewBox(QRect(QPoint(0, 0), area));
    svg.setResolution(static_cast<int>(kPixelsPerInch));
    // The generator writes the title as it is: a model title with "&" or "<" would break the XML.
    svg.setTitle(xml_characters(title).toHtmlEscaped());
    svg.setDescription(QStringLiteral("Structure Graph drawn by VORAX"));
    // Every text is made of characters XML allows (a form feed in a title is none).
    if (!paint_record(svg, record, area, true))
        return {};
    return with_size_in_points(bytes.data(), area);
}

QByteArray pdf_document(const DrawRecord& record, const QSize& area, const QString& title)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&bytes);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("VORAX"));
    pdf.setPageSize(QPageSize(QSizeF(area.width() * kPointsPerPixel, area.height() * kPointsPerPixel),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(static_cast<int>(kPixelsPerInch));
    if (!paint_record(pdf, record, area, false))
        return {};
    return with_reproducible_date(bytes.data());
}

} // namespace vorax::gwl
