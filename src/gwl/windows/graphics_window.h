// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// GraphicsWindow: the widget of a graph window. It shows a DrawSurface, scrolls over its drawing
// area at 1:1 or shows all of it shrunk to the viewport ("Size To Fit", see FittedView), maps
// mouse positions back to drawing-area pixels, implements the blocking wait for mouse events
// that the zoom uses, and tells what the pointer rests on (the program says what is there).
//
// The surface is shared: whoever draws may keep it alive after the window was closed, and goes
// on drawing into an image nobody sees instead of into a dangling window.
//
// Contents: GraphicsWindow — surface and configuration, size to fit, mouse mapping, mouse wait,
// pointing, the status-line hook.

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QImage>
#include <QRegion>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gwl/surface/draw_surface.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/surface/raster.h"
#include "gwl/types.h"
#include "gwl/windows/fitted_view.h"

namespace vorax::gwl {

// A magnification as the status line shows it: "1:1", else a whole percentage ("250%", "43%").
std::string magnification_text(double magnification);

class GraphicsWindow : public QAbstractScrollArea {
    Q_OBJECT

public:
    // A window over a new surface of the default drawing area (default_drawing_area()).
    explicit GraphicsWindow(QWidget* parent = nullptr);
    // A window over a new surface of the given size.
    GraphicsWindow(DrawingAreaSize area, QWidget* parent = nullptr);
    // A window over a surface that already holds a picture (a closed window brought back).
    explicit GraphicsWindow(std::shared_ptr<DrawSurface> surface, QWidget* parent = nullptr);
    ~GraphicsWindow() override;

    // --- Surface and configuration ----------------------------------------------------------
    DrawSurface& surface() const { return *surface_; }
    std::shared_ptr<DrawSurface> shared_surface() const { return surface_; }
    // The surface's configuration with the window's title (cut to 80 characters).
    void get_window_config(WindowConfig& config) const;

    // --- Size to fit -----------------------------------------------------------------------
    // On: the whole drawing area is shown shrunk into the viewport, without scroll bars; off:
    // 1:1 with scroll bars.
    void set_size_to_fit(bool fit);
    bool size_to_fit() const { return fit_; }
    // How the drawing area lies in the viewport while fitted.
    FittedView fitted_view() const;

    // --- Magnification ----------------------------------------------------------------------
    // Screen pixels per drawing-area pixel: below 1 shrunk (the fitted view is the least), 1 at
    // 1:1, up to kMostMagnification. Up to 1:1 the window shows the drawing's pixels; above it
    // draws the graph again from the record of what was drawn, lines one screen pixel wide,
    // texts and marks grown with the magnification.
    static constexpr double kMostMagnification = 16.0;
    double magnification() const;
    // Sets the magnification, keeping the drawing under `anchor` (a viewport position) where it
    // is; at or below the fitted view's, the window is fitted.
    void set_magnification(double magnification, QPointF anchor);
    // One step up or down (the powers of 2^(1/4), 1:1 among them), as the wheel and + and - do.
    void zoom_in(QPointF anchor);
    void zoom_out(QPointF anchor);

    // --- Mouse mapping ---------------------------------------------------------------------
    // The drawing-area pixel under a viewport position: the position plus the scroll offsets,
    // or, when fitted, the first pixel of the box shown there.
    PixelPoint drawing_pixel_at(QPointF viewport_position) const;
    // The viewport rectangle that shows the given drawing-area pixels.
    QRect viewport_rect_of(const PixelRect& pixels) const;
    // The drawing-area point under a viewport position, with fractions: the pixel itself at 1:1,
    // the middle of the box shown there when fitted.
    QPointF drawing_point_at(QPointF viewport_position) const;
    // How many drawing-area pixels one screen pixel spans: 1 at 1:1, more when fitted.
    double drawing_pixels_per_screen_pixel() const;

    // Scrolls, at 1:1, so that the drawing-area pixels lie in the viewport: as little as needed,
    // and centred on them when they are larger than the viewport. Fitted, all is in view already.
    void scroll_into_view(const PixelRect& pixels);
    // The drawing-area pixel at the viewport's top-left corner (the scroll position).
    PixelPoint scroll_position() const;

    // Brings the screen up to date with the surface at once, e.g. before a blocking pause during
    // which the picture must be seen.
    void show_changes_now() { flush_changes(); }
    // Paints the whole picture again (the end of a drawing: the screen shows exactly the surface).
    void show_whole_picture();

