// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of a model file that made its nodes and elements, kept with the loaded model so that
// a graph window can tell where in the file a pointed node or element comes from.
//
// Four bytes per node and four per element at most: the line of each node's coordinate record,
// and either the line of each element's record (elements by number) or the line of each node's
// incidence record (elements by node, where an element comes from the records of its ends);
// besides, the lines of the code and value records, as far as they named nodes, and those of the
// title and the header.

#include <array>
#include <cstdint>
#include <vector>

#include "model/model_reader.h"
#include "model/structure_model.h"

namespace vorax {

class RecordLines {
public:
    RecordLines() = default;
    // The lines the reading noted for each node and element.
    explicit RecordLines(const ReaderNotes& notes);

    // The line of the coordinate record of node `number`; 0 when none named it.
    RecordLine coordinate_line(std::int32_t number) const;
    // The lines of the records that gave element `number` its end nodes, 0 for none: its own
    // record and 0 in the by-number layout; in the by-node layout the incidence records of its
    // first and its second end node.
    std::array<RecordLine, 2> element_lines(const StructureModel& model, std::int32_t number) const;
    // The line of the last code record, and of the value record, that named node `number`; 0
    // when none did.
    RecordLine code_line(std::int32_t number) const;
    RecordLine value_line(std::int32_t number) const;
    RecordLine title_line() const { return title_; }
    RecordLine header_line() const { return header_; }

private:
    LargeVector<RecordLine> coordinates_; // by node
    LargeVector<RecordLine> elements_;    // by element; empty in the by-node layout
    LargeVector<RecordLine> incidences_;  // by node; empty in the by-number layout
    LargeVector<RecordLine> codes_;       // by node, up to the last one a code record named
    LargeVector<RecordLine> values_;      // the same for the value records
    RecordLine title_ = 0;
    RecordLine header_ = 0;
};

} // namespace vorax
