// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/layer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

#include "core/program_exit.h"
#include "core/text.h"
#include "gwl/platform/ui_thread.h"
#include "gwl/prompts.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/text_window.h"

namespace vorax::gwl {

namespace {

// The configuration of a graphics unit: its window's, or, once the window is closed, that of
// the surface it leaves.
void fill_graphics_config(Frame& frame, Unit unit, WindowConfig& config)
{
    if (const GraphicsWindow* window = frame.graphics_window(unit)) {
        window->get_window_config(config);
    } else if (const DrawSurface* surface = frame.surface(unit)) {
        surface->fill_window_config(config);
        config.title = cut(frame.unit_title(unit), 80);
    }
}

std::atomic<int> progress_delay_ms{Layer::kProgressDelayMs};
constexpr int kProgressRenewalMs = 100;

} // namespace

Layer::Layer(Frame& frame) : frame_(frame) {}

bool Layer::open_unit(Unit unit, WindowKind kind, std::string_view, std::string_view title)
{
    return ui_call([&] { return frame_.open_unit(unit, kind, std::string(title)); });
}

void Layer::write_line(Unit unit, std::string_view text)
{
    ui_call([&] {
        if (TextWindow* window = frame_.text_window(unit))
            window->write(std::string(text), true);
    });
}

void Layer::write_text(Unit unit, std::string_view text)
{
    ui_call([&] {
        if (TextWindow* window = frame_.text_window(unit))
            window->write(std::string(text), false);
    });
}

std::string Layer::read_line(Unit unit, std::size_t length)
{
    return ui_call([&] {
        // The window may be closed while the person types: it is watched, not trusted.
        const QPointer<TextWindow> window = frame_.text_window(unit);
        if (window.isNull())
            return std::string{};
        // The person types into this window: it comes to the front with the keyboard focus.
        frame_.give_focus(unit);
        std::string typed(trim_right(cut(prompter().read_line(*window), length)));
        // A line that came without typing into the window (a script) shows as if typed.
        if (!window.isNull() && window->line_open())
            window->write(typed, true);
        return typed;
    });
}

void Layer::close_unit(Unit unit)
{
    ui_call([&] { frame_.close_unit(unit); });
}

bool Layer::get_window_config(WindowConfig& config)
{
    return ui_call([&] {
        const Unit unit = frame_.active_unit();
        if (!frame_.unit_is_open(unit))
            return false;
        const DrawingAreaSize area = default_drawing_area();
        config = WindowConfig{};
        config.pixels_x = static_cast<std::int16_t>(area.width);
        config.pixels_y = static_cast<std::int16_t>(area.height);
        config.colors = -1;
        config.bits_per_pixel = 24;
        config.title = cut(frame_.unit_title(unit), 80);
        if (const TextWindow* text = frame_.text_window(unit)) {
            config.text_columns = static_cast<std::int16_t>(text->text_columns());
            config.text_rows = static_cast<std::int16_t>(text->text_rows());
        } else {
            fill_graphics_config(frame_, unit, config);
        }
        return true;
    });
}

bool Layer::set_active_window(Unit unit)
{
    return ui_call([&] { return frame_.set_active_unit(unit); });
}

Unit Layer::active_window()
{
    return ui_call([&] { return frame_.active_unit(); });
}

Unit Layer::inquire_focus()
{
    return ui_call([&] { return frame_.focus_unit(); });
}

bool Layer::display_cursor(bool on)
{
    return ui_call([&] {
        if (TextWindow* window = frame_.text_window(frame_.active_unit()))
            return window->display_cursor(on);
        return false;
    });
}

Rgb Layer::set_text_color_rgb(Rgb color)
{
    return ui_call([&] {
        if (TextWindow* window = frame_.text_window(frame_.active_unit()))
            return window->set_text_color(color);
        return kWhite;
    });
}

QWidget* Layer::window_widget(Unit window)
{
    return window == kFrameWindow ? static_cast<QWidget*>(&frame_) : frame_.sub_window(window);
}

WindowRect Layer::get_window_size(Unit window)
{
    return ui_call([&] {
        QWidget* widget = window_widget(window);
        if (widget == nullptr)
            return WindowRect{};
        const QRect r = widget->frameGeometry();
        return WindowRect{r.x(), r.y(), r.height(), r.width()};
    });
}

bool Layer::set_window_size(Unit window, const WindowRect& rect)
{
    return ui_call([&] {
        QWidget* widget = window_widget(window);
        if (widget == nullptr)
            return false;
        widget->move(rect.x, rect.y);
        if (rect.width > 0 && rect.height > 0) {
            // The frame geometry includes the decorations; resize() sets the inside.
            const QSize decorations = widget->frameGeometry().size() - widget->size();
            widget->resize(rect.width - decorations.width(), rect.height - decorations.height());
        }
        return true;
    });
}

WindowRect Layer::screen_area()
{
    return ui_call([&] {
        const QScreen* screen = frame_.screen();
        if (screen == nullptr)
            screen = QGuiApplication::primaryScreen();
        if (screen == nullptr)
            return WindowRect{};
        const QRect r = screen->availableGeometry();
        return WindowRect{r.x(), r.y(), r.height(), r.width()};
    });
}

std::optional<WindowRect> Layer::remembered_frame_place()
{
    const WindowRect room = screen_area();
    return ui_call([&] { return frame_.restored_place(room); });
}

int Layer::message_box(std::string_view text, std::string_view caption, unsigned style)
{
    return ui_call([&] { return prompter().message_box(text, caption, style); });
}

bool Layer::insert_menu_item(int menu, int item, unsigned flags, std::string_view text,
                             MenuAction action)
{
    return ui_call([&] {
        return frame_.insert_menu_item(menu, item, flags, std::string(text), std::move(action));
    });
}

bool Layer::append_menu_item(int menu, unsigned flags, std::string_view text, MenuAction action)
{
    return ui_call([&] {
        return frame_.append_menu_item(menu, flags, std::string(text), std::move(action));
    });
}

bool Layer::set_menu_item_flags(int menu, int item, unsigned flags)
{
    return ui_call([&] { return frame_.set_menu_item_flags(menu, item, flags); });
}

void Layer::set_about_text(std::string_view text)
{
    ui_call([&] { frame_.set_about_text(std::string(text)); });
}

void Layer::set_model_file(std::string_view path)
{
    ui_call([&] { frame_.set_model_file(std::string(path)); });
}

void Layer::set_status_text(std::string_view text)
{
    ui_call([&] { frame_.set_status_text(std::string(text)); });
}

void Layer::set_status_note(std::string_view text)
{
    ui_call([&] { frame_.set_status_note(std::string(text)); });
}

void Layer::run_on_ui(const std::function<void()>& routine) { ui_call(routine); }

void Layer::set_progress_delay(int milliseconds) { progress_delay_ms = milliseconds; }

void Layer::run_long(const std::function<void()>& work, const std::function<std::string()>& progress)
{
    if (!on_ui_thread()) {
        work();
        return;
    }
    std::exception_ptr error;
    std::atomic<bool> done{false};
    QEventLoop loop;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                work();
            } catch (...) {
                error = std::current_exception();
            }
            done = true;
            // Posted to the loop: gone with it when the loop has already ended.
            QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        work(); // no thread to be had: the windows wait
        return;
    }

    std::optional<std::string> own_status; // the status line's text before the progress
    QElapsedTimer clock;
    clock.start();
    QTimer renewal;
    QObject::connect(&renewal, &QTimer::timeout, [&] {
        if (done || clock.elapsed() < progress_delay_ms)
            return;
        if (!own_status)
            own_status = frame_.status_text();
        frame_.set_status_text(progress());
    });
    renewal.start(std::clamp(progress_delay_ms.load(), 10, kProgressRenewalMs));
    if (!done)
        loop.exec();
    if (!done) {
        // The program is ending (Exit while the work ran): nothing will serve the work's layer
        // calls any more, so they are released, and the work unwinds through them.
        shut_down_ui_calls();
    }
    worker.join();
    renewal.stop();
    if (own_status)
        frame_.set_status_text(*own_status);
    if (error)
        std::rethrow_exception(error);
}

void Layer::stop_with_message(std::string_view text)
{
    message_box(text, "VORAX", mb::kOk | mb::kIconError);
    throw ProgramExit{0, std::string(text)};
}

void Layer::exit_program(int status) { throw ProgramExit{status, {}}; }

DrawSurface* Layer::active_surface()
{
    return ui_call([&] { return frame_.surface(frame_.active_unit()); });
}

GraphicsWindow* Layer::graphics_window(Unit unit)
{
    return ui_call([&] { return frame_.graphics_window(unit); });
}

bool Layer::run_when_idle(const std::function<void()>& routine)
{
    return ui_call([&] { return frame_.run_when_idle(routine); });
}

bool Layer::set_menu_item_shortcut(int menu, int item, std::string_view keys)
{
    return ui_call([&] { return frame_.set_menu_item_shortcut(menu, item, std::string(keys)); });
}

void Layer::set_pointing_source(Unit unit, PointingSource source)
{
    ui_call([&] { frame_.set_pointing_source(unit, std::move(source)); });
}

} // namespace vorax::gwl