    // --- Mouse wait ------------------------------------------------------------------------
    // Waits for one of the events in `mask` (mouse::kLeftDown .. mouse::kMove) in this window
    // and returns its bit, the key state and the drawing-area pixel. A mask without any of the
    // seven bits returns -1 at once; so does a window closed during the wait. On the window's
    // own thread the wait runs a nested event loop; on another thread it blocks until the
    // window's thread sees the event. Meanwhile the status line reads "Mouse input pending in "
    // and the window's title.
    MouseEventResult wait_on_mouse_event(int mask);

    // --- Pointing --------------------------------------------------------------------------
    // While the pointer moves over the picture with no button down and no mouse wait pending in
    // any window, the source is asked about the point under it (drawing_point_at, with
    // drawing_pixels_per_screen_pixel); its text shows in the status line at once and, once the
    // pointer rests, in a tooltip. Leaving the item, or the window, puts the status line back as
    // it was.
    void set_pointing_source(PointingSource source);
    // The text shown for the pointer now; empty when none.
    const std::string& pointed_text() const { return pointed_; }
    // The drawing-area point of the item pointed at last (its text may be gone with the pointer,
    // to a menu); nothing when none was since the pointing source was set.
    std::optional<QPointF> pointed_point() const;
    // The window whose pointing text shows now; null when none does.
    static GraphicsWindow* pointing_now();
    // What the person does on the picture outside a mouse wait, for the program to act on: a
    // click and a double-click with the left button (Shift held or not), and Escape. The action
    // gets the drawing-area point under the pointer and drawing_pixels_per_screen_pixel().
    enum class Gesture { click, shift_click, double_click, escape };
    using GestureAction = std::function<void(Gesture gesture, QPointF point, double per_screen_pixel)>;
    void set_gesture_action(GestureAction action) { gesture_ = std::move(action); }

    // --- Status-line hook ------------------------------------------------------------------
    // The frame installs a function that shows a text in its status line and returns the text
    // it replaced; the mouse wait shows its note through it and puts the old text back after.
    using StatusLineHook = std::function<std::string(const std::string& text)>;
    static void set_status_line_hook(StatusLineHook hook);

    QSize sizeHint() const override;

signals:
    // The magnification changed (a zoom step, size to fit, a fitted window resized).
    void magnification_changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Wait;
    struct Relay;

    void point_at(QPointF viewport_position);
    void stop_pointing();
    void show_pointed_tooltip();
    // Ends the pointing of whichever window shows a text (a mouse wait begins).
    static void stop_any_pointing();

    void deliver(int event_bit, const QMouseEvent& event);
    bool shrunk() const { return fit_ || magnification_ < 1.0; }
    FittedView shrunk_view() const; // how the area is shrunk: fitted, or by the magnification
    QSize content_size() const;     // the whole picture on screen, in screen pixels
    QPoint scroll() const;          // the content's pixel at the viewport's top-left corner
    void paint_magnified(QPainter& painter, const QRect& part);
    void render_magnified(const raster::PixelBuffer& pixels, const QRegion& parts); // from the record
    bool panning(const QMouseEvent& event); // a pan begun, moved on or ended by the event
    void surface_changed(const PixelRect& pixels);
    void flush_changes();
    void update_scroll_bars();

    std::shared_ptr<DrawSurface> surface_;
    // Changes drawn on another thread, gathered until this window's thread takes them up.
    std::shared_ptr<Relay> relay_;
    bool fit_ = false;
    double magnification_ = 1.0; // when not fitted
    QImage magnified_; // the viewport's magnified picture, and what it shows
    double magnified_at_ = 0.0;
    RecordMark magnified_mark_;
    QPoint magnified_offset_;
    std::optional<QPoint> pan_from_; // where a pan began, and the scroll position then
    QPoint pan_scroll_;
    bool space_down_ = false;
    struct Held {
        QPointF anchor; // viewport position
        QPointF point;  // drawing-area point held under it
        QPoint scroll;  // the scroll position the steps left
    };
    std::optional<Held> held_;
    std::vector<std::shared_ptr<Wait>> waits_;
    PixelRect pending_;      // changed pixels not shown yet
    QElapsedTimer last_flush_;
    QTimer flush_timer_;

    PointingSource pointing_;
    GestureAction gesture_;
    std::optional<QPointF> last_pointed_;
    std::string pointed_;                     // the text shown for the pointer
    std::optional<std::string> status_under_; // what the status line showed before it
    QPointF pointer_;                         // viewport position of the last move
    QTimer rest_timer_;                       // the tooltip comes when the pointer rests
};

} // namespace vorax::gwl
