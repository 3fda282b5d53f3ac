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
#include "gwl/surface/record_walk.h"
#include "gwl/surface/qt_fonts.h"
#include "gwl/surface/vector_writers.h"

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

// Says the walk of a record in QPainter's terms, changing pens, brushes and fonts only when they
// change.
class PainterSink final : public VectorSink {
public:
    PainterSink(const DrawRecord& record, QPainter& painter, bool xml_texts)
        : record_(record), painter_(painter), xml_texts_(xml_texts)
    {
    }

    void fill_box(const PixelRect& box, Rgb color) override
    {
        painter_.fillRect(QRectF(box.x, box.y, box.width, box.height), qcolor_of(color));
    }

    void fill_boxes(std::span<const PixelRect> boxes, Rgb color) override
    {
        no_pen();
        painter_.setBrush(qcolor_of(color));
        std::vector<QRectF> rects;
        rects.reserve(boxes.size());
        for (const PixelRect& b : boxes)
            rects.emplace_back(b.x, b.y, b.width, b.height);
        painter_.drawRects(rects.data(), static_cast<int>(rects.size()));
    }

    void polyline(const LinePen& pen, std::span<const PixelPoint> points) override
    {
        use_pen(pen);
        points_.clear();
        for (const PixelPoint p : points)
            points_.push_back(centre(p.x, p.y));
        painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
    }

    // A patterned line reaches half a pixel beyond both centres, as its pixels do.
    void patterned_line(const LinePen& pen, PixelPoint a, PixelPoint b) override
    {
        use_pen(pen);
        const QPointF from = centre(a.x, a.y);
        const QPointF to = centre(b.x, b.y);
        const QPointF half = (to - from) * (0.5 / QLineF(from, to).length());
        painter_.drawLine(QLineF(from - half, to + half));
    }

    void outline(const LinePen& pen, const Shape& shape) override
    {
        use_pen(pen);
        painter_.setBrush(Qt::NoBrush);
        switch (shape.kind) {
        case RecordOp::rectangle:
            painter_.drawRect(QRectF(centre(shape.a, shape.b), centre(shape.c, shape.d)));
            break;
        case RecordOp::ellipse:
            painter_.drawEllipse(QRectF(centre(shape.a, shape.b), centre(shape.c, shape.d)));
            break;
        default:
            set_points(shape.points);
            painter_.drawPolygon(points_.data(), static_cast<int>(points_.size()));
        }
    }

    void fill_shape(const Shape& shape, Rgb color) override
    {
        no_pen();
        painter_.setBrush(qcolor_of(color));
        const QRectF box(shape.a, shape.b, shape.c - shape.a + 1.0, shape.d - shape.b + 1.0);
        switch (shape.kind) {
        case RecordOp::rectangle: painter_.drawRect(box); break;
        case RecordOp::ellipse:
            painter_.drawEllipse(box);
            break;
        default:
            set_points(shape.points);
            painter_.drawPolygon(points_.data(), static_cast<int>(points_.size()), Qt::OddEvenFill);
        }
    }

    void text(std::int32_t font_index, Rgb color, int x, int baseline, std::string_view text) override
    {
        pen_.reset();
        painter_.setPen(qcolor_of(color));
        const QString shown = qt_text(text);
        painter_.setFont(font(font_index));
        painter_.drawText(QPointF(x, baseline), xml_texts_ ? xml_characters(shown) : shown);
    }

private:
    void use_pen(const LinePen& pen)
    {
        if (pen_ == pen)
            return;
        QPen qpen(qcolor_of(pen.color), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        if (pen.style != raster::PenStyle::solid) {
            qpen.setCapStyle(Qt::FlatCap);
            qpen.setDashPattern(dash_pattern(pen.style));
        }
        painter_.setPen(qpen);
        pen_ = pen;
    }

    void no_pen()
    {
        painter_.setPen(Qt::NoPen);
        pen_.reset();
    }

    void set_points(std::span<const PixelPoint> points)
    {
        points_.clear();
        for (const PixelPoint p : points)
            points_.push_back(centre(p.x, p.y));
    }

    const QFont& font(std::int32_t index)
    {
        if (fonts_.size() <= static_cast<std::size_t>(index))
            fonts_.resize(static_cast<std::size_t>(index) + 1);
        std::optional<QFont>& made = fonts_[static_cast<std::size_t>(index)];
        if (!made)
            made = font_of_record(record_.font(index));
        return *made;
    }

    const DrawRecord& record_;
    QPainter& painter_;
    bool xml_texts_ = false;
    std::optional<LinePen> pen_;
    std::vector<QPointF> points_;
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
        replay(record, *painter, area, QRectF(QPointF(0, 0), area), ReplayOptions{xml_texts, nullptr});
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
    PainterSink sink(record, painter, options.xml_texts);
    walk_record(record, area.width(), area.height(), sink, options.only);
    painter.restore();
}

std::string svg_document(const DrawRecord& record, const QSize& area, const QString& title)
{
    return svg_text(record, area.width(), area.height(), title.toStdString());
}

std::string pdf_document(const DrawRecord& record, const QSize& area, const QString& title)
{
    bool given = false;
    const qint64 seconds = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&given);
    const std::string date = given ? QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
                                         .toString(QStringLiteral("yyyyMMddHHmmss"))
                                         .toStdString()
                                   : std::string();
    if (std::optional<std::string> pdf = pdf_file(record, area.width(), area.height(), title.toStdString(), date))
        return std::move(*pdf);
    return painted_pdf_document(record, area, title).toStdString();
}

QByteArray painted_svg_document(const DrawRecord& record, const QSize& area, const QString& title)
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

QByteArray painted_pdf_document(const DrawRecord& record, const QSize& area, const QString& title)
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
