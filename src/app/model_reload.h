// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edit-look loop: the loaded model's file read again (File > Reload Model, F5, or by itself
// when the file changes on disk, File > Watch Model File), and every graph window of the model
// drawn again in place from its own settings, with what changed marked (View > Show Changes).
//
// A reload that cannot read the file changes nothing on screen: one line in the status line and
// the info window says why and which version is shown. A file that is gone is said once; the
// watch reloads it when it is back.
//
// The marks of a reload are one use of mark_items, which marks any nodes and elements in every
// window that drew them and can bring them into view.
//
// Contents: ModelReload; remember_drawn_graph, reload_failure_line, file_gone_line, clock_time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "graph/change_marks.h"
#include "model/model_reader.h"

namespace vorax::gwl {
class Layer;
class FileWatch;
} // namespace vorax::gwl

namespace vorax {

// The items' places: File > Reload Model and File > Watch Model File before the separator above
// Exit, View > Show Changes after a separator at the end of the View menu (set by add_menu_items).
struct ReloadMenuItems {
    int reload = 0;
    int watch = 0;
    int show_changes = 0;
};

class ModelReload {
public:
    ModelReload(AppState& state, gwl::Layer& layer);
    ~ModelReload();

    // Adds the menu items in the program's language (the watch's check mark as the last run
    // left it). Any thread.
    void add_menu_items();
    const ReloadMenuItems& menu_items() const { return items_; }

    // After "NEW Graph ...": a model read anew is the one watched from now on.
    void after_model_input();

    // The menu actions (user-interface thread).
    void reload();
    void toggle_watch();
    void toggle_show_changes();

    // Marks the nodes and elements in every graph window of the loaded model that drew them,
    // in place of the marks it had, and, with `bring_into_view`, scrolls each window at 1:1 so
    // that its marks are in view (user-interface thread). With `bring_into_view`, returns how
    // many windows show any of the marks.
    int mark_items(const GraphMarks& marks, bool bring_into_view);

    gwl::FileWatch& watch() { return *watch_; }
    // Called at the end of each reload that read the file (user-interface thread).
    std::function<void()> after_reload;
    // Reloads done (a file that did not read, or was gone, does not count).
    int reloads() const { return reloads_; }

private:
    // Draws every graph window of the loaded model again, each with its marks when changes are
    // shown, in the background; with `bring_into_view`, then scrolls them to their marks.
    int redraw_windows(bool bring_into_view);
    void add_menu_items_here();
    void tell(const std::string& line);
    void show_watch_status();
    void watch_loaded_file();
    bool watched_change();

    AppState& state_;
    gwl::Layer& layer_;
    std::unique_ptr<gwl::FileWatch> watch_;
    ReloadMenuItems items_;
    std::uint64_t watched_generation_ = 0;
    bool gone_told_ = false;
    bool marks_are_changes_ = true; // the marks are a reload's, which Show Changes turns off
    int reloads_ = 0;
};

// Keeps what a graph window just drawn from the loaded model needs to be drawn again: its
// settings and the node numbers it drew.
void remember_drawn_graph(AppState& state, int unit, int graph_number);

// "plane_frame.dat line 14: <the reader's reason, in `language`> — showing the version read at
// 10:42:07"; without " line N" when the reader stopped before any line.
std::string reload_failure_line(const std::string& file_name, const ReadResult& failed,
                                const std::string& read_time, UiLanguage language);
// "plane_frame.dat: the file is gone — showing the version read at 10:42:07".
std::string file_gone_line(const std::string& file_name, const std::string& read_time,
                           UiLanguage language);
// The local time of day now, "10:42:07".
std::string clock_time();

} // namespace vorax
