// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSize>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/vector_output.h"
#include "surface_test_support.h"

namespace vorax::gwl {
namespace {

using testing::prepare_paper;

constexpr Rgb kLineRed = make_rgb(128, 0, 0);

// What an SVG document shows: the stroke colour and points of each line drawn (a subpath of a
// stroked path, or a polyline), the family, weight, colour and text of each text, and how many
// boxes are filled (rectangles and subpaths of filled paths).
struct SvgContent {
    struct Polyline {
        QString stroke;
        std::vector<QPointF> points;
    };
    struct Text {
        QString family, weight, fill, text;
        double x = 0, y = 0;
    };
    std::vector<Polyline> polylines;
    std::vector<Text> texts;
    int rects = 0;
    int dashed = 0; // shapes drawn with a dashed or dotted stroke
};

// The subpaths of a path's data (moves and straight lines, absolute or relative), each moved
// by `shift`.
std::vector<std::vector<QPointF>> subpaths(const QString& d, QPointF shift)
{
    std::vector<std::vector<QPointF>> paths;
    QPointF at;
    QChar command;
    qsizetype i = 0;
    const auto number = [&] {
        while (i < d.size() && (d[i] == u' ' || d[i] == u','))
            ++i;
        const qsizetype start = i;
        while (i < d.size() && (d[i].isDigit() || d[i] == u'.' || (i == start && d[i] == u'-')))
            ++i;
        return d.mid(start, i - start).toDouble();
    };
    while (i < d.size()) {
        if (d[i] == u' ' || d[i] == u',') {
            ++i;
            continue;
        }
        if (d[i].isLetter())
            command = d[i++];
        const bool relative = command.isLower();
        const QPointF base = relative ? at : QPointF();
        switch (command.toUpper().unicode()) {
        case u'M':
            at = base + QPointF(number(), 0);
            at.setY(base.y() + number());
            paths.push_back({at + shift});
            command = relative ? QChar(u'l') : QChar(u'L');
            break;
        case u'L':
            at = base + QPointF(number(), 0);
            at.setY(base.y() + number());
            paths.back().push_back(at + shift);
            break;
        case u'H':
            at.setX(base.x() + number());
            paths.back().push_back(at + shift);
            break;
        case u'V':
            at.setY(base.y() + number());
            paths.back().push_back(at + shift);
            break;
        default: // z
            at = paths.back().front() - shift;
            break;
        }
    }
    return paths;
}

QPointF translation(const QString& transform)
{
    static const QRegularExpression kTranslate(QStringLiteral("translate\\(([-.0-9]+)[ ,]+([-.0-9]+)\\)"));
    const QRegularExpressionMatch m = kTranslate.match(transform);
    return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QPointF();
}

SvgContent read_svg(const QByteArray& svg)
{
    SvgContent content;
    QXmlStreamReader xml(svg);
    std::vector<QXmlStreamAttributes> groups;
    QXmlStreamAttributes a;
    const auto inherited = [&](const char* name) {
        if (a.hasAttribute(QLatin1String(name)))
            return a.value(QLatin1String(name)).toString();
        for (auto g = groups.rbegin(); g != groups.rend(); ++g)
            if (g->hasAttribute(QLatin1String(name)))
                return g->value(QLatin1String(name)).toString();
        return QString();
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g"))
            groups.pop_back();
        if (!xml.isStartElement())
            continue;
        a = xml.attributes();
        if (xml.name() != QLatin1String("g") && !inherited("stroke-dasharray").isEmpty())
            ++content.dashed;
        if (xml.name() == QLatin1String("g")) {
            groups.push_back(a);
        } else if (xml.name() == QLatin1String("polyline")) {
            SvgContent::Polyline line{inherited("stroke"), {}};
            for (const QString& pair : a.value(QLatin1String("points")).toString().split(
                     QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QStringList xy = pair.split(QLatin1Char(','));
                line.points.emplace_back(xy[0].toDouble(), xy[1].toDouble());
            }
            content.polylines.push_back(line);
        } else if (xml.name() == QLatin1String("path")) {
            const auto parts = subpaths(a.value(QLatin1String("d")).toString(),
                                        translation(a.value(QLatin1String("transform")).toString()));
            if (inherited("fill") == QLatin1String("none")) {
                for (const auto& points : parts)
                    content.polylines.push_back({inherited("stroke"), points});
            } else {
                content.rects += static_cast<int>(parts.size());
            }
        } else if (xml.name() == QLatin1String("rect")) {
            ++content.rects;
        } else if (xml.name() == QLatin1String("text")) {
            SvgContent::Text text{a.value(QLatin1String("font-family")).toString(),
                                  a.value(QLatin1String("font-weight")).toString(),
                                  a.value(QLatin1String("fill")).toString(), {},
                                  a.value(QLatin1String("x")).toDouble(),
                                  a.value(QLatin1String("y")).toDouble()};
            text.text = xml.readElementText();
            content.texts.push_back(text);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return content;
}

QByteArray svg_of(const DrawSurface& surface, bool painted = false)
{
    QByteArray svg;
    surface.read_record([&](const DrawRecord& record) {
        const QSize area(surface.width(), surface.height());
        const QString title = QStringLiteral("A & B <frame>");
        svg = painted ? painted_svg_document(record, area, title)
                      : QByteArray::fromStdString(svg_document(record, area, title));
    });
    return svg;
}

// A small graph: three element lines (two of them joined at a node), a dotted band, a striped
// support triangle, the heading in the text layer and a node number.
void draw_small_graph(DrawSurface& surface)
{
    prepare_paper(surface);
    surface.set_window(true, 0, 0, 199, 99); // y grows upwards, as in a graph
    surface.set_text_color_rgb(kBlack);
    surface.set_text_position(1, 2);
    surface.out_text("VORAX: Structure Graph");
    surface.set_color_rgb(kLineRed);
    surface.move_to_w(10, 10);
    surface.line_to_w(50, 10);
    surface.line_to_w(50, 50);
    surface.move_to_w(100, 10);
    surface.line_to_w(150, 60);
    surface.set_color_rgb(kBlack);
    surface.set_line_style(0xAAAA);
    surface.rectangle_w(kFillOutline, 120, 20, 190, 90);
    surface.set_line_style(0xFFFF);
    surface.set_fill_mask(std::array<std::uint8_t, 8>{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55});
    const std::array<WindowPoint, 3> triangle{{{10, 10}, {16, 2}, {4, 2}}};
    surface.polygon_w(kFillInterior, triangle);
    surface.init_fonts();
    surface.set_font("t'tms rmn'h12e");
    surface.move_to_w(52, 52);
    surface.out_gtext("12");
}

// Only characters XML 1.0 allows reach an SVG: the others become U+FFFD, pairs of surrogates stay.
TEST(VectorOutput, XmlCharactersOnly)
{
    const QChar bad(QChar::ReplacementCharacter);
    struct Row {
        const char* name;
        QString text;
        QString kept;
    };
    const QString pair = QString::fromUcs4(U"\U0001F600");
    const Row rows[] = {
        {"plain, tab and line ends", QStringLiteral("A b\t\n\r"), QStringLiteral("A b\t\n\r")},
        {"form feed and NUL", QString(QChar(0x0C)) + QChar(0) + "x", QString(bad) + bad + "x"},
        {"U+FFFE and U+FFFF", QString(QChar(0xFFFE)) + QChar(0xFFFF) + QChar(0xFFFD), QString(bad) + bad + bad},
        {"a pair and lone halves", pair + QChar(0xD800) + "y" + QChar(0xDC00), pair + bad + "y" + bad},
        {"a high half at the end", QString("z") + QChar(0xD83D), QString("z") + bad},
    };
    for (const Row& row : rows)
        EXPECT_EQ(xml_characters(row.text), row.kept) << row.name;
}

// Written directly and painted, the SVG holds the same lines, boxes and texts.
TEST(VectorOutput, SvgHasTheLinesThroughTheirPixelsAndTheTextsAsText)
{
    DrawSurface surface(200, 100);
    draw_small_graph(surface);
    for (const bool painted : {false, true}) {
        SCOPED_TRACE(painted ? "painted" : "written");
        const SvgContent svg = read_svg(svg_of(surface, painted));

        // Window point (x, y) is pixel (x, 99 - y); a line runs through the pixel centres.
        const auto has_line = [&](std::vector<QPointF> points) {
            for (const auto& line : svg.polylines)
                if (line.stroke == QLatin1String("#800000") && line.points == points)
                    return true;
            return false;
        };
        EXPECT_TRUE(has_line({{10.5, 89.5}, {50.5, 89.5}, {50.5, 49.5}})); // joined at their node
        EXPECT_TRUE(has_line({{100.5, 89.5}, {150.5, 39.5}}));
        EXPECT_EQ(svg.dashed, 1); // the band's outline
        EXPECT_GE(svg.rects, 6); // the white paper, the stripes and the gaps between them

        ASSERT_EQ(svg.texts.size(), 2u);
        EXPECT_EQ(svg.texts[0].text, QStringLiteral("VORAX: Structure Graph"));
        EXPECT_EQ(svg.texts[0].family, QStringLiteral("Liberation Mono"));
        EXPECT_EQ(svg.texts[1].text, QStringLiteral("12"));
        EXPECT_EQ(svg.texts[1].family, QStringLiteral("Liberation Serif"));
        EXPECT_EQ(svg.texts[1].weight, QStringLiteral("700"));
        EXPECT_EQ(svg.texts[1].x, 52);
        EXPECT_GT(svg.texts[1].y, 47); // the baseline, below the top of the cell at row 47
    }
}

// The rows of the ink (anything darker than mid-grey) between rows `top` and `bottom`: the
// first and the last; {-1, -1} for none.
std::pair<int, int> ink_rows(const QImage& image, int top, int bottom)
{
    std::pair<int, int> rows{-1, -1};
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                rows = {rows.first < 0 ? y : rows.first, y};
                break;
            }
    return rows;
}

// The text layer's lines (the heading at the top, the title and the node line at the bottom)
// stand where the window shows them, one ascent below their cell's top, in a document at the
// drawing area's size and on a printer page twice as large.
TEST(VectorOutput, TextLayerLinesStandWhereTheWindowShowsThem)
{
    DrawSurface surface(300, 120);
    prepare_paper(surface);
    surface.set_text_color_rgb(kBlack);
    WindowConfig config;
    surface.fill_window_config(config);
    std::vector<PixelRect> cells;
    for (const int row : {1, config.text_rows - 1, static_cast<int>(config.text_rows)}) {
        surface.set_text_position(row, 3);
        cells.push_back(surface.text_cursor_rect());
        surface.out_text("Nodes 3-5,9 (4 nodes)");
    }
    const QImage window = surface.image_copy();
    for (const int scale : {1, 2}) {
        QImage page(surface.width() * scale, surface.height() * scale, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        surface.read_record([&](const DrawRecord& record) {
            replay(record, painter, QSize(surface.width(), surface.height()), QRectF(page.rect()));
        });
        painter.end();
        for (const PixelRect& cell : cells) {
            SCOPED_TRACE(::testing::Message() << "scale " << scale << " cell at " << cell.y);
            const int end = cell.y + cell.height;
            const auto [top, bottom] = ink_rows(window, cell.y, end - 1);
            const auto [page_top, page_bottom] = ink_rows(page, cell.y * scale, end * scale - 1);
            ASSERT_GE(top, 0);
            EXPECT_NEAR(page_top, top * scale, scale);
            EXPECT_NEAR(page_bottom, bottom * scale, scale);
        }
    }
}

TEST(VectorOutput, DocumentsAreTheDrawingAreaAt96PixelsPerInch)
{
    DrawSurface surface(200, 100);
    draw_small_graph(surface);
    const QByteArray svg = svg_of(surface);
    EXPECT_TRUE(svg.contains("<svg width=\"150pt\" height=\"75pt\"")) << svg.left(300).toStdString();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 200 100\""));
    EXPECT_TRUE(svg.contains("<title>A &amp; B &lt;frame&gt;</title>")); // still well-formed XML
    for (const bool painted : {false, true}) {
        SCOPED_TRACE(painted ? "painted" : "written");
        QByteArray pdf;
        surface.read_record([&](const DrawRecord& record) {
            const QString title = QStringLiteral("a graph");
            pdf = painted ? painted_pdf_document(record, QSize(200, 100), title)
                          : QByteArray::fromStdString(pdf_document(record, QSize(200, 100), title));
        });
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_TRUE(QString::fromLatin1(pdf).contains(
            QRegularExpression(QStringLiteral("/MediaBox \\[0 0 150(\\.0+)? 75(\\.0+)?\\]"))));
        // Text in its face, not pictures of it: embedded by the painter, named by the writer as
        // the standard face of the same widths.
        if (painted) {
            EXPECT_TRUE(pdf.contains("/FontFile2"));
        } else {
            EXPECT_TRUE(pdf.contains("/BaseFont /Courier ")); // the heading, Liberation Mono
            EXPECT_TRUE(pdf.contains("/BaseFont /Times-Bold ")); // the bold Liberation Serif number
        }
        EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    }
}

} // namespace
} // namespace vorax::gwl
