// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// From the picture to the line: the model check's findings in a window of their own, and the
// model file opened in the person's editor at the line of a finding or of a pointed item.
//
// View > Model Check (F8) opens the findings window: line, kind and text of every finding of
// the loaded model, in file order, the model-wide ones last, as `vorax --check` lists them. It
// is filled anew at every load and reload. Choosing a finding marks its nodes and elements in
// every graph window that drew them (the marks of the edit-look loop) and scrolls them into
// view. Enter or a double-click on a finding, a double-click on a node or element of a graph
// window, and Edit > Edit Model at Line (Ctrl+E) on the pointed item open the editor at the line
// (app/editor_launch.h says which editor).
//
// Contents: kCheckUnit, CheckWindow, finding_rows.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/editor_launch.h"
#include "gwl/types.h"
#include "model/model_check.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

class ModelReload;

// The unit of the findings window: after the graph windows in the Window menu's list.
inline constexpr gwl::Unit kCheckUnit = gwl::kLastGraphUnit + 1;

// The rows of the findings window: line (empty for the whole model), kind, text; then one row
// per kind with findings beyond those listed.
std::vector<std::vector<std::string>> finding_rows(const CheckReport& report, UiLanguage language);

class CheckWindow {
public:
    CheckWindow(AppState& state, gwl::Layer& layer, ModelReload& reload);

    // View > Model Check and Edit > Edit Model at Line.
    void add_menu_items();
    struct MenuItems {
        int model_check = 0; // in the View menu
        int edit_at_line = 0; // in the Edit menu
    };
    const MenuItems& menu_items() const { return items_; }

    // The menu actions and what the windows ask for (user-interface thread).
    void open();                 // F8
    void edit_at_line();         // Ctrl+E: the finding chosen in the findings window when it has
                                 // the focus, else the item pointed at in the active graph window
    void choose(int row);        // a finding chosen in the list
    void edit_finding(int row);  // Enter or a double-click on it
    void edit_pointed(int unit, double x, double y, double per_screen_pixel);

    // After a load or a reload: the findings window, when there is one, shows the new findings.
    // Any thread.
    void refresh();

    // Opens `file` in the editor at `line`, saying so in the status line, or why it could not.
    void open_editor(const std::string& file, long line);

    // Where the editor's settings come from; a test sets its own.
    Environment environment = process_environment;

private:
    void fill();
    void follow_choice();
    void mark_row(int row);
    std::string model_file() const;

    AppState& state_;
    gwl::Layer& layer_;
    ModelReload& reload_;
    MenuItems items_;
    // The finding whose marks the windows show, and the one chosen last; -1 for none.
    int marked_row_ = -1;
    int wanted_row_ = -1;
    bool marking_ = false;
};

} // namespace vorax
