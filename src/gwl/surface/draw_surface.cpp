// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/draw_surface.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <QDir>

#include "core/large_pages.h"
#include "gwl/platform/qt_text.h"
#include "gwl/surface/surface_private.h"

namespace vorax::gwl {

namespace {

constexpr int kMinPolygonPoints = 3;
constexpr int kMaxPolygonPoints = 16381;

std::atomic<int> surfaces_made{0};

} // namespace

DrawSurface::DrawSurface(int width, int height, SurfaceDrawing drawing)
    : d_(std::make_unique<State>(width, height, drawing))
{
    d_->serial = ++surfaces_made;
}

DrawSurface::~DrawSurface()
{
    const QString folder = qEnvironmentVariable("VORAX_DUMP_SURFACES");
    if (folder.isEmpty() || !d_->draws_pixels)
        return;
    QDir().mkpath(folder);
    QString file = QStringLiteral("surface-%1").arg(d_->serial, 3, 10, QLatin1Char('0'));
    if (!d_->name.empty()) {
        QString name = qt_text(d_->name);
        for (QChar& c : name)
            if (!c.isLetterOrNumber())
                c = QLatin1Char('_');
        file += QLatin1Char('-') + name;
    }
    d_->close_text_painter();
    d_->image.save(QDir(folder).filePath(file + QStringLiteral(".png")), "PNG");
}

// --- Size and configuration --------------------------------------------------------------------

int DrawSurface::width() const { return d_->image.width(); }
int DrawSurface::height() const { return d_->image.height(); }

void DrawSurface::fill_window_config(WindowConfig& config) const
{
    const std::lock_guard lock(d_->mutex);
    config.pixels_x = to_int16(d_->image.width());
    config.pixels_y = to_int16(d_->image.height());
    config.text_columns = to_int16(d_->text_columns);
    config.text_rows = to_int16(d_->text_rows);
    config.colors = -1; // true colour
    config.font_size = d_->cell_height;
    config.bits_per_pixel = 32;
}

void DrawSurface::set_name(std::string name)
{
    const std::lock_guard lock(d_->mutex);
    d_->name = std::move(name);
}

// --- Status ------------------------------------------------------------------------------------

GraphicsStatus DrawSurface::get_graphics_status()
{
    return graphics_status.load(std::memory_order_relaxed);
}

// --- Window mapping ----------------------------------------------------------------------------

int DrawSurface::set_window(bool invert, double wx1, double wy1, double wx2, double wy2)
{
    Operation op(*this);
    bool reordered = false;
    if (!op.s().mapping.set_window(invert, wx1, wy1, wx2, wy2, reordered)) {
        op.fail(status::kError);
        return 0;
    }
    if (reordered)
        op.fail(status::kReordered);
    return 1;
}

WindowPoint DrawSurface::get_window_coord(int x, int y)
{
    Operation op(*this);
    return op.s().mapping.to_window({x, y});
}

PixelPoint DrawSurface::to_pixel(WindowPoint point) const
{
    const std::lock_guard lock(d_->mutex);
    return d_->mapping.to_pixel(point);
}

WindowPoint DrawSurface::to_window(PixelPoint pixel) const
{
    const std::lock_guard lock(d_->mutex);
    return d_->mapping.to_window(pixel);
}

// --- Colours and clearing ----------------------------------------------------------------------

Rgb DrawSurface::set_color_rgb(Rgb color)
{
    Operation op(*this);
    op.s().looks_changed();
    return std::exchange(op.s().color, color & 0xFFFFFFu);
}

Rgb DrawSurface::background_color() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->background;
}

Rgb DrawSurface::set_bk_color_rgb(Rgb color)
{
    Operation op(*this);
    op.s().looks_changed();
    return std::exchange(op.s().background, color & 0xFFFFFFu);
}

Rgb DrawSurface::set_text_color_rgb(Rgb color)
{
    Operation op(*this);
    op.s().looks_changed();
    return std::exchange(op.s().text_color, color & 0xFFFFFFu);
}

void DrawSurface::clear_screen(int area)
{
    Operation op(*this);
    if (area < 0 || area > 2) {
        op.fail(status::kInvalidParameter);
        return;
    }
    // Without a viewport the graphics area and the text window are the whole drawing area.
    op.s().close_text_painter();
    op.s().image.fill(pixel_of(op.s().background));
    op.s().record.clear(op.s().shape_look());
    op.changed_all();
}

