#include "app/graph_command.h"

namespace vorax {

// The mouse interaction of the zoom (saving the picture, the rubber band, erasing it when it
// holds no node) belongs here. Until it exists, no rectangle is ever picked, so a zoom request
// ends without a new window.
std::optional<ZoomRectangle> pick_zoom_rectangle(AppState& /*state*/, gwl::Layer& /*layer*/)
{
    return std::nullopt;
}

} // namespace vorax
