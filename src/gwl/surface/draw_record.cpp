// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/draw_record.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "core/large_pages.h"

namespace vorax::gwl {

static_assert(sizeof(DrawOp) == 24, "an operation stays at 24 bytes");

namespace {

std::atomic<std::uint64_t> records_made{0};

} // namespace

std::size_t DrawRecord::LookHash::operator()(const RecordedLook& look) const
{
    std::uint64_t h = look.color;
    h = h * 0x100000001B3ull ^ look.background;
    h = h * 0x100000001B3ull ^ look.line_style;
    h = h * 0x100000001B3ull ^ static_cast<std::uint32_t>(look.font);
    if (look.fill_mask) {
        std::uint64_t mask = 0;
        std::memcpy(&mask, look.fill_mask->data(), sizeof mask);
        h = h * 0x100000001B3ull ^ mask ^ 1u;
    }
    return std::hash<std::uint64_t>{}(h);
}

// --- Operations --------------------------------------------------------------------------------

template <class T, unsigned kShift>
void BlockList<T, kShift>::add_block()
{
    // In large pages: a block is one fault instead of hundreds. (On the machine of an earlier
    // measurement asking for them made the system compact memory first, which cost more than
    // the faults saved; on one whose every fault goes through its host, a block of ordinary
    // pages cost about 5 ms.)
    void* block = allocate_large(kBlockBytes);
    try {
        blocks_.push_back(static_cast<T*>(block));
    } catch (...) {
        free_large(block, kBlockBytes);
        throw;
    }
}

template <class T, unsigned kShift>
void BlockList<T, kShift>::truncate(std::size_t count)
{
    if (count >= size_)
        return;
    size_ = count;
    const std::size_t kept = (count + kMask) >> kShift;
    while (blocks_.size() > kept) {
        free_large(blocks_.back(), kBlockBytes);
        blocks_.pop_back();
    }
}

template class BlockList<DrawOp, 16>;
template class BlockList<OpStore::PackedLine, 18>;

std::size_t OpStore::stretch_of(std::size_t i) const
{
    const auto after = std::upper_bound(stretches_.begin(), stretches_.end(), i,
                                        [](std::size_t index, const Stretch& s) { return index < s.first; });
    return static_cast<std::size_t>(after - stretches_.begin()) - 1;
}

DrawOp OpStore::op_in(std::size_t stretch, std::size_t i) const
{
    const Stretch& s = stretches_[stretch];
    const std::size_t slot = s.slot + (i - s.first);
    if (!s.packed)
        return whole_[slot];
    const PackedLine& line = lines_[slot];
    return {RecordOp::line, false, s.look, line.a, line.b, line.c, line.d};
}

DrawOp OpStore::operator[](std::size_t i) const { return op_in(stretch_of(i), i); }

void OpStore::truncate(std::size_t count)
{
    if (count >= size_)
        return;
    size_ = count;
    while (!stretches_.empty() && stretches_.back().first >= count)
        stretches_.pop_back();
    // What the last stretch kept, and nothing after it, stays in the lists.
    std::size_t whole = 0;
    std::size_t lines = 0;
    for (auto s = stretches_.rbegin(); s != stretches_.rend() && (whole == 0 || lines == 0); ++s) {
        const std::size_t end = (s == stretches_.rbegin() ? count : (s - 1)->first) - s->first + s->slot;
        if (s->packed && lines == 0)
            lines = end;
        else if (!s->packed && whole == 0)
            whole = end;
    }
    whole_.truncate(whole);
    lines_.truncate(lines);
}

OpStore::Iterator::Iterator(const OpStore* store, std::size_t i) : store_(store), i_(i)
{
    if (i_ < store_->size_)
        enter(store_->stretch_of(i_));
}

void OpStore::Iterator::enter(std::size_t stretch)
{
    stretch_ = stretch;
    next_ = stretch + 1 < store_->stretches_.size() ? store_->stretches_[stretch + 1].first
                                                    : store_->size_;
}

void OpStore::Iterator::seek(std::size_t i)
{
    i_ = i;
    if (i_ < next_ || i_ >= store_->size_)
        return;
    const auto& stretches = store_->stretches_;
    const auto after = std::upper_bound(stretches.begin() + static_cast<std::ptrdiff_t>(stretch_) + 1, stretches.end(), i,
                                        [](std::size_t index, const Stretch& s) { return index < s.first; });
    enter(static_cast<std::size_t>(after - stretches.begin()) - 1);
}

DrawOp OpStore::Iterator::operator*() const { return store_->op_in(stretch_, i_); }

// --- Record ------------------------------------------------------------------------------------

DrawRecord::DrawRecord(bool kept) : id_(++records_made), kept_(kept) {}

std::uint32_t DrawRecord::look_index(const RecordedLook& look)
{
    const auto [found, added] =
        look_indices_.try_emplace(look, static_cast<std::uint32_t>(looks_.size()));
    if (added)
        looks_.push_back(look);
    return found->second;
}

std::int32_t DrawRecord::font_index(const RecordedFont& font)
{
    // A picture has a handful of fonts.
    const auto found = std::find(fonts_.begin(), fonts_.end(), font);
    if (found != fonts_.end())
        return static_cast<std::int32_t>(found - fonts_.begin());
    fonts_.push_back(font);
    return static_cast<std::int32_t>(fonts_.size() - 1);
}

void DrawRecord::clear(std::uint32_t look)
{
    cut_at(0);
    ops_.truncate(0);
    points_.clear();
    text_bytes_.clear();
    if (kept_)
        ops_.push_back({RecordOp::clear, false, look, 0, 0, 0, 0});
}

void DrawRecord::add_box(RecordOp kind, bool filled, std::uint32_t look, int left, int top,
                         int right, int bottom)
{
    if (kept_)
        ops_.push_back({kind, filled, look, left, top, right, bottom});
}

void DrawRecord::add_polygon(bool filled, std::uint32_t look, std::span<const PixelPoint> points)
{
    if (!kept_)
        return;
    const auto first = static_cast<std::int32_t>(points_.size());
    points_.insert(points_.end(), points.begin(), points.end());
    ops_.push_back({RecordOp::polygon, filled, look, first, static_cast<std::int32_t>(points.size()),
                    0, 0});
}

void DrawRecord::add_text(RecordOp kind, std::uint32_t look, int x, int y, std::string_view text,
                          int width)
{
    if (!kept_)
        return;
    const auto offset = static_cast<std::int32_t>(text_bytes_.size());
    const auto length = static_cast<std::uint32_t>(text.size());
    text_bytes_.append(reinterpret_cast<const char*>(&length), sizeof length);
    text_bytes_.append(text);
    ops_.push_back({kind, false, look, x, y, offset, width});
}

std::span<const PixelPoint> DrawRecord::polygon_points(const DrawOp& op) const
{
    return std::span(points_).subspan(static_cast<std::size_t>(op.a), static_cast<std::size_t>(op.b));
}

std::string_view DrawRecord::text(const DrawOp& op) const
{
    std::uint32_t length = 0;
    std::memcpy(&length, text_bytes_.data() + op.c, sizeof length);
    return std::string_view(text_bytes_).substr(static_cast<std::size_t>(op.c) + sizeof length, length);
}

PixelRect DrawRecord::bounds(const DrawOp& op) const
{
    const auto rect = [](long long left, long long top, long long right, long long bottom) {
        return PixelRect{static_cast<int>(left), static_cast<int>(top),
                         static_cast<int>(right - left + 1), static_cast<int>(bottom - top + 1)};
    };
    switch (op.kind) {
    case RecordOp::clear:
        return {};
    case RecordOp::line:
        return rect(std::min(op.a, op.c), std::min(op.b, op.d), std::max(op.a, op.c),
                    std::max(op.b, op.d));
    case RecordOp::rectangle:
    case RecordOp::ellipse:
        return rect(op.a, op.b, op.c, op.d);
    case RecordOp::polygon: {
        const std::span<const PixelPoint> points = polygon_points(op);
        const auto [left, right] = std::minmax_element(
            points.begin(), points.end(), [](PixelPoint p, PixelPoint q) { return p.x < q.x; });
        const auto [top, bottom] = std::minmax_element(
            points.begin(), points.end(), [](PixelPoint p, PixelPoint q) { return p.y < q.y; });
        return rect(left->x, top->y, right->x, bottom->y);
    }
    case RecordOp::text:
    case RecordOp::layer_text: {
        const RecordedFont& f = font(look(op.look).font);
        const long long top = op.kind == RecordOp::text ? static_cast<long long>(op.b) - f.ascent : op.b;
        return rect(op.a, top, static_cast<long long>(op.a) + std::max(op.d, 1) - 1,
                    top + std::max(f.height, 1) - 1);
    }
    }
    return {};
}

// --- Saved pictures ----------------------------------------------------------------------------

RecordMark DrawRecord::mark() const
{
    return {id_, ops_.size(), points_.size(), text_bytes_.size(), cut_serial_};
}

void DrawRecord::cut_at(std::uint64_t first)
{
    while (!cuts_.empty() && cuts_.back().first >= first)
        cuts_.pop_back();
    cuts_.push_back({++cut_serial_, first});
}

bool DrawRecord::mark_holds(const RecordMark& mark) const
{
    if (mark.record != id_ || mark.ops > ops_.size())
        return false;
    // The cuts after the mark form the end of the list, and the first of them reached lowest.
    const auto later = std::upper_bound(cuts_.begin(), cuts_.end(), mark.cut,
                                        [](std::uint64_t serial, const Cut& c) { return serial < c.serial; });
    return later == cuts_.end() || later->first >= mark.ops;
}

void DrawRecord::restore(const RecordMark& mark, const PixelRect& area, bool whole_area)
{
    if (!mark_holds(mark) || mark.ops == ops_.size())
        return;
    if (whole_area) {
        cut_at(mark.ops);
        ops_.truncate(mark.ops);
        points_.resize(mark.points);
        text_bytes_.resize(mark.text_bytes);
        return;
    }
    const auto inside = [&](const DrawOp& op) {
        const PixelRect b = bounds(op);
        return b.x >= area.x && b.y >= area.y && b.x + b.width <= area.x + area.width
               && b.y + b.height <= area.y + area.height;
    };
    std::size_t first_gone = mark.ops;
    while (first_gone < ops_.size() && !inside(ops_[first_gone]))
        ++first_gone;
    if (first_gone == ops_.size())
        return;
    cut_at(first_gone);
    // The pools keep what the dropped operations used: they are small and go with the next clear.
    // What came after the mark is a few operations (a rubber band and the like).
    std::vector<DrawOp> later;
    for (std::size_t i = first_gone; i < ops_.size(); ++i)
        if (const DrawOp op = ops_[i]; !inside(op))
            later.push_back(op);
    ops_.truncate(first_gone);
    for (const DrawOp& op : later)
        ops_.push_back(op);
}

} // namespace vorax::gwl
