#pragma once
// The graph command: the Graph Settings dialog, then one new graph window drawn from the loaded
// model; entered with a zoom request, the rubber-band pick on the last graph instead of the
// dialog.

#include "app/app_state.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

void graph_command(AppState& state, gwl::Layer& layer);

} // namespace vorax
