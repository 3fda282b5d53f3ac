// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/graphics_window.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <utility>

#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QRegion>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QThread>
#include <QToolTip>

#include "core/beside.h"
#include "core/text.h"
#include "gwl/platform/qt_text.h"
#include "gwl/surface/image_pixels.h"
#include "gwl/surface/qt_color.h"
#include "gwl/surface/raster.h"
#include "gwl/surface/record_index.h"
#include "gwl/surface/screen_replay.h"
#include "gwl/surface/vector_output.h"

namespace vorax::gwl {

namespace {

constexpr int kFlushIntervalMs = 16; // the screen follows a burst of drawing about 60 times a second
constexpr std::size_t kTitleField = 80;
constexpr std::string_view kPendingNote = "Mouse input pending in ";

// Mouse waits pending in any graph window (counted on the user-interface thread): meanwhile
// pointing shows nothing, and the status line keeps the wait's note.
int pending_waits = 0;

// The window whose pointed text shows now; one pointer, so at most one.
QPointer<GraphicsWindow>& pointing_window()
{
    static QPointer<GraphicsWindow> window;
    return window;
}

GraphicsWindow::StatusLineHook& status_line_hook()
{
    static GraphicsWindow::StatusLineHook hook;
    return hook;
}

// Shows a text in the status line; returns what it replaced (empty without a frame).
std::string show_status(const std::string& text)
{
    const GraphicsWindow::StatusLineHook& hook = status_line_hook();
    return hook ? hook(text) : std::string();
}

int key_state_of(const QMouseEvent& event)
{
    const Qt::MouseButtons buttons = event.buttons();
    const Qt::KeyboardModifiers keys = event.modifiers();
    int state = 0;
    if (buttons & Qt::LeftButton)
        state |= mouse::kKeyLeftButton;
    if (buttons & Qt::RightButton)
        state |= mouse::kKeyRightButton;
    if (keys & Qt::ShiftModifier)
        state |= mouse::kKeyShift;
    if (keys & Qt::ControlModifier)
        state |= mouse::kKeyControl;
    if (buttons & Qt::MiddleButton)
        state |= mouse::kKeyMiddleButton;
    return state;
}

// The event bit of a button event: the left or the right button's, 0 for the others.
int button_bit(const QMouseEvent& event, int left_bit, int right_bit)
{
    if (event.button() == Qt::LeftButton)
        return left_bit;
    if (event.button() == Qt::RightButton)
        return right_bit;
    return 0;
}

} // namespace

// One pending mouse wait. The window's thread fills it in; the waiter reads it.
struct GraphicsWindow::Wait {
    int armed = 0;
    std::mutex mutex;
    std::condition_variable signal;
    int happened = 0;                        // bits of the armed events seen so far
    std::array<MouseEventResult, 7> seen{};  // the event of each bit
    bool closed = false;                     // the window went away
    bool registered = false;                 // armed in the window (set on its thread)
    std::atomic<bool> collected{false};      // the waiter has its answer
    QEventLoop* loop = nullptr;              // set for a wait on the window's own thread

    MouseEventResult result()
    {
        if (happened == 0)
            return {};
        return seen[static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(happened)))];
    }
};

// Changes that a drawing on another thread made, on their way to the window: one posted call
// takes up all that gathered since, and a window going away is never reached.
struct GraphicsWindow::Relay {
    std::mutex mutex;
    GraphicsWindow* window = nullptr; // null once the window is going away
    PixelRect changed;                // not yet taken up
    bool posted = false;

    void take(const PixelRect& pixels)
    {
        const std::lock_guard lock(mutex);
        if (window == nullptr)
            return;
        changed = united(changed, pixels);
        if (std::exchange(posted, true))
            return;
        // The window lives while the lock is held: its destructor takes the lock first.
        QMetaObject::invokeMethod(
            window,
            [this, self = window->relay_] {
                PixelRect pixels;
                GraphicsWindow* target = nullptr;
                {
                    const std::lock_guard lock(mutex);
                    pixels = std::exchange(changed, {});
                    posted = false;
                    target = window;
                }
                if (target != nullptr)
                    target->surface_changed(pixels);
            },
            Qt::QueuedConnection);
    }
};

