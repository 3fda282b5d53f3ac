// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of the desktop program: the frame window, the layer over it, the program and its
// thread. main() and the whole-run tests build one of these.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "app/app_state.h"
#include "app/check_window.h"
#include "app/look_around.h"
#include "app/model_reload.h"
#include "app/program.h"

namespace vorax::gwl {
class Frame;
class Layer;
} // namespace vorax::gwl

namespace vorax {

class GuiSession {
public:
    GuiSession(AppState& state, StartupPaths paths);
    ~GuiSession(); // stops and joins the program thread

    // How long the end of a run waits for the program thread.
    static constexpr std::chrono::milliseconds kExitWait{3000};

    // Shows the frame and starts main_program on the program thread.
    void start();
    // Ends the run after the event loop returned: releases waiting layer calls, stops the wait
    // loop and waits for the program thread, at most `bound`. False when the thread did not end
    // in time: it is then left to the end of the process, and the frame, layer and program it
    // may still use are kept (the caller keeps its AppState for the same reason).
    bool finish(std::chrono::milliseconds bound = kExitWait);

    gwl::Frame& frame() { return *frame_; }
    gwl::Layer& layer() { return *layer_; }
    Program& program() { return *program_; }
    ModelReload& reload() { return *reload_; }
    CheckWindow& check_window() { return *check_; }
    LookAround& look_around() { return *look_; }

private:
    // Shared with the program thread, which may outlive the session.
    struct ThreadEnd {
        std::mutex mutex;
        std::condition_variable signal;
        bool ended = false;
    };

    std::unique_ptr<gwl::Frame> frame_;
    std::unique_ptr<gwl::Layer> layer_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<ModelReload> reload_;
    std::unique_ptr<CheckWindow> check_;
    std::unique_ptr<LookAround> look_;
    std::shared_ptr<ThreadEnd> end_ = std::make_shared<ThreadEnd>();
    std::thread thread_;
};

// The whole desktop program: builds a session, runs the event loop, returns the exit status.
int run_desktop_program();

} // namespace vorax
