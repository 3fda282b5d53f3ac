// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/record_index.h"

#include <algorithm>
#include <bit>

namespace vorax::gwl {

namespace {

struct CellBox {
    int column_lo, column_hi, row_lo, row_hi;
    long long cells() const
    {
        return static_cast<long long>(column_hi - column_lo + 1) * (row_hi - row_lo + 1);
    }
};

} // namespace

RecordIndex::RecordIndex(const DrawRecord& record, int width, int height)
    : width_(width), height_(height), columns_(std::max(1, (width + kCell - 1) / kCell)), rows_(std::max(1, (height + kCell - 1) / kCell)),
      made_from_(record.mark())
{
    // Two passes over the operations: count what each cell gets, then file them.
    const auto cells_of = [this, &record](const DrawOp& op, CellBox& box) {
        if (op.kind == RecordOp::clear)
            return false;
        const PixelRect b = record.bounds(op);
        if (b.empty())
            return false;
        const auto cell = [](int v, int count) { return std::clamp(v / kCell, 0, count - 1); };
        if (b.x + b.width <= 0 || b.y + b.height <= 0 || b.x >= columns_ * kCell || b.y >= rows_ * kCell) {
            box = {0, -1, 0, -1}; // wholly outside the area: in no cell
            return true;
        }
        box = {cell(std::max(b.x, 0), columns_), cell(b.x + b.width - 1, columns_), cell(std::max(b.y, 0), rows_),
               cell(b.y + b.height - 1, rows_)};
        return true;
    };
    const std::size_t cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    starts_.assign(cells + 1, 0);
    std::uint32_t index = 0;
    for (const DrawOp& op : record.ops()) {
        CellBox box{};
        if (!cells_of(op, box) || box.cells() > kMostCells) {
            everywhere_.push_back(index++);
            continue;
        }
        for (int row = box.row_lo; row <= box.row_hi; ++row)
            for (int column = box.column_lo; column <= box.column_hi; ++column)
                ++starts_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + column + 1];
        ++index;
    }
    operations_ = index;
    for (std::size_t c = 0; c < cells; ++c)
        starts_[c + 1] += starts_[c];
    items_.resize(starts_[cells]);
    std::vector<std::uint32_t> next(starts_.begin(), starts_.end() - 1);
    index = 0;
    for (const DrawOp& op : record.ops()) {
        CellBox box{};
        if (cells_of(op, box) && box.cells() <= kMostCells)
            for (int row = box.row_lo; row <= box.row_hi; ++row)
                for (int column = box.column_lo; column <= box.column_hi; ++column)
                    items_[next[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + column]++] = index;
        ++index;
    }
}

std::vector<std::uint32_t> RecordIndex::ops_in(const PixelRect& box) const
{
    std::vector<std::uint32_t> found = everywhere_;
    if (box.empty() || columns_ == 0) {
        return found;
    }
    const auto cell = [](int v, int count) { return std::clamp(v / kCell, 0, count - 1); };
    const int column_lo = cell(std::max(box.x, 0), columns_);
    const int column_hi = cell(std::max(box.x + box.width - 1, 0), columns_);
    const int row_lo = cell(std::max(box.y, 0), rows_);
    const int row_hi = cell(std::max(box.y + box.height - 1, 0), rows_);
    const auto each_cell = [&](auto&& visit) {
        for (int row = row_lo; row <= row_hi; ++row)
            for (int column = column_lo; column <= column_hi; ++column) {
                const std::size_t c = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + column;
                visit(starts_[c], starts_[c + 1]);
            }
    };
    std::size_t filed = 0;
    each_cell([&](std::uint32_t begin, std::uint32_t end) { filed += end - begin; });
    if (filed < operations_ / 16) {
        // Few: gathered and sorted.
        found.reserve(found.size() + filed);
        each_cell([&](std::uint32_t begin, std::uint32_t end) {
            found.insert(found.end(), items_.begin() + begin, items_.begin() + end);
        });
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }
    // Many (a large part of the area): marked in a bit per operation and read back in order,
    // which costs far less than sorting them.
    std::vector<std::uint64_t> marked((operations_ + 63) / 64, 0);
    for (const std::uint32_t i : everywhere_)
        marked[i / 64] |= std::uint64_t{1} << (i % 64);
    each_cell([&](std::uint32_t begin, std::uint32_t end) {
        for (std::uint32_t k = begin; k < end; ++k)
            marked[items_[k] / 64] |= std::uint64_t{1} << (items_[k] % 64);
    });
    found.clear();
    found.reserve(filed + everywhere_.size());
    for (std::size_t word = 0; word < marked.size(); ++word)
        for (std::uint64_t bits = marked[word]; bits != 0; bits &= bits - 1)
            found.push_back(static_cast<std::uint32_t>(word * 64 + std::countr_zero(bits)));
    return found;
}

} // namespace vorax::gwl