std::string magnification_text(double magnification)
{
    const long percent = std::lround(magnification * 100.0);
    return percent == 100 && std::abs(magnification - 1.0) < 1e-9 ? std::string("1:1")
                                                                    : std::to_string(percent) + "%";
}

GraphicsWindow::GraphicsWindow(QWidget* parent) : GraphicsWindow(default_drawing_area(), parent) {}

GraphicsWindow::GraphicsWindow(DrawingAreaSize area, QWidget* parent)
    : GraphicsWindow(std::make_shared<DrawSurface>(area.width, area.height), parent)
{
}

GraphicsWindow::GraphicsWindow(std::shared_ptr<DrawSurface> surface, QWidget* parent)
    : QAbstractScrollArea(parent), surface_(std::move(surface))
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    flush_timer_.setSingleShot(true);
    connect(&flush_timer_, &QTimer::timeout, this, [this] { flush_changes(); });
    rest_timer_.setSingleShot(true);
    connect(&rest_timer_, &QTimer::timeout, this, [this] { show_pointed_tooltip(); });
    relay_ = std::make_shared<Relay>();
    relay_->window = this;
    // Read here, not in the listener: on another thread the window may be going away.
    const QThread* home = thread();
    surface_->set_change_listener([this, home, relay = relay_](const PixelRect& pixels) {
        if (QThread::currentThread() == home)
            surface_changed(pixels);
        else
            relay->take(pixels);
    });
    update_scroll_bars();
}

GraphicsWindow::~GraphicsWindow()
{
    {
        const std::lock_guard lock(relay_->mutex);
        relay_->window = nullptr;
    }
    stop_pointing();
    surface_->set_change_listener(nullptr);
    for (const std::shared_ptr<Wait>& wait : waits_) {
        const std::lock_guard lock(wait->mutex);
        if (wait->collected)
            continue;
        wait->closed = true;
        if (wait->loop)
            wait->loop->quit();
        wait->signal.notify_all();
    }
}

void GraphicsWindow::get_window_config(WindowConfig& config) const
{
    surface_->fill_window_config(config);
    config.title = cut(program_text(windowTitle()), kTitleField);
}

// --- Size to fit and magnification -----------------------------------------------------------

void GraphicsWindow::set_size_to_fit(bool fit)
{
    if (fit == fit_)
        return;
    fit_ = fit;
    magnification_ = 1.0; // out of the fitted view, 1:1
    const Qt::ScrollBarPolicy policy = fit ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    update_scroll_bars();
    viewport()->update();
    emit magnification_changed();
    if (!pointed_.empty())
        point_at(pointer_);
}

FittedView GraphicsWindow::fitted_view() const
{
    return FittedView({surface_->width(), surface_->height()}, viewport()->size());
}

double GraphicsWindow::magnification() const
{
    if (!fit_)
        return magnification_;
    const FittedView fitted = fitted_view();
    return static_cast<double>(fitted.shown().width()) / std::max(surface_->width(), 1);
}

FittedView GraphicsWindow::shrunk_view() const
{
    if (fit_)
        return fitted_view();
    const QSize area(surface_->width(), surface_->height());
    return FittedView(area, QSize(static_cast<int>(std::ceil(area.width() * magnification_)),
                                  static_cast<int>(std::ceil(area.height() * magnification_))));
}

QSize GraphicsWindow::content_size() const
{
    if (shrunk())
        return shrunk_view().shown();
    return {static_cast<int>(std::ceil(surface_->width() * magnification_)),
            static_cast<int>(std::ceil(surface_->height() * magnification_))};
}

