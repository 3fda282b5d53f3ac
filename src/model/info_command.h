#pragma once
// `vorax --info MODEL`: reads a model without any window and prints what the info window would
// show after loading it, then a summary line.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace vorax {

struct ReadResult;

// Reads the model at `path`, computes its extents over all nodes and writes to `out` the info
// lines of a load and " Nodes: N  Elements: N  NGL: N  Coded nodes: N  Origin node: N".
// Returns the exit status: 0 when the model was read, 1 otherwise, with the report on `err`.
int run_info_command(const std::string& path, std::ostream& out, std::ostream& err);

// Handles the --info option ("--info MODEL" or "--info=MODEL") when the arguments hold one:
// runs run_info_command and returns its exit status. Returns nothing when there is no such
// option, so that the program starts as usual.
std::optional<int> run_info_option(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err);

// Writes to `err` why the model of `result` could not be read, the way the modes without a
// window report it ("Wrong Input File: NAME" and the reason, or the reason alone); returns
// the exit status 1.
int report_read_failure(const ReadResult& result, std::ostream& err);

// Handles a mode that takes a model file, `option` ("--info") followed by MODEL or written as
// "--info=MODEL": runs `command` on the name and returns its exit status, or 1 with a report
// on `err` when the name is missing. Returns nothing when the arguments hold no such option.
std::optional<int> run_model_option(int argc, const char* const* argv, std::string_view option,
                                    std::ostream& err,
                                    const std::function<int(const std::string&)>& command);

} // namespace vorax
