// SPDX-License-Identifier: GPL-3.0-or-later
// The graph settings record: defaults, the copy from the defaults, colour schemes and the font
// table of the node and element indices.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "settings/graph_settings.h"

namespace vorax {
namespace {

TEST(SettingsDefaults, AfterStartUpWithTheSizeListAndTheColourSets)
{
    SettingsState state;
    // Every field, in the order of the record.
    const GraphSettings expected{.reverse_vertical = false,
                                 .reverse_y = false,
                                 .reverse_x = false,
                                 .show_node_indices = true,
                                 .show_element_indices = true,
                                 .show_grid_and_scale = true,
                                 .colors
                                 = {0x000080, 0x00FF00, 0x800000, 0x000000, 0xFF00FF, 0x800080},
                                 .min_size_factor = 1.0f,
                                 .min_size_factor_auto = true,
                                 .index_size_auto = true,
                                 .index_style_auto = true,
                                 .node_index_size = 7,
                                 .element_index_size = 6,
                                 .node_index_bold = true,
                                 .node_index_italic = false,
                                 .node_index_underline = false,
                                 .element_index_bold = false,
                                 .element_index_italic = false,
                                 .element_index_underline = false,
                                 .all_nodes = false,
                                 .selected_node_count = 0,
                                 .selected_element_count = 0};
    EXPECT_EQ(state.current_settings, expected);
    EXPECT_EQ(state.current_settings, state.default_settings);
    EXPECT_EQ(state.color_scheme, ColorScheme::standard);

    const std::array<std::string, 11> sizes{"10", "11", "12", "13", "14", "15", "16", "18", "20", "22", "24"};
    EXPECT_EQ(state.index_font_sizes, sizes);
    // The default positions name these entries of the list.
    EXPECT_EQ(state.index_font_sizes[state.current_settings.node_index_size - 1], "16");
    EXPECT_EQ(state.index_font_sizes[state.current_settings.element_index_size - 1], "15");

    // The standard colours by role.
    const ColorSet& c = state.standard_colors;
    EXPECT_EQ(c[role_index(ColorRole::line)], make_rgb(128, 0, 0));
    EXPECT_EQ(c[role_index(ColorRole::grid)], make_rgb(0, 255, 0));
    EXPECT_EQ(c[role_index(ColorRole::scale)], make_rgb(0, 0, 128));
    EXPECT_EQ(c[role_index(ColorRole::node_index)], make_rgb(0, 0, 0));
    EXPECT_EQ(c[role_index(ColorRole::element_index)], make_rgb(255, 0, 255));
    EXPECT_EQ(c[role_index(ColorRole::text)], make_rgb(128, 0, 128));
    EXPECT_EQ(state.all_black_colors, (ColorSet{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(state.custom_colors, state.standard_colors);
}

TEST(SettingsDefaults, SetSettingsDefaultsRestoresEverythingButCurrentSettings)
{
    SettingsState state;
    state.default_settings.show_grid_and_scale = false;
    state.default_settings.selected_node_count = 9;
    state.color_scheme = ColorScheme::custom;
    state.custom_colors[0] = make_rgb(255, 0, 0);
    state.standard_colors[1] = 0x123456;
    state.font_face = "t'helv";
    state.index_font_table[0][0] = "broken";
    state.current_settings.reverse_y = true;

    set_settings_defaults(state);
    EXPECT_EQ(state.default_settings, GraphSettings{});
    EXPECT_EQ(state.color_scheme, ColorScheme::standard);
    EXPECT_EQ(state.custom_colors, kStandardColors);
    EXPECT_EQ(state.standard_colors, kStandardColors);
    EXPECT_EQ(state.font_face, "t'tms rmn");
    EXPECT_EQ(state.index_font_table[0][0], "t'tms rmn'h10b'");
    EXPECT_TRUE(state.current_settings.reverse_y); // start-up copies the defaults itself
}

TEST(SettingsCopy, CopiesAllFieldsAndNothingElse)
{
    SettingsState state;
    GraphSettings& s = state.current_settings;
    s.reverse_vertical = s.reverse_y = s.reverse_x = true;
    s.show_node_indices = s.show_element_indices = s.show_grid_and_scale = false;
    s.colors = kAllBlackColors;
    s.min_size_factor = 2.5f;
    s.min_size_factor_auto = s.index_size_auto = s.index_style_auto = false;
    s.node_index_size = 1;
    s.element_index_size = 11;
    s.node_index_bold = false;
    s.node_index_italic = s.node_index_underline = true;
    s.element_index_bold = s.element_index_italic = s.element_index_underline = true;
    s.all_nodes = true;
    s.selected_node_count = 250;
    s.selected_element_count = 312;
    state.color_scheme = ColorScheme::all_black;
    state.font_face = "t'courier";
    build_index_font_table(state);
    const IndexFontTable table = state.index_font_table;

    copy_default_settings(state);
    EXPECT_EQ(state.current_settings, state.default_settings);
    EXPECT_EQ(state.current_settings, GraphSettings{});
    EXPECT_FALSE(state.current_settings.all_nodes);
    EXPECT_EQ(state.current_settings.selected_node_count, 0);
    EXPECT_EQ(state.current_settings.selected_element_count, 0);
    EXPECT_EQ(state.color_scheme, ColorScheme::all_black);
    EXPECT_EQ(state.index_font_table, table);
}

TEST(SettingsCopy, CancelledLoadKeepsCustomColoursButResetsActiveColours)
{
    SettingsState state;
    // The user chooses Custom with a red line colour...
    state.color_scheme = ColorScheme::custom;
    state.custom_colors[role_index(ColorRole::line)] = make_rgb(255, 0, 0);
    state.current_settings.colors = scheme_colors(state, state.color_scheme);
    EXPECT_EQ(state.current_settings.colors[0], make_rgb(255, 0, 0));
    // ...then cancels the dialog of the model loading.
    copy_default_settings(state);
    EXPECT_EQ(state.current_settings.colors, kStandardColors);
    EXPECT_EQ(state.color_scheme, ColorScheme::custom);
    EXPECT_EQ(state.custom_colors[0], make_rgb(255, 0, 0));
}

TEST(ColorSchemes, SetOfEachSchemeNumber)
{
    SettingsState state;
    state.custom_colors[5] = 0xABCDEF;
    EXPECT_EQ(&scheme_colors(state, 1), &state.standard_colors);
    EXPECT_EQ(&scheme_colors(state, 2), &state.all_black_colors);
    EXPECT_EQ(&scheme_colors(state, 3), &state.custom_colors);
    EXPECT_EQ(&scheme_colors(state, 0), &state.standard_colors);
    EXPECT_EQ(&scheme_colors(state, 4), &state.standard_colors);
    EXPECT_EQ(&scheme_colors(state, -1), &state.standard_colors);
}

TEST(IndexFonts, StyleNumbers)
{
    struct Case {
        bool bold, italic, underline;
        int style;
    };
    const Case cases[] = {{false, false, false, 1}, {true, false, false, 2}, {false, true, false, 3},
                          {true, true, false, 4},   {false, false, true, 5}, {true, false, true, 6},
                          {false, true, true, 7},   {true, true, true, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(index_font_style(c.bold, c.italic, c.underline), c.style)
            << c.bold << c.italic << c.underline;
}

TEST(IndexFonts, EveryEntryHasItsStyleAndSizeAndFitsTheField)
{
    SettingsState state;
    const char* expected[] = {"'h10b'", "'h10be'", "'h10bi'", "'h10bie'",
                              "'h10bu'", "'h10beu'", "'h10biu'", "'h10bieu'"};
    for (int s = 1; s <= 8; ++s)
        EXPECT_EQ(state.index_font_table[s - 1][0], std::string("t'tms rmn") + expected[s - 1]) << s;
    for (int s = 1; s <= 8; ++s)
        for (int k = 1; k <= 11; ++k) {
            const std::string& entry = state.index_font_table[s - 1][k - 1];
            EXPECT_EQ(entry.rfind("t'tms rmn'h" + state.index_font_sizes[k - 1], 0), 0u) << entry;
            EXPECT_EQ(entry.back(), '\'');
            EXPECT_LE(entry.size(), 20u);
        }
    EXPECT_EQ(state.index_font_table[7][10], "t'tms rmn'h24bieu'");
}

TEST(IndexFonts, SetIndexFontTakesTheEntryOfStyleAndSize)
{
    SettingsState state;
    std::vector<std::string> chosen;
    auto record = [&](std::string_view spec) { chosen.emplace_back(spec); };
    set_index_font(state, true, false, false, 7, record);
    set_index_font(state, true, true, true, 11, record);
    set_index_font(state, false, false, false, 1, record);
    // Position 7 of the size list is "16".
    EXPECT_EQ(chosen, (std::vector<std::string>{"t'tms rmn'h16be'", "t'tms rmn'h24bieu'", "t'tms rmn'h10b'"}));
}

TEST(IndexFonts, SizePositionOutsideTheListTakesTheNearestEntryAndAnotherFaceItsOwn)
{
    SettingsState state;
    // auto_index_size gives 0 for no nodes: the smallest size is used.
    EXPECT_EQ(index_font_spec(state, false, false, false, 0), "t'tms rmn'h10b'");
    EXPECT_EQ(index_font_spec(state, false, false, false, -3), "t'tms rmn'h10b'");
    EXPECT_EQ(index_font_spec(state, false, false, false, 12), "t'tms rmn'h24b'");
    state.font_face = "t'courier new       "; // a 20-character field with blanks
    build_index_font_table(state);
    EXPECT_EQ(index_font_spec(state, true, false, true, 2), "t'courier new'h11beu'");
}

struct AutoSizeCase {
    const char* kind;
    int count;
    int expected;
};

TEST(AutoIndexSize, BandsForNodesAndElements)
{
    const AutoSizeCase cases[] = {
        {"node", 1, 7},        {"node", 99, 7},       {"node", 100, 5},     {"node", 150, 5},
        {"node", 999, 5},      {"node", 1000, 3},     {"node", 1000000, 3}, {"node", 0, 0},
        {"node", -5, 0},       {"element", 1, 6},     {"element", 99, 6},   {"element", 100, 4},
        {"element", 999, 4},   {"element", 1000, 2},  {"element", 1200, 2}, {"element", 0, 0},
        {"Node", 50, 7},       {"ELEMENT", 50, 6},    {"n", 500, 5},        {"e", 500, 4},
        {"x", 50, 0},          {"", 50, 0},           {"graph", 50, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(auto_index_size(c.kind, c.count), c.expected) << c.kind << " " << c.count;
}

TEST(AutoIndexSize, PositionsNameTheExpectedSizes)
{
    SettingsState state;
    EXPECT_EQ(state.index_font_sizes[auto_index_size("node", 50) - 1], "16");
    EXPECT_EQ(state.index_font_sizes[auto_index_size("node", 150) - 1], "14");
    EXPECT_EQ(state.index_font_sizes[auto_index_size("node", 1000) - 1], "12");
    EXPECT_EQ(state.index_font_sizes[auto_index_size("element", 50) - 1], "15");
    EXPECT_EQ(state.index_font_sizes[auto_index_size("element", 100) - 1], "13");
    EXPECT_EQ(state.index_font_sizes[auto_index_size("element", 1200) - 1], "11");
}

} // namespace
} // namespace vorax
