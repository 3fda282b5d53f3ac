// The layer's calls that concern graphics windows.

#include "core/text.h"
#include "gwl/draw_surface.h"
#include "gwl/frame.h"
#include "gwl/graphics_window.h"
#include "gwl/layer.h"
#include "gwl/ui_thread.h"

namespace vorax::gwl {

void fill_graphics_config(Frame& frame, Unit unit, WindowConfig& config)
{
    if (const GraphicsWindow* window = frame.graphics_window(unit)) {
        window->get_window_config(config);
    } else if (const DrawSurface* surface = frame.surface(unit)) {
        surface->fill_window_config(config);
        config.title = cut(frame.unit_title(unit), 80);
    }
}

DrawSurface* Layer::active_surface()
{
    return ui_call([&] { return frame_.surface(frame_.active_unit()); });
}

GraphicsWindow* Layer::graphics_window(Unit unit)
{
    return ui_call([&] { return frame_.graphics_window(unit); });
}

} // namespace vorax::gwl
