// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The structure itself: every element as a line between its nodes, a mark on every drawn node
// that shows how it is held (free, fixed, or with a support symbol per coded component and a
// value symbol per non-zero value), node numbers and element numbers. Drawn in the window
// coordinates of the graph's ViewMapping.
//
// Contents: DrawProgress, draw_structure, choose_index_font, draw_support_symbol, draw_value_symbol,
// count_selected_elements, node_selected, node_drawn, element_drawn.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "graph/view_mapping.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"

namespace vorax::gwl {
class DrawSurface;
}

namespace vorax {

// How far the drawing of a structure has come, for a display on another thread: the items of
// its passes gone through (elements, nodes, elements again for their numbers) of all of them.
struct DrawProgress {
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> total{0};

    // 0..100; 0 before the drawing of the structure began.
    int percent() const;
};

// Draws the structure: element lines, then the node pass (labels, marks, symbols), then, when
// element numbers are on, the element pass. Reads current_settings (with the counts the plan
// set) and the font table of `settings`. Counts its items in `progress` when given.
void draw_structure(gwl::DrawSurface& surface, const StructureModel& model,
                    const SettingsState& settings, const ViewMapping& view,
                    DrawProgress* progress = nullptr);

// Selects the font of node numbers (kind starting with N or n) or element numbers (any other
// kind) and returns the FontSpec it handed to set_font, blank-padded to 20 characters.
std::string choose_index_font(gwl::DrawSurface& surface, const SettingsState& settings,
                              std::string_view kind);

// A striped support triangle with its ground line for component k at the node (x, y); a and b
// are the symbol's sizes, `orient_sign` is -1 when the window's y axis points down.
void draw_support_symbol(gwl::DrawSurface& surface, double x, double y, double a, double b, int k,
                         int NGL, double orient_sign);

// The zig-zag of a support value for component k at the node (x, y), with its base line.
void draw_value_symbol(gwl::DrawSurface& surface, double x, double y, double a, double b, int k,
                       int NGL, double orient_sign);

// The number of elements with at least one selected end node; an element with a missing end
// (node number 0) is not counted.
std::int32_t count_selected_elements(const StructureModel& model);

// Whether node `number` exists and is selected.
inline bool node_selected(const StructureModel& model, std::int32_t number)
{
    return number >= 1 && number <= model.node_count
           && static_cast<std::size_t>(number) <= model.nodes.size() && model.node(number).selected;
}

// Whether a node gets a mark or a number: it is selected, and it is not a free node while node
// numbers are off (such a node is only an end of lines).
inline bool node_drawn(const Node& node, const GraphSettings& settings)
{
    return node.selected && !(node.free && !settings.show_node_indices);
}

// Whether an element is drawn: both end nodes exist and are selected. (Inline: the drawing and
// the index of a large graph ask it a million times.)
inline bool element_drawn(const StructureModel& model, const Element& element)
{
    return element.node1 != 0 && element.node2 != 0 && node_selected(model, element.node1)
           && node_selected(model, element.node2);
}

} // namespace vorax
