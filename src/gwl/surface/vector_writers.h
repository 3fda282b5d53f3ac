// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SVG text and PDF files written straight from a drawing record (draw_record.h), through the
// walk every vector output shares (record_walk.h), without a painter in between: a drawing of a
// million lines is written in a fraction of the time a painter's device takes, and smaller.
//
// Both draw the drawing area at 96 pixels per inch, in points, as the painter's documents do.
// Lines of one pen that follow one another are one path; coordinates are whole pixels (line
// points sit on pixel centres through a half-pixel shift) in as few characters as keep them, in
// SVG relative to the point before when that is shorter.
//
// The PDF's texts use the standard Helvetica, Times and Courier faces, which have the widths of
// the Liberation Sans, Serif and Mono faces the surface draws with; a record with a text in any
// other face, underlined, or with a character those faces cannot show, is left to the painter
// (pdf_file gives nothing).
//
// Contents: svg_text, pdf_file.

#include <optional>
#include <string>
#include <string_view>

namespace vorax::gwl {

class DrawRecord;

// An SVG document of the record on a drawing area of width x height pixels, titled `title`
// (UTF-8; characters XML cannot hold become U+FFFD there and in every text).
std::string svg_text(const DrawRecord& record, int width, int height, std::string_view title);

// A one-page PDF file of the record, titled `title` (UTF-8), with the creation date `date`
// (D:YYYYMMDDHHmmSSZ digits, none when empty); nothing when a text is not one it can write.
std::optional<std::string> pdf_file(const DrawRecord& record, int width, int height,
                                    std::string_view title, std::string_view date);

} // namespace vorax::gwl
