// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/model_loading.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "app/graph_units.h"
#include "app/info_command.h"
#include "app/pointing.h"
#include "app/program.h"
#include "core/messages.h"
#include "core/program_exit.h"
#include "core/text.h"
#include "graph/graph_texts.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/platform/system.h"
#include "gwl/prompts.h"
#include "gwl/windows/layer.h"
#include "app/check_command.h"
#include "model/model_check.h"
#include "model/model_info.h"
#include "model/model_reader.h"
#include "model/record_lines.h"

namespace vorax {

namespace {

constexpr gwl::Unit kInfo = gwl::kInfoUnit;
constexpr std::size_t kFileNameLength = 260;
constexpr int kLookUps = 3;

} // namespace

LoadedFile load_model_file(gwl::Layer& layer, const std::string& path, UiLanguage language)
{
    LoadedFile loaded;
    std::atomic<std::uint64_t> bytes_read{0};
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    ReadOptions options;
    options.bytes_read = &bytes_read;
    std::atomic<bool> checking{false};
    layer.run_long(
        [&] {
            loaded.result = read_model(path, options);
            if (!loaded.result.ok())
                return;
            checking.store(true, std::memory_order_relaxed);
            loaded.check = check_model(loaded.result.model, loaded.result.notes, language);
            loaded.warnings = loaded.check.count();
            loaded.lines = RecordLines(loaded.result.notes);
            loaded.result.notes = {};
        },
        [&] {
            if (checking.load(std::memory_order_relaxed))
                return std::string(message(Message::checking_progress, language));
            const std::uint64_t done = bytes_read.load(std::memory_order_relaxed);
            const int percent = error || size == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done, size) * 100 / size);
            return progress_text(Message::reading_progress, percent, language);
        });
    return loaded;
}

std::string initial_folder(const std::string& current_directory)
{
    if (current_directory.empty())
        return {};
    const std::string data_folder = current_directory.size() < 3
                                        ? std::string("dat")
                                        : current_directory.substr(0, current_directory.size() - 3)
                                              + "dat";
    std::error_code error;
    return std::filesystem::is_directory(data_folder, error) ? data_folder : current_directory;
}

bool choose_input_file(const std::string& folder, std::string& file_name)
{
    gwl::OpenFileRequest request;
    request.title = "Select File";
    request.initial_folder = folder;
    request.filters = {{"Data Files (*.dat)", "*.dat"},
                       {"Text Files (*.txt)", "*.txt"},
                       {"All files (*.*)", "*.*"}};
    request.filter_index = 1;
    request.default_extension = "dat";
    request.file_name = file_name;
    request.path_must_exist = true;
    const auto chosen = gwl::prompter().choose_open_file(request);
    if (!chosen)
        return false;
    file_name = cut(*chosen, kFileNameLength);
    return true;
}

bool open_input_file(gwl::Layer& layer, std::string& file_name)
{
    for (int look_up = 1; look_up <= kLookUps; ++look_up) {
        const std::string name(trim_right(file_name));
        if (const std::string found = gwl::find_file_on_path(name); !found.empty()) {
            layer.write_line(kInfo, "");
            layer.write_line(kInfo, "  " + found);
            file_name = found;
            return true;
        }
        layer.write_line(kInfo, "");
        layer.write_line(kInfo, " * File not found: " + name);
        layer.write_text(kInfo, " * Enter again: ");
        layer.set_active_window(kInfo);
        layer.display_cursor(true);
        file_name = layer.read_line(kInfo, kFileNameLength);
        layer.display_cursor(false);
    }
    // The name typed after the third failure is not looked up any more.
    layer.write_line(kInfo, " Too manny errors. Check stoped !");
    return false;
}

std::string loaded_graph_title(int graph_number, const std::string& problem_title)
{
    std::string title = "(" + std::to_string(graph_number) + ") ";
    title += trim_right(problem_title);
    return title_text(title);
}

