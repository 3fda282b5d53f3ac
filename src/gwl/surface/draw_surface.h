// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DrawSurface: one graphics window's backing image and drawing state, and every drawing
// operation the program performs on it.
//
// The surface knows nothing of widgets: a GraphicsWindow shows it on screen, and the same code
// draws a headless export. Operations take and return the program's own values (window
// coordinates as reals, colours as 0x00BBGGRR, integer shape controls and image actions) and
// leave their outcome in the process-wide GraphicsStatus.
//
// Each surface has a lock that every operation holds while it changes the state and the image,
// so that a repaint (read_image) never sees half an operation. After an operation that changed
// pixels, the change listener hears which ones, outside the lock.
//
// Beside its pixels the surface keeps the record of what was drawn (draw_record.h), from which
// a picture is drawn again as vectors (vector_output.h).
//
// With the environment variable VORAX_DUMP_SURFACES naming a folder, every surface that draws
// pixels writes its picture there as a PNG when it is destroyed (for developers and tests to
// look at).
//
// Contents: DrawSurface — size and configuration, status, window mapping, colours and clearing,
// text layer, lines and shapes, fonts and graphic text, images, access for widgets. The text
// layer, fonts and graphic text are drawn in surface_text.cpp, images saved and put back in
// surface_image.cpp, the rest in draw_surface.cpp; surface_private.h holds what they share.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/color.h"
#include "gwl/types.h"

class QImage;

namespace vorax::gwl {

class RecordIndex;

class DrawRecord;

// What the operations of a surface draw: the pixels and the record of what was drawn, or the
// record alone, for a picture made from the record (a vector export), which needs no pixels
// and is drawn in a fraction of the time. A surface of the record alone paints no line, shape or
// text into its pixels (clearing and putting saved pixels back still write them) and gives the
// same record, status, positions and text advances as one that draws its pixels. A surface of
// the pixels alone, for a picture written from its pixels (an image export), keeps no record
// of its operations and is otherwise the same as one that keeps both.
enum class SurfaceDrawing { pixels_and_record, record_only, pixels_only };

class DrawSurface {
public:
    using ChangeListener = std::function<void(const PixelRect& changed)>;

    // A drawing area of width x height pixels (each at least 1) in its opening state: identity
    // mapping, position at the centre, white drawing and text colours, black background.
    DrawSurface(int width, int height, SurfaceDrawing drawing = SurfaceDrawing::pixels_and_record);
    ~DrawSurface();
    DrawSurface(const DrawSurface&) = delete;
    DrawSurface& operator=(const DrawSurface&) = delete;

    // --- Size and configuration ---------------------------------------------------------------
    int width() const;
    int height() const;
    // Pixel size, text rows and columns, colours, bits per pixel; the title is the window's.
    void fill_window_config(WindowConfig& config) const;
    // Names the surface in the file name of its dump (see VORAX_DUMP_SURFACES).
    void set_name(std::string name);

    // --- Status ----------------------------------------------------------------------------
    // The outcome of the last operation of any surface (process-wide).
    static GraphicsStatus get_graphics_status();

    // --- Window mapping -------------------------------------------------------------------
    // 1 done (status 3 when a pair of corners came high first), 0 refused for equal bounds.
    int set_window(bool invert, double wx1, double wy1, double wx2, double wy2);
    // A pixel of the drawing area in window coordinates.
    WindowPoint get_window_coord(int x, int y);
    // The conversions themselves, without touching the status.
    PixelPoint to_pixel(WindowPoint point) const;
    WindowPoint to_window(PixelPoint pixel) const;

    // --- Colours and clearing ---------------------------------------------------------------
    Rgb set_color_rgb(Rgb color);       // returns the previous drawing colour
    Rgb set_bk_color_rgb(Rgb color);    // returns the previous background colour
    Rgb set_text_color_rgb(Rgb color);  // returns the previous text colour
    Rgb background_color() const;
    // 0 whole window, 1 graphics area, 2 text window (all the drawing area); other: status -4.
    void clear_screen(int area);