QPoint GraphicsWindow::scroll() const
{
    return fit_ ? QPoint() : QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void GraphicsWindow::set_magnification(double magnification, QPointF anchor)
{
    const double fitted = std::min(1.0, 1.0 / fitted_view().area_pixels_per_view_pixel());
    const double wanted = std::clamp(magnification, fitted, kMostMagnification);
    // The drawing-area point under the anchor stays under it; a run of steps about one anchor
    // keeps the point of the first, so that rounding to whole pixels does not add up.
    const QPointF held = held_ && held_->anchor == anchor && held_->scroll == scroll() ? held_->point
                                                                                      : drawing_point_at(anchor);
    const bool to_fit = wanted <= fitted * (1.0 + 1e-9) && fitted < 1.0;
    if (to_fit == fit_ && (fit_ || wanted == magnification_))
        return;
    if (to_fit) {
        held_.reset();
        set_size_to_fit(true);
        return;
    }
    if (fit_) {
        fit_ = false;
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    magnification_ = wanted;
    update_scroll_bars();
    // Where the held point lies in the content now, less the anchor's place in the viewport.
    const QSize content = content_size();
    const QPointF at((held.x() + 0.5) * content.width() / std::max(surface_->width(), 1),
                     (held.y() + 0.5) * content.height() / std::max(surface_->height(), 1));
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(at.x() - anchor.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(at.y() - anchor.y())));
    held_ = Held{anchor, held, scroll()};
    viewport()->update();
    emit magnification_changed();
    if (!pointed_.empty())
        point_at(pointer_);
}

// The steps are the powers of 2^(1/4) from the fitted view up: 1:1 is one of them.
void GraphicsWindow::zoom_in(QPointF anchor)
{
    const double now = magnification();
    auto k = static_cast<int>(std::floor(std::log2(now) * 4.0));
    while (std::exp2(k / 4.0) <= now * (1.0 + 1e-9))
        ++k;
    set_magnification(std::exp2(k / 4.0), anchor);
}

void GraphicsWindow::zoom_out(QPointF anchor)
{
    const double now = magnification();
    auto k = static_cast<int>(std::ceil(std::log2(now) * 4.0));
    while (std::exp2(k / 4.0) >= now * (1.0 - 1e-9))
        --k;
    set_magnification(std::exp2(k / 4.0), anchor);
}

void GraphicsWindow::update_scroll_bars()
{
    const QSize view = viewport()->size();
    const QSize content = fit_ ? QSize() : content_size();
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setRange(0, fit_ ? 0 : std::max(0, content.width() - view.width()));
    verticalScrollBar()->setRange(0, fit_ ? 0 : std::max(0, content.height() - view.height()));
}

void GraphicsWindow::scroll_into_view(const PixelRect& pixels)
{
    if (fit_ || pixels.width <= 0 || pixels.height <= 0)
        return;
    const QSize view = viewport()->size();
    const QRect wanted = viewport_rect_of(pixels).translated(scroll());
    // The least move that brings [start, start + size) into [value, value + page).
    auto bring = [](QScrollBar* bar, int start, int size, int page) {
        int value = bar->value();
        if (size > page)
            value = start + size / 2 - page / 2;
        else if (start < value)
            value = start;
        else if (start + size > value + page)
            value = start + size - page;
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    };
    bring(horizontalScrollBar(), wanted.x(), wanted.width(), view.width());
    bring(verticalScrollBar(), wanted.y(), wanted.height(), view.height());
}

PixelPoint GraphicsWindow::scroll_position() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QSize GraphicsWindow::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {std::min(surface_->width(), 800) + frame, std::min(surface_->height(), 600) + frame};
}

// --- Mouse mapping -----------------------------------------------------------------------------

PixelPoint GraphicsWindow::drawing_pixel_at(QPointF position) const
{
    const QPointF at = position + QPointF(scroll());
    if (shrunk())
        return shrunk_view().area_pixel_at(at);
    return {static_cast<int>(std::floor(std::floor(at.x()) / magnification_)),
            static_cast<int>(std::floor(std::floor(at.y()) / magnification_))};
}

QPointF GraphicsWindow::drawing_point_at(QPointF position) const
{
    const QPointF at = position + QPointF(scroll());
    if (shrunk())
        return shrunk_view().area_point_at(at);
    if (magnification_ == 1.0) {
        const PixelPoint pixel = drawing_pixel_at(position);
        return {static_cast<double>(pixel.x), static_cast<double>(pixel.y)};
    }
    // The middle of the screen pixel, in the drawing area's pixels (a pixel's centre is at +0.5).
    return {(std::floor(at.x()) + 0.5) / magnification_ - 0.5, (std::floor(at.y()) + 0.5) / magnification_ - 0.5};
}

