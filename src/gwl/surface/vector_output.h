// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Vector pictures: the record of a drawing surface (draw_record.h) drawn again on any QPainter,
// so that an SVG document, a PDF document or a printer page gets lines as lines, text as text
// in the same faces and sizes, fill patterns as patterns and the exact colours, at the device's
// own resolution.
//
// One replay serves every device. Its coordinates are the surface's pixels: a pixel (x, y) is
// the square from (x, y) to (x + 1, y + 1), a line runs through the centres of its end pixels
// and covers them. The documents' pages are the drawing area at 96 pixels per inch, in points.
// They are made in memory: the caller writes the bytes through its own safe writer.
//
// Contents: replay, xml_characters, svg_document, pdf_document, painted_svg_document,
// painted_pdf_document.

#include <cstdint>
#include <string>
#include <vector>

class QByteArray;
class QPainter;
class QRectF;
class QSize;
class QString;

namespace vorax::gwl {

class DrawRecord;

struct ReplayOptions {
    bool xml_texts = false; // texts only of the characters XML allows (SVG)
    const std::vector<std::uint32_t>* only = nullptr; // these operations alone, in this order
};

// Draws the record on `painter` into `target` (in the painter's coordinates), the drawing area
// of size `area` scaled to it; the caller keeps the proportions (a printer page) or not.
void replay(const DrawRecord& record, QPainter& painter, const QSize& area, const QRectF& target,
            const ReplayOptions& options = {});
// The text with each character that XML 1.0 does not allow (control characters, U+FFFE,
// U+FFFF, a lone surrogate) replaced by U+FFFD.
QString xml_characters(const QString& text);

// The picture as an SVG document, and as a one-page PDF document, written directly
// (vector_writers.h); a PDF the direct writer does not cover is painted. Empty when the painter
// could not start (no GUI application, no memory). Megabytes of them are handed over, not copied.
std::string svg_document(const DrawRecord& record, const QSize& area, const QString& title);
std::string pdf_document(const DrawRecord& record, const QSize& area, const QString& title);
// The same documents painted through QSvgGenerator and QPdfWriter, whatever the record holds.
QByteArray painted_svg_document(const DrawRecord& record, const QSize& area, const QString& title);
QByteArray painted_pdf_document(const DrawRecord& record, const QSize& area, const QString& title);

} // namespace vorax::gwl
