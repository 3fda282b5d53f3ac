#include "gwl/prompts.h"

namespace vorax::gwl {

// Placeholder until text windows exist.
std::string QtPrompter::read_line(TextWindow&) { return {}; }

} // namespace vorax::gwl