double GraphicsWindow::drawing_pixels_per_screen_pixel() const
{
    return shrunk() ? shrunk_view().area_pixels_per_view_pixel() : 1.0 / magnification_;
}

QRect GraphicsWindow::viewport_rect_of(const PixelRect& pixels) const
{
    if (pixels.empty())
        return {};
    if (shrunk())
        return shrunk_view().view_rect_of(pixels).translated(-scroll());
    const double m = magnification_;
    const int left = static_cast<int>(std::floor(pixels.x * m));
    const int top = static_cast<int>(std::floor(pixels.y * m));
    const int right = static_cast<int>(std::ceil((pixels.x + pixels.width) * m));
    const int bottom = static_cast<int>(std::ceil((pixels.y + pixels.height) * m));
    return QRect(left, top, right - left, bottom - top).translated(-scroll());
}

// --- Painting ----------------------------------------------------------------------------------

void GraphicsWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    const QPoint offset = scroll();
    const Rgb paper = surface_->background_color();
    const bool drawn = surface_->drawn();
    const bool shrinking = shrunk();
    const FittedView view = shrinking ? shrunk_view() : fitted_view();
    const QRect content(-offset, content_size());
    const QRect part = exposed.intersected(content);
    if (part != exposed)
        painter.fillRect(exposed, palette().color(QPalette::Dark));
    if (part.isEmpty())
        return;
    if (!drawn) {
        // Until the drawing starts, the window shows paper rather than the new image's black.
        painter.fillRect(part, Qt::white);
    } else if (!shrinking && magnification_ > 1.0) {
        paint_magnified(painter, part);
    } else {
        surface_->read_image([&](const QImage& image) {
            if (shrinking)
                painter.drawImage(part.topLeft(), view.sample(image, part.translated(offset), paper));
            else
                painter.drawImage(part, image, part.translated(offset));
        });
    }
    if (surface_->cursor_shown()) {
        // A bar under the text cursor's cell, inverting what is there.
        const PixelRect cell = surface_->text_cursor_rect();
        const QRect cursor = viewport_rect_of({cell.x, cell.y + cell.height - 2, cell.width, 2});
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(cursor, Qt::white);
    }
}

void GraphicsWindow::paint_magnified(QPainter& painter, const QRect& part)
{
    // The magnified picture of the whole viewport is kept: a repaint with nothing changed copies
    // it, a scroll draws only the strip that came into view, and only a new magnification, a new
    // drawing or a new size draws it all again.
    const QSize size = viewport()->size();
    RecordMark now;
    surface_->read_record([&](const DrawRecord& record) { now = record.mark(); });
    const QPoint offset = scroll();
    const bool same_picture = !magnified_.isNull() && magnified_.size() == size && magnified_at_ == magnification_
                              && magnified_mark_.record == now.record && magnified_mark_.ops == now.ops
                              && magnified_mark_.cut == now.cut;
    if (!same_picture || magnified_offset_ != offset) {
        QImage image(size, QImage::Format_RGB32);
        const QRect whole(QPoint(0, 0), size);
        QRegion to_draw(whole);
        if (same_picture) {
            const QPoint moved = magnified_offset_ - offset;
            const QRect kept = whole.intersected(whole.translated(moved));
            if (!kept.isEmpty()) {
                QPainter on_image(&image);
                on_image.drawImage(kept, magnified_, kept.translated(-moved));
                to_draw -= kept;
            }
        }
        render_magnified(pixels_of(image), to_draw);
        magnified_ = std::move(image);
        magnified_at_ = magnification_;
        magnified_mark_ = now;
        magnified_offset_ = offset;
    }
    painter.drawImage(part, magnified_, part);
}

