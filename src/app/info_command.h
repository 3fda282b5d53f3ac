// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `vorax --info MODEL`: reads a model without any window and prints what the info window would
// show after loading it, then a summary line.

#include <iosfwd>
#include <string>
#include <vector>

namespace vorax {

struct GraphSettings;
struct ReadResult;
struct StructureModel;

// Reads the model at `path`, computes its extents over all nodes and writes to `out` the info
// lines of a load and " Nodes: N  Elements: N  NGL: N  Coded nodes: N  Origin node: N".
// Returns the exit status: 0 when the model was read, 1 otherwise, with the report on `err`.
int run_info_command(const std::string& path, std::ostream& out, std::ostream& err);

// Writes to `err` why the model of `result` could not be read, the way the modes without a
// window report it ("Wrong Input File: NAME" and the reason, or the reason alone); returns
// the exit status 1.
int report_read_failure(const ReadResult& result, std::ostream& err);

// What follows every successful read, in the program and in the export alike: every node
// selected, all nodes to be drawn, the extents over them, the index switches preset from the
// counts. Returns the model's lines for the info window.
std::vector<std::string> prepare_loaded_model(StructureModel& model, GraphSettings& settings);

} // namespace vorax
