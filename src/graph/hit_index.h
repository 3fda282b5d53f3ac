// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one graph drew, searchable by position: the nodes that got a mark or a number and the
// element lines, at the drawing-area pixels where the graph put them. A graph window keeps the
// index of its own graph, so that pointing at it names what it shows whatever was drawn later.
//
// The index is a grid of square cells over the drawing area; a node is filed in the cell of its
// centre, an element line in every cell it crosses. A search looks only at the cells near the
// pointer, so it stays instant on a graph of a million nodes.
//
// Contents:
//   HitItem, DrawnNode, DrawnElement   what is found, and what goes in
//   kPointerSlack, distance_to_segment how near is near
//   HitIndex                           the grid and the search
//   index_drawn_items                  the index of a graph as draw_graph draws it

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graph/view_mapping.h"
#include "gwl/types.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"

namespace vorax {

// A node or an element by number, or nothing.
struct HitItem {
    enum class Kind : std::uint8_t { none, node, element };
    Kind kind = Kind::none;
    std::int32_t number = 0;

    friend bool operator==(const HitItem&, const HitItem&) = default;
};

// A drawn node's centre and a drawn element's end points, in drawing-area pixels.
struct DrawnNode {
    std::int32_t number = 0;
    gwl::PixelPoint at;
};
struct DrawnElement {
    std::int32_t number = 0;
    gwl::PixelPoint from;
    gwl::PixelPoint to;
};

// How far beyond a node's mark, and on each side of an element's line, the pointer may be, in
// screen pixels.
inline constexpr double kPointerSlack = 3.0;

// The distance from (x, y) to the segment between a and b (to a itself when b is a).
double distance_to_segment(double x, double y, gwl::PixelPoint a, gwl::PixelPoint b);

class HitIndex {
public:
    // A node's centre and an element's line within the drawing area, whose pixels fit 16 bits.
    struct Mark {
        std::int16_t x, y;
        std::int32_t number;
    };
    struct Line {
        std::int16_t x1, y1, x2, y2;
        std::int32_t number;
    };
    // The side of the drawing area the index takes at most (and at least 1).
    static int area_side(int side);
    // Puts into `mark` the mark of a node at a pixel of an area of width x height pixels; false
    // when the pixel lies outside the area.
    static bool mark_in_area(std::int32_t number, gwl::PixelPoint at, int width, int height, Mark& mark)
    {
        if (at.x < 0 || at.x >= width || at.y < 0 || at.y >= height)
            return false;
        mark = {static_cast<std::int16_t>(at.x), static_cast<std::int16_t>(at.y), number};
        return true;
    }
    // Puts into `line` the part of the line between two pixels that lies in an area of
    // width x height pixels (sides as area_side gives them); false when no part does.
    static bool line_in_area(std::int32_t number, gwl::PixelPoint from, gwl::PixelPoint to,
                             int width, int height, Line& line)
    {
        // Inline: the index of a large graph asks it a million times, nearly always for a line
        // that lies wholly inside.
        if (from.x < 0 || from.x >= width || from.y < 0 || from.y >= height || to.x < 0
            || to.x >= width || to.y < 0 || to.y >= height)
            return clip_line(number, from, to, width, height, line);
        line.x1 = static_cast<std::int16_t>(from.x);
        line.y1 = static_cast<std::int16_t>(from.y);
        line.x2 = static_cast<std::int16_t>(to.x);
        line.y2 = static_cast<std::int16_t>(to.y);
        line.number = number;
        return true;
    }

    // Nothing drawn: every search finds nothing.
    HitIndex() = default;
    // The nodes and elements drawn on an area of width x height pixels (each at most 32767), a
    // node's mark reaching `mark_radius` pixels from its centre. Nodes outside the area and the
    // parts of lines outside it cannot be pointed at.
    HitIndex(int width, int height, double mark_radius, std::span<const DrawnNode> nodes,
             std::span<const DrawnElement> elements);
    // The same from marks and lines already within the area.
    HitIndex(int width, int height, double mark_radius, const std::vector<Mark>& marks,
             const std::vector<Line>& lines);

    // What a pointer at (x, y) (drawing-area pixels, fractions allowed) points at: the nearest
    // node whose centre lies within mark_radius + slack, else the nearest element whose line
    // comes within slack; of equally near ones the lowest number.
    HitItem find(double x, double y, double slack) const;
    // The other nodes whose marks have their centre where that of `node` is, `node` having been
    // found by find(x, y, slack); in increasing order.
    std::vector<std::int32_t> nodes_beside(std::int32_t node, double x, double y, double slack) const;

    std::size_t node_count() const { return marks_.size(); }
    std::size_t element_count() const { return line_count_; }
    double mark_radius() const { return mark_radius_; }
    int cell_side() const { return cell_; }
    // The heap memory the index holds.
    std::size_t memory_bytes() const;

private:
    // The cells a square around a point overlaps, clamped to the grid.
    struct CellRange {
        int column_lo, column_hi, row_lo, row_hi;
    };

    static bool clip_line(std::int32_t number, gwl::PixelPoint from, gwl::PixelPoint to, int width,
                          int height, Line& line);
    CellRange cells_near(double x, double y, double reach) const;
    // Files the lines in cells of the current size; false, with nothing filed, when that would
    // take more than `most` entries.
    bool file_lines(const std::vector<Line>& lines, std::size_t most);
    std::size_t cell_at(int column, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_)
               + static_cast<std::size_t>(column);
    }
    template <typename Visit>
    void for_each_cell(const Line& line, Visit&& visit) const;
    // The item filed by cell (`starts`) nearest to (x, y), `distance` from it at most `reach`.
    template <typename Item, typename Distance>
    HitItem nearest_item(const std::vector<Item>& items, const std::vector<std::uint32_t>& starts,
                         double x, double y, double reach, HitItem::Kind kind, Distance distance) const;

    int width_ = 0;
    int height_ = 0;
    double mark_radius_ = 0.0;
    int cell_ = 1;  // a power of two
    int shift_ = 0; // its logarithm
    int columns_ = 0;
    int rows_ = 0;
    // Cell c holds marks_[mark_starts_[c] .. mark_starts_[c + 1]) and lines_[line_starts_[c] ..
    // line_starts_[c + 1]); a line that crosses several cells is in each of them.
    std::vector<std::uint32_t> mark_starts_;
    std::vector<Mark> marks_;
    std::vector<std::uint32_t> line_starts_;
    std::vector<Line> lines_;
    std::size_t line_count_ = 0;
};

// The index of the graph that draw_graph draws from the model, the settings and the view onto
// an area of width x height pixels: every element line it draws and every node that gets a mark
// or a number, at the pixels of their plot positions (read now: a later graph moves them).
HitIndex index_drawn_items(const StructureModel& model, const GraphSettings& settings,
                           const ViewMapping& view, int width, int height);

} // namespace vorax
