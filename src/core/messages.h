// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text the program shows in both languages, English and Romanian, in one table keyed by
// message. Texts that exist in one form only stay where they are used.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/language.h"

namespace vorax {

enum class Message {
    new_graph_menu,       // the program's top-level menu
    back_to_settings,
    zoom_mouse,
    new_graph,
    exit_item,
    zoom_refusal,        // composed at start-up, lines separated by CR
    graph_limit,         // composed at start-up, lines separated by CR
    group_error_text,     // "Error in group No. " + i + ": " + first + "-" + last
    group_error_caption,
    factor_warning,      // lines separated by LF
    factor_negative_warning,
    message_caption,     // "VORAX Message" / "Mesaj VORAX"
    graph_heading_suffix, // after the program label in a graph window's heading
    node_line_start,      // node_line: this, the ranges, " (", the count, node_line_end
    node_line_end,
    wrong_input_file,
    model_check_start,     // the line after a load with findings: this, the count, the word for
    model_check_warning,   // one or more warnings, " (vorax --check ", the model, and the end
    model_check_warnings,
    model_check_lists_it,
    model_check_lists_them,
    pointed_node,          // what a pointed node or element is: "Node 17  x 4.000 ...  (line 63)"
    pointed_element,
    pointed_nodes,
    pointed_length,
    pointed_codes,
    pointed_values,
    pointed_fixed,
    pointed_free,
    pointed_line,
    pointed_lines,
    pointed_no_coordinates,
    reading_progress,      // the status line while a model loads: this, the per cent, "%"
    checking_progress,     // the same once the file is read, while the model check runs
    out_of_memory,         // the box of a menu command the memory did not suffice for
    drawing_progress,      // the same while a graph is drawn
    reloaded,              // the info line after a reload: this, the model's size, "; " and
    unchanged,             // the changes, or this
    nodes,                 // counted things: "singular|plural", see count_text
    elements,
    nodes_added,
    nodes_removed,
    nodes_moved,
    elements_added,
    elements_removed,
    elements_changed,
    supports_changed,
    title_changed,
    now_plane,
    now_spatial,
    reload_menu,           // File menu items of the edit-look loop
    watch_menu,
    show_changes_menu,
    watching,              // the status line while the model file is watched: this and its name
    read_line_word,        // "plane_frame.dat line 14: <reason>" + showing_version + the time
    showing_version,
    file_gone,             // "plane_frame.dat: " + this + showing_version + the time
    model_check_menu,      // View > Model Check (F8), its window and its columns
    model_check_title,
    check_line_column,
    check_kind_column,
    check_finding_column,
    no_findings,
    more_findings,         // "N" + this: the findings of a kind beyond those listed
    model_check_f8,        // " * Model check: N warnings" + this + " lists them)", in the program
    finding_not_drawn,     // the status line: no graph window drew what a finding is about
    edit_at_line_menu,     // Edit > Edit Model at Line (Ctrl+E)
    editing_at_line,       // "plane_frame.dat" + this + the line: the editor was started
    editor_failed,         // + why
    nothing_pointed,       // Ctrl+E with nothing pointed at and no finding chosen
    also_node_here,        // pointing: " — also node 12 here"
    also_nodes_here,       // " — also nodes 12, 15 here"
    here_word,
    find_menu,             // Edit > Find (Ctrl+F), its box, and what it says
    find_caption,
    find_prompt,
    find_unreadable,       // + the text typed
    find_no_such_node,     // + the number + "the model has nodes 1-N"
    find_no_such_element,
    find_not_drawn,        // "No graph window shows " + "node 417"
    find_no_model,         // Find with no model loaded
    cancel_button,         // the Cancel of the program's own boxes
    node_word,             // "node ", "element " in running text
    element_word,
    measure_anchor,        // "Node 3" + this
    measure_to,            // "Node 3" + this + "9: 6.708 (dx ..."
};

// The text of a message in a language.
std::string_view message(Message id, UiLanguage language);

// A progress message with its share done: "Reading model … 45%".
std::string progress_text(Message id, int percent, UiLanguage language);

// A count with the singular or plural of a counted message: "1 node moved", "2 nodes moved";
// Romanian puts "de" after counts whose last two digits are 0 or from 20 on ("20 de noduri",
// "101 noduri").
std::string count_text(Message id, std::int64_t count, UiLanguage language);

} // namespace vorax
