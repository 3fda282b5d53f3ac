#include "gwl/dialog_impl.h"
#include "gwl/prompts.h"

namespace vorax::gwl {

int QtPrompter::run_modal(DialogHandle& dialog) { return run_dialog_window_modal(dialog); }

} // namespace vorax::gwl
