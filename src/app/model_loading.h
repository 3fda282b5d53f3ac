// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Model loading: "NEW Graph ..." from the file choice to the graph command.
//
// The file name comes from the command line or the "Select File" dialog; the file is looked up
// (the user may retype a name twice), read, reported in the info window, and drawn by the graph
// command. A cancelled Graph Settings dialog starts over with a new file choice.

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "gwl/prompts.h"
#include "model/model_check.h"
#include "model/model_reader.h"
#include "model/record_lines.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

// Runs the loading and the graph command; true when a graph was drawn. Ends the program
// (throws ProgramExit) when the file is not found after three tries, when the user cancels the
// "Wrong Input File" box, and when the file ends too early.
bool run_model_input(AppState& state, gwl::Layer& layer, const std::function<void()>& graph_command);

// A model file read, and checked when it reads, with the lines its records stand on.
struct LoadedFile {
    ReadResult result;
    CheckReport check;
    std::int64_t warnings = 0; // check.count()
    RecordLines lines;
};

// Reads and checks the model file off the user-interface thread, which serves the windows
// meanwhile; a long load shows in the status line how much of the file is read, then that the
// model is being checked.
LoadedFile load_model_file(gwl::Layer& layer, const std::string& path, UiLanguage language);

// The folder the file dialog starts in: the current directory with its last three characters
// replaced by "dat" when that folder exists, else the current directory.
std::string initial_folder(const std::string& current_directory);

// The "Select File" dialog.
bool choose_input_file(const std::string& initial_folder, std::string& file_name);

// Looks the name up, letting the user retype it after each failure, three look-ups at most;
// `file_name` becomes the full path found.
bool open_input_file(gwl::Layer& layer, std::string& file_name);

// graph_title after a load: "(n) " and the problem title, at most 100 characters.
std::string loaded_graph_title(int graph_number, const std::string& problem_title);

} // namespace vorax