namespace {

// The file command has ended without a new model: the loaded one and its graphs stay, and so
// does the way back to their settings; without a graph of a loaded model there is none.
bool end_without_model(AppState& state, gwl::Layer& layer)
{
    const bool model_drawn = state.model_loaded && !state.drawn_nodes.empty();
    layer.set_menu_item_flags(kProgramMenu, kBackToSettingsItem,
                              model_drawn ? gwl::menu_flag::kEnabled
                                          : gwl::menu_flag::kGrayed | gwl::menu_flag::kDisabled);
    return false;
}

// When a file cannot be had: with graphs on screen only the command ends (false); before the
// first graph the program ends, after `last_words` have been shown in a box, since the info
// window goes with it.
bool end_for_file(AppState& state, gwl::Layer& layer, int status, const std::string& last_words)
{
    if (state.graphs_drawn > 0)
        return end_without_model(state, layer);
    if (!last_words.empty())
        layer.message_box(last_words, message(Message::message_caption, state.language),
                          gwl::mb::kOk | gwl::mb::kIconError);
    layer.exit_program(status);
}

// When the file was last written and how long it was: a model file edited since it was read
// differs in one of them.
struct FileStamp {
    std::filesystem::file_time_type written{};
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp file_stamp(const std::string& path)
{
    std::error_code error;
    FileStamp stamp;
    stamp.written = std::filesystem::last_write_time(path, error);
    stamp.size = std::filesystem::file_size(path, error);
    return stamp;
}

} // namespace

bool run_model_input(AppState& state, gwl::Layer& layer, const std::function<void()>& graph_command)
{
    const UiLanguage language = state.language;
    const std::string folder = initial_folder(gwl::current_directory());
    const std::vector<std::string>& arguments = gwl::program_arguments();
    const bool from_command_line = !arguments.empty();

    for (;;) {
        // File choice and reading, again after Retry in the "Wrong Input File" box.
        LoadedFile loaded;
        ReadResult& result = loaded.result;
        std::string given_name; // the name as the command line or the dialog gave it
        FileStamp stamp;
        for (;;) {
            if (from_command_line) {
                state.input_file_name = cut(state.corrected_model_name.empty()
                                                ? arguments.front()
                                                : state.corrected_model_name,
                                            kFileNameLength);
            } else if (!choose_input_file(folder, state.input_file_name)) {
                layer.write_line(kInfo, "");
                layer.write_line(kInfo, " * Input File Selection: Canceled.");
                return end_without_model(state, layer);
            }
            given_name = trim_right(state.input_file_name);
            if (!open_input_file(layer, state.input_file_name)) {
                layer.write_line(kInfo, " File Not Found !");
                if (state.graphs_drawn > 0)
                    return end_without_model(state, layer);
                layer.write_line(kInfo, " *** Exiting .... Program terminated");
                end_for_file(state, layer, 0,
                             "Too manny errors. Check stoped !\nFile Not Found !\n"
                             "*** Exiting .... Program terminated");
            }
            if (from_command_line && trim_right(state.input_file_name) != given_name)
                state.corrected_model_name = state.input_file_name;
            stamp = file_stamp(state.input_file_name);
            loaded = load_model_file(layer, state.input_file_name, language);
            if (result.status == ReadStatus::end_of_file) {
                const std::string report = read_failure_text(result, language);
                layer.write_line(kInfo, " *** " + report);
                layer.message_box(report, message(Message::message_caption, language),
                                  gwl::mb::kOk | gwl::mb::kIconError);
                return end_for_file(state, layer, 1, {});
            }
            if (result.ok())
                break;
            const std::string reason = read_failure_text(result, language);
            layer.write_line(kInfo, " *** " + reason);
            const int answer = layer.message_box(
                std::string(message(Message::wrong_input_file, language)) + "\n\n" + reason,
                message(Message::message_caption, language),
                gwl::mb::kRetryCancel | gwl::mb::kIconError);
            if (answer != gwl::mb::kIdRetry)
                return end_for_file(state, layer, 0, {});
        }

        const std::int64_t warnings = loaded.warnings;
        state.model_check = std::move(loaded.check);

        // The new model replaces the old one; all its nodes are drawn.
        retire_pointed_model(state);
        state.model = std::move(result.model);
        start_pointed_model(state, std::move(loaded.lines));
        state.model_loaded = true;
        layer.set_model_file(state.input_file_name);
        state.drawn_nodes.clear();
        state.problem_title = state.model.problem_title;
        for (const std::string& line :
             prepare_loaded_model(state.model, state.settings.current_settings))
            layer.write_line(kInfo, line);
        if (const auto line = model_check_line(warnings, {}, language, CheckLister::window))
            layer.write_line(kInfo, *line);
        state.graph_title
            = loaded_graph_title(graph_number(state.last_graph_unit), state.problem_title);

        state.dialog.settings_dialog_result = 0;
        if (graph_command)
            graph_command();
        gwl::beep(1000, 200);

        if (state.dialog.settings_dialog_result != gwl::kDialogCancel)
            return state.dialog.settings_dialog_result == gwl::kDialogOk;
        layer.set_menu_item_flags(kProgramMenu, kBackToSettingsItem, gwl::menu_flag::kDisabled);
        layer.set_menu_item_flags(kProgramMenu, kZoomItem, gwl::menu_flag::kDisabled);
        copy_default_settings(state.settings);
        // A model named on the command line is read and offered again after Cancel only when it
        // was edited meanwhile: the person edits the file, cancels, and sees the edited model.
        // Unchanged, it would come back at once and the dialog would leave no way out.
        if (from_command_line && file_stamp(state.input_file_name) == stamp)
            return false;
    }
}

} // namespace vorax
