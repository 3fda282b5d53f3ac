#pragma once
// The lines of a model file that made its nodes and elements, kept with the loaded model so that
// a graph window can tell where in the file a pointed node or element comes from.
//
// Four bytes per node and four per element at most: the line of each node's coordinate record,
// and either the line of each element's record (elements by number) or the line of each node's
// incidence record (elements by node, where an element comes from the records of its ends).

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

private:
    std::vector<RecordLine> coordinates_; // by node
    std::vector<RecordLine> elements_;    // by element; empty in the by-node layout
    std::vector<RecordLine> incidences_;  // by node; empty in the by-number layout
};

} // namespace vorax
