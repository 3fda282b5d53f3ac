// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Marks over a graph that show where its items are: a ring round a node, a broad band under an
// element's line, and a faint dashed line where an element used to be. A reload marks what
// changed since the file was read before; anything that needs to show a person where some
// nodes and elements lie (a finding, a search) marks them the same way.
//
// The marks are drawn in one colour that no colour scheme gives: the bands before the structure,
// so that the element's own line stays on top, the rings and the dashed lines after it. Without
// marks nothing is drawn and the graph is exactly what it was.
//
// Contents: kMarkColor, GraphMarks, change_marks, draw_marks_under, draw_marks_over,
// marks_extent.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/color.h"
#include "graph/view_mapping.h"
#include "model/model_diff.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"

namespace vorax::gwl {
class DrawSurface;
}

namespace vorax {

// Amber: none of the standard colours, and none of the all-black ones.
inline constexpr Rgb kMarkColor = 0x00A0FF;

struct GraphMarks {
    std::vector<std::int32_t> nodes;    // ringed (where drawn)
    std::vector<std::int32_t> elements; // banded (where drawn)
    std::vector<RemovedLine> gone;      // dashed, in model coordinates

    bool empty() const { return nodes.empty() && elements.empty() && gone.empty(); }
    bool operator==(const GraphMarks&) const = default;
};

// The marks of a reload: rings on the nodes added, moved or with other supports, bands under
// the elements added or joining other nodes, and the lines of the removed elements.
GraphMarks change_marks(const ModelDiff& diff);

// The bands, before the structure is drawn. `center_x`, `center_y` is the centre the graph's
// plot positions were moved by.
void draw_marks_under(gwl::DrawSurface& surface, const StructureModel& model, const ViewMapping& view,
                      const GraphMarks& marks);
// The rings and the dashed lines, after it.
void draw_marks_over(gwl::DrawSurface& surface, const StructureModel& model,
                     const GraphSettings& settings, const ViewMapping& view, double center_x,
                     double center_y, const GraphMarks& marks);

// The window-coordinate box round every mark the graph shows (x1 <= x2, y1 <= y2); nothing when
// none shows.
struct MarksBox {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};
std::optional<MarksBox> marks_extent(const StructureModel& model, const GraphSettings& settings,
                                     double center_x, double center_y, const GraphMarks& marks);

} // namespace vorax
