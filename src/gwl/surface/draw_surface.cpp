// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/draw_surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <variant>
#include <vector>

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "core/text.h"
#include "gwl/platform/qt_text.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/qt_color.h"
#include "gwl/surface/qt_fonts.h"
#include "gwl/surface/raster.h"
#include "gwl/surface/window_mapping.h"

namespace vorax::gwl {

namespace {

// The shape controls and image actions behind the integer codes that callers pass.
enum class FillControl { outline, interior };
enum class ImageAction { bit_or, bit_and, inverted_copy, copy, bit_xor };

std::optional<FillControl> fill_control(int code)
{
    switch (code) {
    case kFillOutline: return FillControl::outline;
    case kFillInterior: return FillControl::interior;
    default: return std::nullopt;
    }
}

std::optional<ImageAction> image_action(int code)
{
    switch (code) {
    case 0: return ImageAction::bit_or;
    case 1: return ImageAction::bit_and;
    case 2: return ImageAction::inverted_copy;
    case kActionCopy: return ImageAction::copy;
    case 4: return ImageAction::bit_xor;
    default: return std::nullopt;
    }
}

constexpr int kTextCellHeight = 16;
constexpr int kMinPolygonPoints = 3;
constexpr int kMaxPolygonPoints = 16381;
constexpr std::size_t kFaceField = 32;
constexpr std::size_t kFileField = 81;

std::atomic<GraphicsStatus> graphics_status{status::kOk};
std::atomic<int> surfaces_made{0};

std::uint32_t pixel_of(Rgb color)
{
    return 0xFF000000u | (red_of(color) << 16) | (green_of(color) << 8) | blue_of(color);
}

std::int16_t to_int16(int value)
{
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

// The layout of an ImageBuffer: this header, then the stored pixels row by row (32 bits each).
// The stored part is the rectangle's intersection with the drawing area, at (stored_x,
// stored_y) within the rectangle; the rest of the rectangle lay outside and is not kept. The
// rectangle's top-left pixel and the record's mark say where and when the pixels were taken,
// so that copying them back to the same place takes back what the record got since.
struct ImageHeader {
    std::uint32_t magic = 0;
    std::int32_t stored_x = 0;
    std::int32_t stored_y = 0;
    std::int32_t stored_width = 0;
    std::int32_t stored_height = 0;
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    RecordMark mark;
};
constexpr std::uint32_t kImageMagic = 0x4D495856; // "VXIM"

// A pixel box with inclusive edges, ordered.
struct Box {
    int left, top, right, bottom;
};

Box ordered_box(PixelPoint a, PixelPoint b, bool& swapped)
{
    swapped = a.x > b.x || a.y > b.y;
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The part of a box inside a W x H area as a PixelRect (empty when none).
PixelRect clip_box(const Box& box, int width, int height)
{
    const int left = std::max(box.left, 0);
    const int top = std::max(box.top, 0);
    const int right = std::min(box.right, width - 1);
    const int bottom = std::min(box.bottom, height - 1);
    if (left > right || top > bottom)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

} // namespace

struct DrawSurface::State {
    State(int w, int h)
        : image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32),
          mapping(image.width(), image.height()),
          position{image.width() / 2, image.height() / 2}
    {
        image.fill(pixel_of(background));
        // Fonts need a GUI application; without one the text layer keeps its nominal cell and
        // writes nothing (the offscreen platform is enough for headless use).
        has_fonts = gui_available();
        if (has_fonts) {
            text_font = text_layer_font(kTextCellHeight);
            const QFontMetrics metrics(text_font);
            cell_width = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
            cell_height = std::max(1, metrics.height());
            text_ascent = metrics.ascent();
        }
        text_rows = std::max(1, image.height() / cell_height);
        text_columns = std::max(1, image.width() / cell_width);
    }

    raster::PixelBuffer buffer()
    {
        close_text_painter();
        // bits() also makes sure that nobody shares the pixels being changed.
        return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
                image.bytesPerLine() / 4};
    }
    // The painter of graphic text stays open from one label to the next: opening a painter costs
    // about as much as drawing a short label. Everything else that touches the pixels closes it
    // first, so that no painter is open while they are changed or read another way.
    QPainter& text_painter_for(const QFont& painter_font, Rgb painter_color)
    {
        if (!text_painter) {
            text_painter = std::make_unique<QPainter>(&image);
            text_painter->setRenderHint(QPainter::TextAntialiasing, false);
            text_painter->setFont(painter_font);
            text_painter->setPen(qcolor_of(painter_color));
            text_painter_color = painter_color;
            return *text_painter;
        }
        if (text_painter->font() != painter_font)
            text_painter->setFont(painter_font);
        if (text_painter_color != painter_color) {
            text_painter->setPen(qcolor_of(painter_color));
            text_painter_color = painter_color;
        }
        return *text_painter;
    }
    void close_text_painter() { text_painter.reset(); }

    raster::Fill fill() const { return {pixel_of(color), pixel_of(background), fill_mask}; }

    // The looks of what is recorded, made when first needed after the state changed.
    std::uint32_t shape_look()
    {
        if (!shape_look_index)
            shape_look_index = record.look_index({color, background, line_style, fill_mask, -1});
        return *shape_look_index;
    }
    std::uint32_t text_look()
    {
        if (!text_look_index) {
            if (font->record_index < 0)
                font->record_index = record.font_index(recorded_font(font->font, font->metrics));
            text_look_index = record.look_index({color, background, 0xFFFF, std::nullopt,
                                                 font->record_index});
        }
        return *text_look_index;
    }
    std::uint32_t layer_look()
    {
        if (!layer_look_index) {
            if (layer_font_index < 0) {
                RecordedFont f = recorded_font(text_font, QFontMetrics(text_font));
                f.ascent = text_ascent;
                f.height = cell_height;
                layer_font_index = record.font_index(f);
            }
            layer_look_index = record.look_index({text_color, background, 0xFFFF, std::nullopt,
                                                  layer_font_index});
        }
        return *layer_look_index;
    }
    void looks_changed()
    {
        shape_look_index.reset();
        text_look_index.reset();
        layer_look_index.reset();
    }
    static RecordedFont recorded_font(const QFont& font, const QFontMetrics& metrics)
    {
        // What the system gave, which a vector picture must name to show the same face.
        const QFontInfo info(font);
        return {info.family().toStdString(), font.pixelSize(), info.weight(), info.italic(),
                font.underline(), font.stretch() > 0 ? font.stretch() : 100, metrics.ascent(),
                metrics.height()};
    }
    Box box_of(WindowPoint a, WindowPoint b, bool& swapped) const
    {
        return ordered_box(mapping.to_pixel(a), mapping.to_pixel(b), swapped);
    }
    PixelRect cursor_rect() const
    {
        return {(text_position.column - 1) * cell_width, (text_position.row - 1) * cell_height,
                cell_width, cell_height};
    }

    mutable std::mutex mutex;
    QImage image;
    std::unique_ptr<QPainter> text_painter; // after `image`: it is closed before the image goes
    Rgb text_painter_color = kBlack;
    WindowMapping mapping;
    PixelPoint position;
    Rgb color = kWhite;
    Rgb background = kBlack;
    bool drawn = false; // some operation changed pixels
    Rgb text_color = kWhite;
    std::uint16_t line_style = 0xFFFF;
    raster::LinePattern pattern{raster::PenStyle::solid};
    std::optional<std::array<std::uint8_t, 8>> fill_mask;

    struct CurrentFont {
        int index = -1;
        FontChoice choice;
        QFont font;
        QFontMetrics metrics;
        std::int32_t record_index = -1; // in the record's fonts, once text used it
    };
    std::optional<CurrentFont> font;

    DrawRecord record;
    std::optional<std::uint32_t> shape_look_index;
    std::optional<std::uint32_t> text_look_index;
    std::optional<std::uint32_t> layer_look_index;
    std::int32_t layer_font_index = -1;

    bool has_fonts = false;
    QFont text_font;
    int cell_width = 8;
    int cell_height = kTextCellHeight;
    int text_ascent = 12;
    int text_rows = 1;
    int text_columns = 1;
    TextPosition text_position;
    bool cursor_on = false;

    ChangeListener listener;
    std::string name;
    int serial = 0;
};

// One operation: holds the surface's lock, resets the status, collects the changed pixels and
// tells the listener about them once the lock is released.
class DrawSurface::Operation {
public:
    explicit Operation(DrawSurface& surface) : s_(*surface.d_), lock_(s_.mutex)
    {
        graphics_status.store(status::kOk, std::memory_order_relaxed);
    }
    ~Operation()
    {
        if (dirty_.empty() || !s_.listener)
            return;
        const ChangeListener listener = s_.listener;
        lock_.unlock();
        listener(dirty_);
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    State& s() { return s_; }
    void fail(GraphicsStatus status) { graphics_status.store(status, std::memory_order_relaxed); }
    // The status a line leaves: nothing drawn when it lies wholly outside, clipped when partly.
    void line_drawn(raster::ClipOutcome outcome)
    {
        if (outcome == raster::ClipOutcome::outside)
            fail(status::kNothingDrawn);
        else if (outcome == raster::ClipOutcome::partly)
            fail(status::kClipped);
    }

    // The shape control behind a code; an unknown one fails the operation with -1.
    std::optional<FillControl> control(int code)
    {
        const std::optional<FillControl> how = fill_control(code);
        if (!how)
            fail(status::kError);
        return how;
    }
    // The box of two corners, ordered (status 3 when they had to be swapped).
    Box box(WindowPoint a, WindowPoint b)
    {
        bool swapped = false;
        const Box ordered = s_.box_of(a, b, swapped);
        if (swapped)
            fail(status::kReordered);
        return ordered;
    }

    // Marks pixels as changed; parts outside the drawing area are dropped.
    void changed(const Box& box)
    {
        s_.drawn = true;
        if (!s_.listener)
            return;
        dirty_ = united(dirty_, clip_box(box, s_.image.width(), s_.image.height()));
    }
    void changed(const PixelRect& r)
    {
        if (!r.empty())
            changed(Box{r.x, r.y, r.x + r.width - 1, r.y + r.height - 1});
    }
    void changed_all() { changed(Box{0, 0, s_.image.width() - 1, s_.image.height() - 1}); }

private:
    State& s_;
    std::unique_lock<std::mutex> lock_;
    PixelRect dirty_;
};

DrawSurface::DrawSurface(int width, int height) : d_(std::make_unique<State>(width, height))
{
    d_->serial = ++surfaces_made;
}

DrawSurface::~DrawSurface()
{
    const QString folder = qEnvironmentVariable("VORAX_DUMP_SURFACES");
    if (folder.isEmpty())
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

void DrawSurface::set_graphics_status(GraphicsStatus status)
{
    graphics_status.store(status, std::memory_order_relaxed);
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

// --- Text layer --------------------------------------------------------------------------------

TextPosition DrawSurface::set_text_position(int row, int column)
{
    Operation op(*this);
    State& s = op.s();
    const TextPosition previous = s.text_position;
    s.text_position.row = to_int16(std::clamp(row, 1, s.text_rows));
    s.text_position.column = to_int16(std::clamp(column, 1, s.text_columns));
    if (s.cursor_on) {
        op.changed(s.cursor_rect());
        const TextPosition now = std::exchange(s.text_position, previous);
        op.changed(s.cursor_rect());
        s.text_position = now;
    }
    return previous;
}

void DrawSurface::out_text(std::string_view text)
{
    Operation op(*this);
    State& s = op.s();
    if (!s.has_fonts) {
        op.fail(status::kError);
        return;
    }
    const QString line = qt_text(text);
    const int x = (s.text_position.column - 1) * s.cell_width;
    const int y = (s.text_position.row - 1) * s.cell_height;
    const int width = static_cast<int>(line.size()) * s.cell_width;
    s.close_text_painter();
    {
        QPainter painter(&s.image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.fillRect(x, y, width, s.cell_height, qcolor_of(s.background));
        painter.setFont(s.text_font);
        painter.setPen(qcolor_of(s.text_color));
        painter.drawText(x, y + s.text_ascent, line);
    }
    s.record.add_text(RecordOp::layer_text, s.layer_look(), x, y, text, width);
    op.changed(Box{x, y, x + width - 1, y + s.cell_height - 1});
    // A glyph of a font that is not strictly of fixed pitch can reach past its cells.
    if (s.listener) {
        const QFontMetrics metrics(s.text_font);
        const QRect ink = metrics.boundingRect(line).translated(x, y + s.text_ascent);
        op.changed(Box{std::min(x, ink.left()), std::min(y, ink.top()),
                       std::max(x + metrics.horizontalAdvance(line), ink.right()),
                       std::max(y + s.cell_height - 1, ink.bottom())});
    }
    if (s.cursor_on)
        op.changed(s.cursor_rect());
    // The position moves past the text, to the start of the next row when that runs off the
    // line; the last row stays the last row.
    int column = s.text_position.column + static_cast<int>(line.size());
    int row = s.text_position.row;
    if (column > s.text_columns) {
        column = 1;
        row = std::min(row + 1, s.text_rows);
    }
    s.text_position = {to_int16(row), to_int16(column)};
    if (s.cursor_on)
        op.changed(s.cursor_rect());
}

bool DrawSurface::display_cursor(bool on)
{
    Operation op(*this);
    const bool previous = std::exchange(op.s().cursor_on, on);
    if (previous != on)
        op.changed(op.s().cursor_rect());
    return previous;
}

TextPosition DrawSurface::text_position() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->text_position;
}

bool DrawSurface::cursor_shown() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->cursor_on;
}

PixelRect DrawSurface::text_cursor_rect() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->cursor_rect();
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
    op.line_drawn(raster::draw_line(s.buffer(), s.position, end, pixel_of(s.color), s.pattern));
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
    raster::ClipOutcome outcome = raster::ClipOutcome::inside;
    Box changed{kPixelLimit, kPixelLimit, -kPixelLimit, -kPixelLimit};
    for (const WindowLine& line : lines) {
        const PixelPoint from = s.mapping.to_pixel(line.from);
        const PixelPoint to = s.mapping.to_pixel(line.to);
        outcome = raster::draw_line(buffer, from, to, color, s.pattern);
        s.record.add_line(look, from, to);
        changed = {std::min({changed.left, from.x, to.x}), std::min({changed.top, from.y, to.y}),
                   std::max({changed.right, from.x, to.x}), std::max({changed.bottom, from.y, to.y})};
        s.position = to;
    }
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
    if (how == FillControl::interior)
        raster::fill_rectangle(buffer, box.left, box.top, box.right, box.bottom, s.fill());
    const std::array<PixelPoint, 4> corners{
        {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}}};
    raster::draw_outline(buffer, corners, pixel_of(s.color), s.pattern);
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
    Box bounds{kPixelLimit, kPixelLimit, -kPixelLimit, -kPixelLimit};
    for (const WindowPoint& p : points) {
        const PixelPoint pixel = s.mapping.to_pixel(p);
        pixels.push_back(pixel);
        bounds = {std::min(bounds.left, pixel.x), std::min(bounds.top, pixel.y),
                  std::max(bounds.right, pixel.x), std::max(bounds.bottom, pixel.y)};
    }
    const raster::PixelBuffer buffer = s.buffer();
    if (how == FillControl::interior)
        raster::fill_polygon(buffer, pixels, s.fill());
    raster::draw_outline(buffer, pixels, pixel_of(s.color), s.pattern);
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

// --- Fonts and graphic text --------------------------------------------------------------------

int DrawSurface::init_fonts()
{
    Operation op(*this);
    if (!ensure_font_list()) {
        op.fail(status::kError);
        return 0;
    }
    const std::vector<FontEntry>& list = font_list();
    const int index = default_font_index();
    const FontEntry& entry = list[static_cast<std::size_t>(index)];
    const FontChoice choice{index, entry.height, entry.width, entry.weight, entry.italic,
                            entry.underline};
    const QFont font = make_font(entry, choice);
    op.s().font.emplace(State::CurrentFont{index, choice, font, QFontMetrics(font)});
    op.s().looks_changed();
    return static_cast<int>(list.size());
}

int DrawSurface::set_font(std::string_view spec)
{
    Operation op(*this);
    State& s = op.s();
    const auto parsed = parse_font_spec(spec);
    if (const auto* failure = std::get_if<GraphicsStatus>(&parsed)) {
        op.fail(*failure);
        return -1;
    }
    const FontRequest& request = std::get<FontRequest>(parsed);
    const std::vector<FontEntry>& list = font_list();
    const std::optional<int> previous = s.font ? std::optional(s.font->index) : std::nullopt;
    const std::optional<FontChoice> choice = choose_font(list, request, previous);
    if (!choice) {
        op.fail(status::kError);
        return -1;
    }
    const QFont font = make_font(list[static_cast<std::size_t>(choice->index)], *choice);
    s.font.emplace(State::CurrentFont{choice->index, *choice, font, QFontMetrics(font)});
    s.looks_changed();
    if (request.conflicting)
        op.fail(status::kReordered);
    return choice->index + 1;
}

int DrawSurface::get_font_info(FontInfo& info)
{
    Operation op(*this);
    const State& s = op.s();
    if (!s.font) {
        op.fail(status::kError);
        return -1;
    }
    const FontEntry& entry = font_list()[static_cast<std::size_t>(s.font->index)];
    const FontChoice& choice = s.font->choice;
    const QFontMetrics& metrics = s.font->metrics;
    const int width = choice.width > 0 ? choice.width : metrics.averageCharWidth();
    info.type = entry.scalable ? 1 : 0;
    info.ascent = metrics.ascent();
    info.pixel_width = entry.fixed_pitch ? width : 0;
    info.pixel_height = choice.height > 0 ? choice.height : metrics.height();
    info.avg_char_width = width;
    info.file_name = std::string(kFileField, ' ');
    info.face_name = pad_right(entry.face, kFaceField);
    info.italic = choice.italic;
    info.bold = choice.weight >= 700;
    info.underline = choice.underline;
    return 0;
}

int DrawSurface::get_gtext_extent(std::string_view text)
{
    Operation op(*this);
    if (!op.s().font) {
        op.fail(status::kError);
        return -1;
    }
    return op.s().font->metrics.horizontalAdvance(qt_text(text));
}

void DrawSurface::out_gtext(std::string_view text)
{
    Operation op(*this);
    State& s = op.s();
    if (!s.font) {
        op.fail(status::kNothingDrawn);
        return;
    }
    const QString line = qt_text(text);
    const QFontMetrics& metrics = s.font->metrics;
    const int advance = metrics.horizontalAdvance(line);
    const int x = s.position.x;
    const int y = s.position.y;
    s.text_painter_for(s.font->font, s.color).drawText(x, y + metrics.ascent(), line);
    s.record.add_text(RecordOp::text, s.text_look(), x, y + metrics.ascent(), text, advance);
    // Italic and some glyphs reach beyond the advance; the bounding box covers them. Measuring it
    // costs as much as shaping the text again, so only a surface that is watched pays for it
    // (a headless export of many labels is not).
    if (s.listener) {
        const QRect ink = metrics.boundingRect(line).translated(x, y + metrics.ascent());
        op.changed(Box{std::min(x, ink.left()), std::min(y, ink.top()),
                       std::max(x + advance, ink.right()), std::max(y + metrics.height(), ink.bottom())});
    }
    s.position.x = static_cast<int>(std::min<long long>(static_cast<long long>(x) + advance,
                                                        kPixelLimit));
}

// --- Images ------------------------------------------------------------------------------------

namespace {

struct ImageLayout {
    Box rect;          // the requested rectangle in pixels
    PixelRect stored;  // its part inside the drawing area, in drawing-area pixels
    std::size_t bytes = 0;
};

ImageLayout image_layout(const Box& rect, int width, int height)
{
    ImageLayout layout{rect, clip_box(rect, width, height), sizeof(ImageHeader)};
    layout.bytes += static_cast<std::size_t>(layout.stored.width) *
                    static_cast<std::size_t>(layout.stored.height) * 4u;
    return layout;
}

std::uint32_t combine(ImageAction action, std::uint32_t destination, std::uint32_t source)
{
    switch (action) {
    case ImageAction::bit_or: return destination | source;
    case ImageAction::bit_and: return destination & source;
    case ImageAction::inverted_copy: return ~source | 0xFF000000u;
    case ImageAction::copy: return source;
    case ImageAction::bit_xor: return (destination ^ source) | 0xFF000000u;
    }
    return source;
}

} // namespace

std::size_t DrawSurface::image_size_w(double wx1, double wy1, double wx2, double wy2)
{
    Operation op(*this);
    bool swapped = false;
    const Box rect = op.s().box_of({wx1, wy1}, {wx2, wy2}, swapped);
    return image_layout(rect, op.s().image.width(), op.s().image.height()).bytes;
}

void DrawSurface::get_image_w(double wx1, double wy1, double wx2, double wy2, ImageBuffer& buffer)
{
    Operation op(*this);
    State& s = op.s();
    const Box rect = op.box({wx1, wy1}, {wx2, wy2});
    const ImageLayout layout = image_layout(rect, s.image.width(), s.image.height());
    s.close_text_painter();
    if (buffer.size() < layout.bytes)
        buffer.resize(layout.bytes);
    const ImageHeader header{kImageMagic,          layout.stored.x - rect.left,
                             layout.stored.y - rect.top, layout.stored.width,
                             layout.stored.height, rect.left,
                             rect.top,             s.record.mark()};
    std::memcpy(buffer.data(), &header, sizeof header);
    std::uint8_t* out = buffer.data() + sizeof header;
    const std::size_t row_bytes = static_cast<std::size_t>(layout.stored.width) * 4u;
    for (int row = 0; row < layout.stored.height; ++row) {
        const uchar* line = s.image.constScanLine(layout.stored.y + row) + layout.stored.x * 4;
        std::memcpy(out, line, row_bytes);
        out += row_bytes;
    }
}

void DrawSurface::put_image_w(double wx, double wy, const ImageBuffer& buffer, int action)
{
    Operation op(*this);
    State& s = op.s();
    const std::optional<ImageAction> how = image_action(action);
    if (!how) {
        op.fail(status::kInvalidParameter);
        return;
    }
    ImageHeader header;
    if (buffer.size() < sizeof header) {
        op.fail(status::kError);
        return;
    }
    std::memcpy(&header, buffer.data(), sizeof header);
    const bool well_formed = header.magic == kImageMagic && header.stored_width >= 0 &&
                             header.stored_height >= 0 && header.stored_x >= 0 &&
                             header.stored_y >= 0 &&
                             buffer.size() >= sizeof header +
                                                  static_cast<std::size_t>(header.stored_width) *
                                                      static_cast<std::size_t>(header.stored_height) *
                                                      4u;
    if (!well_formed) {
        op.fail(status::kError);
        return;
    }
    const PixelPoint corner = s.mapping.to_pixel({wx, wy});
    const long long left = static_cast<long long>(corner.x) + header.stored_x;
    const long long top = static_cast<long long>(corner.y) + header.stored_y;
    const raster::PixelBuffer pixels = s.buffer();
    const std::uint8_t* in = buffer.data() + sizeof header;
    for (int row = 0; row < header.stored_height; ++row) {
        const long long y = top + row;
        if (y < 0 || y >= pixels.height)
            continue;
        for (int col = 0; col < header.stored_width; ++col) {
            const long long x = left + col;
            if (x < 0 || x >= pixels.width)
                continue;
            std::uint32_t source = 0;
            std::memcpy(&source,
                        in + (static_cast<std::size_t>(row) * header.stored_width + col) * 4u,
                        sizeof source);
            std::uint32_t& destination = pixels.at(static_cast<int>(x), static_cast<int>(y));
            destination = combine(*how, destination, source);
        }
    }
    // Copied back where they were taken, the pixels take back what was drawn over them since.
    if (how == ImageAction::copy && corner.x == header.origin_x && corner.y == header.origin_y) {
        const PixelRect area = clip_box(Box{static_cast<int>(std::clamp<long long>(left, -1, kPixelLimit)),
                                            static_cast<int>(std::clamp<long long>(top, -1, kPixelLimit)),
                                            static_cast<int>(std::clamp<long long>(left + header.stored_width - 1, -1, kPixelLimit)),
                                            static_cast<int>(std::clamp<long long>(top + header.stored_height - 1, -1, kPixelLimit))},
                                        pixels.width, pixels.height);
        s.record.restore(header.mark, area,
                         area == PixelRect{0, 0, pixels.width, pixels.height});
    }
    const long long right = left + header.stored_width - 1;
    const long long bottom = top + header.stored_height - 1;
    if (header.stored_width > 0 && header.stored_height > 0)
        op.changed(Box{static_cast<int>(std::clamp<long long>(left, -1, kPixelLimit)),
                       static_cast<int>(std::clamp<long long>(top, -1, kPixelLimit)),
                       static_cast<int>(std::clamp<long long>(right, -1, kPixelLimit)),
                       static_cast<int>(std::clamp<long long>(bottom, -1, kPixelLimit))});
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

QImage DrawSurface::image_copy() const
{
    const std::lock_guard lock(d_->mutex);
    d_->close_text_painter();
    return d_->image.copy();
}

} // namespace vorax::gwl
