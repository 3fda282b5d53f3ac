// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operations of a drawing's record by place: which of them may touch a box of the drawing
// area, in the order they were drawn. A window that shows part of a large drawing magnified
// draws again only those (a million lines, of which a magnified view shows a few thousand).
//
// A grid of square cells over the area; an operation is filed in every cell its bounds
// overlap, one that spans many cells (a clear, a long grid line) in a list of its own that every
// search returns.
//
// Contents: RecordIndex.

#include <cstdint>
#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/types.h"

namespace vorax::gwl {

class RecordIndex {
public:
    RecordIndex() = default;
    // The index of `record` on a drawing area of width x height pixels.
    RecordIndex(const DrawRecord& record, int width, int height);

    // The operations whose bounds overlap `box` (drawing-area pixels), in drawing order.
    std::vector<std::uint32_t> ops_in(const PixelRect& box) const;

    // The record and its state it was made from, and the area.
    const RecordMark& made_from() const { return made_from_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    static constexpr int kCell = 32;
    static constexpr int kMostCells = 64; // more than this, and the operation is everywhere

    int width_ = 0;
    int height_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::size_t operations_ = 0;
    RecordMark made_from_;
    // Cell c holds items_[starts_[c] .. starts_[c + 1]).
    std::vector<std::uint32_t> starts_;
    std::vector<std::uint32_t> items_;
    std::vector<std::uint32_t> everywhere_;
};

} // namespace vorax::gwl
