// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/hit_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "graph/graph_drawing.h"
#include "graph/structure_render.h"
#include "gwl/surface/window_mapping.h"

namespace vorax {

namespace {

constexpr int kAreaLimit = 32767; // the most pixels a drawing area has each way

// Cells of 4 to 64 pixels: small enough that a search looks at few items, large enough that
// a graph with few items needs few cells.
constexpr int kSmallestCell = 4;
constexpr int kLargestDenseCell = 64;

// Clips the segment to the rectangle [0, w] x [0, h] (Liang-Barsky); false when nothing of it
// lies inside.
bool clip_segment(double& x1, double& y1, double& x2, double& y2, double w, double h)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1, w - x1, y1, h - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    const double bx = x1 + t1 * dx, by = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    x2 = bx;
    y2 = by;
    return true;
}

std::int16_t pixel16(double value, int limit)
{
    return static_cast<std::int16_t>(std::clamp(static_cast<int>(std::lround(value)), 0, limit));
}

// Turns counts per cell into the start of each cell's run (with the end after the last).
void starts_from_counts(std::vector<std::uint32_t>& counts)
{
    std::uint32_t sum = 0;
    for (std::uint32_t& c : counts) {
        const std::uint32_t n = c;
        c = sum;
        sum += n;
    }
    counts.push_back(sum);
}

} // namespace

double distance_to_segment(double x, double y, gwl::PixelPoint a, gwl::PixelPoint b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t
        = length2 == 0.0 ? 0.0 : std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0);
    const double ex = x - (a.x + t * dx);
    const double ey = y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

int HitIndex::area_side(int side) { return std::clamp(side, 1, kAreaLimit); }

bool HitIndex::clip_line(std::int32_t number, gwl::PixelPoint from, gwl::PixelPoint to, int width,
                         int height, Line& line)
{
    const int x_max = width - 1;
    const int y_max = height - 1;
    double x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    if (!clip_segment(x1, y1, x2, y2, x_max, y_max))
        return false;
    line = {pixel16(x1, x_max), pixel16(y1, y_max), pixel16(x2, x_max), pixel16(y2, y_max), number};
    return true;
}

namespace {

std::vector<HitIndex::Mark> marks_in_area(std::span<const DrawnNode> nodes, int width, int height)
{
    std::vector<HitIndex::Mark> marks;
    HitIndex::Mark mark{};
    for (const DrawnNode& node : nodes)
        if (HitIndex::mark_in_area(node.number, node.at, width, height, mark))
            marks.push_back(mark);
    return marks;
}

std::vector<HitIndex::Line> lines_in_area(std::span<const DrawnElement> elements, int width, int height)
{
    std::vector<HitIndex::Line> lines(elements.size());
    std::size_t kept = 0;
    for (const DrawnElement& element : elements)
        kept += HitIndex::line_in_area(element.number, element.from, element.to, width, height, lines[kept]);
    lines.resize(kept);
    return lines;
}

} // namespace

HitIndex::HitIndex(int width, int height, double mark_radius, std::span<const DrawnNode> nodes,
                   std::span<const DrawnElement> elements)
    : HitIndex(width, height, mark_radius, marks_in_area(nodes, area_side(width), area_side(height)),
               lines_in_area(elements, area_side(width), area_side(height)))
{
}

HitIndex::HitIndex(int width, int height, double mark_radius, const std::vector<Mark>& marks,
                   const std::vector<Line>& lines)
    : width_(area_side(width)),
      height_(area_side(height)),
      mark_radius_(std::isfinite(mark_radius) ? std::max(mark_radius, 0.0) : 0.0),
      line_count_(lines.size())
{
    // About two items a cell at least.
    const double items = static_cast<double>(marks.size() + lines.size());
    const double area = static_cast<double>(width_) * height_;
    cell_ = kSmallestCell;
    while (cell_ < kLargestDenseCell && items * cell_ * cell_ < 2.0 * area)
        cell_ *= 2;
    // Larger cells while long lines would be filed in more cells than a few per line.
    const std::size_t most = 4 * lines.size() + 4096;
    while (!file_lines(lines, cell_ < std::max(width_, height_) ? most
                                                                : std::numeric_limits<std::size_t>::max()))
        cell_ *= 2;

    // Marks sorted by cell.
    auto cell_of = [this](const Mark& m) { return cell_at(m.x >> shift_, m.y >> shift_); };
    mark_starts_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
    for (const Mark& mark : marks)
        if (mark.x >= 0 && mark.x < width_ && mark.y >= 0 && mark.y < height_)
            ++mark_starts_[cell_of(mark)];
    starts_from_counts(mark_starts_);
    marks_.resize(mark_starts_.back());
    std::vector<std::uint32_t> next(mark_starts_.begin(), mark_starts_.end() - 1);
    for (const Mark& mark : marks)
        if (mark.x >= 0 && mark.x < width_ && mark.y >= 0 && mark.y < height_)
            marks_[next[cell_of(mark)]++] = mark;
}

