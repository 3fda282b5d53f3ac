// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// LabelTable: the collision rule for node and element numbers.
//
// Numbers are handled in order 1, 2, 3, ...; each either gets a label at a point or gets none,
// in which case its entry stays (0, 0). A new label collides when some entry of a lower number
// lies within tol_x horizontally and tol_y vertically of it, the (0, 0) entries of unlabelled
// numbers included. Compared one by one, that costs time in the square of the count; the table
// instead files the labels in a grid of cells twice the tolerances in size, so that a test looks
// at the entries of nine cells only and gives exactly the same answers. Each cell also knows
// which of its sixteen parts hold an entry, which mostly answers without a look at the entries.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vorax {

class LabelTable {
public:
    // `expected` is the number of entries to make room for.
    LabelTable(double tol_x, double tol_y, std::size_t expected = 0);

    // Whether a label at (x, y) would collide with an entry of the numbers handled so far.
    bool collides(double x, double y) const;
    // The next number got its label at (x, y).
    void place(double x, double y);
    // The next `count` numbers got no label; their entries stay (0, 0).
    void skip(std::size_t count = 1);
    // How many numbers were handled.
    std::size_t size() const { return handled_; }

private:
    using CellKey = std::uint64_t;
    CellKey key_of(double x, double y) const;
    static std::int64_t cell_index(double value, double cell);
    bool near(double x, double y, double ex, double ey) const;
    // The one bit of the part, of 4 x 4 in its cell, that (x, y) lies in; 0 where parts cannot
    // tell that two points are near.
    std::uint16_t part_bit(double x, double y) const;
    struct AxisParts {
        unsigned within = 0;   // wholly within the tolerance
        unsigned reaching = 0; // reaching into it
    };
    static AxisParts axis_parts(double u, std::int64_t index);
    static std::uint16_t part_bits(unsigned columns, unsigned rows);

    double tol_x_;
    double tol_y_;
    // Finite, non-negative tolerances allow the grid; any other tolerance is served by comparing
    // with every entry, which is then cheap to get exactly right.
    bool use_grid_;
    double cell_x_ = 1.0;
    double cell_y_ = 1.0;
    std::size_t handled_ = 0;
    bool has_zero_entry_ = false; // some handled number got no label
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::vector<std::int32_t> next_; // next entry in the same cell, -1 at the end
    struct Cell {
        std::int32_t head;   // the newest entry
        std::uint16_t parts; // the parts that hold an entry: one there is near any point there
    };
    std::unordered_map<CellKey, Cell> cells_;
    bool use_parts_ = false; // the cells are twice the tolerances
};

} // namespace vorax
