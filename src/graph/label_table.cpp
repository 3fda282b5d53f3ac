// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/label_table.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vorax {

namespace {

// Cell indices are held within this bound so that they fit the key; points beyond it share the
// outermost cells, which only makes those cells hold more candidates.
constexpr std::int64_t kCellLimit = std::int64_t{1} << 30;

// Entries made room for at the start at most. `expected` counts every number, also those that
// get no label (most elements of a model whose header claims 10^8 that no record names); the
// room beyond this grows with the labels placed.
constexpr std::size_t kMostRoom = std::size_t{1} << 20;

} // namespace

LabelTable::LabelTable(double tol_x, double tol_y, std::size_t expected)
    : tol_x_(tol_x),
      tol_y_(tol_y),
      use_grid_(std::isfinite(tol_x) && std::isfinite(tol_y) && tol_x >= 0.0 && tol_y >= 0.0)
{
    const std::size_t room = std::min(expected, kMostRoom);
    if (use_grid_) {
        // With cells of twice the tolerance, two points within the tolerance lie in the same or
        // in neighbouring cells even after the rounding of the divisions.
        cell_x_ = 2.0 * tol_x;
        cell_y_ = 2.0 * tol_y;
        if (!(cell_x_ > 0.0) || !std::isfinite(cell_x_))
            cell_x_ = 1.0;
        if (!(cell_y_ > 0.0) || !std::isfinite(cell_y_))
            cell_y_ = 1.0;
        cells_.reserve(room);
        use_parts_ = tol_x > 0.0 && tol_y > 0.0 && cell_x_ == 2.0 * tol_x && cell_y_ == 2.0 * tol_y;
    }
    xs_.reserve(room);
    ys_.reserve(room);
    if (use_grid_)
        next_.reserve(room);
}

std::int64_t LabelTable::cell_index(double value, double cell)
{
    const double index = std::floor(value / cell);
    if (index >= static_cast<double>(kCellLimit))
        return kCellLimit;
    if (index <= -static_cast<double>(kCellLimit))
        return -kCellLimit;
    return static_cast<std::int64_t>(index);
}

LabelTable::CellKey LabelTable::key_of(double x, double y) const
{
    const auto ix = static_cast<std::uint64_t>(cell_index(x, cell_x_) + kCellLimit);
    const auto iy = static_cast<std::uint64_t>(cell_index(y, cell_y_) + kCellLimit);
    return (ix << 32) | iy;
}

// A cell is split into 4 x 4 parts, each half the tolerances wide and high. A part's bit is
// 4 * (its column) + (its row), the column being the first two bits of the fraction of the
// quotient that gives the cell (exact, as is the scaling by 4).
std::uint16_t LabelTable::part_bit(double x, double y) const
{
    if (!use_parts_)
        return 0;
    const double u = x / cell_x_, v = y / cell_y_;
    const double cu = std::floor(u), cv = std::floor(v);
    if (std::abs(cu) >= static_cast<double>(kCellLimit) || std::abs(cv) >= static_cast<double>(kCellLimit))
        return 0; // a shared outermost cell
    const int px = std::min(static_cast<int>((u - cu) * 4.0), 3);
    const int py = std::min(static_cast<int>((v - cv) * 4.0), 3);
    return static_cast<std::uint16_t>(1u << (px * 4 + py));
}

// The parts of the cell `index`, as bits 0 to 3 along one axis, that lie wholly within the
// tolerance of the point `u` cells along it (at most two quarters of a cell away on either
// side), and those that reach into it. The margin is far above the rounding of the quotients
// within the cell limit (a few millionths of a quarter): every entry in a part within is near
// the point, and no entry outside the parts that reach is.
LabelTable::AxisParts LabelTable::axis_parts(double u, std::int64_t index)
{
    constexpr double kMargin = 1e-5;
    const double quarters = 4.0 * u;
    AxisParts parts;
    for (int j = 0; j < 4; ++j) {
        const double part = 4.0 * static_cast<double>(index) + j;
        if (part >= quarters - 2.0 + kMargin && part + 1.0 <= quarters + 2.0 - kMargin)
            parts.within |= 1u << j;
        if (part + 1.0 > quarters - 2.0 - kMargin && part < quarters + 2.0 + kMargin)
            parts.reaching |= 1u << j;
    }
    return parts;
}

