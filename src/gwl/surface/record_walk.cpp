// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/record_walk.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vorax::gwl {

namespace {

class Walk {
public:
    Walk(const DrawRecord& record, int width, int height, VectorSink& sink)
        : record_(record), width_(width), height_(height), sink_(sink)
    {
    }

    void run(const std::vector<std::uint32_t>* only)
    {
        if (only != nullptr) {
            // In drawing order, read as a run through the store; an index out of order is
            // looked up on its own.
            const OpStore& ops = record_.ops();
            OpStore::Iterator at = ops.begin();
            std::size_t last = 0;
            for (const std::uint32_t i : *only) {
                if (i >= ops.size())
                    continue;
                if (i < last)
                    at = OpStore::Iterator(&ops, i);
                else
                    at.seek(i);
                last = i;
                step(*at);
            }
        } else {
            for (const DrawOp& op : record_.ops())
                step(op);
        }
        flush_chain();
    }

    void step(const DrawOp& op)
    {
        if (op.kind == RecordOp::line) {
            line(op);
            return;
        }
        flush_chain();
        switch (op.kind) {
        case RecordOp::clear:
            sink_.fill_box({0, 0, width_, height_}, record_.look(op.look).background);
            break;
        case RecordOp::line: break;
        case RecordOp::rectangle:
        case RecordOp::ellipse:
        case RecordOp::polygon: shape(op); break;
        case RecordOp::text:
        case RecordOp::layer_text: text(op); break;
        }
    }

private:
    // The pen of a look's lines; none for an invisible one. (A pointer rather than an optional:
    // this is on the path of every line, and an optional copied out costs a stall there.)
    const LinePen* line_pen(std::uint32_t look_index)
    {
        if (look_index != pen_look_) {
            const RecordedLook& look = record_.look(look_index);
            pen_ = {look.color, raster::pen_style_for_mask(look.line_style)};
            pen_look_ = look_index;
        }
        return pen_.style == raster::PenStyle::invisible ? nullptr : &pen_;
    }

    // --- Lines ---------------------------------------------------------------------------------
    void line(const DrawOp& op)
    {
        if (chain_look_ != op.look)
            flush_chain();
        const LinePen* pen = line_pen(op.look);
        if (pen == nullptr)
            return;
        const PixelPoint from{op.a, op.b};
        const PixelPoint to{op.c, op.d};
        if (pen->style != raster::PenStyle::solid) {
            flush_chain();
            if (from == to)
                sink_.fill_box({from.x, from.y, 1, 1}, pen->color);
            else
                sink_.patterned_line(*pen, from, to);
            return;
        }
        chain_look_ = op.look;
        if (chain_.empty() || chain_.back() != from) {
            flush_chain();
            chain_look_ = op.look;
            chain_.push_back(from);
        }
        if (to != from)
            extend(to);
    }

    // Adds a point to the chain; one going straight on replaces the point before it.
    void extend(PixelPoint p)
    {
        const std::size_t n = chain_.size();
        if (n >= 2) {
            const PixelPoint q = chain_[n - 2];
            const PixelPoint r = chain_[n - 1];
            const long long ux = r.x - q.x, uy = r.y - q.y;
            const long long vx = p.x - r.x, vy = p.y - r.y;
            if (ux * vy == uy * vx && ux * vx + uy * vy > 0) {
                chain_[n - 1] = p;
                return;
            }
        }
        chain_.push_back(p);
    }

    void flush_chain()
    {
        if (chain_.size() == 1)
            sink_.fill_box({chain_[0].x, chain_[0].y, 1, 1}, pen_color(chain_look_));
        else if (chain_.size() > 1)
            sink_.polyline(*line_pen(chain_look_), chain_);
        chain_.clear();
    }

    Rgb pen_color(std::uint32_t look) const { return record_.look(look).color; }

    // --- Shapes --------------------------------------------------------------------------------
    void shape(const DrawOp& op)
    {
        const RecordedLook& look = record_.look(op.look);
        Shape s{op.kind, op.a, op.b, op.c, op.d, {}};
        if (op.kind == RecordOp::polygon)
            s.points = record_.polygon_points(op);
        // Ellipses are outlined solid, whatever the line style.
        const LinePen solid{look.color, raster::PenStyle::solid};
        const PixelRect box = record_.bounds(op);
        const bool thin = op.kind != RecordOp::polygon && (box.width == 1 || box.height == 1);
        if (op.filled && op.kind == RecordOp::ellipse && !thin && solid_fill(look)) {
            sink_.fill_and_outline(s, look.color, solid);
            return;
        }
        if (op.filled)
            fill_interior(op, s, look);
        const LinePen* pen = op.kind == RecordOp::ellipse ? &solid : line_pen(op.look);
        if (pen == nullptr)
            return;
        if (thin) {
            // A box one pixel thin is a row or column of pixels.
            sink_.fill_box(box, pen->color);
            return;
        }
        sink_.outline(*pen, s);
    }

