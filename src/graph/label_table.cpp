// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/label_table.h"

#include <algorithm>
#include <cmath>

namespace vorax {

namespace {

// Cell indices are held within this bound so that they fit the key; points beyond it share the
// outermost cells, which only makes those cells hold more candidates.
constexpr std::int64_t kCellLimit = std::int64_t{1} << 30;

} // namespace

LabelTable::LabelTable(double tol_x, double tol_y, std::size_t expected)
    : tol_x_(tol_x),
      tol_y_(tol_y),
      use_grid_(std::isfinite(tol_x) && std::isfinite(tol_y) && tol_x >= 0.0 && tol_y >= 0.0)
{
    if (use_grid_) {
        // With cells of twice the tolerance, two points within the tolerance lie in the same or
        // in neighbouring cells even after the rounding of the divisions.
        cell_x_ = 2.0 * tol_x;
        cell_y_ = 2.0 * tol_y;
        if (!(cell_x_ > 0.0) || !std::isfinite(cell_x_))
            cell_x_ = 1.0;
        if (!(cell_y_ > 0.0) || !std::isfinite(cell_y_))
            cell_y_ = 1.0;
        heads_.reserve(expected);
    }
    xs_.reserve(expected);
    ys_.reserve(expected);
    if (use_grid_)
        next_.reserve(expected);
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
    // The point's own cell first: where labels crowd, the entry near it is most often there.
    const std::int64_t cx = cell_index(x, cell_x_);
    const std::int64_t cy = cell_index(y, cell_y_);
    for (int cell = 0; cell < 9; ++cell) {
        const std::int64_t ix = cx + (cell + 1) % 3 - 1; // cx, cx + 1, cx - 1
        const std::int64_t iy = cy + (cell / 3 + 1) % 3 - 1;
        if (ix < -kCellLimit || ix > kCellLimit || iy < -kCellLimit || iy > kCellLimit)
            continue;
        const CellKey key = (static_cast<std::uint64_t>(ix + kCellLimit) << 32)
                            | static_cast<std::uint64_t>(iy + kCellLimit);
        const auto found = heads_.find(key);
        if (found == heads_.end())
            continue;
        for (std::int32_t j = found->second; j >= 0; j = next_[static_cast<std::size_t>(j)])
            if (near(x, y, xs_[static_cast<std::size_t>(j)], ys_[static_cast<std::size_t>(j)]))
                return true;
    }
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
    auto [slot, inserted] = heads_.try_emplace(key_of(x, y), index);
    next_.push_back(inserted ? -1 : slot->second);
    slot->second = index;
}

void LabelTable::skip()
{
    ++handled_;
    if (!use_grid_) {
        xs_.push_back(0.0);
        ys_.push_back(0.0);
        return;
    }
    has_zero_entry_ = true;
}

} // namespace vorax