// The parts of a cell in the given columns and rows, as part bits.
std::uint16_t LabelTable::part_bits(unsigned columns, unsigned rows)
{
    unsigned bits = 0;
    for (int column = 0; column < 4; ++column)
        if ((columns >> column) & 1u)
            bits |= rows << (4 * column);
    return static_cast<std::uint16_t>(bits);
}

bool LabelTable::near(double x, double y, double ex, double ey) const
{
    return std::abs(x - ex) <= tol_x_ && std::abs(y - ey) <= tol_y_;
}

bool LabelTable::collides(double x, double y) const
{
    if (!use_grid_) {
        for (std::size_t j = 0; j < xs_.size(); ++j)
            if (near(x, y, xs_[j], ys_[j]))
                return true;
        return false;
    }
    if (has_zero_entry_ && near(x, y, 0.0, 0.0))
        return true;
    // With finite tolerances a point that is not finite is near nothing, and nothing is near it.
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    // An entry in a part wholly within the tolerances answers without a look at the entries, and
    // a cell without an entry in the parts that reach into them needs none; the entries of the
    // other cells are compared, the point's own cell first.
    const std::int64_t cx = cell_index(x, cell_x_);
    const std::int64_t cy = cell_index(y, cell_y_);
    const double u = x / cell_x_, v = y / cell_y_;
    std::array<const Cell*, 9> found_cells{};
    std::size_t found_count = 0;
    for (int cell = 0; cell < 9; ++cell) {
        const std::int64_t ix = cx + (cell + 1) % 3 - 1; // cx, cx + 1, cx - 1
        const std::int64_t iy = cy + (cell / 3 + 1) % 3 - 1;
        if (ix < -kCellLimit || ix > kCellLimit || iy < -kCellLimit || iy > kCellLimit)
            continue;
        const CellKey key = (static_cast<std::uint64_t>(ix + kCellLimit) << 32)
                            | static_cast<std::uint64_t>(iy + kCellLimit);
        const auto found = cells_.find(key);
        if (found == cells_.end())
            continue;
        // Every entry of a cell short of the limits has its part.
        if (use_parts_ && std::abs(ix) < kCellLimit && std::abs(iy) < kCellLimit) {
            const AxisParts columns = axis_parts(u, ix), rows = axis_parts(v, iy);
            if ((found->second.parts & part_bits(columns.within, rows.within)) != 0)
                return true;
            if ((found->second.parts & part_bits(columns.reaching, rows.reaching)) == 0)
                continue;
        }
        found_cells[found_count++] = &found->second;
    }
    for (std::size_t k = 0; k < found_count; ++k)
        for (std::int32_t j = found_cells[k]->head; j >= 0; j = next_[static_cast<std::size_t>(j)])
            if (near(x, y, xs_[static_cast<std::size_t>(j)], ys_[static_cast<std::size_t>(j)]))
                return true;
    return false;
}

void LabelTable::place(double x, double y)
{
    ++handled_;
    if (!use_grid_) {
        xs_.push_back(x);
        ys_.push_back(y);
        return;
    }
    if (!std::isfinite(x) || !std::isfinite(y))
        return; // never near anything
    const auto index = static_cast<std::int32_t>(xs_.size());
    xs_.push_back(x);
    ys_.push_back(y);
    auto [slot, inserted] = cells_.try_emplace(key_of(x, y), Cell{index, 0});
    next_.push_back(inserted ? -1 : slot->second.head);
    slot->second.head = index;
    slot->second.parts |= part_bit(x, y);
}

void LabelTable::skip(std::size_t count)
{
    handled_ += count;
    if (!use_grid_) {
        xs_.insert(xs_.end(), count, 0.0);
        ys_.insert(ys_.end(), count, 0.0);
        return;
    }
    has_zero_entry_ = has_zero_entry_ || count > 0;
}

} // namespace vorax
