// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/model_reload.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>

#include "app/check_command.h"
#include "app/info_command.h"
#include "app/model_loading.h"
#include "app/pointing.h"
#include "core/beside.h"
#include "core/messages.h"
#include "core/text.h"
#include "graph/graph_drawing.h"
#include "graph/hit_index.h"
#include "graph/structure_render.h"
#include "gwl/platform/file_watch.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"
#include "model/model_diff.h"

namespace vorax {

namespace {

constexpr gwl::Unit kInfo = gwl::kInfoUnit;
constexpr const char* kWatchPreference = "watchModelFile";
constexpr int kMarkMargin = 12; // pixels round the marks that bring_into_view shows as well

// The removed lines a graph of some of the nodes shows: those of elements whose both ends it
// drew. A graph of all nodes shows them all.
std::vector<RemovedLine> gone_lines_of(const DrawnGraph& graph, const std::vector<RemovedLine>& gone,
                                       const StructureModel& old_model)
{
    if (graph.settings.current_settings.all_nodes)
        return gone;
    std::vector<bool> drawn(old_model.nodes.size() + 1, false);
    for (const std::int32_t number : graph.nodes)
        if (number >= 1 && static_cast<std::size_t>(number) < drawn.size())
            drawn[static_cast<std::size_t>(number)] = true;
    auto was_drawn = [&](std::int32_t number) {
        return number >= 1 && static_cast<std::size_t>(number) < drawn.size()
               && drawn[static_cast<std::size_t>(number)];
    };
    std::vector<RemovedLine> shown;
    for (const RemovedLine& line : gone) {
        if (line.element < 1 || static_cast<std::size_t>(line.element) > old_model.elements.size())
            continue;
        const Element& element = old_model.elements[static_cast<std::size_t>(line.element - 1)];
        if (was_drawn(element.node1) && was_drawn(element.node2))
            shown.push_back(line);
    }
    return shown;
}

// Selects the nodes a graph drew by their numbers; numbers the model no longer has drop out.
void select_drawn_nodes(StructureModel& model, DrawnGraph& graph)
{
    if (graph.settings.current_settings.all_nodes)
        return; // the plan selects every node
    for (Node& node : model.nodes)
        node.selected = false;
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(model.node_count, 0)), model.nodes.size()));
    std::erase_if(graph.nodes, [count](std::int32_t number) { return number < 1 || number > count; });
    for (const std::int32_t number : graph.nodes)
        model.nodes[static_cast<std::size_t>(number - 1)].selected = true;
}

} // namespace

std::string clock_time()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

std::string reload_failure_line(const std::string& file_name, const ReadResult& failed,
                                const std::string& read_time, UiLanguage language)
{
    std::string text = file_name;
    if (failed.line > 0)
        text += std::string(message(Message::read_line_word, language)) + std::to_string(failed.line);
    std::string why = read_failure_text(failed, language);
    while (!why.empty() && (why.back() == '.' || why.back() == ' '))
        why.pop_back();
    return text + ": " + why + std::string(message(Message::showing_version, language)) + read_time;
}

std::string file_gone_line(const std::string& file_name, const std::string& read_time,
                           UiLanguage language)
{
    return file_name + ": " + std::string(message(Message::file_gone, language))
           + std::string(message(Message::showing_version, language)) + read_time;
}

void remember_drawn_graph(AppState& state, int unit, int graph_number)
{
    DrawnGraph graph;
    graph.unit = unit;
    graph.graph_number = graph_number;
    graph.model_generation = state.model_generation;
    graph.settings = state.settings;
    if (!state.settings.current_settings.all_nodes)
        for (std::size_t i = 0; i < state.model.nodes.size(); ++i)
            if (state.model.nodes[i].selected)
                graph.nodes.push_back(static_cast<std::int32_t>(i + 1));
    auto same_unit = [unit](const DrawnGraph& drawn) { return drawn.unit == unit; };
    std::erase_if(state.drawn_graphs, same_unit);
    state.drawn_graphs.push_back(std::move(graph));
}

ModelReload::ModelReload(AppState& state, gwl::Layer& layer)
    : state_(state), layer_(layer),
      watch_(std::make_unique<gwl::FileWatch>([this] { return watched_change(); }))
{
    state_.watch_model_file = gwl::read_preference(kWatchPreference, true);
}

ModelReload::~ModelReload() = default;

void ModelReload::add_menu_items()
{
    layer_.run_on_ui([this] { add_menu_items_here(); });
}