// --- Lines and shapes --------------------------------------------------------------------------

WindowPoint DrawSurface::move_to_w(double wx, double wy)
{
    Operation op(*this);
    State& s = op.s();
    const WindowPoint previous = s.mapping.to_window(s.position);
    s.position = s.mapping.to_pixel({wx, wy});
    return previous;
}

int DrawSurface::line_to_w(double wx, double wy)
{
    Operation op(*this);
    State& s = op.s();
    const PixelPoint end = s.mapping.to_pixel({wx, wy});
    op.line_drawn(raster::draw_line(s.buffer(), s.position, end, pixel_of(s.color), s.line_pattern()));
    s.record.add_line(s.shape_look(), s.position, end);
    bool unused = false;
    op.changed(ordered_box(s.position, end, unused));
    s.position = end;
    return 1;
}

void DrawSurface::lines_w(std::span<const WindowLine> lines)
{
    Operation op(*this);
    State& s = op.s();
    if (lines.empty())
        return;
    const raster::PixelBuffer buffer = s.buffer();
    const std::uint32_t color = pixel_of(s.color);
    const std::uint32_t look = s.shape_look();
    Box changed = Box::none();
    raster::ClipOutcome outcome = raster::ClipOutcome::inside;
    PixelPoint from;
    for (const WindowLine& line : lines) {
        from = s.mapping.to_pixel(line.from);
        const PixelPoint to = s.mapping.to_pixel(line.to);
        if (s.draws_pixels)
            outcome = raster::draw_line(buffer, from, to, color, s.pattern);
        s.record.add_line(look, from, to);
        changed.add(from);
        changed.add(to);
        s.position = to;
    }
    // The status is that of the last line; without pixels it is found for that line alone.
    if (!s.draws_pixels)
        outcome = raster::draw_line(buffer, from, s.position, color, State::clip_only());
    op.line_drawn(outcome);
    op.changed(changed);
}

int DrawSurface::rectangle_w(int control, double wx1, double wy1, double wx2, double wy2)
{
    Operation op(*this);
    State& s = op.s();
    const std::optional<FillControl> how = op.control(control);
    if (!how)
        return 0;
    const Box box = op.box({wx1, wy1}, {wx2, wy2});
    const raster::PixelBuffer buffer = s.buffer();
    if (s.draws_pixels) {
        if (how == FillControl::interior)
            raster::fill_rectangle(buffer, box.left, box.top, box.right, box.bottom, s.fill());
        const std::array<PixelPoint, 4> corners{
            {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}}};
        raster::draw_outline(buffer, corners, pixel_of(s.color), s.pattern);
    }
    s.record.add_box(RecordOp::rectangle, how == FillControl::interior, s.shape_look(), box.left,
                     box.top, box.right, box.bottom);
    const PixelRect visible = clip_box(box, buffer.width, buffer.height);
    const long long box_width = static_cast<long long>(box.right) - box.left + 1;
    const long long box_height = static_cast<long long>(box.bottom) - box.top + 1;
    if (visible.empty())
        op.fail(status::kNothingDrawn);
    else if (visible.width != box_width || visible.height != box_height)
        op.fail(status::kClipped);
    op.changed(box);
    return 1;
}

int DrawSurface::ellipse_w(int control, double wx1, double wy1, double wx2, double wy2)
{
    Operation op(*this);
    State& s = op.s();
    const std::optional<FillControl> how = op.control(control);
    if (!how)
        return 0;
    const Box box = op.box({wx1, wy1}, {wx2, wy2});
    const raster::Fill interior = s.fill();
    if (s.draws_pixels)
        raster::draw_ellipse(s.buffer(), box.left, box.top, box.right, box.bottom, pixel_of(s.color),
                             how == FillControl::interior ? &interior : nullptr);
    s.record.add_box(RecordOp::ellipse, how == FillControl::interior, s.shape_look(), box.left,
                     box.top, box.right, box.bottom);
    op.changed(box);
    return 1;
}

