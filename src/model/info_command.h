#pragma once
// `vorax --info MODEL`: reads a model without any window and prints what the info window would
// show after loading it, then a summary line.

#include <iosfwd>
#include <optional>
#include <string>

namespace vorax {

// Reads the model at `path`, computes its extents over all nodes and writes to `out` the info
// lines of a load and " Nodes: N  Elements: N  NGL: N  Coded nodes: N  Origin node: N".
// Returns the exit status: 0 when the model was read, 1 otherwise, with the report on `err`.
int run_info_command(const std::string& path, std::ostream& out, std::ostream& err);

// Handles the --info option ("--info MODEL" or "--info=MODEL") when the arguments hold one:
// runs run_info_command and returns its exit status. Returns nothing when there is no such
// option, so that the program starts as usual.
std::optional<int> run_info_option(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err);

} // namespace vorax
