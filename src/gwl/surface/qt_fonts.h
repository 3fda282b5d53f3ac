// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's fonts: building the process-wide font list and creating QFonts from its entries.
//
// Sizes are character cell heights (ascent + descent), not em sizes: a FontSpec's h12 asks for a
// font whose cell is 12 pixels high. Fonts are created without antialiasing so that text pixels
// are as exact as the rest of the drawing.
//
// Contents: gui_available, the font list, make_font, text_layer_font, pixel_size_for_cell_height,
// font_of_record.

#include <vector>

#include <QFont>

#include "gwl/surface/font_list.h"

namespace vorax::gwl {

struct RecordedFont;

// Fonts and screens exist only in a GUI application (the offscreen platform is one).
bool gui_available();

// The cell height given to scalable entries of the list (their "own" size).
inline constexpr int kDefaultCellHeight = 16;

// Builds the font list once per process (later calls return at once). False when the system
// lists no font or no GUI application exists.
bool ensure_font_list();
// The process-wide list; empty before ensure_font_list succeeded.
const std::vector<FontEntry>& font_list();
// The entry a window selects by default: the last scalable one (the last one when none is).
int default_font_index();

// Creates the font of a choice. A height of 0 means the entry's own height.
QFont make_font(const FontEntry& entry, const FontChoice& choice);

// The face of a font a drawing record names (draw_record.h), glyph after glyph as on the surface;
// smoothed, as on a document or a printer page.
QFont font_of_record(const RecordedFont& font);

// The fixed-pitch font of the text layer with the given cell height.
QFont text_layer_font(int cell_height);

// The largest pixel size whose cell height is `cell_height` (or, when no size has exactly that
// height, the largest whose cell is lower; at least 1).
int pixel_size_for_cell_height(const QFont& font, int cell_height);

} // namespace vorax::gwl
