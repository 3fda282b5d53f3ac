// The layer's calls that concern graphics windows.

#include "gwl/frame.h"
#include "gwl/layer.h"

namespace vorax::gwl {

void fill_graphics_config(Frame&, Unit, WindowConfig&) {}

DrawSurface* Layer::active_surface() { return nullptr; }

GraphicsWindow* Layer::graphics_window(Unit) { return nullptr; }

} // namespace vorax::gwl