bool HitIndex::file_lines(const std::vector<Line>& lines, std::size_t most)
{
    shift_ = std::countr_zero(static_cast<unsigned>(cell_));
    columns_ = (width_ + cell_ - 1) / cell_;
    rows_ = (height_ + cell_ - 1) / cell_;
    line_starts_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
    std::size_t entries = 0;
    for (const Line& line : lines) {
        for_each_cell(line, [&](std::size_t cell) {
            ++line_starts_[cell];
            ++entries;
        });
        if (entries > most) {
            line_starts_.clear();
            return false;
        }
    }
    starts_from_counts(line_starts_);
    lines_.resize(line_starts_.back());
    std::vector<std::uint32_t> next(line_starts_.begin(), line_starts_.end() - 1);
    for (const Line& line : lines)
        for_each_cell(line, [&](std::size_t cell) { lines_[next[cell]++] = line; });
    return true;
}

template <typename Visit>
void HitIndex::for_each_cell(const Line& line, Visit&& visit) const
{
    // Most lines of a large graph are short: they lie in one cell.
    const int column1 = line.x1 >> shift_, row1 = line.y1 >> shift_;
    if (column1 == line.x2 >> shift_ && row1 == line.y2 >> shift_) {
        visit(cell_at(column1, row1));
        return;
    }
    double x1 = line.x1, y1 = line.y1, x2 = line.x2, y2 = line.y2;
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    // Row by row of cells: the stretch of the line within the row's band gives its columns.
    const int row_lo = static_cast<int>(y1) >> shift_;
    const int row_hi = std::min(static_cast<int>(y2) >> shift_, rows_ - 1);
    for (int row = row_lo; row <= row_hi; ++row) {
        double xa = x1, xb = x2;
        if (y2 > y1) {
            const double ya = std::max(y1, static_cast<double>(row) * cell_);
            const double yb = std::min(y2, static_cast<double>(row + 1) * cell_);
            xa = x1 + (x2 - x1) * (ya - y1) / (y2 - y1);
            xb = x1 + (x2 - x1) * (yb - y1) / (y2 - y1);
        }
        const int lo = std::clamp(static_cast<int>(std::floor(std::min(xa, xb))) >> shift_, 0, columns_ - 1);
        const int hi = std::clamp(static_cast<int>(std::floor(std::max(xa, xb))) >> shift_, 0, columns_ - 1);
        for (int column = lo; column <= hi; ++column)
            visit(cell_at(column, row));
    }
}

HitIndex::CellRange HitIndex::cells_near(double x, double y, double reach) const
{
    // One pixel more than the reach: a line filed by a rounded crossing is still looked at.
    const double r = reach + 1.0;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r) || columns_ == 0
        || x + r < 0.0 || y + r < 0.0 || x - r >= width_ || y - r >= height_)
        return {0, -1, 0, -1};
    auto cell = [this](double v, int count) {
        return std::clamp(static_cast<int>(std::floor(v / cell_)), 0, count - 1);
    };
    return {cell(x - r, columns_), cell(x + r, columns_), cell(y - r, rows_), cell(y + r, rows_)};
}

template <typename Item, typename Distance>
HitItem HitIndex::nearest_item(const std::vector<Item>& items, const std::vector<std::uint32_t>& starts,
                               double x, double y, double reach, HitItem::Kind kind,
                               Distance distance) const
{
    HitItem found;
    double nearest = reach;
    const CellRange near = cells_near(x, y, reach);
    for (int row = near.row_lo; row <= near.row_hi; ++row)
        for (int column = near.column_lo; column <= near.column_hi; ++column) {
            const std::size_t cell = cell_at(column, row);
            for (std::uint32_t i = starts[cell]; i < starts[cell + 1]; ++i) {
                const Item& item = items[i];
                const double d = distance(item);
                // Of equally near items the lowest number (a line crossing several cells is met
                // more than once, to the same effect).
                if (d < nearest || (d == nearest && (found.number == 0 || item.number < found.number))) {
                    nearest = d;
                    found = {kind, item.number};
                }
            }
        }
    return found;
}

HitItem HitIndex::find(double x, double y, double slack) const
{
    if (!(slack >= 0.0))
        slack = 0.0;
    const HitItem node = nearest_item(marks_, mark_starts_, x, y, mark_radius_ + slack, HitItem::Kind::node,
                                      [x, y](const Mark& mark) {
                                          const double dx = x - mark.x;
                                          const double dy = y - mark.y;
                                          return std::sqrt(dx * dx + dy * dy);
                                      });
    if (node.kind != HitItem::Kind::none)
        return node;
    return nearest_item(lines_, line_starts_, x, y, slack, HitItem::Kind::element, [x, y](const Line& line) {
        return distance_to_segment(x, y, {line.x1, line.y1}, {line.x2, line.y2});
    });
}

