#include "app/gui_session.h"

#include <QApplication>
#include <QMetaObject>

#include "app/graph_command.h"
#include "app/model_loading.h"
#include "core/program_exit.h"
#include "gwl/frame.h"
#include "gwl/layer.h"
#include "gwl/ui_thread.h"

namespace vorax {

GuiSession::GuiSession(AppState& state, StartupPaths paths)
    : frame_(std::make_unique<gwl::Frame>()),
      layer_(std::make_unique<gwl::Layer>(*frame_)),
      program_(std::make_unique<Program>(state, *layer_, std::move(paths)))
{
    program_->graph_command = [&state, this] { vorax::graph_command(state, *layer_); };
    gwl::open_ui_calls();
    program_->model_input = [this, &state] {
        return run_model_input(state, *layer_, program_->graph_command);
    };
}

GuiSession::~GuiSession() { finish(); }

void GuiSession::start()
{
    frame_->set_status_text("Running");
    frame_->show();
    thread_ = std::thread([this] {
        int status = 0;
        bool ended_by_exit = false;
        try {
            status = program_->main_program();
        } catch (const ProgramExit& exit) {
            status = exit.status;
            ended_by_exit = true;
        }
        finished_ = true;
        if (gwl::ui_calls_shut_down())
            return;
        QMetaObject::invokeMethod(
            frame_.get(),
            [this, status, ended_by_exit] {
                frame_->set_status_text("Finished");
                if (ended_by_exit)
                    QApplication::exit(status);
            },
            Qt::QueuedConnection);
    });
}

void GuiSession::finish()
{
    if (!thread_.joinable())
        return;
    gwl::shut_down_ui_calls();
    program_->request_stop();
    thread_.join();
}

int run_desktop_program()
{
    AppState state;
    GuiSession session(state, process_startup_paths());
    session.start();
    const int status = QApplication::exec();
    session.finish();
    return status;
}

} // namespace vorax
