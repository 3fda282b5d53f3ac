// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/record_lines.h"

namespace vorax {

namespace {

// The entry of a 1-based number, 0 outside the list.
RecordLine entry(const LargeVector<RecordLine>& lines, std::int32_t number)
{
    return number >= 1 && static_cast<std::size_t>(number) <= lines.size()
               ? lines[static_cast<std::size_t>(number - 1)]
               : 0;
}

} // namespace

RecordLines::RecordLines(const ReaderNotes& notes)
    : incidences_(notes.incidences),
      codes_(notes.code_lines),
      values_(notes.value_lines),
      title_(notes.title_line),
      header_(notes.header_line)
{
    coordinates_.reserve(notes.nodes.size());
    for (std::size_t i = 0; i < notes.nodes.size(); ++i)
        coordinates_.push_back(notes.coordinate_mark(static_cast<std::int32_t>(i + 1)).line);
    elements_.reserve(notes.elements.size());
    for (const RecordMark& mark : notes.elements)
        elements_.push_back(mark.line);
}

RecordLine RecordLines::coordinate_line(std::int32_t number) const
{
    return entry(coordinates_, number);
}

RecordLine RecordLines::code_line(std::int32_t number) const
{
    return entry(codes_, number);
}

RecordLine RecordLines::value_line(std::int32_t number) const
{
    return entry(values_, number);
}

std::array<RecordLine, 2> RecordLines::element_lines(const StructureModel& model,
                                                     std::int32_t number) const
{
    if (number < 1 || number > model.element_count
        || static_cast<std::size_t>(number) > model.elements.size())
        return {0, 0};
    if (!elements_.empty())
        return {entry(elements_, number), 0};
    const Element& element = model.element(number);
    return {entry(incidences_, element.node1), entry(incidences_, element.node2)};
}

} // namespace vorax