void ModelReload::add_menu_items_here()
{
    using namespace gwl::menu_flag;
    const UiLanguage lang = state_.language;
    // Before the separator above Exit, with a separator of their own.
    const int exit_item = layer_.frame().menu_item_count(gwl::kFileMenu);
    items_.reload = exit_item;
    items_.watch = exit_item + 1;
    layer_.insert_menu_item(gwl::kFileMenu, items_.reload, kEnabled,
                            std::string(message(Message::reload_menu, lang)),
                            gwl::menu_routine([this] { reload(); }));
    layer_.set_menu_item_shortcut(gwl::kFileMenu, items_.reload, "F5");
    layer_.insert_menu_item(gwl::kFileMenu, items_.watch,
                            kEnabled | (state_.watch_model_file ? kChecked : kUnchecked),
                            std::string(message(Message::watch_menu, lang)),
                            gwl::menu_routine([this] { toggle_watch(); }));
    layer_.insert_menu_item(gwl::kFileMenu, items_.watch + 1, kSeparator, "", gwl::menu_no_action());
    layer_.append_menu_item(gwl::kViewMenu, kSeparator, "", gwl::menu_no_action());
    layer_.append_menu_item(gwl::kViewMenu, kEnabled | (state_.show_changes ? kChecked : kUnchecked),
                            message(Message::show_changes_menu, lang),
                            gwl::menu_routine([this] { toggle_show_changes(); }));
    items_.show_changes = layer_.frame().menu_item_count(gwl::kViewMenu);
}

void ModelReload::after_model_input()
{
    if (!state_.model_loaded || state_.model_generation == watched_generation_)
        return;
    watched_generation_ = state_.model_generation;
    state_.model_read_time = clock_time();
    gone_told_ = false;
    if (state_.watch_model_file)
        watch_loaded_file();
}

void ModelReload::watch_loaded_file()
{
    if (!state_.model_loaded || state_.input_file_name.empty())
        return;
    const std::string path(trim_right(state_.input_file_name));
    if (watch_->path() != path)
        watch_->watch(path);
    show_watch_status();
}

void ModelReload::show_watch_status()
{
    if (state_.watch_model_file && watch_->watching())
        layer_.set_status_note(std::string(message(Message::watching, state_.language))
                               + file_name_of(watch_->path()));
}

bool ModelReload::watched_change()
{
    if (!state_.watch_model_file || !state_.model_loaded)
        return true; // nothing to follow: the change is taken as told
    // Not while another action runs (a dialog, a zoom pick, a load): asked again later.
    return layer_.run_when_idle([this] { reload(); });
}

void ModelReload::tell(const std::string& line)
{
    layer_.set_status_note(line);
    layer_.write_line(kInfo, " " + line); // indented as the info window's other lines are
}

void ModelReload::toggle_watch()
{
    using namespace gwl::menu_flag;
    state_.watch_model_file = !state_.watch_model_file;
    gwl::write_preference(kWatchPreference, state_.watch_model_file);
    layer_.set_menu_item_flags(gwl::kFileMenu, items_.watch,
                               kEnabled | (state_.watch_model_file ? kChecked : kUnchecked));
    if (state_.watch_model_file) {
        watch_loaded_file();
    } else {
        watch_->stop();
        layer_.set_status_note("");
    }
}

void ModelReload::toggle_show_changes()
{
    using namespace gwl::menu_flag;
    state_.show_changes = !state_.show_changes;
    layer_.set_menu_item_flags(gwl::kViewMenu, items_.show_changes,
                               kEnabled | (state_.show_changes ? kChecked : kUnchecked));
    const bool any_marks = std::any_of(state_.drawn_graphs.begin(), state_.drawn_graphs.end(),
                                       [](const DrawnGraph& graph) { return !graph.marks.empty(); });
    if (any_marks && marks_are_changes_)
        redraw_windows(false);
}

void ModelReload::reload()
{
    if (!state_.model_loaded || state_.input_file_name.empty()) {
        gwl::beep(440, 100);
        return;
    }
    const UiLanguage lang = state_.language;
    const std::string path(trim_right(state_.input_file_name));
    const std::string name = file_name_of(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        if (!gone_told_)
            tell(file_gone_line(name, state_.model_read_time, lang));
        gone_told_ = true;
        return;
    }
    gone_told_ = false;

    LoadedFile loaded = load_model_file(layer_, path, lang);
    if (!loaded.result.ok()) {
        tell(reload_failure_line(name, loaded.result, state_.model_read_time, lang));
        return;
    }

    // What changed, and what of it each window shows, while the old model is still here.
    ModelDiff diff;
    static const RecordLines kNoLines;
    const RecordLines& old_lines = state_.pointed_model ? state_.pointed_model->lines : kNoLines;
    layer_.run_long(
        [&] { diff = diff_models(state_.model, old_lines, loaded.result.model, loaded.lines); },
        [lang] { return std::string(message(Message::checking_progress, lang)); });
    const GraphMarks marks = change_marks(diff);
    std::erase_if(state_.drawn_graphs, [this](const DrawnGraph& graph) {
        return graph.model_generation != state_.model_generation;
    });
    for (DrawnGraph& graph : state_.drawn_graphs) {
        graph.marks = marks;
        graph.marks.gone = gone_lines_of(graph, marks.gone, state_.model);
    }
    marks_are_changes_ = true;

    // The new reading replaces the model; the settings stay as the windows had them.
    retire_pointed_model(state_);
    state_.model = std::move(loaded.result.model);
    start_pointed_model(state_, std::move(loaded.lines));
    state_.problem_title = state_.model.problem_title;
    state_.model_read_time = clock_time();
    watched_generation_ = state_.model_generation;
    for (DrawnGraph& graph : state_.drawn_graphs)
        graph.model_generation = state_.model_generation;

    GraphSettings scratch = state_.settings.current_settings;
    layer_.write_line(kInfo, "");
    for (const std::string& line : prepare_loaded_model(state_.model, scratch))
        layer_.write_line(kInfo, line);
    layer_.write_line(kInfo, reloaded_line(diff, lang));
    if (const auto line = model_check_line(loaded.warnings, {}, lang, CheckLister::window))
        layer_.write_line(kInfo, *line);
    state_.model_check = std::move(loaded.check);

    redraw_windows(false);
    ++reloads_;
    show_watch_status();
    if (after_reload)
        after_reload();
}

