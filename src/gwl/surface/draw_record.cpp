#include "gwl/surface/draw_record.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

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

OpStore::~OpStore() { truncate(0); }

void OpStore::add_block()
{
    // Ordinary pages: asking for huge ones made the system compact memory first, which cost
    // more than the faults it saved.
    void* block = std::malloc(kBlockBytes);
    if (block == nullptr)
        throw std::bad_alloc();
    blocks_.push_back(static_cast<DrawOp*>(block));
}

void OpStore::truncate(std::size_t count)
{
    if (count >= size_)
        return;
    size_ = count;
    if (count <= kFirstBlock) {
        first_.resize(count);
        count = kFirstBlock;
    }
    const std::size_t kept = (count - kFirstBlock + kBlockOps - 1) / kBlockOps;
    while (blocks_.size() > kept) {
        std::free(blocks_.back());
        blocks_.pop_back();
    }
}

// --- Record ------------------------------------------------------------------------------------

DrawRecord::DrawRecord() : id_(++records_made) {}

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
    ops_.push_back({RecordOp::clear, false, look, 0, 0, 0, 0});
}

void DrawRecord::add_line(std::uint32_t look, PixelPoint from, PixelPoint to)
{
    ops_.push_back({RecordOp::line, false, look, from.x, from.y, to.x, to.y});
}

void DrawRecord::add_box(RecordOp kind, bool filled, std::uint32_t look, int left, int top,
                         int right, int bottom)
{
    ops_.push_back({kind, filled, look, left, top, right, bottom});
}

void DrawRecord::add_polygon(bool filled, std::uint32_t look, std::span<const PixelPoint> points)
{
    const auto first = static_cast<std::int32_t>(points_.size());
    points_.insert(points_.end(), points.begin(), points.end());
    ops_.push_back({RecordOp::polygon, filled, look, first, static_cast<std::int32_t>(points.size()),
                    0, 0});
}

void DrawRecord::add_text(RecordOp kind, std::uint32_t look, int x, int y, std::string_view text,
                          int width)
{
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
    std::size_t kept = first_gone;
    for (std::size_t i = first_gone; i < ops_.size(); ++i)
        if (!inside(ops_[i]))
            ops_[kept++] = ops_[i];
    ops_.truncate(kept);
}

} // namespace vorax::gwl