std::vector<std::int32_t> HitIndex::nodes_beside(std::int32_t node, double x, double y, double slack) const
{
    if (!(slack >= 0.0))
        slack = 0.0;
    // The node was found near (x, y): its mark is filed in one of the cells looked at.
    const CellRange near = cells_near(x, y, mark_radius_ + slack);
    std::vector<Mark> seen;
    const Mark* own = nullptr;
    for (int row = near.row_lo; row <= near.row_hi; ++row)
        for (int column = near.column_lo; column <= near.column_hi; ++column) {
            const std::size_t cell = cell_at(column, row);
            seen.insert(seen.end(), marks_.begin() + mark_starts_[cell], marks_.begin() + mark_starts_[cell + 1]);
        }
    for (const Mark& mark : seen)
        if (mark.number == node)
            own = &mark;
    std::vector<std::int32_t> beside;
    if (own == nullptr)
        return beside;
    for (const Mark& mark : seen)
        if (mark.x == own->x && mark.y == own->y && mark.number != node)
            beside.push_back(mark.number);
    std::sort(beside.begin(), beside.end());
    return beside;
}

std::size_t HitIndex::memory_bytes() const
{
    return (mark_starts_.capacity() + line_starts_.capacity()) * sizeof(std::uint32_t)
           + marks_.capacity() * sizeof(Mark) + lines_.capacity() * sizeof(Line);
}

HitIndex index_drawn_items(const StructureModel& model, const GraphSettings& settings,
                           const ViewMapping& view, int width, int height)
{
    width = HitIndex::area_side(width);
    height = HitIndex::area_side(height);
    gwl::WindowMapping mapping(width, height);
    const WindowCorners corners = window_corners(view, window_y_down(settings));
    bool reordered = false;
    mapping.set_window(corners.invert, corners.x1, corners.y1, corners.x2, corners.y2, reordered);

    // The pixel of every selected node, the ends of lines included; the marks of those drawn.
    // A node that is not selected gets a pixel no mapping gives (they stay within +-2^28).
    constexpr gwl::PixelPoint kNotSelected{-(1 << 30), -(1 << 30)};
    std::vector<HitIndex::Mark> marks;
    const auto node_count = std::min<std::size_t>(static_cast<std::size_t>(std::max(model.node_count, 0)),
                                                   model.nodes.size());
    std::vector<gwl::PixelPoint> at(node_count, kNotSelected);
    for (std::size_t i = 0; i < node_count; ++i) {
        const Node& node = model.nodes[i];
        if (!node.selected)
            continue;
        at[i] = mapping.to_pixel({node.plot_x, node.plot_y});
        HitIndex::Mark mark{};
        if (node_drawn(node, settings)
            && HitIndex::mark_in_area(static_cast<std::int32_t>(i + 1), at[i], width, height, mark))
            marks.push_back(mark);
    }
    const auto element_count = static_cast<std::int32_t>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(model.element_count, 0)), model.elements.size()));
    std::vector<HitIndex::Line> lines(static_cast<std::size_t>(element_count));
    std::size_t kept = 0;
    // The test of element_drawn (both ends exist and are selected) on the pixels gathered above:
    // reading the model's nodes once more would take longer than all the rest.
    auto end_of = [&](std::int32_t n) {
        return n >= 1 && static_cast<std::size_t>(n) <= node_count ? at[static_cast<std::size_t>(n - 1)]
                                                                   : kNotSelected;
    };
    for (std::int32_t e = 1; e <= element_count; ++e) {
        const Element& element = model.element(e);
        const gwl::PixelPoint from = end_of(element.node1);
        const gwl::PixelPoint to = end_of(element.node2);
        if (from == kNotSelected || to == kNotSelected)
            continue;
        kept += HitIndex::line_in_area(e, from, to, width, height, lines[kept]);
    }
    lines.resize(kept);

    // A node's mark: the ring of a free node, the disc of a supported one (a fixed node's square
    // reaches a little further, within the slack).
    const double across = std::fabs(view.window_x2 - view.window_x1);
    const double down = std::fabs(view.window_y2 - view.window_y1);
    const double mark_radius = std::max(across > 0.0 ? view.marker_dx * (width - 1) / across : 0.0,
                                        down > 0.0 ? view.marker_dy * (height - 1) / down : 0.0);
    return HitIndex(width, height, mark_radius, marks, lines);
}

} // namespace vorax
