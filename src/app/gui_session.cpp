// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui_session.h"

#include <QApplication>
#include <QMetaObject>

#include "app/graph_command.h"
#include "app/model_loading.h"
#include "core/program_exit.h"
#include "gwl/platform/ui_thread.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"

namespace vorax {

GuiSession::GuiSession(AppState& state, StartupPaths paths)
    : frame_(std::make_unique<gwl::Frame>()),
      layer_(std::make_unique<gwl::Layer>(*frame_)),
      program_(std::make_unique<Program>(state, *layer_, std::move(paths)))
{
    program_->graph_command = [&state, this] { vorax::graph_command(state, *layer_); };
    gwl::open_ui_calls();
    reload_ = std::make_unique<ModelReload>(state, *layer_);
    check_ = std::make_unique<CheckWindow>(state, *layer_, *reload_);
    reload_->after_reload = [this] {
        check_->refresh();
        look_->forget_pick();
    };
    look_ = std::make_unique<LookAround>(state, *layer_, *reload_);
    program_->after_start_up = [this] {
        reload_->add_menu_items();
        check_->add_menu_items();
        look_->add_menu_items();
        layer_->run_on_ui([this] {
            frame_->set_graph_gesture([this](gwl::Unit unit, int gesture, double x, double y, double per_pixel) {
                // Not while another action runs: it may be drawing the windows anew.
                layer_->run_when_idle([=, this] {
                    if (gesture == static_cast<int>(gwl::GraphicsWindow::Gesture::double_click))
                        check_->edit_pointed(unit, x, y, per_pixel);
                    else
                        look_->gesture(unit, gesture, x, y, per_pixel);
                });
            });
        });
    };
    program_->model_input = [this, &state] {
        const bool drawn = run_model_input(state, *layer_, program_->graph_command);
        reload_->after_model_input();
        check_->refresh();
        look_->forget_pick();
        return drawn;
    };
}

GuiSession::~GuiSession() { finish(); }

void GuiSession::start()
{
    frame_->set_status_text("Running");
    frame_->show();
    // The thread uses no member of the session itself: it may outlive it (see finish).
    thread_ = std::thread([program = program_.get(), frame = frame_.get(), end = end_] {
        int status = 0;
        bool ended_by_exit = false;
        try {
            status = program->main_program();
        } catch (const ProgramExit& exit) {
            status = exit.status;
            ended_by_exit = true;
        }
        {
            std::lock_guard lock(end->mutex);
            end->ended = true;
        }
        end->signal.notify_all();
        if (gwl::ui_calls_shut_down())
            return;
        QMetaObject::invokeMethod(
            frame,
            [frame, status, ended_by_exit] {
                frame->set_status_text("Finished");
                if (ended_by_exit)
                    QApplication::exit(status);
            },
            Qt::QueuedConnection);
    });
}

bool GuiSession::finish(std::chrono::milliseconds bound)
{
    if (!thread_.joinable())
        return true;
    gwl::shut_down_ui_calls();
    program_->request_stop();
    // Both calls above release every wait of the program thread; only a system call that never
    // returns could hold it, and the person who chose Exit must not wait for that.
    bool ended = false;
    {
        std::unique_lock lock(end_->mutex);
        ended = end_->signal.wait_for(lock, bound, [this] { return end_->ended; });
    }
    if (ended) {
        thread_.join();
        return true;
    }
    thread_.detach();
    // Left allocated for the thread, which the end of the process stops.
    (void)program_.release();
    (void)layer_.release();
    (void)frame_.release();
    return false;
}

int run_desktop_program()
{
    auto state = std::make_unique<AppState>();
    GuiSession session(*state, process_startup_paths());
    session.start();
    const int status = QApplication::exec();
    session.frame().remember_place();
    if (!session.finish())
        (void)state.release(); // still the stuck program thread's
    return status;
}

} // namespace vorax