void GraphicsWindow::render_magnified(const raster::PixelBuffer& pixels, const QRegion& parts)
{
    const double m = magnification_;
    const QPoint offset = scroll();
    const QSize area(surface_->width(), surface_->height());
    const Rgb paper = surface_->background_color(); // not under the record's lock
    // Each part is cut in two, one half drawn here and the other beside, on a second core.
    std::vector<QRect> here, beside;
    const bool two = std::thread::hardware_concurrency() > 1;
    for (const QRect& part : parts) {
        if (two && part.height() >= 64) {
            here.push_back(part.adjusted(0, 0, 0, -part.height() / 2));
            beside.push_back(part.adjusted(0, part.height() - part.height() / 2, 0, 0));
        } else if (two && part.width() >= 64) {
            here.push_back(part.adjusted(0, 0, -part.width() / 2, 0));
            beside.push_back(part.adjusted(part.width() - part.width() / 2, 0, 0, 0));
        } else {
            here.push_back(part);
        }
    }
    surface_->read_indexed_record([&](const DrawRecord& record, const RecordIndex& index) {
        const auto draw = [&](const std::vector<QRect>& rects) {
            for (const QRect& part : rects) {
                // The drawing-area pixels under the part, and a little round them for what
                // reaches over (a text's slant, a mark's outline).
                const QRect content = part.translated(offset);
                const int left = static_cast<int>(std::floor(content.left() / m)) - 2;
                const int top = static_cast<int>(std::floor(content.top() / m)) - 2;
                const int right = static_cast<int>(std::ceil((content.right() + 1) / m)) + 2;
                const int bottom = static_cast<int>(std::ceil((content.bottom() + 1) / m)) + 2;
                const std::vector<std::uint32_t> ops = index.ops_in({left, top, right - left, bottom - top});
                raster::fill_rectangle(pixels, part.left(), part.top(), part.right(), part.bottom(),
                                       {qcolor_of(paper).rgb(), 0, std::nullopt});
                replay_on_screen(record, pixels, area, m, offset, part, &ops);
            }
        };
        std::future<void> other = start_beside([&] { draw(beside); });
        draw(here);
        other.get();
    });
}

void GraphicsWindow::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_bars();
    if (fit_)
        emit magnification_changed();
}

void GraphicsWindow::scrollContentsBy(int, int)
{
    viewport()->update();
    // The picture moved under a pointer that rests on an item.
    if (!pointed_.empty())
        point_at(pointer_);
}

void GraphicsWindow::surface_changed(const PixelRect& pixels)
{
    pending_ = united(pending_, pixels);
    // Show the change at once unless the screen was brought up to date a moment ago: then a
    // single drawing operation before a blocking pause is seen during the pause, while a burst
    // of thousands of lines repaints only a few dozen times a second.
    if (!last_flush_.isValid() || last_flush_.elapsed() >= kFlushIntervalMs)
        flush_changes();
    else if (!flush_timer_.isActive())
        flush_timer_.start(kFlushIntervalMs);
}

void GraphicsWindow::show_whole_picture()
{
    pending_ = {};
    flush_timer_.stop();
    viewport()->update();
}

void GraphicsWindow::flush_changes()
{
    if (pending_.empty())
        return;
    const QRect area = viewport_rect_of(pending_).intersected(viewport()->rect());
    pending_ = {};
    last_flush_.start();
    if (area.isEmpty())
        return;
    if (isVisible())
        viewport()->repaint(area);
    else
        viewport()->update(area);
}

// --- Mouse wait --------------------------------------------------------------------------------

void GraphicsWindow::set_status_line_hook(StatusLineHook hook)
{
    status_line_hook() = std::move(hook);
}

