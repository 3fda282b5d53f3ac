// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide records of the program, owned in one place.
//
// Start-up creates one AppState; the menu actions and the drawing receive it by reference, and
// a test builds a fresh one. `last_graph_unit` is the only datum shared by the program thread
// (which reads it in the wait loop) and the user-interface thread (which writes it).

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/graph_units.h"
#include "app/startup_files.h"
#include "core/language.h"
#include "graph/change_marks.h"
#include "graph/view_mapping.h"
#include "gwl/dialogs/icon.h"
#include "model/model_check.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"
#include "settings/settings_dialog.h"

namespace vorax {

struct PointedModel;
class HitIndex;

// What a graph window points at with: the index of what it drew and the model it describes.
struct GraphPointing {
    std::shared_ptr<const HitIndex> index;
    std::shared_ptr<PointedModel> pointed;
};

// A graph window of the loaded model as it was drawn, so that it can be drawn again in place
// from a newer reading of the same file.
struct DrawnGraph {
    int unit = 0;
    int graph_number = 0;
    std::uint64_t model_generation = 0; // of the model it shows (AppState::model_generation)
    SettingsState settings;             // its own copy of the Graph Settings
    std::vector<std::int32_t> nodes;    // the node numbers it drew; empty when it drew all
    GraphMarks marks;                   // what it marks over its graph
};

struct AppState {
    // Start-up results.
    UiLanguage language = UiLanguage::english;
    int host_program = kHostNone;
    std::string program_label = "VORAX:"; // trailing blanks removed
    std::string icon_folder;
    // The style icons; null when the file was missing or unreadable.
    gwl::IconHandle bold_icon;
    gwl::IconHandle italic_icon;
    gwl::IconHandle underline_icon;
    std::string zoom_refusal_message;
    std::string graph_limit_message;
    std::string about_text;

    // The registry of graph windows: unit of the last graph window (graph_units.h).
    std::atomic<int> last_graph_unit{kNoGraphUnit};
    bool zoom_requested = false;
    // Graph windows drawn in this run. Once there is one, a file that cannot be had ends the
    // command that asked for it, not the program with the windows on screen.
    std::atomic<int> graphs_drawn{0};

    // Shared texts, kept without trailing blanks.
    std::string graph_title;
    std::string zoom_title;
    std::string problem_title;

    // The loaded model; replaced by every successful load, released by the exit sequence.
    StructureModel model;
    bool model_loaded = false;
    // The model file name, kept between loads (the file dialog starts from it).
    std::string input_file_name;
    // The name that was found for a command-line model the person had to name again; the later
    // loads read it instead of asking again.
    std::string corrected_model_name;

    // Graph settings, colour schemes, font table; the dialogs' own state.
    SettingsState settings;
    SettingsDialogState dialog;

    // The view of the last drawn graph (the zoom pick reads it).
    ViewMapping view;
    // The nodes the last graph drew, by node number - 1; only they can be picked by a zoom.
    // Empty while no graph of the loaded model has been drawn.
    std::vector<bool> drawn_nodes;
    // The loaded model as the graph windows drawn from it describe it (app/pointing.h); null
    // before the first load.
    std::shared_ptr<PointedModel> pointed_model;
    // What each graph window points at with, by unit (app/pointing.h); a graph drawn on the
    // program thread or beside the windows files it, the windows read it.
    std::map<int, GraphPointing> graph_pointing;
    mutable std::mutex graph_pointing_mutex;
    // The findings of the model check of the loaded model.
    CheckReport model_check;
    // Counts the models made the loaded one (loads and reloads alike).
    std::uint64_t model_generation = 0;

    // The graph windows that can be drawn again, in the order they were opened.
    std::vector<DrawnGraph> drawn_graphs;
    // "10:42:07": when the loaded model's file was read.
    std::string model_read_time;
    // File > Watch Model File, View > Show Changes.
    bool watch_model_file = true;
    bool show_changes = true;
};

} // namespace vorax
