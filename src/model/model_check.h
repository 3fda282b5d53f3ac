// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The model check: what a model file holds that reading accepts without a word but that is most
// likely a slip of the hand - a block ended by a mistyped record, records skipped or replaced,
// nodes left at the origin or unused, elements that are not drawn or have no length, parts that
// hang together with nothing. A model with findings reads and draws as before: the check only
// reports.
//
// Contents:
//   FindingKind, kind_name  the kinds of finding and their stable names for scripts and editors
//   Finding, CheckReport    one finding; all the findings of a model
//   check_model             the findings of a model and the notes its reading left
//   finding_line, unlisted_line, summary_line   the lines `vorax --check` prints

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/language.h"
#include "model/model_reader.h"
#include "model/structure_model.h"

namespace vorax {

enum class FindingKind : std::uint8_t {
    block_end,         // a record that could not be read ended its block
    out_of_range,      // a record skipped for a node or element number outside the model
    empty_range,       // a code record whose last node is below its first
    replaced,          // a record that sets what an earlier record set
    no_coordinates,    // nodes that no coordinate record names
    undefined_element, // elements without both end nodes
    zero_length,       // an element whose ends are one node or one point
    coincident_nodes,  // distinct nodes at the same point
    unused_node,       // nodes that no element uses
    disconnected,      // elements in more than one connected part
    no_supports,       // no node has a non-zero code
};
inline constexpr std::size_t kFindingKinds = 11;

// "block-end", "out-of-range", ...: the names `vorax --check` prints in brackets.
std::string_view kind_name(FindingKind kind);

struct Finding {
    FindingKind kind = FindingKind::block_end;
    long line = 0;    // the line where the record or closing line starts; 0: the whole model
    std::string text; // one sentence without a full stop
    // The nodes and elements it is about, as far as a graph can show them (at most kMostItems
    // of each): what a graph window marks when a person picks the finding.
    static constexpr std::size_t kMostItems = 1000;
    std::vector<std::int32_t> nodes;
    std::vector<std::int32_t> elements;
};

struct CheckReport {
    // Findings listed of each kind; beyond that they are only counted, which keeps the report of
    // a file with millions of faulty records short and its memory small.
    static constexpr std::size_t kMostListed = ReaderNotes::kMostNotes;

    std::vector<Finding> findings; // those tied to a line in file order, then the model-wide ones
    std::array<std::int64_t, kFindingKinds> unlisted{}; // findings of each kind not listed

    // Every finding, listed or not.
    std::int64_t count() const;
};

// The findings of `model` as read with `notes`, worded in `language` (`vorax --check` prints
// English ones). Takes time linear in the size of the model (the coincident nodes through a
// hash table) and memory of a few integers per node.
CheckReport check_model(const StructureModel& model, const ReaderNotes& notes,
                        UiLanguage language = UiLanguage::english);

// "MODEL:LINE: warning: TEXT [KIND]", or "MODEL: warning: TEXT [KIND]" for the whole model
// ("avertisment" in Romanian).
std::string finding_line(std::string_view file_name, const Finding& finding,
                         UiLanguage language = UiLanguage::english);

// "MODEL: note: N more findings not listed [KIND]".
std::string unlisted_line(std::string_view file_name, FindingKind kind, std::int64_t count);

// "1 warning", "N warnings"; "no findings" for 0.
std::string summary_line(std::int64_t count);

} // namespace vorax
