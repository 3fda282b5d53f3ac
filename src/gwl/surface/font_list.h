// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font list and the font spec: parsing a FontSpec text and choosing an entry of the list.
//
// Pure code over a list of entries, so that the grammar and the choice rules (faces, pitch and
// kind filters, best fit among raster fonts, the fall-back to the previous font) can be tested
// with any list, including raster fonts that a Linux machine rarely has. Building the list from
// the system and creating the chosen font are in qt_fonts.h.
//
// Contents: FontEntry, FontRequest, parse_font_spec, FontChoice, resolve_face, choose_font.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gwl/types.h"

namespace vorax::gwl {

// One font the system lists.
struct FontEntry {
    std::string face;   // the face name as the program sees it (at most 31 characters)
    std::string family; // the full family name for creating the font
    std::string style;  // the system's style name ("Regular", "Bold Italic", ...)
    int height = 0;     // character cell height in pixels
    int width = 0;      // average character width in pixels; 0: the face's own proportions
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool fixed_pitch = false;
    bool scalable = true; // false: a raster font of one size
};

// A FontSpec text taken apart.
struct FontRequest {
    std::optional<std::string> face; // aliases already replaced
    std::optional<int> height;
    std::optional<int> width;
    bool fixed_only = false;
    bool proportional_only = false;
    bool raster_only = false;
    bool scalable_only = false;
    bool best_fit = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<int> number; // the n option: 1-based position in the list
    bool conflicting = false;  // an option cancelled its opposite
};

// Parses a FontSpec such as "t'tms rmn'h12b". On a malformed spec the result is the status to
// report: -4 for a t without an apostrophe, -1 for a face name without its closing apostrophe
// within 32 characters.
std::variant<FontRequest, GraphicsStatus> parse_font_spec(std::string_view spec);

// The entry to create and how.
struct FontChoice {
    int index = -1;  // position in the list, from 0
    int height = 0;  // cell height; 0: the face's default
    int width = 0;   // average character width; 0: the face's own proportions
    int weight = 400;
    bool italic = false;
    bool underline = false;
};

// The face name to look for in `list`: `face` itself when some entry has it, otherwise the
// metric-compatible replacement of the three faces the aliases stand for ("Times New Roman",
// "Courier New", "Arial" -> Liberation Serif, Mono, Sans) when the list has that.
std::string resolve_face(const std::vector<FontEntry>& list, const std::string& face);

// Chooses an entry for the request. `previous` is the entry of the window's current font, taken
// again at its own size when a best-fit request finds nothing. nullopt: no font matches.
std::optional<FontChoice> choose_font(const std::vector<FontEntry>& list,
                                      const FontRequest& request, std::optional<int> previous);

} // namespace vorax::gwl
