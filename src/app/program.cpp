// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "app/pointing.h"
#include "core/messages.h"
#include "core/program_exit.h"
#include "core/text.h"
#include "graph/graph_texts.h"
#include "gwl/dialogs/icon.h"
#include "gwl/platform/run_state.h"
#include "gwl/platform/system.h"
#include "gwl/windows/layer.h"

namespace vorax {

namespace {

constexpr gwl::Unit kInfo = gwl::kInfoUnit;
constexpr const char* kProgramName = "VORAX";

std::string about_text()
{
    // At most 99 characters in all.
    return "VORAX\nStructure Graph for TAVELS & MURIKS\n\n"
           "(c) 2026 the VORAX developers\nLicence: GPL-3.0-or-later";
}

} // namespace

gwl::WindowRect centered_frame(const gwl::WindowRect& screen, const gwl::WindowRect& frame)
{
    auto place = [](int start, int room, int size, int raise) {
        const int centred = start + (room - size) / 2 - raise;
        // The far edge yields to the near one when the frame is larger than the room.
        return std::max(start, std::min(centred, start + room - size));
    };
    return {place(screen.x, screen.width, frame.width, 0),
            place(screen.y, screen.height, frame.height, 30), frame.height, frame.width};
}

Program::Program(AppState& state, gwl::Layer& layer, StartupPaths paths)
    : state_(state), layer_(layer), paths_(std::move(paths))
{
}

std::string Program::numbered_title(int number, const std::string& problem_title)
{
    std::string title = pad_right(std::to_string(number), 2) + " ";
    title += trim_right(problem_title);
    return title;
}

int Program::main_program()
{
    start_up();
    wait_loop();
    {
        std::lock_guard lock(stop_mutex_);
        if (stop_requested_)
            return 0;
    }
    exit_sequence();
    return 0;
}

void Program::request_stop()
{
    {
        std::lock_guard lock(stop_mutex_);
        stop_requested_ = true;
    }
    stop_signal_.notify_all();
}

void Program::start_up()
{
    // Host and language.
    const HostInfo host = determine_host(paths_.current_directory);
    state_.host_program = host.host_program;
    state_.program_label = host.program_label;
    state_.language = determine_language(host.host_program, paths_).language;

    // Composed messages.
    state_.zoom_refusal_message = std::string(message(Message::zoom_refusal, state_.language));
    state_.graph_limit_message = std::string(message(Message::graph_limit, state_.language));

    // Style icons; a file that cannot be loaded leaves no icon and no error.
    state_.icon_folder = std::string(trim_right(paths_.current_directory)) + "/uir/";
    auto icon = [this](const char* name) { return gwl::load_icon_file(state_.icon_folder + name); };
    state_.bold_icon = icon("Bold.ico");
    state_.italic_icon = icon("Italic.ico");
    state_.underline_icon = icon("Underline.ico");

    // The info window.
    layer_.open_unit(kInfo, gwl::WindowKind::text, "user", "VORAX: Info");
    gwl::WindowConfig config;
    if (!layer_.get_window_config(config))
        layer_.stop_with_message("Window Not Open");

    // Centre the frame on the screen. (The drawing area can be far larger than the screen, or
    // smaller than the frame: centring over it put the frame out of reach.) A frame that the
    // person left elsewhere in an earlier run goes back there while it still fits the screen.
    const gwl::WindowRect frame = layer_.get_window_size(gwl::kFrameWindow);
    layer_.set_window_size(gwl::kFrameWindow,
                           layer_.remembered_frame_place().value_or(
                               centered_frame(layer_.screen_area(), frame)));

    // Menus: Help's first two items disabled, then the program's own menu after "&Help".
    using namespace gwl::menu_flag;
    layer_.set_menu_item_flags(gwl::kHelpMenu, gwl::kHelpContentsItem, kDisabled);
    layer_.set_menu_item_flags(gwl::kHelpMenu, gwl::kUsingHelpItem, kDisabled);
    const UiLanguage lang = state_.language;
    // The title gets its mnemonic as the items do (Alt+N), its text unchanged.
    layer_.insert_menu_item(kProgramMenu, gwl::kMenuItself, kEnabled,
                            gwl::with_mnemonic(std::string(message(Message::new_graph_menu, lang))),
                            gwl::menu_no_action());
    layer_.append_menu_item(kProgramMenu, kDisabled, message(Message::back_to_settings, lang),
                            gwl::menu_routine(guarded(&Program::on_back_to_settings)));
    layer_.append_menu_item(kProgramMenu, kDisabled, message(Message::zoom_mouse, lang),
                            gwl::menu_routine(guarded(&Program::on_zoom)));
    layer_.append_menu_item(kProgramMenu, kSeparator, "", gwl::menu_no_action());
    layer_.append_menu_item(kProgramMenu, kEnabled, message(Message::new_graph, lang),
                            gwl::menu_routine(guarded(&Program::on_new_graph)));
    layer_.append_menu_item(kProgramMenu, kSeparator, "", gwl::menu_no_action());
    layer_.append_menu_item(kProgramMenu, kEnabled, message(Message::exit_item, lang),
                            gwl::menu_exit_action());

    state_.about_text = about_text();
    layer_.set_about_text(state_.about_text);
    layer_.write_line(kInfo, std::string(" * ") + kProgramName + " Started");

    // The menu is live from here on, and its actions run on the user-interface thread: the
    // records they use are set there too, never under a running action.
    layer_.run_on_ui([this] {
        reset_settings();
        state_.last_graph_unit = kNoGraphUnit;
        state_.zoom_requested = false;
    });
    if (after_start_up)
        after_start_up();
    start_up_done_ = true;
}

void Program::wait_loop()
{
    using namespace std::chrono_literals;
    std::unique_lock lock(stop_mutex_);
    while (!stop_requested_) {
        stop_signal_.wait_for(lock, 500ms, [this] { return stop_requested_; });
        if (!gwl::program_paused() && graph_limit_reached(state_.last_graph_unit))
            return;
    }
}

void Program::exit_sequence()
{
    layer_.set_menu_item_flags(kProgramMenu, gwl::kMenuItself, gwl::menu_flag::kGrayed);
    layer_.message_box(state_.graph_limit_message, "VORAX Message:", gwl::mb::kIconInformation);
    release_model();
    layer_.set_active_window(kInfo);
    layer_.set_text_color_rgb(kWhite);
    layer_.write_line(kInfo, std::string(" * ") + kProgramName + " Exited");
    layer_.close_unit(kInfo);
}

std::function<void()> Program::guarded(void (Program::*action)())
{
    return [this, action] {
        try {
            (this->*action)();
        } catch (const std::bad_alloc&) {
            layer_.message_box(message(Message::out_of_memory, state_.language),
                               message(Message::message_caption, state_.language),
                               gwl::mb::kIconError);
        }
    };
}

bool Program::take_next_graph()
{
    if (!take_next_graph_unit(state_.last_graph_unit))
        return false;
    state_.graph_title
        = title_text(numbered_title(graph_number(state_.last_graph_unit), state_.problem_title));
    return true;
}

void Program::on_new_graph()
{
    if (!take_next_graph())
        return;
    const int drawn_before = state_.graphs_drawn;
    const bool drawn = model_input ? model_input() : false;
    give_back_unused_graph(drawn_before);
    if (drawn) {
        layer_.set_menu_item_flags(kProgramMenu, kBackToSettingsItem, gwl::menu_flag::kEnabled);
        layer_.set_menu_item_flags(kProgramMenu, kZoomItem, gwl::menu_flag::kEnabled);
    }
}

void Program::on_back_to_settings()
{
    if (!take_next_graph())
        return;
    const int drawn_before = state_.graphs_drawn;
    if (graph_command)
        graph_command();
    give_back_unused_graph(drawn_before);
    gwl::beep(1000, 200);
}

void Program::give_back_unused_graph(int drawn_before)
{
    // A number is used by a window drawn, not by a command cancelled on its way: the next graph
    // gets it, and only windows count towards the limit.
    if (state_.graphs_drawn != drawn_before)
        return;
    int taken = state_.last_graph_unit;
    if (taken > kNoGraphUnit && !graph_limit_reached(taken))
        state_.last_graph_unit.compare_exchange_strong(taken, taken - 1);
}

void Program::on_zoom()
{
    if (layer_.inquire_focus() != state_.last_graph_unit) {
        layer_.message_box(state_.zoom_refusal_message, "Vorax Message", gwl::mb::kIconError);
        return;
    }
    // The zoom window would be the eleventh graph: the limit ends the run instead.
    if (!next_graph_unit_free(state_.last_graph_unit))
        return;
    state_.zoom_requested = true;
    state_.zoom_title = title_text(
        numbered_title(graph_number(state_.last_graph_unit + 1), state_.problem_title) + ":  ZOOM");
    if (graph_command)
        graph_command();
}

} // namespace vorax

namespace vorax {

void Program::reset_settings()
{
    set_settings_defaults(state_.settings);
    copy_default_settings(state_.settings);
}

void Program::release_model()
{
    // The model belongs to the user-interface thread's actions: release it there.
    layer_.run_on_ui([this] {
        retire_pointed_model(state_);
        state_.model = StructureModel{};
        state_.model_loaded = false;
        state_.drawn_nodes.clear();
    });
}

} // namespace vorax