    static bool solid_fill(const RecordedLook& look)
    {
        return !look.fill_mask
               || std::all_of(look.fill_mask->begin(), look.fill_mask->end(),
                              [](std::uint8_t row) { return row == 0xFF; });
    }

    void fill_interior(const DrawOp& op, const Shape& s, const RecordedLook& look)
    {
        if (solid_fill(look))
            sink_.fill_shape(s, look.color);
        else
            pattern_fill(op, look);
    }

    // An 8 x 8 pattern, aligned to the drawing area as on the surface, as runs of pixels down
    // each column: the set bits in the drawing colour, the clear ones in the background colour.
    // The pixels are those the rasteriser fills, found by filling the shape on a small buffer.
    void pattern_fill(const DrawOp& op, const RecordedLook& look)
    {
        const PixelRect b = record_.bounds(op);
        const int left = std::max(b.x, 0);
        const int top = std::max(b.y, 0);
        const int right = std::min(b.x + b.width, width_) - 1;
        const int bottom = std::min(b.y + b.height, height_) - 1;
        if (left > right || top > bottom)
            return;
        const int w = right - left + 1;
        const int h = bottom - top + 1;
        std::vector<std::uint32_t> bits(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
        const raster::PixelBuffer local{bits.data(), w, h, w};
        const raster::Fill inside{1, 1, std::nullopt};
        switch (op.kind) {
        case RecordOp::rectangle:
            raster::fill_rectangle(local, op.a - left, op.b - top, op.c - left, op.d - top, inside);
            break;
        case RecordOp::ellipse:
            raster::draw_ellipse(local, op.a - left, op.b - top, op.c - left, op.d - top, 1, &inside);
            break;
        default: {
            std::vector<PixelPoint> moved;
            for (const PixelPoint p : record_.polygon_points(op))
                moved.push_back({p.x - left, p.y - top});
            raster::fill_polygon(local, moved, inside);
        }
        }
        const auto set = [&](int x, int y) { return raster::mask_sets(*look.fill_mask, x, y); };
        std::vector<PixelRect> runs[2]; // clear bits, set bits
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h;) {
                if (bits[static_cast<std::size_t>(y) * w + x] == 0) {
                    ++y;
                    continue;
                }
                const bool on = set(left + x, top + y);
                const int start = y;
                while (y < h && bits[static_cast<std::size_t>(y) * w + x] != 0
                       && set(left + x, top + y) == on)
                    ++y;
                runs[on ? 1 : 0].push_back({left + x, top + start, 1, y - start});
            }
        }
        const Rgb colors[2] = {look.background, look.color};
        for (int on = 0; on < 2; ++on)
            if (!runs[on].empty())
                sink_.fill_boxes(runs[on], colors[on]);
    }

    // --- Text ----------------------------------------------------------------------------------
    void text(const DrawOp& op)
    {
        const RecordedLook& look = record_.look(op.look);
        if (look.font < 0)
            return;
        const RecordedFont& f = record_.font(look.font);
        int baseline = op.b;
        if (op.kind == RecordOp::layer_text) {
            if (op.d > 0 && f.height > 0)
                sink_.fill_box({op.a, op.b, op.d, f.height}, look.background);
            baseline = op.b + f.ascent;
        }
        sink_.text(look.font, look.color, op.a, baseline, record_.text(op));
    }

    const DrawRecord& record_;
    int width_;
    int height_;
    VectorSink& sink_;
    std::uint32_t pen_look_ = UINT32_MAX;
    LinePen pen_;
    std::uint32_t chain_look_ = 0;
    std::vector<PixelPoint> chain_;
};

} // namespace

void walk_record(const DrawRecord& record, int width, int height, VectorSink& sink,
                 const std::vector<std::uint32_t>* only)
{
    Walk(record, width, height, sink).run(only);
}

} // namespace vorax::gwl