    // --- Text layer -----------------------------------------------------------------------
    // Moves the text position (values clamped to 1..rows, 1..columns); returns the previous.
    TextPosition set_text_position(int row, int column);
    // Writes at the text position in the text colour on the background colour and moves on.
    void out_text(std::string_view text);
    // Shows or hides the text cursor; returns the previous setting.
    bool display_cursor(bool on);
    TextPosition text_position() const;
    bool cursor_shown() const;
    // The cell of the text cursor, for a widget to draw it.
    PixelRect text_cursor_rect() const;

    // --- Lines and shapes -----------------------------------------------------------------
    // Sets the current position; returns the previous one in window coordinates.
    WindowPoint move_to_w(double wx, double wy);
    // Line from the current position to the point (both end pixels); the point becomes current.
    // Status 1 when nothing of it is visible, 2 when it is clipped. Returns 1.
    int line_to_w(double wx, double wy);
    // Draws each line as move_to_w(from) and line_to_w(to) would, one after the other, in one
    // operation: the same pixels, the same record, the status of the last line. The end of the
    // last line becomes the current position. Cheaper than two operations a line when there
    // are many.
    void lines_w(std::span<const WindowLine> lines);
    // control 2 outline, 3 filled and outlined; other values draw nothing (0, status -1).
    int rectangle_w(int control, double wx1, double wy1, double wx2, double wy2);
    int ellipse_w(int control, double wx1, double wy1, double wx2, double wy2);
    // 3..16381 points, closed from the last back to the first; otherwise 0 with status -4.
    int polygon_w(int control, std::span<const WindowPoint> points);
    // The pen of lines and of rectangle and polygon outlines, by the number of set bits.
    void set_line_style(std::uint16_t mask);
    // The 8 x 8 pattern of filled shapes; nullopt for solid fills.
    void set_fill_mask(std::optional<std::array<std::uint8_t, 8>> mask);
    PixelPoint current_position() const;

    // --- Fonts and graphic text -----------------------------------------------------------
    // Builds the process-wide font list on the first call and selects the default font.
    // Returns the number of fonts; 0 with status -1 when the system lists none.
    int init_fonts();
    // Selects a font by FontSpec; returns its list position + 1, or -1.
    int set_font(std::string_view spec);
    // 0, or -1 without a current font.
    int get_font_info(FontInfo& info);
    // Width of the text in the current font in pixels, or -1 without a font.
    int get_gtext_extent(std::string_view text);
    // Draws the text with the top-left of its cell at the current position, transparently, and
    // moves the position right by its width. Without a font: nothing drawn, status 1.
    void out_gtext(std::string_view text);

    // --- Images ---------------------------------------------------------------------------
    // Bytes that get_image_w needs for the rectangle between the corners (both included).
    std::size_t image_size_w(double wx1, double wy1, double wx2, double wy2);
    // Copies the pixels of the rectangle (status 3 when the corners were swapped). The buffer
    // grows when it is smaller than needed.
    void get_image_w(double wx1, double wy1, double wx2, double wy2, ImageBuffer& buffer);
    // Puts saved pixels back with their top-left corner at the point. action: 3 copy, 0 OR,
    // 1 AND, 2 inverted copy, 4 XOR; others status -4. A buffer that get_image_w did not fill
    // gives status -1. Nothing is written in either case.
    void put_image_w(double wx, double wy, const ImageBuffer& buffer, int action);

    // --- Access for widgets and exports ---------------------------------------------------
    // Hears, after each operation, the pixels it changed (in drawing-area pixels).
    void set_change_listener(ChangeListener listener);
    // Runs `reader` on the backing image while holding the lock; it must not draw.
    void read_image(const std::function<void(const QImage&)>& reader) const;
    // A deep copy of the backing image.
    QImage image_copy() const;
    // Whether any operation has changed pixels yet (a new surface holds no picture).
    bool drawn() const;
    // Runs `reader` on the record of what was drawn while holding the lock; it must not draw.
    void read_record(const std::function<void(const DrawRecord&)>& reader) const;
    // The same with the record's index by place (record_index.h), made first when the record
    // changed since it was last made.
    void read_indexed_record(const std::function<void(const DrawRecord&, const RecordIndex&)>& reader) const;
    // Makes the index now, on the calling thread: a drawing thread that has finished a large
    // drawing spares the first magnified view of it the time.
    void index_record() const;

private:
    struct State;
    class Operation;
    std::unique_ptr<State> d_;
};

} // namespace vorax::gwl
