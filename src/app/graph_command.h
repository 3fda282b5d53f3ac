// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The graph command: the Graph Settings dialog, then one new graph window drawn from the loaded
// model; entered with a zoom request, the rubber-band pick on the last graph instead of the
// dialog.

#include "app/app_state.h"
#include "graph/zoom_pick.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

// Runs the command (user-interface thread). Ends the program by throwing ProgramExit when the
// graph window does not open or its fonts cannot be initialised.
void graph_command(AppState& state, gwl::Layer& layer);

// The selection of a zoom: the nodes whose plot positions lie inside the rectangle (edges
// included); clears all_nodes, sets selected_node_count and selected_element_count and, from
// them, the two index switches (on for at most 200). Returns the number of selected nodes.
int apply_zoom_selection(AppState& state, const ZoomRectangle& rectangle);

} // namespace vorax
