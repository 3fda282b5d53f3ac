#pragma once
// One run of the desktop program: the frame window, the layer over it, the program and its
// thread. main() and the whole-run tests build one of these.

#include <memory>
#include <thread>

#include "app/app_state.h"
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

    // Shows the frame and starts main_program on the program thread.
    void start();
    // Ends the run after the event loop returned: releases waiting layer calls, stops the wait
    // loop and joins the program thread.
    void finish();
    // True once main_program has returned.
    bool program_finished() const { return finished_; }

    gwl::Frame& frame() { return *frame_; }
    gwl::Layer& layer() { return *layer_; }
    Program& program() { return *program_; }

private:
    std::unique_ptr<gwl::Frame> frame_;
    std::unique_ptr<gwl::Layer> layer_;
    std::unique_ptr<Program> program_;
    std::thread thread_;
    std::atomic<bool> finished_{false};
};

// The whole desktop program: builds a session, runs the event loop, returns the exit status.
int run_desktop_program();

} // namespace vorax
