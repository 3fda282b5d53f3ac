#pragma once
// The graph command: the Graph Settings dialog, then one new graph window drawn from the loaded
// model; entered with a zoom request, the rubber-band pick on the last graph instead of the
// dialog.

#include <optional>

#include "app/app_state.h"
#include "gwl/types.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

// Runs the command (user-interface thread). Ends the program by throwing ProgramExit when the
// graph window does not open or its fonts cannot be initialised.
void graph_command(AppState& state, gwl::Layer& layer);

// The two corners of a rectangle picked on the last graph, in its window coordinates, in any
// order.
struct ZoomRectangle {
    gwl::WindowPoint p0;
    gwl::WindowPoint p1;
};

// The rubber-band pick on the last graph window, which is the active window when this runs:
// the corners where the left button went down and came up, or nothing when no rectangle was
// picked.
std::optional<ZoomRectangle> pick_zoom_rectangle(AppState& state, gwl::Layer& layer);

// Selects the nodes whose plot positions lie inside the rectangle (edges included), clears
// all_nodes, sets selected_node_count and, from the counts, the two index switches (on for at
// most 200), and counts the selected elements. Returns the number of selected nodes.
int select_nodes_in_rectangle(AppState& state, const ZoomRectangle& rectangle);

} // namespace vorax
