// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/graph_settings.h"

#include <algorithm>

#include "core/text.h"

namespace vorax {
namespace {

// Letters of a style, always in the order b, i, e, u: b in every entry, e for bold, i for
// italic, u for underline.
std::string style_letters(int style)
{
    const int bits = style - 1;
    std::string letters = "b";
    if (bits & 2)
        letters += 'i';
    if (bits & 1)
        letters += 'e';
    if (bits & 4)
        letters += 'u';
    return letters;
}

} // namespace

SettingsState::SettingsState()
{
    set_settings_defaults(*this);
    copy_default_settings(*this);
}

void set_settings_defaults(SettingsState& state)
{
    state.default_settings = GraphSettings{};
    state.color_scheme = ColorScheme::standard;
    state.standard_colors = kStandardColors;
    state.all_black_colors = kAllBlackColors;
    state.custom_colors = kStandardColors;
    state.font_face = "t'tms rmn";
    state.index_font_sizes = {"10", "11", "12", "13", "14", "15", "16", "18", "20", "22", "24"};
    build_index_font_table(state);
}

void build_index_font_table(SettingsState& state)
{
    const std::string face(trim_right(state.font_face));
    for (int s = 1; s <= kIndexFontStyles; ++s)
        for (int k = 1; k <= kIndexFontSizes; ++k)
            state.index_font_table[s - 1][k - 1] = face + "'h" + std::string(trim_right(state.index_font_sizes[k - 1]))
                + style_letters(s) + "'";
}

std::string_view view_name(GraphView view, UiLanguage language)
{
    const bool ro = language == UiLanguage::romanian;
    switch (view) {
    case GraphView::oblique:
        return ro ? "Oblic 45°" : "Oblique 45°";
    case GraphView::front:
        return ro ? "Fata (X-Z)" : "Front (X-Z)";
    case GraphView::side:
        return ro ? "Lateral (Y-Z)" : "Side (Y-Z)";
    case GraphView::plan:
        return "Plan (X-Y)";
    case GraphView::iso:
        return ro ? "Izometric" : "Isometric";
    }
    return "";
}

void copy_default_settings(SettingsState& state) { state.current_settings = state.default_settings; }

void preset_index_switches(GraphSettings& settings, int node_count, int element_count)
{
    settings.show_node_indices = node_count <= kIndexNumberLimit;
    settings.show_element_indices = element_count <= kIndexNumberLimit;
}

int index_font_style(bool bold, bool italic, bool underline)
{
    return 1 + (bold ? 1 : 0) + 2 * (italic ? 1 : 0) + 4 * (underline ? 1 : 0);
}

const std::string& index_font_spec(const SettingsState& state, bool bold, bool italic,
                                   bool underline, int size_position)
{
    const int k = std::clamp(size_position, 1, kIndexFontSizes);
    return state.index_font_table[index_font_style(bold, italic, underline) - 1][k - 1];
}

void set_index_font(const SettingsState& state, bool bold, bool italic, bool underline,
                    int size_position, const std::function<void(std::string_view spec)>& set_font)
{
    set_font(index_font_spec(state, bold, italic, underline, size_position));
}

int auto_index_size(std::string_view kind, int count)
{
    if (kind.empty() || count <= 0)
        return 0;
    const char letter = kind.front();
    const int band = count < 100 ? 0 : count < 1000 ? 1 : 2;
    if (letter == 'n' || letter == 'N')
        return std::array{7, 5, 3}[band];
    if (letter == 'e' || letter == 'E')
        return std::array{6, 4, 2}[band];
    return 0;
}

const ColorSet& scheme_colors(const SettingsState& state, int scheme)
{
    switch (scheme) {
    case ColorScheme::all_black:
        return state.all_black_colors;
    case ColorScheme::custom:
        return state.custom_colors;
    default:
        return state.standard_colors;
    }
}

} // namespace vorax
