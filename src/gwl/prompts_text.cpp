#include "core/program_exit.h"
#include "gwl/prompts.h"
#include "gwl/text_window.h"

namespace vorax::gwl {

std::string QtPrompter::read_line(TextWindow& window)
{
    TextWindow::TypedLine line = window.read_line_interactive();
    // The program is ending (the person chose Exit while the line was awaited): like a layer
    // call released by the end of the event loop, the action that asked unwinds instead of
    // going on with half a name.
    if (line.end == TextWindow::LineEnd::loop_ended)
        throw ProgramExit{0, {}};
    return std::move(line.text);
}

} // namespace vorax::gwl
