// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options of one graph and the data beside them.
//
// Contents:
//   ColorRole, ColorSet, ColorScheme   six colours by role; the scheme numbers 1..3
//   GraphView, kGraphViews, view_name  the views of a spatial model, in the dialog's order
//   GraphSettings                      the 22 fields of one graph's options and its view, with
//                                      their defaults
//   SettingsState                      current and default settings, the scheme colour sets and
//                                      the font table of node and element indices: one object,
//                                      held by the application's state
//   set_settings_defaults, build_index_font_table, copy_default_settings, preset_index_switches
//   index_font_style, index_font_spec, set_index_font, auto_index_size, scheme_colors
//   window_y_down

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/color.h"
#include "core/language.h"

namespace vorax {

// The roles of a colour set, in their order.
enum class ColorRole { line, grid, scale, node_index, element_index, text };

using ColorSet = std::array<Rgb, 6>;

constexpr std::size_t role_index(ColorRole role) { return static_cast<std::size_t>(role); }

// Numbers of `color_scheme`, as the dialog's list counts its entries.
struct ColorScheme {
    static constexpr int standard = 1;
    static constexpr int all_black = 2;
    static constexpr int custom = 3;
};

// Dark red lines, green grid, navy scale, black node numbers, magenta element numbers, purple
// texts (stored 0x00BBGGRR).
inline constexpr ColorSet kStandardColors{0x000080, 0x00FF00, 0x800000, 0x000000, 0xFF00FF, 0x800080};
inline constexpr ColorSet kAllBlackColors{0, 0, 0, 0, 0, 0};

// Number of index font sizes and of index font styles.
inline constexpr int kIndexFontSizes = 11;
inline constexpr int kIndexFontStyles = 8;

// How a spatial model (NGL 3) is seen. A plane model is always drawn in its own plane, which the
// oblique entry stands for.
enum class GraphView {
    oblique, // X across, Z up, Y at 45 degrees into the picture: the default
    front,   // X across, Z up, seen from -Y
    side,    // Y across, Z up, seen from +X
    plan,    // X across, Y up, seen from +Z
    iso,     // isometric, seen from (+X, -Y, +Z): Z up, X down and Y up to the right at 30 degrees
};

// One graph's options. The member initialisers are the defaults.
struct GraphSettings {
    bool reverse_vertical = false; // "Z / Y (vertical axis)"
    bool reverse_y = false;        // "Y (For: NGL =3)"
    bool reverse_x = false;        // read by the drawing, never set by the dialog
    bool show_node_indices = true;
    bool show_element_indices = true;
    bool show_grid_and_scale = true;
    ColorSet colors = kStandardColors; // the active colours by role
    float min_size_factor = 1.0f;      // used only when min_size_factor_auto is false
    bool min_size_factor_auto = true;
    bool index_size_auto = true;
    bool index_style_auto = true;
    std::int32_t node_index_size = 7;    // position 1..11 in index_font_sizes
    std::int32_t element_index_size = 6;
    bool node_index_bold = true;
    bool node_index_italic = false;
    bool node_index_underline = false;
    bool element_index_bold = false;
    bool element_index_italic = false;
    bool element_index_underline = false;
    bool all_nodes = false; // set true by the model loading after each load
    std::int32_t selected_node_count = 0;
    std::int32_t selected_element_count = 0;
    GraphView view = GraphView::oblique; // only a spatial model is drawn in another view

    bool operator==(const GraphSettings&) const = default;
};

// The views in the order of the Graph Settings list.
inline constexpr GraphView kGraphViews[] = {GraphView::oblique, GraphView::front, GraphView::side,
                                            GraphView::plan, GraphView::iso};

// The name of a view in the Graph Settings list: "Oblique 45°", "Front (X-Z)", "Side (Y-Z)",
// "Plan (X-Y)", "Isometric"; the Romanian names in a Romanian run.
std::string_view view_name(GraphView view, UiLanguage language = UiLanguage::english);

// Whether the graph window's real y axis points down: the vertical box reverses Z, the vertical
// of every view but the plan, where Y stands upright and the Y box reverses it.
inline bool window_y_down(const GraphSettings& settings)
{
    return settings.view == GraphView::plan ? settings.reverse_y : settings.reverse_vertical;
}

// Font specs of the node and element indices: [style - 1][size position - 1].
using IndexFontTable = std::array<std::array<std::string, kIndexFontSizes>, kIndexFontStyles>;

// Everything the settings keep for the whole run. A new object is already set to the
// defaults, with current_settings a copy of default_settings, as after start-up.
struct SettingsState {
    SettingsState();

    GraphSettings current_settings;
    GraphSettings default_settings;
    int color_scheme = ColorScheme::standard;
    ColorSet standard_colors = kStandardColors;
    ColorSet all_black_colors = kAllBlackColors;
    ColorSet custom_colors = kStandardColors; // changed only by the Color Scheme dialog
    std::string font_face;                    // typeface part of every index font spec
    std::array<std::string, kIndexFontSizes> index_font_sizes;
    IndexFontTable index_font_table;
};

// Fills default_settings, color_scheme, the three colour sets, font_face and
// index_font_sizes with their start values, then builds the font table. current_settings is
// left alone: start-up copies the defaults into it.
void set_settings_defaults(SettingsState& state);

// Fills index_font_table from font_face and index_font_sizes: entry (s, k) is the face without
// trailing blanks, then 'h, the size text, the style letters of s and a closing apostrophe,
// e.g. "t'tms rmn'h18be'".
void build_index_font_table(SettingsState& state);

// current_settings := default_settings, all 22 fields; the colour sets, color_scheme and the
// font table stay as they are.
void copy_default_settings(SettingsState& state);

// Above this many nodes (elements) to draw, their numbers start switched off.
inline constexpr int kIndexNumberLimit = 200;

// Presets show_node_indices and show_element_indices from the numbers of nodes and elements
// about to be drawn: on for at most kIndexNumberLimit.
void preset_index_switches(GraphSettings& settings, int node_count, int element_count);

// Style number 1..8: 1 + bold + 2 x italic + 4 x underline.
int index_font_style(bool bold, bool italic, bool underline);

// The font spec of that style at size position 1..11. A position outside 1..11 (0 is what
// auto_index_size gives for no nodes) takes the nearest valid one.
const std::string& index_font_spec(const SettingsState& state, bool bold, bool italic,
                                   bool underline, int size_position);

// Makes that font spec the current index font by handing it to `set_font` (the drawing
// surface's font selection).
void set_index_font(const SettingsState& state, bool bold, bool italic, bool underline,
                    int size_position, const std::function<void(std::string_view spec)>& set_font);

// Automatic size position for index fonts. `kind` is "node" or "element" (only its first
// letter counts, either case). Nodes: 1..99 give 7, 100..999 give 5, 1000 and more give 3;
// elements: 6, 4 and 2. A count of 0 or less, or another kind, gives 0.
int auto_index_size(std::string_view kind, int count);

// The colour set of a scheme number: standard for 1 and for any number that is not 2 or 3.
const ColorSet& scheme_colors(const SettingsState& state, int scheme);

} // namespace vorax
