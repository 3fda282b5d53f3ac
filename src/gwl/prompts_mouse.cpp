#include "gwl/prompts.h"

namespace vorax::gwl {

// Placeholder until graphics windows exist: there is no window to wait on yet.
MouseEventResult QtPrompter::wait_mouse(GraphicsWindow&, int) { return {}; }

} // namespace vorax::gwl
