#pragma once
// One graph from start to end, without knowing where it is shown: planning it from the model
// and the settings (extents, projection, box, scaling ratio, info lines, centring, window), and
// drawing it onto a DrawSurface in its fixed order (mapping, white background, headings, fonts,
// grid and scale, structure, axis arrows, origin marker). A graph window and the headless
// export both draw through draw_graph.
//
// Contents: GraphPlan, plan_graph, GraphTexts, DrawOutcome, grid_rect, draw_graph.

#include <string>
#include <vector>

#include "core/language.h"
#include "graph/grid_scale.h"
#include "graph/view_mapping.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"

namespace vorax::gwl {
class DrawSurface;
}

namespace vorax {

struct GraphPlan {
    PlotBox box;
    ViewMapping view;
    std::vector<std::string> info_lines; // for the info window, written before the window opens
};

// With all_nodes, selects every node first. Updates the extents over the drawn nodes, projects them, takes their box and scaling ratio,
// composes the info lines of graph `graph_number` and centres the plot positions. The drawn
// nodes are the selected ones; at least one should be selected (a selection without any node
// gets the box of a point at the origin).
GraphPlan plan_graph(StructureModel& model, const SettingsState& settings, int graph_number);

// The texts of the window's text layer.
struct GraphTexts {
    std::string program_label;
    std::string problem_title;
    UiLanguage language = UiLanguage::English;
};

enum class DrawOutcome {
    drawn,
    font_error, // init_fonts left a non-zero status: nothing after the headings was drawn
};

// The grid rectangle: a plane model's extents over the drawn nodes across and the plot box
// down; for a spatial model the X and Z extents of the drawn nodes in the front plane Y = 0
// (all 0 without such a node). Centred.
GridRect grid_rect(const StructureModel& model, const PlotBox& box);

// Draws the planned graph onto the surface: the mapping of `view`, a white background, the
// heading, the title, the node line when not all nodes are drawn (rewriting `range_text` in its
// compact form first), the fonts, then grid and scale (when on), the structure, the axis arrows
// and the origin marker. Writes the marker sizes and grid steps into `view`, and
// selected_node_count (all nodes) and selected_element_count into the current settings.
DrawOutcome draw_graph(gwl::DrawSurface& surface, StructureModel& model, SettingsState& settings,
                       ViewMapping& view, const PlotBox& box, const GraphTexts& texts,
                       std::string& range_text);

} // namespace vorax
