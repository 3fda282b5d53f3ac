// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What changed between two readings of a model file, OLD and NEW: nodes and elements matched by
// number, with the lines of the records behind each change. `vorax --diff OLD NEW` lists it; a
// reload says it in one info line and marks it in the graphs.
//
// Contents:
//   ChangeKind, ModelChange   one change, and which file's line it stands on
//   RemovedLine               where an element that is gone drew its line
//   ModelDiff, diff_models    every change of a pair of models, in NEW's file order
//   change_line, change_summary, reloaded_line   the lines that tell them
//
// Reals (coordinates and support values) compare as the stored 4-byte floats, bit for bit, with
// one exception: 0 and -0 are the same value (one point; the texts write both as 0.000). A NaN,
// which no model file gives, equals only a NaN of the same bits.
//
// For the change marks of a redrawn graph: the nodes of node_added, node_moved, codes_changed
// and values_changed get a ring, the elements of element_added and element_rejoined a highlight
// under their line (both in NEW), and removed_lines the lines that are gone.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/language.h"
#include "model/record_lines.h"
#include "model/structure_model.h"

namespace vorax {

// In the order of the parts of a model file; the numbers are node or element numbers.
enum class ChangeKind : std::uint8_t {
    title_changed,    // the title line
    ngl_changed,      // plane to spatial or back (the header)
    codes_changed,    // the support codes of a node
    values_changed,   // the support values of a node: given or not, or other values
    node_added,       // a node beyond OLD's node count
    node_moved,       // other coordinates
    node_removed,     // a node beyond NEW's node count
    element_added,    // an element beyond OLD's element count
    element_rejoined, // other end nodes
    element_removed,  // an element beyond NEW's element count
};
inline constexpr std::size_t kChangeKinds = 10;

enum class ChangeSide : std::uint8_t { new_file, old_file };

struct ModelChange {
    ChangeKind kind = ChangeKind::title_changed;
    // Where the change stands: the line of NEW's record behind it; OLD's record where NEW has
    // none (a removed item, a record taken out); 0 when neither file has one.
    ChangeSide side = ChangeSide::new_file;
    RecordLine line = 0;
    std::int32_t number = 0; // the node or element; 0 for the title and NGL

    bool operator==(const ModelChange&) const = default;
};

// The line an element of OLD drew that NEW no longer draws under its number: an element that is
// removed, or left without an end node. Its ends where OLD had them.
struct RemovedLine {
    std::int32_t element = 0;
    std::array<float, 3> end1{};
    std::array<float, 3> end2{};

    bool operator==(const RemovedLine&) const = default;
};

struct ModelDiff {
    // In NEW's file order: the parts of the file in order (title, header, codes, values,
    // coordinates, elements); within a part the changes on NEW's lines by line, then those
    // without a line, then those on OLD's lines (the removed items among them) by line; changes
    // on one line by number.
    std::vector<ModelChange> changes;
    std::vector<RemovedLine> removed_lines; // by element number
    std::array<std::int64_t, kChangeKinds> counts{}; // changes of each kind
    std::int64_t supports_changed = 0; // nodes whose codes or values changed
    std::int32_t node_count = 0;       // of NEW
    std::int32_t element_count = 0;
    std::int32_t NGL = 0;

    std::int64_t count(ChangeKind kind) const { return counts[static_cast<std::size_t>(kind)]; }
};

// The changes from `old_model` to `new_model`, each read with the lines given (empty
// RecordLines give changes without lines). Time and memory linear in the size of the models.
ModelDiff diff_models(const StructureModel& old_model, const RecordLines& old_lines,
                      const StructureModel& new_model, const RecordLines& new_lines);

// "NEW:LINE: node 7 moved from (12.000, 3.500) to (12.000, 4.000)", or "OLD:LINE: ..." for a
// change on OLD's lines, without ":LINE" when it has none; the numbers as a pointed node shows
// them. The models are those `change` came from.
std::string change_line(std::string_view old_name, std::string_view new_name, const ModelChange& change,
                        const StructureModel& old_model, const StructureModel& new_model);

// "12 nodes, 15 elements; 2 nodes moved, 1 element added, 1 support changed": NEW's size, then
// the counts of the changes that there are (nodes added, removed and moved, elements added,
// removed and changed, supports, the title, plane or spatial), or "unchanged".
std::string change_summary(const ModelDiff& diff, UiLanguage language);

// The info line after a reload: " * Reloaded: " and the summary.
std::string reloaded_line(const ModelDiff& diff, UiLanguage language);

} // namespace vorax