int DrawSurface::polygon_w(int control, std::span<const WindowPoint> points)
{
    Operation op(*this);
    State& s = op.s();
    if (points.size() < kMinPolygonPoints || points.size() > kMaxPolygonPoints) {
        op.fail(status::kInvalidParameter);
        return 0;
    }
    const std::optional<FillControl> how = op.control(control);
    if (!how)
        return 0;
    std::vector<PixelPoint> pixels;
    try {
        pixels.reserve(points.size());
    } catch (const std::bad_alloc&) {
        op.fail(status::kNoMemory);
        return 0;
    }
    Box bounds = Box::none();
    for (const WindowPoint& p : points) {
        const PixelPoint pixel = s.mapping.to_pixel(p);
        pixels.push_back(pixel);
        bounds.add(pixel);
    }
    const raster::PixelBuffer buffer = s.buffer();
    if (s.draws_pixels) {
        if (how == FillControl::interior)
            raster::fill_polygon(buffer, pixels, s.fill());
        raster::draw_outline(buffer, pixels, pixel_of(s.color), s.pattern);
    }
    s.record.add_polygon(how == FillControl::interior, s.shape_look(), pixels);
    if (!buffer.contains(pixels.front().x, pixels.front().y))
        op.fail(status::kClipped);
    op.changed(bounds);
    return 1;
}

void DrawSurface::set_line_style(std::uint16_t mask)
{
    Operation op(*this);
    op.s().looks_changed();
    op.s().line_style = mask;
    op.s().pattern = raster::LinePattern(raster::pen_style_for_mask(mask));
}

void DrawSurface::set_fill_mask(std::optional<std::array<std::uint8_t, 8>> mask)
{
    Operation op(*this);
    op.s().looks_changed();
    op.s().fill_mask = mask;
}

PixelPoint DrawSurface::current_position() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->position;
}

// --- Access for widgets and exports ------------------------------------------------------------

void DrawSurface::set_change_listener(ChangeListener listener)
{
    const std::lock_guard lock(d_->mutex);
    d_->listener = std::move(listener);
}

bool DrawSurface::drawn() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->drawn;
}

void DrawSurface::read_image(const std::function<void(const QImage&)>& reader) const
{
    const std::lock_guard lock(d_->mutex);
    d_->close_text_painter();
    reader(d_->image);
}

void DrawSurface::read_record(const std::function<void(const DrawRecord&)>& reader) const
{
    const std::lock_guard lock(d_->mutex);
    reader(d_->record);
}

namespace {

const RecordIndex& current_index(const DrawRecord& record, std::unique_ptr<RecordIndex>& index, int width, int height)
{
    const RecordMark now = record.mark();
    if (!index || index->made_from().record != now.record || index->made_from().ops != now.ops
        || index->made_from().cut != now.cut || index->width() != width || index->height() != height)
        index = std::make_unique<RecordIndex>(record, width, height);
    return *index;
}

} // namespace

void DrawSurface::read_indexed_record(const std::function<void(const DrawRecord&, const RecordIndex&)>& reader) const
{
    const std::lock_guard lock(d_->mutex);
    reader(d_->record, current_index(d_->record, d_->record_index, d_->image.width(), d_->image.height()));
}

void DrawSurface::index_record() const
{
    const std::lock_guard lock(d_->mutex);
    (void)current_index(d_->record, d_->record_index, d_->image.width(), d_->image.height());
}

QImage DrawSurface::image_copy() const
{
    const std::lock_guard lock(d_->mutex);
    d_->close_text_painter();
    return d_->image.copy();
}

QImage picture_in_large_pages(int width, int height)
{
    const auto line = static_cast<qsizetype>(width) * 4;
    const std::size_t bytes = static_cast<std::size_t>(line) * static_cast<std::size_t>(height);
    // Beyond a gigabyte Qt's own checks decide, and a picture it cannot have stays null.
    if (bytes < kLargeFrom || bytes > (std::size_t{1} << 30))
        return QImage(width, height, QImage::Format_RGB32);
    struct Room {
        void* data;
        std::size_t bytes;
    };
    std::unique_ptr<Room> room;
    try {
        room = std::make_unique<Room>(Room{allocate_large(bytes), bytes});
    } catch (const std::bad_alloc&) {
        return QImage(width, height, QImage::Format_RGB32); // null when there is no room at all
    }
    QImage image(static_cast<uchar*>(room->data), width, height, line, QImage::Format_RGB32,
                 [](void* info) {
                     const std::unique_ptr<Room> room(static_cast<Room*>(info));
                     free_large(room->data, room->bytes);
                 },
                 room.get());
    room.release(); // the image frees it
    return image;
}

} // namespace vorax::gwl

