// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Inside a DrawSurface: its state, the frame of an operation and the pixel boxes they share.
// For the surface's own files: draw_surface.cpp (configuration, mapping, colours and shapes),
// surface_text.cpp (the text layer, fonts and graphic text) and surface_image.cpp (saving
// pixels and putting them back).

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "gwl/surface/digit_text.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/record_index.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/image_pixels.h"
#include "gwl/surface/font_list.h"
#include "gwl/surface/qt_color.h"
#include "gwl/surface/qt_fonts.h"
#include "gwl/surface/raster.h"
#include "gwl/surface/window_mapping.h"

namespace vorax::gwl {

// The shape controls behind the integer codes that callers pass.
enum class FillControl { outline, interior };

inline std::optional<FillControl> fill_control(int code)
{
    switch (code) {
    case kFillOutline: return FillControl::outline;
    case kFillInterior: return FillControl::interior;
    default: return std::nullopt;
    }
}

inline constexpr int kTextCellHeight = 16;

// The outcome of the last operation of any surface.
inline std::atomic<GraphicsStatus> graphics_status{status::kOk};

inline std::uint32_t pixel_of(Rgb color)
{
    return 0xFF000000u | (red_of(color) << 16) | (green_of(color) << 8) | blue_of(color);
}

inline std::int16_t to_int16(int value)
{
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

// A pixel box with inclusive edges, ordered.
struct Box {
    int left, top, right, bottom;

    // The box of no pixel, which add() grows to the bounds of the points added.
    static constexpr Box none() { return {kPixelLimit, kPixelLimit, -kPixelLimit, -kPixelLimit}; }
    void add(PixelPoint p)
    {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
};

inline Box ordered_box(PixelPoint a, PixelPoint b, bool& swapped)
{
    swapped = a.x > b.x || a.y > b.y;
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The part of a box inside a W x H area as a PixelRect (empty when none).
inline PixelRect clip_box(const Box& box, int width, int height)
{
    const int left = std::max(box.left, 0);
    const int top = std::max(box.top, 0);
    const int right = std::min(box.right, width - 1);
    const int bottom = std::min(box.bottom, height - 1);
    if (left > right || top > bottom)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

// A picture of 32-bit pixels; a large one in memory of large pages, whose first filling costs
// far fewer page faults.
QImage picture_in_large_pages(int width, int height);

struct DrawSurface::State {
    State(int w, int h, SurfaceDrawing drawing)
        : draws_pixels(drawing != SurfaceDrawing::record_only), image(picture_in_large_pages(std::max(w, 1), std::max(h, 1))),
          mapping(image.width(), image.height()),
          position{image.width() / 2, image.height() / 2},
          record(drawing != SurfaceDrawing::pixels_only)
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
        // Pixels nobody shares change in place, where an open text painter goes on drawing;
        // shared ones are copied, away from the painter, which is closed first.
        if (!image.isDetached())
            close_text_painter();
        return pixels_of(image);
    }
    // The painter of graphic text stays open from one label to the next, and over the lines and
    // marks drawn in between: opening a painter costs about as much as drawing a short label.
    // Qt's raster painter keeps no pixels of its own, so the raster drawing may change the
    // pixels under it; whatever copies, scales or replaces the image closes it first.
    QPainter& text_painter_for(const QFont& painter_font, Rgb painter_color)
    {
        if (!text_painter) {
            text_painter = std::make_unique<QPainter>(&image);
            set_up_text_painter(*text_painter, painter_font, qcolor_of(painter_color));
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

    // A pattern that paints nothing: a line drawn with it only tells how it lies with respect
    // to the drawing area.
    static const raster::LinePattern& clip_only()
    {
        static const raster::LinePattern kNone(raster::PenStyle::invisible);
        return kNone;
    }
    // The pattern lines are drawn with: none when the pixels are not drawn.
    const raster::LinePattern& line_pattern() const { return draws_pixels ? pattern : clip_only(); }

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
    const bool draws_pixels; // false: the record alone
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
        DigitText* digits = nullptr;    // how it draws numbers, once enough were drawn
        int numbers_drawn = 0;          // counted until the digits are looked at
    };
    std::optional<CurrentFont> font;
    // The digit glyphs of each font that drew a number, by the font's description; null where
    // numbers are laid out whole.
    std::map<QString, std::unique_ptr<DigitText>> digit_texts;
    // A font's first numbers are laid out whole: checking its digits costs a few milliseconds,
    // which only a drawing of many numbers wins back.
    DigitText* digit_text()
    {
        constexpr int kWhole = DigitText::kNumbersLaidOutWhole;
        if (font->numbers_drawn <= kWhole && ++font->numbers_drawn > kWhole) {
            auto [slot, made] = digit_texts.try_emplace(font->font.toString());
            if (made)
                slot->second = DigitText::for_font(font->font, font->metrics, draws_pixels);
            font->digits = slot->second.get();
        }
        return font->digits;
    }

    DrawRecord record;
    mutable std::unique_ptr<RecordIndex> record_index; // of `record` as it was when made
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

} // namespace vorax::gwl