int ModelReload::mark_items(const GraphMarks& marks, bool bring_into_view)
{
    for (DrawnGraph& graph : state_.drawn_graphs)
        if (graph.model_generation == state_.model_generation)
            graph.marks = marks;
    marks_are_changes_ = false;
    return redraw_windows(bring_into_view);
}

int ModelReload::redraw_windows(bool bring_into_view)
{
    struct Target {
        DrawnGraph* graph = nullptr;
        gwl::DrawSurface* surface = nullptr;
        std::optional<gwl::PixelRect> marked; // the pixels of its marks
    };
    std::vector<Target> targets;
    for (DrawnGraph& graph : state_.drawn_graphs)
        if (graph.model_generation == state_.model_generation)
            if (gwl::DrawSurface* surface = layer_.frame().surface(graph.unit))
                targets.push_back({&graph, surface, std::nullopt});
    if (targets.empty())
        return 0;

    const bool show_marks = state_.show_changes || !marks_are_changes_;
    DrawProgress progress;
    const GraphTexts texts{state_.program_label, state_.model.problem_title, state_.language};
    // In the order they were opened: the last graph's view and nodes are the program's after it,
    // as after drawing it (a zoom picks on them).
    layer_.run_long(
        [&] {
            for (Target& target : targets) {
                DrawnGraph& graph = *target.graph;
                gwl::DrawSurface& surface = *target.surface;
                StructureModel& model = state_.model;
                select_drawn_nodes(model, graph);
                const GraphPlan plan = plan_graph(model, graph.settings, graph.graph_number);
                const int width = surface.width();
                const int height = surface.height();
                auto index = start_beside([&model, &graph, view = plan.view, width, height] {
                    return std::make_shared<const HitIndex>(index_drawn_items(
                        model, graph.settings.current_settings, view, width, height));
                });
                progress.done = 0;
                progress.total = 0;
                const GraphMarks* marks = show_marks && !graph.marks.empty() ? &graph.marks : nullptr;
                draw_graph(surface, model, graph.settings, plan, texts, &progress, marks);
                surface.index_record(); // here rather than in the first magnified view
                install_pointing(state_, layer_, graph.unit, index.get());
                state_.view = plan.view;
                state_.drawn_nodes.assign(model.nodes.size(), false);
                for (std::size_t i = 0; i < model.nodes.size(); ++i)
                    state_.drawn_nodes[i] = model.nodes[i].selected;
                if (marks != nullptr && bring_into_view)
                    if (const auto box = marks_extent(model, graph.settings.current_settings,
                                                      plan.box.center_x, plan.box.center_y, *marks)) {
                        const gwl::PixelPoint a = surface.to_pixel({box->x1, box->y1});
                        const gwl::PixelPoint b = surface.to_pixel({box->x2, box->y2});
                        const int x = std::min(a.x, b.x) - kMarkMargin;
                        const int y = std::min(a.y, b.y) - kMarkMargin;
                        target.marked = gwl::PixelRect{x, y, std::abs(a.x - b.x) + 2 * kMarkMargin + 1,
                                                       std::abs(a.y - b.y) + 2 * kMarkMargin + 1};
                    }
            }
        },
        [&] {
            return progress_text(Message::drawing_progress, progress.percent(), state_.language);
        });
    int showing = 0;
    for (const Target& target : targets)
        if (target.marked) {
            ++showing;
            if (gwl::GraphicsWindow* window = layer_.graphics_window(target.graph->unit))
                window->scroll_into_view(*target.marked);
        }
    return showing;
}

} // namespace vorax
