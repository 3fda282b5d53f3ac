// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Node selection ranges: the text typed in the "Range" field (such as "1-7, 13  20") read as
// groups of nodes, and a selection written back in its compact form ("1-7,13,20").

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/language.h"
#include "model/structure_model.h"

namespace vorax {

inline constexpr std::size_t kRangeTextLength = 255;

// One group of the text: a single node (first == last) or a range.
struct NodeGroup {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// Splits the text into groups at commas and blanks and reads each group. Any number of groups
// of any length is taken: only the nodes they name decide whether a group is good.
std::vector<NodeGroup> split_node_ranges(std::string_view text);

// A group is bad when it does not name nodes 1..node_count in ascending order.
bool is_bad_group(const NodeGroup& group, std::int32_t node_count);

// A group that names no nodes 1..node_count in ascending order, with its number in the text
// (from 1).
struct BadGroup {
    std::size_t number = 0;
    NodeGroup group;
};

// The error text of a bad group: "Error in group No. 2: 13-5".
std::string group_error_text(const BadGroup& bad, UiLanguage language);

// Reads the range text and returns its bad groups in order. When there is none, sets the
// selection through `set_selected` (every node false, then the groups' nodes true); a bad group
// leaves the selection untouched. Telling the person is the caller's part.
std::vector<BadGroup> apply_node_ranges(
    std::string_view range_text, std::int32_t node_count,
    const std::function<void(std::int32_t node, bool)>& set_selected);

// The same for a model: sets the `selected` flags of its nodes.
std::vector<BadGroup> apply_node_ranges(std::string_view range_text, StructureModel& model);

// The number of the model's nodes that are selected.
std::int32_t selected_node_count(const StructureModel& model);

// The selection of nodes 1..node_count in compact form: runs of consecutive numbers as
// "first-last", single nodes alone, joined by commas. At most 255 characters: the text ends
// after the last whole group that fits.
std::string format_node_ranges(std::int32_t node_count,
                               const std::function<bool(std::int32_t node)>& selected);

// The selection of the model's nodes in compact form.
std::string format_node_ranges(const StructureModel& model);

} // namespace vorax
