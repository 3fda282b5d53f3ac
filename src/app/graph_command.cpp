// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graph_command.h"

#include "app/graph_units.h"
#include "app/model_reload.h"
#include "app/pointing.h"
#include "app/program.h"
#include "core/messages.h"
#include "core/program_exit.h"
#include "core/text.h"
#include "graph/graph_drawing.h"
#include "graph/graph_texts.h"
#include "graph/structure_render.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"
#include "settings/node_ranges.h"
#include "settings/settings_dialog.h"

namespace vorax {

namespace {

constexpr gwl::Unit kInfo = gwl::kInfoUnit;
// "Window Not Open" in an error box, then the end of the program.
[[noreturn]] void window_not_open(gwl::Layer& layer)
{
    layer.message_box("Window Not Open", "Vorax Message", gwl::mb::kOk | gwl::mb::kIconError);
    layer.exit_program(0);
}

// Opens the unit as a graph window with the title, made active; ends the program when it has
// no configuration. Returns its surface.
gwl::DrawSurface& open_graph_window(gwl::Layer& layer, gwl::Unit unit, const std::string& title)
{
    layer.open_unit(unit, gwl::WindowKind::graphics, "user", title);
    gwl::WindowConfig config;
    if (!layer.get_window_config(config))
        window_not_open(layer);
    gwl::DrawSurface* surface = layer.active_surface();
    if (surface == nullptr)
        window_not_open(layer);
    return *surface;
}

// The settings loop: the dialog until it is cancelled or leaves a usable node selection.
// Returns false on Cancel.
bool run_settings(AppState& state, gwl::Layer& layer)
{
    for (;;) {
        SettingsDialogContext context{state.settings,
                                      state.model,
                                      state.dialog,
                                      state.graph_title,
                                      state.language,
                                      state.bold_icon,
                                      state.italic_icon,
                                      state.underline_icon,
                                      [&layer](const std::string& line) { layer.write_line(kInfo, line); }};
        // A dialog that could not be shown (-1) counts as cancelled: going on would draw a graph
        // nobody asked for, or, after a bad range, show the failing dialog again and again.
        if (run_graph_settings_dialog(context) != gwl::kDialogOk) {
            layer.set_menu_item_flags(kProgramMenu, kBackToSettingsItem, gwl::menu_flag::kDisabled);
            layer.set_menu_item_flags(kProgramMenu, kZoomItem, gwl::menu_flag::kDisabled);
            return false;
        }
        GraphSettings& g = state.settings.current_settings;
        if (g.all_nodes)
            return true;
        const std::vector<BadGroup> bad = apply_node_ranges(state.dialog.range_text, state.model);
        for (const BadGroup& group : bad)
            layer.message_box(group_error_text(group, state.language),
                              message(Message::group_error_caption, state.language),
                              gwl::mb::kOk | gwl::mb::kIconError);
        if (!bad.empty())
            continue;
        g.selected_node_count = selected_node_count(state.model);
        // A range text without any group selects nothing; there is no graph of no nodes.
        if (g.selected_node_count > 0)
            return true;
    }
}

// Steps from the extents to the last drawing, into a new window of unit last_graph_unit.
void draw_graph_steps(AppState& state, gwl::Layer& layer, DrawProgress& progress)
{
    const gwl::Unit unit = state.last_graph_unit;
    const GraphPlan plan = plan_graph(state.model, state.settings, graph_number(unit));
    for (const std::string& line : plan.info_lines)
        layer.write_line(kInfo, line);

    gwl::DrawSurface& surface = open_graph_window(layer, unit, title_text(state.graph_title));
    ++state.graphs_drawn;
    state.view = plan.view;
    if (!state.settings.current_settings.all_nodes)
        state.dialog.range_text = plan.range_text;
    state.drawn_nodes.resize(state.model.nodes.size());
    for (std::size_t i = 0; i < state.model.nodes.size(); ++i)
        state.drawn_nodes[i] = state.model.nodes[i].selected;
    const GraphTexts texts{state.program_label, state.model.problem_title, state.language};
    auto index = start_pointing_index(state, plan.view, surface.width(), surface.height());
    if (draw_graph(surface, state.model, state.settings, plan, texts, &progress)
        == DrawOutcome::font_error) {
        layer.write_line(kInfo, " ** Font Initialization Error");
        layer.exit_program(0);
    }
    surface.index_record(); // here rather than in the first magnified view
    layer.run_on_ui([&layer, unit] {
        if (gwl::GraphicsWindow* window = layer.graphics_window(unit))
            window->show_whole_picture();
    });
    install_pointing(state, layer, unit, index.get());
    remember_drawn_graph(state, unit, graph_number(unit));
}

// The steps off the user-interface thread, which serves the windows meanwhile (the new one shows
// the drawing as it grows); a long drawing shows how far it has come in the status line. The
// steps' layer calls come back to the user-interface thread in their order.
void draw_new_graph(AppState& state, gwl::Layer& layer)
{
    DrawProgress progress;
    layer.run_long([&] { draw_graph_steps(state, layer, progress); },
                   [&] { return progress_text(Message::drawing_progress, progress.percent(), state.language); });
}

// The zoom: pick on the last graph, then a new graph of the picked nodes. Returns whether the
// new graph is to be drawn.
bool run_zoom_pick(AppState& state, gwl::Layer& layer)
{
    struct ClearRequest {
        AppState& state;
        ~ClearRequest() { state.zoom_requested = false; }
    } clear_request{state};

    if (!graph_unit_in_range(state.last_graph_unit))
        return false;
    open_graph_window(layer, state.last_graph_unit, title_text(state.graph_title));
    gwl::GraphicsWindow* window = layer.graphics_window(state.last_graph_unit);
    if (window == nullptr)
        window_not_open(layer);
    const ViewMapping& last = state.view;
    const ZoomWindow area{last.window_x1, last.window_x2, last.window_y1, last.window_y2,
                          window_y_down(state.settings.current_settings)};
    const std::optional<ZoomRectangle> picked = pick_zoom_rectangle(*window, area);
    state.zoom_requested = false;
    if (!picked)
        return false;
    if (apply_zoom_selection(state, *picked) == 0) {
        erase_rubber_band(window->surface(), *picked);
        return false;
    }

    update_extents(state.model, false);
    state.dialog.range_text = format_node_ranges(state.model);
    if (!take_next_graph_unit(state.last_graph_unit))
        return false;
    state.graph_title = title_text(state.zoom_title);
    return true;
}

} // namespace

int apply_zoom_selection(AppState& state, const ZoomRectangle& rectangle)
{
    GraphSettings& g = state.settings.current_settings;
    g.all_nodes = false;
    g.selected_node_count = select_nodes_in_rectangle(state.model, rectangle, state.drawn_nodes);
    g.selected_element_count = count_selected_elements(state.model);
    preset_index_switches(g, g.selected_node_count, g.selected_element_count);
    return g.selected_node_count;
}

void graph_command(AppState& state, gwl::Layer& layer)
{
    if (state.zoom_requested) {
        if (!run_zoom_pick(state, layer))
            return;
    } else {
        if (!run_settings(state, layer))
            return;
        if (!graph_unit_in_range(state.last_graph_unit))
            return;
    }
    draw_new_graph(state, layer);
}

} // namespace vorax
