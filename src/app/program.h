// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spine of the program: start-up, the wait loop, the exit sequence, and the actions of the
// "NEW GRAPH" menu.
//
// main_program runs on the program thread. After the start-up it only waits, half a second at
// a time, until the graph counter reaches its limit; the menu actions, which run on the
// user-interface thread, do all the work.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "app/app_state.h"
#include "app/graph_units.h"
#include "app/startup_files.h"
#include "gwl/types.h"
#include "gwl/windows/menus.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

// Where the start-up puts the frame: centred on the screen's available area and raised by 30
// pixels, but never so far that its top-left corner (and with it the menu bar) leaves that area.
// Size unchanged.
gwl::WindowRect centered_frame(const gwl::WindowRect& screen, const gwl::WindowRect& frame);

inline constexpr int kProgramMenu = gwl::kFirstProgramMenu; // "NEW GRAPH"
inline constexpr int kBackToSettingsItem = 1;
inline constexpr int kZoomItem = 2;
inline constexpr int kNewGraphItem = 4;

class Program {
public:
    Program(AppState& state, gwl::Layer& layer, StartupPaths paths);

    // Start-up, wait loop and exit sequence; returns when the program's run ends.
    int main_program();
    // Ends the wait loop early (the frame is closing).
    void request_stop();
    // True once the start-up has finished and the program waits for the menu.
    bool start_up_done() const { return start_up_done_; }

    // The menu actions (user-interface thread).
    void on_new_graph();
    void on_back_to_settings();
    void on_zoom();

    // The work behind the menu items. The model loading returns whether a graph was drawn, which
    // makes "BACK to Settings ..." and "ZOOM (Mouse) ..." available.
    std::function<bool()> model_input;
    std::function<void()> graph_command;
    // Run at the end of the start-up, once the program's menu is in place: additions to it.
    std::function<void()> after_start_up;

    // A graph window's title as the menu actions form it: the graph number left-aligned in two
    // characters, a blank, the problem title without trailing blanks.
    static std::string numbered_title(int number, const std::string& problem_title);

private:
    void start_up();
    void wait_loop();
    void exit_sequence();
    // Start-up step: the graph settings to their defaults, copied into the current ones.
    void reset_settings();
    // Exit step: the model's arrays are released.
    void release_model();
    // Moves on to the next graph's unit and names the graph after it; false when the graph
    // limit allows no further graph.
    // Gives the number taken for a graph back when no window was drawn since `drawn_before`.
    void give_back_unused_graph(int drawn_before);
    bool take_next_graph();
    // A menu action that, when the memory runs out, says so in a box and leaves the program
    // running with what it had, instead of ending it.
    std::function<void()> guarded(void (Program::*action)());

    AppState& state_;
    gwl::Layer& layer_;
    StartupPaths paths_;
    std::mutex stop_mutex_;
    std::condition_variable stop_signal_;
    bool stop_requested_ = false;
    std::atomic<bool> start_up_done_{false};
};

} // namespace vorax