MouseEventResult GraphicsWindow::wait_on_mouse_event(int mask)
{
    mask &= mouse::kAllEvents;
    if (mask == 0)
        return {};
    auto wait = std::make_shared<Wait>();
    wait->armed = mask;
    const std::string note = std::string(kPendingNote) + program_text(windowTitle());

    if (QThread::currentThread() == thread()) {
        QEventLoop loop;
        wait->loop = &loop;
        waits_.push_back(wait);
        stop_any_pointing();
        ++pending_waits;
        const std::string previous = show_status(note);
        loop.exec();
        --pending_waits;
        // The window may be gone by now: only the wait and the hook are still safe to use.
        {
            // deliver() drops collected waits from the list; nothing may quit the loop now.
            const std::lock_guard lock(wait->mutex);
            wait->loop = nullptr;
            wait->collected = true;
        }
        show_status(previous);
        return wait->result();
    }

    // From another thread: the window's thread arms the wait and raises the signal.
    auto previous = std::make_shared<std::string>();
    QMetaObject::invokeMethod(
        this,
        [this, wait, note, previous] {
            waits_.push_back(wait);
            wait->registered = true;
            stop_any_pointing();
            ++pending_waits;
            *previous = show_status(note);
        },
        Qt::BlockingQueuedConnection);
    if (!wait->registered)
        return {}; // the window went away before the wait could be armed
    std::unique_lock lock(wait->mutex);
    wait->signal.wait(lock, [&] { return wait->happened != 0 || wait->closed; });
    wait->collected = true;
    const MouseEventResult result = wait->result();
    lock.unlock();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [previous] {
            --pending_waits;
            show_status(*previous);
        },
        Qt::QueuedConnection);
    return result;
}

void GraphicsWindow::deliver(int event_bit, const QMouseEvent& event)
{
    std::erase_if(waits_, [](const std::shared_ptr<Wait>& wait) { return wait->collected.load(); });
    if (waits_.empty())
        return;
    const PixelPoint pixel = drawing_pixel_at(event.position());
    const MouseEventResult seen{event_bit, key_state_of(event), pixel.x, pixel.y};
    const auto waits = waits_; // quitting a loop may not run code, but stay safe against changes
    for (const std::shared_ptr<Wait>& wait : waits) {
        const std::lock_guard lock(wait->mutex);
        if (!(wait->armed & event_bit) || wait->collected)
            continue;
        wait->happened |= event_bit;
        wait->seen[static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(event_bit)))] =
            seen;
        if (wait->loop)
            wait->loop->quit();
        wait->signal.notify_all();
    }
}

bool GraphicsWindow::panning(const QMouseEvent& event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        // The middle button, or the left one with Space held (not while a wait takes the left).
        if (fit_ || pan_from_
            || !(event.button() == Qt::MiddleButton
                 || (event.button() == Qt::LeftButton && space_down_ && pending_waits == 0)))
            return false;
        pan_from_ = event.position().toPoint();
        pan_scroll_ = scroll();
        stop_pointing();
        viewport()->setCursor(Qt::ClosedHandCursor);
        return true;
    case QEvent::MouseMove:
        if (!pan_from_)
            return false;
        horizontalScrollBar()->setValue(pan_scroll_.x() - (event.position().toPoint().x() - pan_from_->x()));
        verticalScrollBar()->setValue(pan_scroll_.y() - (event.position().toPoint().y() - pan_from_->y()));
        return true;
    case QEvent::MouseButtonRelease:
        if (!pan_from_ || event.buttons() & (Qt::MiddleButton | Qt::LeftButton))
            return pan_from_.has_value();
        pan_from_.reset();
        viewport()->unsetCursor();
        return true;
    default:
        return false;
    }
}

void GraphicsWindow::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y();
    if (steps > 0)
        zoom_in(event->position());
    else if (steps < 0)
        zoom_out(event->position());
    event->accept();
}

void GraphicsWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        space_down_ = false;
    QAbstractScrollArea::keyReleaseEvent(event);
}

