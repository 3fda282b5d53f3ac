// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loaded structure: title, nodes, elements and extents.
//
// Contents:
//   Node, Element    one node (coordinates, support codes and values, flags), one element
//   StructureModel   the whole model; node and element numbers start at 1
//   update_extents   xmin .. zmax over all nodes or over the selected ones
//   coordinates_of, set_extents   the same in pieces, for a pass that does more
//   ask_ahead_for_end_node   an end node asked for ahead of a loop over the elements

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/bounds.h"
#include "core/large_pages.h"

namespace vorax {

// One node. Its per-component arrays hold components 1..NGL (x, y and, for a spatial model,
// z) at indices 0..NGL-1; index 2 stays 0 in a plane model.
struct Node {
    std::array<float, 3> coords{};       // from the coordinate block
    std::array<std::int32_t, 3> codes{}; // support codes from the code block
    std::array<float, 3> values{};       // support values from the value block
    float plot_x = 0.0f;                 // drawing position, written by the graph command
    float plot_y = 0.0f;
    bool selected = false;   // member of the current node selection
    bool free = true;        // all codes are 0
    bool fixed = false;      // all NGL codes are non-zero
    bool has_values = false; // a value record was stored for this node

    bool operator==(const Node&) const = default;
};

// One element, a line between two nodes; 0 means no node, and an element with a 0 end has no
// line to draw.
struct Element {
    std::int32_t node1 = 0;
    std::int32_t node2 = 0;

    bool operator==(const Element&) const = default;
};

struct StructureModel {
    std::string problem_title; // the title line, at most 100 characters, no trailing blanks
    std::int32_t node_count = 0;
    std::int32_t element_count = 0;
    std::int32_t NGL = 0; // components per node: 2 plane, 3 spatial
    LargeVector<Node> nodes;       // node_count entries; nodes[n - 1] is node n
    LargeVector<Element> elements; // element_count entries; elements[e - 1] is element e
    std::int32_t coded_node_count = 0; // nodes with at least one non-zero code
    std::int32_t origin_node = 0;      // first node with all coordinates 0.0; 0 when none
    double xmin = 0.0, xmax = 0.0;
    double ymin = 0.0, ymax = 0.0;
    double zmin = 0.0, zmax = 0.0; // computed only when NGL is 3

    // Node and element by number, 1..nodes.size() and 1..elements.size(); callers check the
    // number first (a record's number against the counts, an element's ends against zero).
    Node& node(std::int32_t number) { return nodes[checked(number, nodes.size())]; }
    const Node& node(std::int32_t number) const { return nodes[checked(number, nodes.size())]; }
    Element& element(std::int32_t number) { return elements[checked(number, elements.size())]; }
    const Element& element(std::int32_t number) const
    {
        return elements[checked(number, elements.size())];
    }

    bool operator==(const StructureModel&) const = default;

private:
    static std::size_t checked(std::int32_t number, std::size_t count)
    {
        assert(number >= 1 && static_cast<std::size_t>(number) <= count);
        (void)count;
        return static_cast<std::size_t>(number - 1);
    }
};

// Asks the memory, ahead of its use, for a field of the second end node of the element
// kEndNodesAhead places after element `index` (counted from 0), if there are such an element and
// node. A loop over the elements that reads their end nodes calls it for each: in a spatial
// model an element often ends far from where it starts, and the processor would otherwise wait
// for that node.
constexpr std::size_t kEndNodesAhead = 16;
template <auto Field>
[[gnu::always_inline]] inline void ask_ahead_for_end_node(const StructureModel& model, std::size_t index)
{
    if (index + kEndNodesAhead >= model.elements.size())
        return;
    const auto node = static_cast<std::size_t>(model.elements[index + kEndNodesAhead].node2) - 1;
    if (node < model.nodes.size())
        __builtin_prefetch(&(model.nodes[node].*Field));
}

// Sets xmin .. ymax (and zmin, zmax when NGL is 3) from the coordinates of the considered
// nodes: every node when `all_nodes` is true, otherwise the nodes whose `selected` is true.
// Returns false, leaving the extents as they were, when no node is considered.
bool update_extents(StructureModel& model, bool all_nodes);

// A node's coordinates as the extents take them.
inline const std::array<float, 3>& coordinates_of(const Node& node) { return node.coords; }

// Sets the extents from the bounds of the considered nodes' coordinates (zmin and zmax only when
// NGL is 3), as update_extents does; returns false, leaving them as they were, for bounds that
// got no node.
bool set_extents(StructureModel& model, const Bounds<3>& coordinates);

} // namespace vorax
