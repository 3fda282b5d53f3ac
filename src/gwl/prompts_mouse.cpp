#include "gwl/graphics_window.h"
#include "gwl/prompts.h"

namespace vorax::gwl {

MouseEventResult QtPrompter::wait_mouse(GraphicsWindow& window, int mask)
{
    return window.wait_on_mouse_event(mask);
}

} // namespace vorax::gwl