void GraphicsWindow::mousePressEvent(QMouseEvent* event)
{
    if (panning(*event))
        return;
    const bool for_action = pending_waits == 0 && event->button() == Qt::LeftButton && gesture_;
    if (const int bit = button_bit(*event, mouse::kLeftDown, mouse::kRightDown))
        deliver(bit, *event);
    if (for_action) {
        // The pointing text goes first, giving the status line back, so that what the click
        // writes there is written over the program's own text.
        stop_pointing();
        gesture_(event->modifiers().testFlag(Qt::ShiftModifier) ? Gesture::shift_click : Gesture::click,
                 drawing_point_at(event->position()), drawing_pixels_per_screen_pixel());
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void GraphicsWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && gesture_ && pending_waits == 0) {
        gesture_(Gesture::escape, {}, drawing_pixels_per_screen_pixel());
        event->accept();
        return;
    }
    // Keys zoom about the middle of the window.
    const QPointF middle = QRectF(viewport()->rect()).center();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom_in(middle);
        return;
    case Qt::Key_Minus:
        zoom_out(middle);
        return;
    case Qt::Key_0:
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            set_size_to_fit(true);
            return;
        }
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            space_down_ = true;
        return;
    default:
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void GraphicsWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (panning(*event))
        return;
    if (const int bit = button_bit(*event, mouse::kLeftUp, mouse::kRightUp))
        deliver(bit, *event);
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void GraphicsWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double-click that a mouse wait takes is the wait's alone.
    const bool for_action = pending_waits == 0 && event->button() == Qt::LeftButton && gesture_;
    if (const int bit = button_bit(*event, mouse::kLeftDoubleClick, mouse::kRightDoubleClick))
        deliver(bit, *event);
    if (for_action)
        gesture_(Gesture::double_click, drawing_point_at(event->position()), drawing_pixels_per_screen_pixel());
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void GraphicsWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (panning(*event))
        return;
    deliver(mouse::kMove, *event);
    // A drag is no pointing: whatever it is for, the text would only be in the way.
    if (event->buttons() == Qt::NoButton)
        point_at(event->position());
    else
        stop_pointing();
    QAbstractScrollArea::mouseMoveEvent(event);
}

// --- Pointing ----------------------------------------------------------------------------------

void GraphicsWindow::stop_any_pointing()
{
    if (GraphicsWindow* window = pointing_window())
        window->stop_pointing();
}

void GraphicsWindow::set_pointing_source(PointingSource source)
{
    stop_pointing();
    pointing_ = std::move(source);
    last_pointed_.reset(); // it named an item of the graph drawn before
}

std::optional<QPointF> GraphicsWindow::pointed_point() const { return last_pointed_; }

GraphicsWindow* GraphicsWindow::pointing_now() { return pointing_window(); }

bool GraphicsWindow::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        stop_pointing();
    return QAbstractScrollArea::viewportEvent(event);
}

void GraphicsWindow::hideEvent(QHideEvent* event)
{
    stop_pointing();
    QAbstractScrollArea::hideEvent(event);
}

void GraphicsWindow::point_at(QPointF position)
{
    pointer_ = position;
    std::string text;
    if (pointing_ && pending_waits == 0) {
        const QPointF at = drawing_point_at(position);
        text = pointing_(at.x(), at.y(), drawing_pixels_per_screen_pixel());
    }
    if (text.empty()) {
        stop_pointing();
        return;
    }
    last_pointed_ = drawing_point_at(position);
    if (pointing_window() != this) {
        if (GraphicsWindow* other = pointing_window())
            other->stop_pointing();
        pointing_window() = this;
    }
    if (text != pointed_) {
        const std::string replaced = show_status(text);
        // The first text keeps what the status line showed; a later one keeps it too, unless
        // something else wrote the status line meanwhile.
        if (!status_under_ || replaced != pointed_)
            status_under_ = replaced;
        pointed_ = std::move(text);
    }
    if (QToolTip::isVisible())
        show_pointed_tooltip();
    else
        rest_timer_.start(style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, this));
}

void GraphicsWindow::show_pointed_tooltip()
{
    if (pointed_.empty() || pending_waits != 0)
        return;
    const QString text = qt_text(pointed_);
    if (!QToolTip::isVisible() || QToolTip::text() != text)
        QToolTip::showText(viewport()->mapToGlobal(pointer_.toPoint()), text, viewport());
}

void GraphicsWindow::stop_pointing()
{
    rest_timer_.stop();
    if (pointing_window() == this)
        pointing_window() = nullptr;
    if (pointed_.empty())
        return;
    if (QToolTip::isVisible() && QToolTip::text() == qt_text(pointed_))
        QToolTip::hideText();
    if (status_under_) {
        // Back to what the status line showed, unless something else has written it since.
        const std::string current = show_status(*status_under_);
        if (current != pointed_)
            show_status(current);
    }
    status_under_.reset();
    pointed_.clear();
}

} // namespace vorax::gwl
