#include "gwl/prompts.h"

namespace vorax::gwl {

// Placeholder until the dialog service exists: no dialog can be shown yet.
int QtPrompter::run_modal(DialogHandle&) { return -1; }

} // namespace vorax::gwl
