// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pointing.h"

#include <utility>

#include "core/beside.h"
#include "core/text.h"

#include "graph/graph_texts.h"
#include "gwl/windows/layer.h"

namespace vorax {

void start_pointed_model(AppState& state, RecordLines lines)
{
    auto pointed = std::make_shared<PointedModel>();
    pointed->model = &state.model;
    pointed->lines = std::move(lines);
    pointed->file = std::string(trim_right(state.input_file_name));
    state.pointed_model = std::move(pointed);
    ++state.model_generation;
}

void retire_pointed_model(AppState& state)
{
    if (state.pointed_model && state.pointed_model.use_count() > 1) {
        state.pointed_model->kept = std::move(state.model);
        state.pointed_model->model = &state.pointed_model->kept;
        state.model = StructureModel{};
    }
    state.pointed_model.reset();
}

std::string pointed_text(const HitIndex& index, const PointedModel& pointed, double x, double y,
                         double per_screen_pixel, UiLanguage language)
{
    if (pointed.model == nullptr)
        return {};
    const StructureModel& model = *pointed.model;
    const HitItem item = index.find(x, y, kPointerSlack * per_screen_pixel);
    // The numbers come from the graph of this very model; the checks only guard the arrays.
    switch (item.kind) {
    case HitItem::Kind::node:
        if (item.number <= model.node_count && static_cast<std::size_t>(item.number) <= model.nodes.size())
            return pointed_node_text(model, item.number, pointed.lines, language)
                   + nodes_here_text(index.nodes_beside(item.number, x, y, kPointerSlack * per_screen_pixel),
                                     language);
        break;
    case HitItem::Kind::element:
        if (item.number <= model.element_count
            && static_cast<std::size_t>(item.number) <= model.elements.size())
            return pointed_element_text(model, item.number, pointed.lines, language);
        break;
    case HitItem::Kind::none:
        break;
    }
    return {};
}

long item_line(const StructureModel& model, const RecordLines& lines, const HitItem& item)
{
    switch (item.kind) {
    case HitItem::Kind::node:
        for (const RecordLine line :
             {lines.coordinate_line(item.number), lines.code_line(item.number), lines.value_line(item.number)})
            if (line != 0)
                return static_cast<long>(line);
        break;
    case HitItem::Kind::element:
        for (const RecordLine line : lines.element_lines(model, item.number))
            if (line != 0)
                return static_cast<long>(line);
        break;
    case HitItem::Kind::none:
        break;
    }
    return 0;
}

std::optional<PointedItem> pointed_item(const AppState& state, int unit, double x, double y,
                                        double per_screen_pixel)
{
    GraphPointing graph;
    {
        const std::lock_guard lock(state.graph_pointing_mutex);
        const auto it = state.graph_pointing.find(unit);
        if (it != state.graph_pointing.end())
            graph = it->second;
    }
    if (!graph.index || !graph.pointed || graph.pointed->model == nullptr)
        return std::nullopt;
    const HitItem item = graph.index->find(x, y, kPointerSlack * per_screen_pixel);
    if (item.kind == HitItem::Kind::none)
        return std::nullopt;
    return PointedItem{item, std::move(graph.pointed)};
}

std::optional<ItemLine> pointed_item_line(const AppState& state, int unit, double x, double y,
                                          double per_screen_pixel)
{
    const auto found = pointed_item(state, unit, x, y, per_screen_pixel);
    if (!found)
        return std::nullopt;
    const PointedModel& pointed = *found->pointed;
    return ItemLine{found->item, item_line(*pointed.model, pointed.lines, found->item), pointed.file};
}

std::future<std::shared_ptr<const HitIndex>> start_pointing_index(const AppState& state,
                                                                  const ViewMapping& view,
                                                                  int width, int height)
{
    const auto build = [&state, view, width, height] {
        return std::make_shared<const HitIndex>(
            index_drawn_items(state.model, state.settings.current_settings, view, width, height));
    };
    return start_beside(build);
}

void install_pointing(AppState& state, gwl::Layer& layer, gwl::Unit unit,
                      std::shared_ptr<const HitIndex> index)
{
    // A model that came without the loading step (a test's) is described without lines.
    if (!state.pointed_model)
        start_pointed_model(state, {});
    {
        const std::lock_guard lock(state.graph_pointing_mutex);
        state.graph_pointing[unit] = GraphPointing{index, state.pointed_model};
    }
    layer.set_pointing_source(
        unit, [index = std::move(index), pointed = state.pointed_model, language = state.language](
                  double x, double y, double per_screen_pixel) {
            return pointed_text(*index, *pointed, x, y, per_screen_pixel, language);
        });
}

} // namespace vorax
